#pragma once
#include <cstdio>
#include <string>
#include <vector>

// Outputs never destroy inputs or each other: every file the program reads or
// writes is named here before anything is opened, and two names for one file
// are refused. Optional outputs are written beside their target and renamed
// over it only when complete, so a failure leaves an earlier file untouched.

// "-" and "/dev/stdout" both mean the standard output already open.
bool namesStandardOutput(const std::string& path);

struct NamedFile {
    std::string label;  // how the user named it, e.g. "/s=report.txt", for messages
    std::string path;
    bool output = false;
};

// Empty when no output is also an input or another output; else a message
// naming both options and the file. Files are compared by device and inode
// when they exist, else by resolved path. Terminals and other character
// devices (/dev/null, /dev/tty) may be shared: writing to them destroys nothing.
std::string findClash(const std::vector<NamedFile>& files);

// True when the path is the file that standard output already writes to, so
// it must be written through that stream and never reopened (which would
// empty what is already there).
bool isStandardOutputFile(const std::string& path);

// An optional output: written to a temporary file in the target's folder and
// renamed into place by commit(). Standard output, devices and pipes are
// written directly.
class ReplacingFile {
public:
    ReplacingFile() = default;
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;
    ~ReplacingFile() { discard(); }

    // False with the operating system's reason when the temporary file cannot be made.
    bool open(const std::string& path, std::string& error);
    std::FILE* stream() const { return stream_; }
    const std::string& path() const { return path_; }
    // Flushes and moves the finished file into place; false with a reason.
    bool commit(std::string& error);
    // Throws the unfinished file away; the target is left as it was.
    void discard();

private:
    std::string path_;
    std::string target_;  // the file renamed over: path_, or the file a link at path_ names
    std::string temporary_;
    std::FILE* stream_ = nullptr;
    bool toStandardOutput_ = false;
    bool direct_ = false;  // a device or a pipe, written without a temporary file
    int slot_ = -1;        // where the temporary file is held for removal on interrupt
};

// A name taken from data (a side, a group, an archive's team) as one file name
// component that stays in the folder it is put in: no '/', no control
// characters, no leading '.', never empty, at most 100 bytes (not cut inside a character).
std::string safeFileNameComponent(const std::string& name);

// Removes every unfinished temporary file when the program is interrupted
// (SIGINT, SIGTERM, SIGHUP), then dies of the same signal. Call once at start-up.
void removeTemporaryFilesOnInterrupt();
// Removes them now (the program is about to end abnormally); safe in a signal handler.
void removeUnfinishedTemporaryFiles();

// Writes a whole text as an optional output (temporary file, then rename).
bool replaceFileContents(const std::string& path, const std::string& contents, std::string& error);
