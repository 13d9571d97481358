#pragma once
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "ui/main_frame.h"
#include "ui/tests/ui_test_support.h"

// A main window whose file choosers answer from a list and whose message
// boxes are only recorded, so a test can drive whole command sequences.
class ScriptedFrame : public MainFrame {
public:
    struct Box {
        std::string text;
        std::string caption;
        MessageIcon icon;
    };

    using MainFrame::MainFrame;

    std::optional<std::string> chooseFile(FileKind kind) override
    {
        asked.push_back(kind);
        if (files.empty()) return std::nullopt;
        std::string name = files.front();
        files.erase(files.begin());
        return name;
    }
    void messageBox(std::string_view text, std::string_view caption, MessageIcon icon) override
    {
        boxes.push_back(Box{std::string(text), std::string(caption), icon});
    }

    std::vector<std::string> files;  // the chooser's answers in turn; none left means cancel
    std::vector<FileKind> asked;
    std::vector<Box> boxes;
};

// An application with a command line, and its main window.
template <class Frame>
struct WindowUnderTest {
    explicit WindowUnderTest(const std::string& commandLine)
    {
        parseCommandLine(commandLine, application.settings, application.options);
        frame = std::make_unique<Frame>(application, appPlatform);
    }

    Application application;
    RecordingAppPlatform appPlatform;
    std::unique_ptr<Frame> frame;
};

inline std::string presetTeams()
{
    return "/t1=" + samplePath("northshire.xi") + " /t2=" + samplePath("southmoor.xi");
}
