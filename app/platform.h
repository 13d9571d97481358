#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "match/match.h"

class ChoosePlayerModel;
class OptionsModel;

// The main window's menu commands, by which the control logic enables them.
namespace cmd {
enum : int {
    ChooseTeams = 1,
    PlayGame,
    Options,
    HelpAbout,  // Help > About: the about box
    SaveMatch,
    OpenMatch,
    ResumeLastMatch,
    HelpUsage,  // Help > Usage: the command-line usage
};
}

enum class MessageIcon { None, Information, Question, Warning };
enum class FileKind { Team1, Team2, Report, OpenMatch, SaveMatch };  // Team1 and Team2: the two sides in turn

// What the window control logic needs from a window system. The Qt window,
// the console runner and the tests' fake each implement it; the logic itself
// does not know which one it runs on.
class WindowPlatform {
public:
    virtual ~WindowPlatform() = default;

    // Creates (or re-creates) a periodic timer; false on failure.
    virtual bool startTicking(int id, int periodMs) = 0;
    virtual void stopTicking(int id) = 0;
    // Modal; returns when the user closes it. Timer ticks go on meanwhile.
    virtual void messageBox(std::string_view text, std::string_view caption, MessageIcon icon) = 0;
    // A question with Yes and No, modal; true for Yes. Without a way to ask
    // the answer is Yes.
    virtual bool askYesNo(std::string_view question, std::string_view caption)
    {
        (void)question, (void)caption;
        return true;
    }
    // A file to open: an existing team file (of the first or the second side), or the report file. nullopt on cancel.
    virtual std::optional<std::string> chooseFile(FileKind kind) = 0;
    virtual void setCaption(std::string_view caption) = 0;
    // A short line saying why the last command could not be done; empty clears it.
    virtual void setStatus(std::string_view text) = 0;
    // The whole client area is to be repainted at the next paint.
    virtual void invalidate() = 0;
    // Paints the scoreboard now: everything without a hint, else only the
    // hinted lines, the summary rows and the commentary.
    virtual void paintNow(const RepaintHint* hint) = 0;
    virtual void enableMenuItem(int commandId, bool enabled) = 0;
    virtual void showPauseButton(bool visible) = 0;
    // Ends the window's modal loop and with it the program.
    virtual void quit(int exitCode) = 0;
    // The choose-player dialog, modal; fills the model's answer.
    virtual void runChoosePlayer(ChoosePlayerModel& model) = 0;
    // The Game Options dialog, modal; true when confirmed with OK.
    virtual bool runOptionsDialog(OptionsModel& model) = 0;
    // A file could not be opened or written (`error` is the errno, 0 when
    // unknown). True when the platform has told the user in its own words;
    // false leaves it to the caller's message box.
    virtual bool describeFileFailure(int textId, const std::string& file, int error)
    {
        (void)textId, (void)file, (void)error;
        return false;
    }
    // Where the current match is kept as it is played, for Resume Last
    // Match; none where nothing is kept.
    virtual std::optional<std::string> lastMatchFile() { return std::nullopt; }
    // A tournament match has ended, or a tournament begun: its table and
    // results have changed.
    virtual void tournamentChanged() {}
    // Calendar time in nanoseconds since the epoch, for seeding when no seed was given.
    virtual std::int64_t now() = 0;
};
