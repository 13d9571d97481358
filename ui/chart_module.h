#pragma once
#include <cstddef>
#include <cstdio>
#include <vector>

struct InningsChart;

// The entry point of pelmora-charts.so, the chart drawing that pelmora-cli
// loads only for --charts so that it starts without Qt. Writes the PNG images
// worm.png and manhattan.png of the innings to the two streams, offscreen.
// Returns 0 when both are written, otherwise 1 with the reason in error.
extern "C" int pelmora_write_chart_streams(const std::vector<InningsChart>* innings, std::FILE* worm,
                                           std::FILE* manhattan, char* error, std::size_t errorSize);
using WriteChartsFunction = decltype(&pelmora_write_chart_streams);
inline constexpr const char kChartsModuleFile[] = "pelmora-charts.so";
inline constexpr const char kChartsEntryPoint[] = "pelmora_write_chart_streams";
