// pelmora-cli: plays a match unattended from the command line, with the same
// start-up and control code as the window, and writes its report.
#include <cstdio>
#include <cstring>
#include <string>

#include "app/application.h"
#include "cli/console_platform.h"
#include "resources/strings.h"

namespace {

constexpr const char* kCommentaryOption = "--commentary=";

}  // namespace

int main(int argc, char** argv)
{
    std::string commentaryPath;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0) {
            std::printf("%s\n", std::string(loadString(str::Usage)).c_str());
            return 0;
        }
        if (std::strncmp(argv[i], kCommentaryOption, std::strlen(kCommentaryOption)) == 0)
            commentaryPath = argv[i] + std::strlen(kCommentaryOption);
    }

    ConsolePlatform platform;
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
