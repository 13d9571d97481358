// Arbitrary bytes as forecast parts given to --merge: up to three parts,
// separated by a line holding "--". Whatever the counts claim, merging must
// refuse with a reason or give a summary, never read out of bounds.
#include <cstdint>
#include <string>
#include <vector>

#include "analysis/shard.h"

namespace {

void require(bool condition)
{
    if (!condition) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> parts;
    std::size_t from = 0;
    for (std::size_t at; parts.size() < 2 && (at = text.find("\n--\n", from)) != std::string::npos; from = at + 4)
        parts.push_back(text.substr(from, at - from));
    parts.push_back(text.substr(from));

    PartMerger merger;
    std::string error;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const std::string file = "part" + std::to_string(i + 1) + ".json";
        if (!merger.add(file, parts[i], error)) {
            require(!error.empty());
            return 0;
        }
    }
    for (const bool json : {false, true}) {
        std::string summary;
        if (merger.finish(json, summary, error))
            require(!summary.empty());
        else
            require(!error.empty());
    }
    return 0;
}
