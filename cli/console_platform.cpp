#include "cli/console_platform.h"

#include <unistd.h>

#include <ctime>

#include "app/choose_player_model.h"
#include "analysis/cricsheet.h"
#include "app/main_window.h"
#include "cli/chart_images.h"
#include "resources/strings.h"

void ConsolePlatform::messageBox(std::string_view text, std::string_view, MessageIcon)
{
    std::fprintf(errors_, "%.*s\n", static_cast<int>(text.size()), text.data());
}

std::optional<std::string> ConsolePlatform::chooseFile(FileKind kind)
{
    if (kind == FileKind::Report) return std::string(kStdoutName);
    return std::nullopt;
}

void ConsolePlatform::setStatus(std::string_view text)
{
    if (!text.empty()) std::fprintf(errors_, "%.*s\n", static_cast<int>(text.size()), text.data());
}

void ConsolePlatform::quit(int exitCode)
{
    quitRequested_ = true;
    exitCode_ = exitCode;
}

void ConsolePlatform::runChoosePlayer(ChoosePlayerModel& model)
{
    model.initDialog();
    model.storeSelection();
}

std::FILE* ConsolePlatform::openReport(const std::string& name)
{
    if (name == kStdoutName) {
        std::fflush(stdout);
        int fd = ::dup(STDOUT_FILENO);
        if (fd < 0) return nullptr;
        std::FILE* f = ::fdopen(fd, "w");
        if (!f) ::close(fd);
        return f;
    }
    return WindowPlatform::openReport(name);
}

std::int64_t ConsolePlatform::now() { return static_cast<std::int64_t>(std::time(nullptr)); }

void ConsolePlatform::showUsage(const std::string& text, const std::string&) { std::printf("%s\n", text.c_str()); }

bool ConsolePlatform::writeCricsheet(const Match& match)
{
    const std::string json = cricsheetJson(match, todayUtc(), venue_);
    std::FILE* f = std::fopen(cricsheetPath_.c_str(), "w");
    bool ok = f && std::fwrite(json.data(), 1, json.size(), f) == json.size();
    if (f && std::fclose(f) != 0) ok = false;
    if (!ok) std::fprintf(errors_, "pelmora-cli: failure writing Cricsheet file %s\n", cricsheetPath_.c_str());
    return ok;
}

int ConsolePlatform::runMainWindow(Application& application)
{
    CommandLineSettings& settings = application.settings;
    settings.autoplay = 1;  // nobody is there to choose
    if (!settings.team1File || !settings.team2File) {
        std::fprintf(errors_, "pelmora-cli: no team file for side %d: give /t1=FILE and /t2=FILE (see --help)\n",
                     settings.team1File ? 2 : 1);
        return 2;
    }
    // A team file that cannot even be opened never reaches the window's own
    // check, which would then wait for a person to choose teams.
    for (const std::string* name : {&*settings.team1File, &*settings.team2File}) {
        Team probe;
        LoadDiagnosis why;
        if (!probe.load(name->c_str(), &why)) {
            std::fprintf(errors_, "%s%s\n%s: %s\n", std::string(loadString(str::FailureLoadingTeam)).c_str(),
                         name->c_str(), name->c_str(), why.reason.c_str());
            return 1;
        }
    }

    MainWindow window(*this, settings, application.options);
    window.onInitDialog();
    if (settings.randomSeed == 0) std::fprintf(errors_, "seed: %u\n", window.seed());

    const Match& match = window.match();
    while (!quitRequested_) {
        if (!match.playing || match.gameOver) {
            // Nothing more can happen without a person: never spin.
            std::fprintf(errors_, "pelmora-cli: the match could not be played\n");
            return 1;
        }
        const int index = match.currentInnings;
        const Innings* innings = match.inningsAt(index);
        const int before = innings ? innings->deliveries : 0;
        window.onTimer(window.mainTimerId() ? window.mainTimerId() : MainWindow::kMainTimer);
        if (commentary_ && innings && innings->deliveries > before) {
            std::fputs(innings->commentaryLine(innings->overBall - 1), commentary_);
            std::fputc('\n', commentary_);
        }
    }
    if (!cricsheetPath_.empty() && match.gameOver && !writeCricsheet(match)) exitCode_ = exitCode_ ? exitCode_ : 1;
    if (!chartsFolder_.empty() && match.gameOver) {
        std::string why;
        if (!writeCharts(match, chartsFolder_, why)) {
            std::fprintf(errors_, "pelmora-cli: %s\n", why.c_str());
            exitCode_ = exitCode_ ? exitCode_ : 1;
        }
    }
    window.onDestroy();
    return exitCode_;
}
