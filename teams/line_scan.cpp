#include "teams/line_scan.h"

#include <climits>
#include <cstdint>

bool scanInt(const char*& p, int& value)
{
    const char* q = p;
    while (*q && isScanSpace(*q))
        ++q;
    bool negative = false;
    if (*q == '+' || *q == '-') negative = (*q++ == '-');
    if (*q < '0' || *q > '9') return false;
    std::int64_t v = 0;
    bool overflow = false;
    for (; *q >= '0' && *q <= '9'; ++q) {
        if (!overflow) {
            v = v * 10 + (*q - '0');
            if (v > static_cast<std::int64_t>(INT_MAX) + 1) overflow = true;
        }
    }
    if (negative) v = -v;
    if (overflow || v > INT_MAX)
        value = negative ? INT_MIN : INT_MAX;
    else if (v < INT_MIN)
        value = INT_MIN;
    else
        value = static_cast<int>(v);
    p = q;
    return true;
}

ScannedLine scanTeamLine(const char* line)
{
    ScannedLine out;
    const char* p = line;
    while (*p && isScanSpace(*p))
        ++p;
    if (!*p) return out;
    int n = 0;
    for (; *p && !isScanSpace(*p); ++p)
        if (n < ScannedLine::kRawNameBytes) out.name[n++] = *p;
    out.name[n] = '\0';
    out.fields = 1;
    for (int i = 0; i < 8; ++i) {
        if (!scanInt(p, out.values[i])) break;
        ++out.fields;
    }
    return out;
}
