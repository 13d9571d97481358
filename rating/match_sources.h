#pragma once
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

// The match files named on a command line: .json files, folders (searched
// for .json and .zip files below them) and .zip archives such as Cricsheet
// distributes, in a fixed order (names compared with their numbers as
// numbers, so 9.json comes before 10.json). A match file is read whole, so
// each is held to kMaxMatchBytes: a real one is well under 4 MB, and an
// archive entry that unpacks to more is taken for damaged.
class MatchSources {
public:
    static constexpr std::size_t kMaxMatchBytes = std::size_t{16} << 20;

    MatchSources();
    ~MatchSources();
    MatchSources(const MatchSources&) = delete;
    MatchSources& operator=(const MatchSources&) = delete;

    // Adds a file, folder or archive; false with a reason when it cannot be read.
    // An archive found in a folder that cannot be opened is kept as an item
    // that fails to read, so it is named and skipped like a damaged match file.
    bool add(const std::string& path, std::string& why);

    std::size_t size() const { return items_.size(); }
    // "archive.zip: 1234.json" or the file's path.
    std::string name(std::size_t i) const;
    // The text of match file i; false with a reason when it cannot be read.
    bool read(std::size_t i, std::string& text, std::string& why);
    // The plain files and archives given, for a check that no output overwrites one.
    const std::vector<std::string>& files() const { return files_; }

private:
    struct Item {
        int archive = -1;  // index into archives_, -1 for a plain file
        std::string path;  // the file, or the entry's name in the archive
        long long entry = -1;
        std::string failure;  // why an archive found in a folder cannot be read
    };
    struct ZipArchive;
    bool addArchive(const std::string& path, std::string& why);

    std::vector<Item> items_;
    std::vector<std::unique_ptr<ZipArchive>> archives_;
    std::vector<std::string> files_;
};

// a < b with runs of digits compared as numbers.
bool naturalLess(const std::string& a, const std::string& b);
