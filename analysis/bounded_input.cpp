#include "analysis/bounded_input.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

std::FILE* openForReading(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return nullptr;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd);
        errno = EISDIR;
        return nullptr;
    }
    // Reads wait for data again once the file is open (a pipe that has a writer is read to its end).
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    std::FILE* f = ::fdopen(fd, "rb");
    if (!f) {
        const int why = errno;
        ::close(fd);
        errno = why;
    }
    return f;
}

std::string describeSize(std::size_t bytes)
{
    if (bytes >= kMegabyte && bytes % kMegabyte == 0) return std::to_string(bytes / kMegabyte) + " MB";
    if (bytes >= 1024 && bytes % 1024 == 0) return std::to_string(bytes / 1024) + " KB";
    return std::to_string(bytes) + " bytes";
}

bool readBoundedStream(std::FILE* file, std::size_t maxBytes, std::string& text, std::string& error)
{
    text.clear();
    char buffer[65536];
    errno = 0;
    for (;;) {
        const std::size_t n = std::fread(buffer, 1, sizeof buffer, file);
        if (n == 0) break;
        if (text.size() + n > maxBytes) {
            text.clear();
            error = "larger than " + describeSize(maxBytes);
            return false;
        }
        text.append(buffer, n);
    }
    if (std::ferror(file)) {
        error = errno ? std::strerror(errno) : "read error";
        return false;
    }
    return true;
}

bool readBoundedFile(const std::string& path, std::size_t maxBytes, std::string& text, std::string& error)
{
    std::FILE* f = openForReading(path);
    if (!f) {
        error = std::strerror(errno);
        return false;
    }
    const bool ok = readBoundedStream(f, maxBytes, text, error);
    std::fclose(f);
    return ok;
}

std::string jsonDepthError(std::string_view text, int maxDepth)
{
    int depth = 0;
    bool inString = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (inString) {
            if (c == '\\')
                ++i;
            else if (c == '"')
                inString = false;
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            if (++depth > maxDepth) return "nested deeper than " + std::to_string(maxDepth) + " levels";
        } else if ((c == ']' || c == '}') && depth > 0) {
            --depth;
        }
    }
    return {};
}
