#pragma once
// The current engine behind the entry points of engine_entry_points.h, for
// pelmora-bench to play beside the earlier one.
namespace currentEngine {
int loadSides(const char* firstPath, const char* secondPath);
double play(int kind, unsigned firstSeed, int count);
long report(int kind, unsigned seed, char* buffer, long capacity);
}  // namespace currentEngine
