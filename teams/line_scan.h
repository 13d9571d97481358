#pragma once

// One team-file line scanned as "%s%d%d%d%d%d%d%d%d" reads it: a first word,
// then up to eight integers; scanning stops at the first field that is not an
// integer. The first word is consumed whole; its first kRawNameBytes bytes are
// kept as read (enough for 15 characters of UTF-8), to be decoded once the
// file's encoding is known. Integers outside the int range saturate.
struct ScannedLine {
    static constexpr int kRawNameBytes = 60;
    int fields = 0;  // 0 for a blank line, else 1 + the integers read
    char name[kRawNameBytes + 1] = {};
    int values[8] = {};
};

ScannedLine scanTeamLine(const char* line);

// The integer at *p read as %d reads it (leading white space, optional sign,
// digits), saturating to INT_MIN/INT_MAX. Returns false when no digit follows;
// on success *p is left after the last digit.
bool scanInt(const char*& p, int& value);

inline bool isScanSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
