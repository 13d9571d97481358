#include "engine/engine_context.h"

#include <cstring>

EngineContext::EngineContext()
{
    std::memcpy(runTables, kInitialRunTables, sizeof runTables);
}

void EngineContext::applyOutfield()
{
    const int d = options.outfield - 50;
    if (d == 0) return;
    int* row = runTables[1];
    int widths[6];
    widths[0] = row[0];
    for (int i = 1; i < 6; ++i)
        widths[i] = row[i] - row[i - 1];
    widths[1] -= d;
    widths[3] += d;
    row[0] = widths[0];
    for (int i = 1; i < 6; ++i)
        row[i] = row[i - 1] + widths[i];
}
