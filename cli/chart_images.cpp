#include "cli/chart_images.h"

#include <dlfcn.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "analysis/charts.h"
#include "ui/chart_module.h"

namespace {

// The chart drawing needs Qt, so it lives in a module loaded only when charts
// are asked for: beside the program in a build tree, else where it is installed
// relative to the program (PELMORA_CHARTS_MODULE_DIR, e.g. ../lib/pelmora).
WriteChartsFunction loadChartsModule(std::string& error)
{
    static WriteChartsFunction entry = nullptr;
    if (entry) return entry;
    std::error_code ec;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", ec);
    const std::filesystem::path folder = ec ? std::filesystem::path(".") : program.parent_path();
    std::string reason;
    bool found = false;  // the reason of a module that is there but fails outweighs a missing one
    for (const std::filesystem::path& path :
         {folder / kChartsModuleFile, folder / PELMORA_CHARTS_MODULE_DIR / kChartsModuleFile}) {
        // Never unloaded: Qt keeps its application until the program ends.
        if (void* module = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL)) {
            entry = reinterpret_cast<WriteChartsFunction>(::dlsym(module, kChartsEntryPoint));
            if (entry) return entry;
            reason = ::dlerror();
            break;
        }
        const std::string failure = ::dlerror();
        if (!found) {
            reason = failure;
            found = std::filesystem::exists(path, ec);
        }
    }
    error = "this pelmora-cli cannot draw charts: " + reason;
    return nullptr;
}

}  // namespace

bool writeCharts(const Match& match, const std::string& folder, std::string& error)
{
    const WriteChartsFunction write = loadChartsModule(error);
    if (!write) return false;
    // Drawn into a scratch folder beside the targets and moved into place
    // only when both are complete.
    std::string scratch = folder + "/.pelmora-charts-XXXXXX";
    if (!::mkdtemp(scratch.data())) {
        error = "cannot write charts into " + folder + ": " + std::strerror(errno);
        return false;
    }
    static const char* const kFiles[] = {"worm.png", "manhattan.png"};
    const std::vector<InningsChart> innings = chartData(match);
    char reason[512] = "";
    bool ok = write(&innings, scratch.c_str(), reason, sizeof reason) == 0;
    if (!ok) error = reason;
    for (const char* file : kFiles) {
        const std::string from = scratch + "/" + file, to = folder + "/" + file;
        if (ok && std::rename(from.c_str(), to.c_str()) != 0) {
            error = "cannot write " + to + ": " + std::strerror(errno);
            ok = false;
        }
        std::remove(from.c_str());
    }
    ::rmdir(scratch.c_str());
    return ok;
}
