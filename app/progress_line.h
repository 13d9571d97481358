#pragma once
#include <chrono>
#include <string>

// One line of progress on standard error, "PROGRAM: line", rewritten in place
// with '\r' at most four times a second; silent when standard error is not a
// terminal, so logs and pipes get only the messages. Both console programs
// show how far they are through it.
class ProgressLine {
public:
    explicit ProgressLine(std::string program);
    ~ProgressLine() { clear(); }
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    // Shows `line` unless another was shown less than a quarter second ago.
    void show(const std::string& line);
    // Blanks the line, before a message or at the end.
    void clear();

private:
    std::string prefix_;
    bool terminal_ = false;
    std::size_t shown_ = 0;  // bytes on the line now
    std::chrono::steady_clock::time_point last_{};
};
