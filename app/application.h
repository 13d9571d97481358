#pragma once
#include <string>

#include "app/command_line.h"
#include "engine/game_options.h"

class Application;

// What start-up needs from a front end: the usage box, and running the main
// window until it closes.
class AppPlatform {
public:
    virtual ~AppPlatform() = default;
    virtual void showUsage(const std::string& text, const std::string& caption) = 0;
    // Builds the main window from the application's settings, runs it until
    // it closes and returns the process exit status.
    virtual int runMainWindow(Application& application) = 0;
};

// Start-up and end of the program: reads the command line, shows the usage
// text when asked, otherwise runs the main window.
class Application {
public:
    ~Application() { releaseFiles(); }

    // Returns the process exit status.
    int run(const std::string& commandLine, AppPlatform& platform);
    // Closes the bowler list file and forgets the names.
    void releaseFiles();
    void showUsage(AppPlatform& platform) const;

    // Joins the program arguments (without the program name) into one command line.
    static std::string joinArguments(int argc, char** argv);

    CommandLineSettings settings;
    GameOptions options;
};
