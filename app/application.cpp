#include "app/application.h"

#include "resources/strings.h"

int Application::run(const std::string& commandLine, AppPlatform& platform)
{
    releaseFiles();
    settings = CommandLineSettings{};
    if (parseCommandLine(commandLine, settings, options) == 1) {
        showUsage(platform);
        return 0;
    }
    return platform.runMainWindow(*this);
}

void Application::releaseFiles()
{
    if (settings.bowlerListFile) {
        std::fclose(settings.bowlerListFile);
        settings.bowlerListFile = nullptr;
    }
    settings.outputFileName.reset();
    settings.team1File.reset();
    settings.team2File.reset();
}

void Application::showUsage(AppPlatform& platform) const
{
    platform.showUsage(usageText("pelmora"), std::string(loadString(str::AppName)));
}

std::string Application::joinArguments(int argc, char** argv)
{
    std::string line;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) line += ' ';
        line += argv[i];
    }
    return line;
}
