#pragma once
#include <string>

#include "analysis/batch.h"

// "one-day" (50 overs), "20-over" or "Test", as summaries name a match.
std::string matchKind(const GameOptions& options);

// The batch summary as a readable table and as JSON.
std::string formatBatchTable(const BatchResult& result, const BatchSettings& settings);
std::string formatBatchJson(const BatchResult& result, const BatchSettings& settings);
