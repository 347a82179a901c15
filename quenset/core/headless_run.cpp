#include "core/headless_run.h"

#include <cerrno>
#include <cstring>
#include <string>

#include "core/rename_session.h"

namespace corvelle {

namespace {

void PrintLine(std::FILE* out, const std::string& line) {
    std::fwrite(line.data(), 1, line.size(), out);
    std::fputc('\n', out);
}

}  // namespace

int RunHeadless(const CommandLine& commandLine, const NameSettings& settings, std::FILE* out,
                std::FILE* err) {
    RenameSession session(RunInputsFromSettings(settings, commandLine.folder));
    if (!session.folderOpened()) {
        std::fprintf(err, "quenset: cannot open folder %s: %s\n", commandLine.folder.c_str(),
                     std::strerror(errno));
        return 1;
    }
    if (commandLine.mode == CommandLine::Mode::Preview) {
        for (const RenameEntry& entry : session.entries()) {
            PrintLine(out, EntryLine(entry));
            for (const std::string& line : SidecarLines(entry)) PrintLine(out, line);
            // Marked as the rename would fail it.
            if (!entry.problem.english.empty())
                std::fprintf(err, "quenset: %s: %s\n", EntryLine(entry).c_str(),
                             entry.problem.english.c_str());
        }
        std::fputc('\n', out);
        const std::string summary = session.summaryText();
        if (!summary.empty()) PrintLine(out, summary);
        return 0;
    }
    const RenameOutcome outcome = session.rename(session.changeablePositions());
    if (!outcome.refusal.english.empty()) {
        std::fprintf(err, "quenset: %s\n", outcome.refusal.english.c_str());
        return 1;
    }
    if (!outcome.journalProblem.empty())
        std::fprintf(err, "quenset: note: this run cannot be undone: %s\n",
                     outcome.journalProblem.c_str());
    PrintLine(out, outcome.message);
    for (size_t i = 0; i < outcome.failureLines.size(); ++i) {
        PrintLine(out, outcome.failureLines[i]);
        std::fprintf(err, "quenset: %s: %s\n", outcome.failureLines[i].c_str(),
                     outcome.failureReasons[i].english.c_str());
    }
    if (outcome.timesSet > 0)
        std::fprintf(err,
                     "quenset: note: %d renamed files got their shooting date as last-write "
                     "time; Linux keeps their creation time\n",
                     outcome.timesSet);
    return outcome.failed() ? 1 : 0;
}

}  // namespace corvelle
