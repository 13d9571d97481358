#include "app/output_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>

namespace {

struct Identity {
    bool exists = false;
    bool shareable = false;  // a character device: many writers harm nothing
    dev_t device = 0;
    ino_t inode = 0;
    std::string resolved;  // for a file that does not exist yet
};

// The absolute path with the folder resolved (the file itself need not exist).
std::string resolvedPath(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
    const std::string leaf = slash == std::string::npos ? path : path.substr(slash + 1);
    char buffer[PATH_MAX];
    if (!::realpath(folder.c_str(), buffer)) return path;
    std::string out = buffer;
    if (out.back() != '/') out += '/';
    return out + leaf;
}

Identity identify(const std::string& path)
{
    Identity id;
    struct stat st {};
    const int r = namesStandardOutput(path) && path == "-" ? ::fstat(STDOUT_FILENO, &st) : ::stat(path.c_str(), &st);
    if (r == 0) {
        id.exists = true;
        id.shareable = S_ISCHR(st.st_mode);
        id.device = st.st_dev;
        id.inode = st.st_ino;
    } else {
        id.resolved = resolvedPath(path);
    }
    return id;
}

bool same(const Identity& a, const Identity& b)
{
    if (a.exists != b.exists) return false;
    if (a.exists) return !a.shareable && a.device == b.device && a.inode == b.inode;
    return a.resolved == b.resolved;
}

std::string reason()
{
    return std::strerror(errno);
}

// The temporary files open now, for the interrupt handler: fixed storage, so
// the handler reads it without allocating. A slot is Free, Filling while a
// thread writes its name, or Held.
enum SlotState { Free, Filling, Held };
constexpr int kSlots = 64;
struct TemporarySlot {
    std::atomic<int> state{Free};
    char path[PATH_MAX];
};
TemporarySlot temporarySlots[kSlots];

int holdTemporary(const std::string& path)
{
    if (path.size() >= PATH_MAX) return -1;
    for (int i = 0; i < kSlots; ++i) {
        int expected = Free;
        if (!temporarySlots[i].state.compare_exchange_strong(expected, Filling)) continue;
        std::memcpy(temporarySlots[i].path, path.c_str(), path.size() + 1);
        temporarySlots[i].state.store(Held);
        return i;
    }
    return -1;  // more open at once than ever happens: that one is not cleaned up on interrupt
}

void releaseTemporary(int slot)
{
    if (slot >= 0) temporarySlots[slot].state.store(Free);
}

extern "C" void removeTemporariesAndDie(int signal)
{
    removeUnfinishedTemporaryFiles();
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

}  // namespace

bool namesStandardOutput(const std::string& path)
{
    return path == "-" || path == "/dev/stdout";
}

std::string findClash(const std::vector<NamedFile>& files)
{
    std::vector<Identity> ids;
    ids.reserve(files.size());
    for (const NamedFile& f : files)
        ids.push_back(identify(f.path));
    for (std::size_t i = 0; i < files.size(); ++i) {
        for (std::size_t j = 0; j < i; ++j) {
            if (!files[i].output && !files[j].output) continue;  // reading one file twice harms nothing
            if (!same(ids[i], ids[j])) continue;
            if (files[i].output && files[j].output)
                return files[j].label + " and " + files[i].label + " would write to the same file";
            const NamedFile& output = files[i].output ? files[i] : files[j];
            const NamedFile& input = files[i].output ? files[j] : files[i];
            return output.label + " would write over " + input.label;
        }
    }
    return {};
}

bool isStandardOutputFile(const std::string& path)
{
    if (namesStandardOutput(path)) return true;
    struct stat out {
    }, st{};
    if (::fstat(STDOUT_FILENO, &out) != 0 || ::stat(path.c_str(), &st) != 0) return false;
    return !S_ISCHR(st.st_mode) && out.st_dev == st.st_dev && out.st_ino == st.st_ino;
}

bool ReplacingFile::open(const std::string& path, std::string& error)
{
    discard();
    path_ = target_ = path;
    if (isStandardOutputFile(path)) {
        toStandardOutput_ = true;
        stream_ = stdout;
        return true;
    }
    // A device or a pipe (/dev/null, a FIFO) is written as it is: renaming over
    // it would replace the device, not write to it. A folder is refused now,
    // not when the finished file cannot be renamed over it.
    struct stat target {};
    const bool exists = ::stat(path.c_str(), &target) == 0;
    if (exists && S_ISDIR(target.st_mode)) {
        error = std::strerror(EISDIR);
        errno = EISDIR;
        return false;
    }
    if (exists && !S_ISREG(target.st_mode)) {
        stream_ = std::fopen(path.c_str(), "w");
        if (!stream_) {
            error = reason();
            return false;
        }
        direct_ = true;
        return true;
    }
    // A link to an existing file keeps being a link: the file it names is the one replaced.
    struct stat link {};
    char resolved[PATH_MAX];
    if (exists && ::lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode) && ::realpath(path.c_str(), resolved))
        target_ = resolved;
    const std::size_t slash = target_.find_last_of('/');
    const std::string folder = slash == std::string::npos ? std::string() : target_.substr(0, slash + 1);
    const std::string leaf = slash == std::string::npos ? target_ : target_.substr(slash + 1);
    std::string pattern = folder + "." + leaf + ".XXXXXX";
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) {
        error = reason();
        return false;
    }
    temporary_ = pattern;
    slot_ = holdTemporary(temporary_);
    // The finished file gets the mode it had, or the mode a new file gets.
    struct stat st {};
    mode_t mode;
    if (::stat(target_.c_str(), &st) == 0) {
        mode = st.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    ::fchmod(fd, mode);
    stream_ = ::fdopen(fd, "w");
    if (!stream_) {
        error = reason();
        ::close(fd);
        discard();
        return false;
    }
    return true;
}

bool ReplacingFile::commit(std::string& error)
{
    if (!stream_) {
        error = "nothing to write";
        return false;
    }
    if (toStandardOutput_) {
        stream_ = nullptr;
        toStandardOutput_ = false;
        if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
            error = reason();
            return false;
        }
        return true;
    }
    errno = 0;
    bool ok = std::fflush(stream_) == 0 && !std::ferror(stream_);
    if (!ok) error = errno ? reason() : "write error";
    if (std::fclose(stream_) != 0 && ok) {
        ok = false;
        error = reason();
    }
    stream_ = nullptr;
    if (ok && !direct_ && std::rename(temporary_.c_str(), target_.c_str()) != 0) {
        ok = false;
        error = reason();
    }
    if (ok) temporary_.clear();
    discard();
    return ok;
}

void ReplacingFile::discard()
{
    if (stream_ && !toStandardOutput_) std::fclose(stream_);
    stream_ = nullptr;
    toStandardOutput_ = false;
    direct_ = false;
    if (!temporary_.empty()) {
        std::remove(temporary_.c_str());
        temporary_.clear();
    }
    releaseTemporary(slot_);
    slot_ = -1;
}

void removeUnfinishedTemporaryFiles()
{
    for (TemporarySlot& slot : temporarySlots)
        if (slot.state.load() == Held) ::unlink(slot.path);
}

void removeTemporaryFilesOnInterrupt()
{
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
        struct sigaction action {};
        action.sa_handler = removeTemporariesAndDie;
        sigemptyset(&action.sa_mask);
        ::sigaction(signal, &action, nullptr);
    }
}

std::string safeFileNameComponent(const std::string& name)
{
    std::string out;
    for (unsigned char c : name)
        out += (c < 0x20 || c == 0x7f || c == '/' || c == '\\') ? '_' : static_cast<char>(c);
    if (!out.empty() && out[0] == '.') out[0] = '_';
    constexpr std::size_t kLongest = 100;
    if (out.size() > kLongest) {
        std::size_t cut = kLongest;
        while (cut > 0 && (static_cast<unsigned char>(out[cut]) & 0xC0) == 0x80)
            --cut;  // never inside a UTF-8 character
        out.resize(cut);
    }
    return out.empty() ? std::string("_") : out;
}

bool replaceFileContents(const std::string& path, const std::string& contents, std::string& error)
{
    ReplacingFile file;
    if (!file.open(path, error)) return false;
    if (!contents.empty() && std::fwrite(contents.data(), 1, contents.size(), file.stream()) != contents.size()) {
        error = reason();
        return false;
    }
    return file.commit(error);
}
