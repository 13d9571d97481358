// Faults found by fuzzing and the soak runs, each kept as the smallest case
// that showed it. Several only fail outright in the sanitizer build, where the
// undefined behaviour itself stops the test.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "match/match.h"

namespace {

// Collects what a Match writes to its report file.
class ReportCapture {
public:
    explicit ReportCapture(Match& match) : match_(match)
    {
        stream_ = open_memstream(&text_, &size_);
        match_.outputFile = stream_;
    }
    ~ReportCapture()
    {
        match_.outputFile = nullptr;
        if (stream_) std::fclose(stream_);
        std::free(text_);
    }
    std::string text()
    {
        std::fflush(stream_);
        return std::string(text_ ? text_ : "", size_);
    }

private:
    Match& match_;
    std::FILE* stream_ = nullptr;
    char* text_ = nullptr;
    std::size_t size_ = 0;
};

// The blank line of the report passed an empty view, whose null data pointer
// went on to fwrite: undefined even for zero bytes (found by the soak run in
// the sanitizer build).
TEST(Regression, BlankReportLineWritesOnlyTheLineEnd)
{
    Match match;
    ReportCapture report(match);
    match.writeBlankLine();
    match.writeLine(std::string_view());
    match.writeLine("x");
    EXPECT_EQ(report.text(), "\n\nx\n");
}

}  // namespace
