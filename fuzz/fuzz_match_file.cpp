// Arbitrary bytes as a match file: the reader must refuse them with a reason
// or accept them, never crash, nest without limit or loop long; what it
// accepts must write back to a file that reads the same, and replays (as the
// window's Open Match does) to its point or stops with a reason.
#include <cstdint>
#include <string>

#include "app/match_controller.h"
#include "app/match_file.h"

namespace {

void require(bool condition)
{
    if (!condition) __builtin_trap();
}

// A window that shows nothing and never answers: a replay plays without it.
struct QuietWindow : WindowPlatform {
    bool startTicking(int, int) override { return true; }
    void stopTicking(int) override {}
    void messageBox(std::string_view, std::string_view, MessageIcon) override {}
    std::optional<std::string> chooseFile(FileKind) override { return std::nullopt; }
    void setCaption(std::string_view) override {}
    void setStatus(std::string_view) override {}
    void invalidate() override {}
    void paintNow(const RepaintHint*) override {}
    void enableMenuItem(int, bool) override {}
    void showPauseButton(bool) override {}
    void quit(int) override {}
    void runChoosePlayer(ChoosePlayerModel&) override {}
    bool runOptionsDialog(OptionsModel&) override { return false; }
    std::int64_t now() override { return 1; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    MatchFile file;
    std::string error;
    if (!parseMatchFile(text, file, error)) {
        require(!error.empty());
        return 0;
    }
    MatchFile again;
    require(parseMatchFile(matchFileJson(file), again, error));
    require(matchFileJson(again) == matchFileJson(file));

    QuietWindow window;
    CommandLineSettings settings;
    settings.titleAnimation = 0;
    MatchController controller(window, settings, GameOptions{});
    controller.start();
    if (controller.openMatch(file, error)) require(controller.replayError().empty());
    return 0;
}
