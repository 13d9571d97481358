#include "rating/match_sources.h"

#include <zip.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "analysis/bounded_input.h"

struct MatchSources::ZipArchive {
    std::string path;
    zip_t* handle = nullptr;
    ~ZipArchive()
    {
        if (handle) zip_discard(handle);
    }
};

MatchSources::MatchSources() = default;
MatchSources::~MatchSources() = default;

namespace {

bool endsWith(const std::string& s, const char* suffix)
{
    const std::size_t n = std::strlen(suffix);
    if (s.size() < n) return false;
    for (std::size_t i = 0; i < n; ++i)
        if (std::tolower(static_cast<unsigned char>(s[s.size() - n + i])) != suffix[i]) return false;
    return true;
}

}  // namespace

bool naturalLess(const std::string& a, const std::string& b)
{
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (std::isdigit(static_cast<unsigned char>(a[i])) && std::isdigit(static_cast<unsigned char>(b[j]))) {
            std::size_t ie = i, je = j;
            while (ie < a.size() && std::isdigit(static_cast<unsigned char>(a[ie])))
                ++ie;
            while (je < b.size() && std::isdigit(static_cast<unsigned char>(b[je])))
                ++je;
            std::size_t is = i, js = j;
            while (is + 1 < ie && a[is] == '0')
                ++is;
            while (js + 1 < je && b[js] == '0')
                ++js;
            if (ie - is != je - js) return ie - is < je - js;
            const int c = a.compare(is, ie - is, b, js, je - js);
            if (c != 0) return c < 0;
            i = ie;
            j = je;
        } else {
            if (a[i] != b[j]) return static_cast<unsigned char>(a[i]) < static_cast<unsigned char>(b[j]);
            ++i;
            ++j;
        }
    }
    return a.size() - i < b.size() - j;
}

bool MatchSources::addArchive(const std::string& path, std::string& why)
{
    int error = 0;
    zip_t* handle = zip_open(path.c_str(), ZIP_RDONLY, &error);
    if (!handle) {
        zip_error_t e;
        zip_error_init_with_code(&e, error);
        why = zip_error_strerror(&e);
        zip_error_fini(&e);
        return false;
    }
    auto archive = std::make_unique<ZipArchive>();
    archive->path = path;
    archive->handle = handle;
    std::vector<Item> entries;
    const zip_int64_t n = zip_get_num_entries(handle, 0);
    for (zip_int64_t i = 0; i < n; ++i) {
        const char* name = zip_get_name(handle, static_cast<zip_uint64_t>(i), 0);
        if (!name || !endsWith(name, ".json")) continue;  // a README, a folder
        entries.push_back(Item{static_cast<int>(archives_.size()), name, i, {}});
    }
    std::sort(entries.begin(), entries.end(), [](const Item& a, const Item& b) { return naturalLess(a.path, b.path); });
    items_.insert(items_.end(), entries.begin(), entries.end());
    archives_.push_back(std::move(archive));
    files_.push_back(path);
    return true;
}

bool MatchSources::add(const std::string& path, std::string& why)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (ec || !fs::exists(status)) {
        why = "cannot be read: " + (ec ? ec.message() : std::string("No such file or directory"));
        return false;
    }
    if (fs::is_directory(status)) {
        std::vector<std::string> found;
        for (fs::recursive_directory_iterator it(path, ec), end; !ec && it != end; it.increment(ec)) {
            if (!it->is_regular_file(ec)) continue;
            const std::string p = it->path().string();
            if (endsWith(p, ".json") || endsWith(p, ".zip")) found.push_back(p);
        }
        if (ec) {
            why = "cannot be read: " + ec.message();
            return false;
        }
        std::sort(found.begin(), found.end(), naturalLess);
        for (const std::string& p : found) {
            if (endsWith(p, ".zip")) {
                std::string failure;
                if (!addArchive(p, failure)) {
                    items_.push_back(Item{-1, p, -1, "not a zip archive that can be read: " + failure});
                    files_.push_back(p);
                }
            } else {
                items_.push_back(Item{-1, p, -1, {}});
            }
        }
        return true;
    }
    if (endsWith(path, ".zip")) return addArchive(path, why);
    items_.push_back(Item{-1, path, -1, {}});
    files_.push_back(path);
    return true;
}

std::string MatchSources::name(std::size_t i) const
{
    const Item& item = items_[i];
    return item.archive < 0 ? item.path : archives_[static_cast<std::size_t>(item.archive)]->path + ": " + item.path;
}

bool MatchSources::read(std::size_t i, std::string& text, std::string& why)
{
    const Item& item = items_[i];
    text.clear();
    if (!item.failure.empty()) {
        why = item.failure;
        return false;
    }
    if (item.archive < 0) {
        if (readBoundedFile(item.path, kMaxMatchBytes, text, why)) return true;
        why = "cannot be read: " + why;
        return false;
    }
    const std::string tooLarge = "damaged in the archive: unpacks to more than " + describeSize(kMaxMatchBytes);
    zip_t* handle = archives_[static_cast<std::size_t>(item.archive)]->handle;
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat_index(handle, static_cast<zip_uint64_t>(item.entry), 0, &stat) == 0 && (stat.valid & ZIP_STAT_SIZE)) {
        if (stat.size > kMaxMatchBytes) {
            why = tooLarge;
            return false;
        }
        text.reserve(static_cast<std::size_t>(stat.size));
    }
    zip_file_t* file = zip_fopen_index(handle, static_cast<zip_uint64_t>(item.entry), 0);
    if (!file) {
        why = std::string("cannot be read: ") + zip_strerror(handle);
        return false;
    }
    // The size the archive states may lie: the unpacked bytes are counted too.
    char buffer[1 << 16];
    zip_int64_t got;
    while ((got = zip_fread(file, buffer, sizeof buffer)) > 0) {
        if (text.size() + static_cast<std::size_t>(got) > kMaxMatchBytes) {
            zip_fclose(file);
            std::string().swap(text);
            why = tooLarge;
            return false;
        }
        text.append(buffer, static_cast<std::size_t>(got));
    }
    if (got < 0) {
        why = std::string("cannot be read: ") + zip_file_strerror(file);
        zip_fclose(file);
        return false;
    }
    // A damaged entry may only show itself in the checksum, at the close.
    if (zip_fclose(file) != 0) {
        why = "cannot be read: damaged in the archive";
        return false;
    }
    return true;
}
