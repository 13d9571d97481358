#pragma once
// A fake window system for the main window's control logic: scripted ticks,
// dialogs answered from a script, and a record of everything the window asks
// of it (timers, message boxes, menu states, captions, the quit request).
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "app/choose_player_model.h"
#include "app/main_window.h"
#include "app/options_model.h"
#include "support.h"

namespace fake {

struct Box {
    std::string text, caption;
    MessageIcon icon;
};

struct FakePlatform : WindowPlatform {
    std::vector<std::pair<int, int>> timersSet;
    std::vector<int> timersKilled;
    std::set<int> refusedTimers;
    std::vector<Box> boxes;
    std::function<void(const Box&)> duringBox;
    std::deque<std::optional<std::string>> teamFiles, reportFiles;
    int teamAsks = 0, reportAsks = 0;
    std::vector<std::string> captions;
    std::string status;
    int invalidations = 0, fullPaints = 0, hintPaints = 0;
    std::map<int, bool> menu;
    bool pauseVisible = false;
    std::optional<int> quitCode;
    std::function<void()> onQuit;
    std::function<void(ChoosePlayerModel&)> chooser;
    int chooses = 0;
    std::function<bool(OptionsModel&)> optionsDialog;
    int optionRuns = 0;

    bool setTimer(int id, int periodMs) override
    {
        timersSet.emplace_back(id, periodMs);
        return refusedTimers.count(id) == 0;
    }
    void killTimer(int id) override { timersKilled.push_back(id); }
    void messageBox(std::string_view text, std::string_view caption, MessageIcon icon) override
    {
        boxes.push_back(Box{std::string(text), std::string(caption), icon});
        if (duringBox) duringBox(boxes.back());
    }
    std::optional<std::string> chooseFile(FileKind kind) override
    {
        auto& queue = kind == FileKind::Team ? teamFiles : reportFiles;
        ++(kind == FileKind::Team ? teamAsks : reportAsks);
        if (queue.empty()) return std::nullopt;
        auto answer = queue.front();
        queue.pop_front();
        return answer;
    }
    void setCaption(std::string_view caption) override { captions.emplace_back(caption); }
    void setStatus(std::string_view text) override { status = text; }
    void invalidate() override { ++invalidations; }
    void paintNow(const RepaintHint* hint) override { ++(hint ? hintPaints : fullPaints); }
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
        model.initDialog();
        if (chooser) chooser(model);
        model.storeSelection();  // closing the dialog stores the selection, whichever way
    }
    bool runOptionsDialog(OptionsModel& model) override
    {
        ++optionRuns;
        return optionsDialog ? optionsDialog(model) : false;
    }
    std::int64_t now() override { return 4242; }

    std::vector<std::string> boxTexts() const
    {
        std::vector<std::string> texts;
        for (const Box& b : boxes) texts.push_back(b.text);
        return texts;
    }
};

struct Harness {
    FakePlatform platform;
    CommandLineSettings settings;
    GameOptions options;
    std::unique_ptr<MainWindow> window;

    Harness() { settings.randomSeed = 77; }

    void presetTeams(const std::string& first = support::dataPath("harbour.xi"),
                     const std::string& second = support::dataPath("upland.xi"))
    {
        settings.team1File = first;
        settings.team2File = second;
    }

    MainWindow& open()
    {
        window = std::make_unique<MainWindow>(platform, settings, options);
        window->onInitDialog();
        return *window;
    }
    Match& match() { return window->match(); }
    void tick(int n = 1)
    {
        for (int i = 0; i < n; ++i) window->onTimer(MainWindow::kMainTimer);
    }
    void titleTick(int n = 1)
    {
        for (int i = 0; i < n; ++i) window->onTimer(MainWindow::kTitleTimer);
    }
    int currentDeliveries()
    {
        const Innings* inn = match().inningsAt(match().currentInnings);
        return inn ? inn->deliveries : 0;
    }
    // Ticks the main timer until the program quits or the game is over.
    void playToEnd()
    {
        for (int i = 0; i < 30000 && !platform.quitCode && !match().gameOver; ++i) tick();
    }
};

}  // namespace fake
