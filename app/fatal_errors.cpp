#include "app/fatal_errors.h"

#include <unistd.h>

#include <cstdio>
#include <exception>
#include <new>

#include "app/output_files.h"

namespace {

const char* programName = "pelmora";

[[noreturn]] void reportAndExit()
{
    removeUnfinishedTemporaryFiles();
    const char* what = "an unexpected error";
    try {
        if (const std::exception_ptr current = std::current_exception()) std::rethrow_exception(current);
    } catch (const std::bad_alloc&) {
        what = "out of memory";
    } catch (const std::exception& e) {
        what = e.what();
    } catch (...) {
    }
    std::fprintf(stderr, "%s: stopped: %s\n", programName, what);
    std::fflush(stderr);
    ::_exit(1);
}

}  // namespace

void reportFatalErrorsAs(const char* program)
{
    programName = program;
    std::set_terminate(reportAndExit);
}
