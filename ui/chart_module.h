#pragma once
#include <cstddef>
#include <vector>

struct InningsChart;

// The entry point of pelmora-charts.so, the chart drawing that pelmora-cli
// loads only for --charts so that it starts without Qt. Writes worm.png and
// manhattan.png of the innings into an existing folder, offscreen. Returns 0
// when both are written, otherwise 1 with the reason in error.
extern "C" int pelmora_write_charts(const std::vector<InningsChart>* innings, const char* folder, char* error,
                                    std::size_t errorSize);
using WriteChartsFunction = decltype(&pelmora_write_charts);
inline constexpr const char kChartsModuleFile[] = "pelmora-charts.so";
inline constexpr const char kChartsEntryPoint[] = "pelmora_write_charts";
