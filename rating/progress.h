#pragma once
#include <chrono>
#include <string>

// One line of progress on standard error, rewritten in place with '\r' at
// most a few times a second; silent when standard error is not a terminal,
// so logs and pipes get only the messages.
class Progress {
public:
    Progress();
    ~Progress() { clear(); }
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;

    // Shows `line` unless another was shown less than a quarter second ago.
    void show(const std::string& line);
    // Blanks the line, before a message or at the end.
    void clear();

private:
    bool terminal_ = false;
    std::size_t shown_ = 0;  // bytes on the line now
    std::chrono::steady_clock::time_point last_{};
};

// The one progress line of the program.
Progress& progress();

// "pelmora-rate: message" on standard error, after clearing the progress
// line. Messages name files, sides and players from the archive: control
// characters in them are shown as '?', never sent to the terminal.
void complain(const std::string& message);
