#pragma once
// A fake window system for the main window's control logic: scripted ticks,
// dialogs answered from a script, and a record of what the window asks of it
// (timers, message boxes, menu states, the quit request).
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/choose_player_model.h"
#include "app/match_controller.h"
#include "app/options_model.h"
#include "support.h"

namespace fake {

struct FakePlatform : WindowPlatform {
    std::vector<std::pair<int, int>> timersSet;
    std::vector<int> timersKilled;
    std::vector<std::string> boxes, captions;
    std::function<void(const std::string&)> duringBox;
    std::deque<std::optional<std::string>> teamFiles;  // answers in turn; none left means cancel
    int reportAsks = 0, chooses = 0;
    std::map<int, bool> menu;
    bool pauseVisible = false;
    std::optional<int> quitCode;
    std::function<void()> onQuit;
    std::function<void(ChoosePlayerModel&)> chooser;
    std::function<bool(OptionsModel&)> optionsDialog;
    std::optional<std::string> matchFile;  // what the match file choosers answer
    std::optional<std::string> lastMatch;  // where the current match is kept

    bool startTicking(int id, int periodMs) override
    {
        timersSet.emplace_back(id, periodMs);
        return true;
    }
    void stopTicking(int id) override { timersKilled.push_back(id); }
    void messageBox(std::string_view text, std::string_view caption, MessageIcon) override
    {
        boxes.emplace_back(text);
        captions.emplace_back(caption);
        if (duringBox) duringBox(boxes.back());
    }
    std::vector<std::string> questions;
    bool answerYes = false;
    bool askYesNo(std::string_view question, std::string_view) override
    {
        questions.emplace_back(question);
        return answerYes;
    }
    std::optional<std::string> chooseFile(FileKind kind) override
    {
        reportAsks += kind == FileKind::Report;
        if (kind == FileKind::OpenMatch || kind == FileKind::SaveMatch) return matchFile;
        if (kind == FileKind::Report || teamFiles.empty()) return std::nullopt;
        auto answer = teamFiles.front();
        teamFiles.pop_front();
        return answer;
    }
    void setCaption(std::string_view) override {}
    void setStatus(std::string_view) override {}
    void invalidate() override {}
    void paintNow(const RepaintHint*) override {}
    void enableMenuItem(int commandId, bool enabled) override { menu[commandId] = enabled; }
    void showPauseButton(bool visible) override { pauseVisible = visible; }
    void quit(int exitCode) override
    {
        quitCode = exitCode;
        if (onQuit) onQuit();
    }
    void runChoosePlayer(ChoosePlayerModel& model) override
    {
        ++chooses;
        model.fillRows();
        if (chooser) chooser(model);
        model.acceptSelection();  // closing the dialog stores the selection, whichever way
    }
    bool runOptionsDialog(OptionsModel& model) override { return optionsDialog ? optionsDialog(model) : false; }
    std::optional<std::string> lastMatchFile() override { return lastMatch; }
    std::int64_t now() override { return 4242; }
    int tournamentChanges = 0;
    void tournamentChanged() override { ++tournamentChanges; }

    // What the user may press: the enabled menu commands and the Pause/Go button.
    std::string controls() const
    {
        return std::string(menu.at(cmd::ChooseTeams) ? "ChooseTeams " : "") +
               (menu.at(cmd::PlayGame) ? "PlayGame " : "") + (pauseVisible ? "Pause/Go" : "");
    }
};

struct Harness {
    FakePlatform platform;
    CommandLineSettings settings;
    GameOptions options;
    std::unique_ptr<MatchController> window;

    Harness() { settings.randomSeed = 77; }

    // Preset team files (both test sides unless named), autoplay, and the report file.
    Harness& preset(const std::string& report = "", int autoplay = 0, const std::string& first = "",
                    const std::string& second = "")
    {
        settings.team1File = first.empty() ? support::dataPath("harbour.xi") : first;
        settings.team2File = second.empty() ? support::dataPath("upland.xi") : second;
        settings.autoplay = autoplay;
        if (!report.empty()) settings.outputFileName = report;
        return *this;
    }
    MatchController& open()
    {
        window = std::make_unique<MatchController>(platform, settings, options);
        window->start();
        return *window;
    }
    Match& match() { return window->match(); }
    void tick(int n = 1)
    {
        for (int i = 0; i < n; ++i)
            window->tick(MatchController::kMainTimer);
    }
    int currentDeliveries()
    {
        const Innings* inn = match().inningsAt(match().currentInnings);
        return inn ? inn->deliveries : 0;
    }
    // Ticks the main timer until the program quits or the game is over.
    void playToEnd()
    {
        for (int i = 0; i < 30000 && !platform.quitCode && !match().gameOver; ++i)
            tick();
    }
};

}  // namespace fake
