#include "cli/chart_images.h"

#include <dlfcn.h>

#include <cstdio>
#include <filesystem>

#include "analysis/charts.h"
#include "app/output_files.h"
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
    // The folder is made as the other folders of outputs are.
    std::error_code made;
    std::filesystem::create_directories(folder, made);
    if (made) {
        error = "cannot write charts into " + folder + ": " + made.message();
        return false;
    }
    // Each drawn into a temporary file of its own and moved into place only
    // when both are complete.
    ReplacingFile files[2];
    const std::string paths[2] = {folder + "/worm.png", folder + "/manhattan.png"};
    for (int i = 0; i < 2; ++i) {
        if (!files[i].open(paths[i], error)) {
            error = "cannot write charts into " + folder + ": " + error;
            return false;
        }
    }
    const std::vector<InningsChart> innings = chartData(match);
    char reason[512] = "";
    if (write(&innings, files[0].stream(), files[1].stream(), reason, sizeof reason) != 0) {
        error = reason;
        return false;
    }
    for (int i = 0; i < 2; ++i) {
        if (!files[i].commit(error)) {
            error = "cannot write " + paths[i] + ": " + error;
            return false;
        }
    }
    return true;
}
