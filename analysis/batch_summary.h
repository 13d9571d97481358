#pragma once
#include <string>

#include "analysis/batch.h"

// The batch summary as a readable table and as JSON.
std::string formatBatchTable(const BatchResult& result, const BatchSettings& settings);
std::string formatBatchJson(const BatchResult& result, const BatchSettings& settings);
