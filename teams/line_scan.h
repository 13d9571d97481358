#pragma once

// One team-file line scanned as "%s%d%d%d%d%d%d%d%d" reads it: a first word,
// then up to eight integers; scanning stops at the first field that is not an
// integer. A first word longer than 15 bytes is consumed whole and cut to 15;
// integers outside the int range saturate.
struct ScannedLine {
    int fields = 0;  // 0 for a blank line, else 1 + the integers read
    char name[16] = {};
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
