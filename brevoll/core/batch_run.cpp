#include "core/batch_run.h"

#include <sys/stat.h>

#include <algorithm>
#include <deque>
#include <future>
#include <set>
#include <utility>

#include "core/error_report.h"
#include "core/output_names.h"
#include "core/picture_list.h"
#include "core/picture_pipeline.h"
#include "core/safe_file.h"

namespace corvelle {

namespace {

bool somethingAt(const std::string& path) {
    struct stat st;
    return lstat(path.c_str(), &st) == 0;
}

// The library's messages come a line per complaint; the user gets them on one line.
std::string oneLine(const std::string& text) {
    std::string line;
    for (char c : text) {
        if (c != '\n')
            line += c;
        else if (!line.empty() && line.back() != ' ')
            line += "; ";
    }
    while (!line.empty() && (line.back() == ' ' || line.back() == ';')) line.pop_back();
    return line;
}

}  // namespace

std::string DescribeFailure(const PictureFailure& failure) {
    return "cannot convert " + failure.source + ": " + oneLine(failure.reason);
}

BatchRun::BatchRun(RunSettings settings, StepMarkerBoard& markers, OverwriteQuestion ask)
    : m_settings(std::move(settings)),
      m_markers(markers),
      m_ask(std::move(ask)),
      m_memory(uint64_t(std::max(m_settings.maxMemoryMb, 1)) << 20) {}

void BatchRun::collect(const std::function<void(size_t)>& listed) {
    // Without a destination folder every picture would land below the root of the file
    // system; such a run has nothing to do.
    CollectedPictures found;
    if (!m_settings.destinationFolder.empty()) {
        CollectOptions options;
        options.recursive = m_settings.recursive;
        options.allPictureTypes = m_settings.allPictureTypes;
        options.leftOut = m_settings.destinationFolder;
        options.listed = listed;
        found = CollectPictureFiles(m_settings.sourceFolder, options);
    }
    m_pictures = std::move(found.pictures);
    m_leftOutTypes = std::move(found.leftOutTypes);
    OutputNames names = ClaimOutputNames(m_settings, m_pictures);
    m_destinations = std::move(names.destinations);
    // What a killed run left half-written goes before this run looks at its folders.
    std::set<std::string> folders;
    for (const std::string& destination : m_destinations)
        folders.insert(destination.substr(0, destination.find_last_of('/') + 1));
    for (const std::string& folder : folders) RemoveAbandonedTempFiles(folder);
    m_existedBefore.assign(m_pictures.size(), false);
    for (size_t i = 0; i < m_pictures.size(); ++i)
        m_existedBefore[i] = somethingAt(m_destinations[i]);
    m_renamedLines.clear();
    for (int i : names.renamed)
        m_renamedLines.push_back(DescribeRenamed(m_pictures[size_t(i)],
                                                 DestinationPathFor(m_settings, m_pictures[size_t(i)]),
                                                 m_destinations[size_t(i)]));
    m_failures.clear();
    m_warnings.clear();
    m_nextIndex = 0;
    m_resized = 0;
    m_answer = OverwriteAnswer::Yes;
    m_markers.setRun(DescribeRunForReport(m_settings));
}

std::optional<PictureJob> BatchRun::takeNext() {
    if (finished()) return std::nullopt;
    PictureJob job;
    job.index = m_nextIndex++;
    job.source = m_pictures[size_t(job.index)];
    job.markerSlot = m_markers.begin(job.source);
    job.destination = m_destinations[size_t(job.index)];

    // Only a file that was there before the run is asked about: no output of this run can
    // land on another's (their names are settled), and a file that appeared since is never
    // replaced.
    if (m_existedBefore[size_t(job.index)] && somethingAt(job.destination)) {
        if (m_answer == OverwriteAnswer::Yes || m_answer == OverwriteAnswer::No)
            m_answer = m_ask ? m_ask(job.destination) : OverwriteAnswer::Cancel;
        switch (m_answer) {
            case OverwriteAnswer::Yes:
            case OverwriteAnswer::YesAll:
                job.replaceExisting = true;
                break;
            case OverwriteAnswer::Cancel:
                job.outcome = PictureOutcome::Cancelled;
                break;
            default:
                job.outcome = PictureOutcome::Skipped;
                break;
        }
        if (job.outcome != PictureOutcome::Convert) {
            m_markers.end(job.markerSlot);
            return job;
        }
    }
    m_markers.setStep(job.markerSlot, kStepCreateFolder);
    MakeFolderChain(job.destination);
    return job;
}

void BatchRun::convert(PictureJob& job, bool keepPreview) {
    ConvertResult result =
        ConvertPicture(m_settings, job.source, job.destination, m_markers.reporter(job.markerSlot),
                       job.replaceExisting, keepPreview, &m_memory);
    job.outcome = result.saved ? PictureOutcome::Resized : PictureOutcome::Failed;
    job.error = std::move(result.error);
    job.endsEarly = result.endsEarly;
    job.warnings.clear();
    if (job.endsEarly)
        job.warnings.push_back("warning: " + job.source +
                               " is cut short; its missing part is filled with grey");
    for (const std::string& warning : result.warnings)
        job.warnings.push_back("warning: " + job.source + ": " + warning);
    job.preview = std::move(result.preview);
}

void BatchRun::finish(PictureJob& job) {
    // Only a picture that reached its destination counts as resized.
    if (job.outcome == PictureOutcome::Resized) ++m_resized;
    if (job.outcome == PictureOutcome::Failed) m_failures.push_back({job.source, job.error});
    m_warnings.insert(m_warnings.end(), job.warnings.begin(), job.warnings.end());
    m_markers.end(job.markerSlot);
}

std::optional<PictureJob> BatchRun::next(bool keepPreview) {
    std::optional<PictureJob> job = takeNext();
    if (job && job->outcome == PictureOutcome::Convert) {
        convert(*job, keepPreview);
        finish(*job);
    }
    return job;
}

void RunJobs(BatchRun& run, int jobs, const std::function<void(const PictureJob&)>& done) {
    auto hand = [&](PictureJob& job) {
        if (job.outcome == PictureOutcome::Resized || job.outcome == PictureOutcome::Failed)
            run.finish(job);
        if (done) done(job);
    };
    // Every picture taken waits here in list order; a skipped one has no conversion.
    std::deque<std::pair<PictureJob, std::future<void>>> underWay;
    int converting = 0;
    auto handOldest = [&] {
        auto& [job, future] = underWay.front();
        if (future.valid()) {
            future.get();
            --converting;
        }
        hand(job);
        underWay.pop_front();
    };
    while (auto job = run.takeNext()) {
        if (jobs <= 1 && job->outcome == PictureOutcome::Convert) run.convert(*job);
        underWay.emplace_back(std::move(*job), std::future<void>());
        PictureJob& slot = underWay.back().first;
        if (jobs > 1 && slot.outcome == PictureOutcome::Convert) {
            underWay.back().second =
                std::async(std::launch::async, [&run, &slot] { run.convert(slot); });
            ++converting;
        }
        while (!underWay.empty() && (converting >= jobs || !underWay.front().second.valid()))
            handOldest();
    }
    while (!underWay.empty()) handOldest();
}

void RunClock::start(uint64_t nowMs) {
    if (!m_running && m_startMs == 0)
        m_startMs = nowMs;
    else
        m_startMs += nowMs - m_lastMs;
    m_running = true;
    m_lastMs = nowMs;
}

unsigned RunClock::elapsedMs(uint64_t nowMs) const {
    return nowMs > m_startMs ? unsigned(nowMs - m_startMs) : 0;
}

}  // namespace corvelle
