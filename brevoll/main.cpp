// Brevoll: resizes the pictures of a folder tree. Without arguments it opens the main
// dialog; `brevoll --batch` runs headless and never creates a window.
#include <unistd.h>

#include <chrono>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "core/batch_run.h"
#include "core/command_line.h"
#include "core/command_line_usage.h"
#include "core/error_report.h"
#include "core/format_seconds.h"
#include "core/picture_list.h"
#include "core/settings_store.h"
#include "core/step_marker.h"
#include "core/step_record.h"
#include "core/text.h"
#include "imaging/imaging.h"
#include "ui/brevoll_gui.h"

namespace {

using namespace corvelle;

uint64_t nowMs() {
    return uint64_t(std::chrono::duration_cast<std::chrono::milliseconds>(
                        std::chrono::steady_clock::now().time_since_epoch())
                        .count());
}

bool onTerminal() { return isatty(STDIN_FILENO) && isatty(STDERR_FILENO); }

// One line from the user, lower-cased first letter; 0 at the end of input.
char askLine(const char* question) {
    std::fputs(question, stderr);
    std::fflush(stderr);
    std::string line;
    if (!std::getline(std::cin, line)) return 0;
    for (char c : line)
        if (c != ' ' && c != '\t') return AsciiLower(c);
    return '\n';
}

OverwriteAnswer askOverwrite(const std::string& destination) {
    std::fprintf(stderr, "\nThis file exists already. Overwrite?\n  %s\n", destination.c_str());
    for (;;) {
        switch (askLine("[y] Yes  [a] Yes All  [s] Skip All  [n] No  [c] Cancel: ")) {
            case 'y':
                return OverwriteAnswer::Yes;
            case 'a':
                return OverwriteAnswer::YesAll;
            case 's':
                return OverwriteAnswer::SkipAll;
            case 'n':
                return OverwriteAnswer::No;
            case 'c':
            case 0:
                return OverwriteAnswer::Cancel;  // closing the question cancels
            default:
                break;
        }
    }
}

OverwriteQuestion questionFor(OverwriteMode mode) {
    switch (mode) {
        case OverwriteMode::Ask:
            return askOverwrite;
        case OverwriteMode::YesAll:
            return [](const std::string&) { return OverwriteAnswer::YesAll; };
        case OverwriteMode::SkipAll:
            return [](const std::string&) { return OverwriteAnswer::SkipAll; };
        case OverwriteMode::Cancel:
            break;
    }
    return [](const std::string&) { return OverwriteAnswer::Cancel; };
}

class ProgressLine {
  public:
    ProgressLine(int total, bool terminal) : m_total(total), m_terminal(terminal) {}

    void show(const PictureJob& job, const std::string& timeText) {
        if (m_terminal) {
            std::fprintf(stderr, "\r\033[K%i / %i  %s  %s", job.index + 1, m_total,
                         job.source.c_str(), timeText.c_str());
            std::fflush(stderr);
        } else {
            std::printf("%i / %i  %s -> %s  %s\n", job.index + 1, m_total, job.source.c_str(),
                        job.destination.c_str(), timeText.c_str());
            std::fflush(stdout);
        }
    }
    void problem(const PictureJob& job) {
        if (m_terminal) std::fputc('\n', stderr);
        if (job.outcome == PictureOutcome::Failed)
            std::fprintf(stderr, "brevoll: %s\n", DescribeFailure({job.source, job.error}).c_str());
        else if (job.endsEarly)
            std::fprintf(stderr,
                         "brevoll: warning: %s is cut short; its missing part is filled "
                         "with grey\n",
                         job.source.c_str());
    }
    void end() {
        if (m_terminal) std::fputc('\n', stderr);
    }

  private:
    int m_total;
    bool m_terminal;
};

int runBatch(const BatchOptions& options, SettingsStore& store) {
    const RunSettings settings = CaptureRunSettings(options.fields);
    if (settings.sourceFolder.empty() || settings.destinationFolder.empty()) {
        std::fputs(
            "brevoll: both a source and a destination folder are needed "
            "(--source, --dest)\n",
            stderr);
        return 2;
    }
    // A source that cannot be walked is no empty source.
    const std::string problem = SourceFolderProblem(settings.sourceFolder);
    if (!problem.empty()) {
        std::fprintf(stderr, "brevoll: %s: %s\n", settings.sourceFolder.c_str(), problem.c_str());
        return 1;
    }
    const bool terminal = onTerminal();
    OverwriteMode mode =
        options.overwrite.value_or(terminal ? OverwriteMode::Ask : OverwriteMode::SkipAll);
    if (IsSameFolder(settings.sourceFolder, settings.destinationFolder)) {
        if (terminal && mode != OverwriteMode::YesAll) {
            const char answer = askLine("Same folders.\nOverwrite? [y/N] ");
            if (answer != 'y') return 0;
        } else if (mode != OverwriteMode::YesAll) {
            std::fputs(
                "brevoll: source and destination are the same folder; "
                "give --overwrite yes-all to overwrite the pictures\n",
                stderr);
            return 2;
        }
    }

    StepMarkerBoard markers(StepRecordPath(store.filePath()));
    BatchRun run(settings, markers, questionFor(mode));
    run.collect();
    for (const std::string& line : run.leftOutTypes())
        std::fprintf(stderr, "brevoll: %s\n", line.c_str());
    ProgressLine progress(run.total(), terminal);
    RunClock clock;
    clock.start(nowMs());

    RunJobs(run, options.jobs, [&](const PictureJob& job) {
        const uint64_t now = nowMs();
        clock.pictureDone(now);
        if (job.outcome == PictureOutcome::Failed || job.endsEarly) progress.problem(job);
        // A cancelled picture ends the run; the time line stays as it was.
        if (job.outcome != PictureOutcome::Cancelled)
            progress.show(job,
                          FormatProgressTime(clock.elapsedMs(now), job.index + 1, run.total()));
    });

    progress.end();
    if (run.cancelled()) std::puts("User canceled");
    std::printf("%i Resized\n", run.resized());
    return run.failures().empty() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    // The stamp's date and time formats follow the user's locale; numbers stay plain.
    std::setlocale(LC_ALL, "");
    std::setlocale(LC_NUMERIC, "C");

    if (const auto answered =
            AnswerHelpOrVersion(argc, argv, "brevoll", "1.4 (build 14)", kBrevollUsage))
        return *answered;
    SettingsStore store(kBrevollSettings);
    const std::vector<std::string> args(argv + 1, argv + argc);
    ParsedCommandLine parsed = ParseBrevollArguments(args, ReadDialogFields(store));
    if (parsed.error.empty() && !parsed.batch && args.size() > 0)
        parsed.error = "the options need --batch";
    if (!parsed.error.empty()) return ReportUsageError("brevoll", parsed.error, kBrevollUsage);
    for (const std::string& warning : parsed.options.warnings) ReportWarning("brevoll", warning);
    // The main dialog reports an abnormal end of the previous run itself, in a message box.
    if (!parsed.batch) return RunBrevollGui(argc, argv);

    // A run that ended abnormally is reported at the next start.
    const std::string reportPath = ErrorReportPath();
    if (const auto message = ReportAbnormalEnd(store, StepRecordPath(store.filePath()), reportPath))
        std::fprintf(stderr, "%s\n(brevoll: the report was added to %s)\n", message->c_str(),
                     reportPath.c_str());

    if (!StartImaging(argv[0])) {
        std::fputs("brevoll: cannot start the imaging library\n", stderr);
        return 1;
    }
    return runBatch(parsed.options, store);
}
