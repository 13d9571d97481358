// pelmora-cli: plays a match unattended from the command line, with the same
// start-up and control code as the window, and writes its report.
#include <cstdio>
#include <cstring>
#include <string>

#include "app/application.h"
#include "cli/batch_mode.h"
#include "cli/console_platform.h"
#include "resources/strings.h"

namespace {

constexpr const char* kCommentaryOption = "--commentary=";

// The value of "--name=value" when the argument is that option.
const char* optionValue(const char* argument, const char* prefix)
{
    const std::size_t n = std::strlen(prefix);
    return std::strncmp(argument, prefix, n) == 0 ? argument + n : nullptr;
}

bool readCount(const char* text, int& out)
{
    char* end = nullptr;
    const long v = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || v < 1 || v > 100000000) return false;
    out = static_cast<int>(v);
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    std::string commentaryPath, cricsheetPath, chartsFolder;
    BatchModeOptions batch;
    for (int i = 1; i < argc; ++i) {
        const char* value = nullptr;
        if (std::strcmp(argv[i], "--help") == 0) {
            std::printf("%s\n", std::string(loadString(str::Usage)).c_str());
            std::printf("\npelmora-cli also takes:\n"
                        "--commentary=FILE : every delivery's commentary line, one per line\n"
                        "--cricsheet=FILE : the match in Cricsheet's ball-by-ball JSON format\n"
                        "  (with --matches: a folder, where every match is written as SEED.json)\n"
                        "--charts=DIR : worm.png and manhattan.png of the match, drawn offscreen\n"
                        "--matches=N : play N matches with seeds /r=, /r=+1, ... and print a summary\n"
                        "--threads=K : threads for --matches (default: the number of cores)\n"
                        "--format=table|json : the summary's format (default: table)\n");
            return 0;
        }
        if ((value = optionValue(argv[i], kCommentaryOption))) {
            commentaryPath = value;
        } else if ((value = optionValue(argv[i], "--cricsheet="))) {
            cricsheetPath = value;
        } else if ((value = optionValue(argv[i], "--charts="))) {
            chartsFolder = value;
        } else if ((value = optionValue(argv[i], "--matches="))) {
            if (!readCount(value, batch.matches)) {
                std::fprintf(stderr, "pelmora-cli: --matches needs a whole number from 1 up, not \"%s\"\n", value);
                return 2;
            }
        } else if ((value = optionValue(argv[i], "--threads="))) {
            if (!readCount(value, batch.threads) || batch.threads > 1024) {
                std::fprintf(stderr, "pelmora-cli: --threads needs a whole number from 1 to 1024, not \"%s\"\n", value);
                return 2;
            }
        } else if ((value = optionValue(argv[i], "--format="))) {
            if (std::strcmp(value, "json") == 0) batch.json = true;
            else if (std::strcmp(value, "table") != 0) {
                std::fprintf(stderr, "pelmora-cli: --format is table or json, not \"%s\"\n", value);
                return 2;
            }
        }
    }
    batch.cricsheetFolder = cricsheetPath;
    if (batch.matches > 0) return runBatchMode(Application::joinArguments(argc, argv), batch);

    ConsolePlatform platform;
    platform.setCricsheetPath(cricsheetPath);
    platform.setChartsFolder(chartsFolder);
    std::FILE* commentary = nullptr;
    if (!commentaryPath.empty()) {
        commentary = std::fopen(commentaryPath.c_str(), "w");
        if (!commentary) {
            std::fprintf(stderr, "pelmora-cli: cannot write commentary file %s: %s\n", commentaryPath.c_str(),
                         std::strerror(errno));
            return 1;
        }
        platform.setCommentaryFile(commentary);
    }

    Application application;
    int status = application.initInstance(Application::joinArguments(argc, argv), platform);
    application.exitInstance();

    if (commentary) {
        const bool bad = std::fflush(commentary) != 0 || std::ferror(commentary);
        if (std::fclose(commentary) != 0 || bad) {
            std::fprintf(stderr, "pelmora-cli: failure writing commentary file %s\n", commentaryPath.c_str());
            if (status == 0) status = 1;
        }
    }
    if (std::fflush(stdout) != 0 && status == 0) status = 1;
    return status;
}
