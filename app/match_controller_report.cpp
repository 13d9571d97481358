#include <cerrno>
#include <string>
#include <vector>

#include "app/match_controller.h"
#include "app/output_files.h"
#include "presentation/scorecard_writer.h"
#include "resources/strings.h"

// The match report: opened beside its target when play starts, written once
// when the match ends, and put in place only when every byte reached the disk.

bool MatchController::openReportFile()
{
    std::optional<std::string> name = outputFileName_;
    if (!name) {
        name = platform_.chooseFile(FileKind::Report);
        if (!name) tell(str::NoOutputFile);
    }
    if (name) {
        // A report written over a team file would destroy the side: play does not start.
        const std::string clash = findClash(
            {{teamPaths_[0], teamPaths_[0], false}, {teamPaths_[1], teamPaths_[1], false}, {*name, *name, true}});
        if (!clash.empty()) {
            tell(loadText(str::ReportWouldOverwrite) + *name);
            if (autoplay_) fail();
            return false;
        }
        // Written beside its target and put in place when the match is over:
        // a match closed or interrupted before then leaves an earlier report as it was.
        std::string error;
        errno = 0;
        if (!report_.open(*name, error)) {
            failed_ = true;  // played all the same, but no report will be written
            fileFailure(str::FailureOpeningOutput, *name, errno);
        } else {
            reportName_ = *name;
        }
    }
    return true;
}

// Writes the report once, then makes sure it reached the file: a write error
// or a full disk is reported, never passed off as success, and leaves an
// earlier report of the same name as it was.
void MatchController::writeReport(std::string_view stoppedBecause)
{
    // The report goes out in one write, which a full disk can fail before
    // the flush below: its errno is kept for when the flush has none of its own.
    std::FILE* f = report_.stream();
    if (!f) return;
    errno = 0;
    const int whileWriting = ScorecardWriter::writeReport(match_, f, stoppedBecause) ? 0 : errno;
    errno = 0;
    std::string error;
    if (std::fflush(f) != 0 || std::ferror(f)) {
        const int written = errno ? errno : whileWriting;
        report_.discard();
        failed_ = true;
        fileFailure(str::FailureWritingOutput, reportName_, written);
    } else if (!report_.commit(error)) {
        failed_ = true;
        fileFailure(str::FailureWritingOutput, reportName_, errno);
    }
}

void MatchController::discardReport()
{
    report_.discard();
}

std::string MatchController::outputClash(const std::string& path) const
{
    std::vector<NamedFile> files;
    for (const std::string& side : teamPaths_)
        if (!side.empty()) files.push_back({side, side, false});
    if (!reportName_.empty()) files.push_back({reportName_, reportName_, true});
    files.push_back({path, path, true});
    return findClash(files);
}

void MatchController::fileFailure(int textId, const std::string& file, int error)
{
    if (!platform_.describeFileFailure(textId, file, error)) tell(loadText(textId) + file);
}
