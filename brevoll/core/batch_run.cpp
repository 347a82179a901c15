#include "core/batch_run.h"

#include <sys/stat.h>

#include <deque>
#include <future>
#include <utility>

#include "core/picture_list.h"
#include "core/picture_pipeline.h"

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
    : m_settings(std::move(settings)), m_markers(markers), m_ask(std::move(ask)) {}

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
    m_failures.clear();
    m_nextIndex = 0;
    m_resized = 0;
    m_answer = OverwriteAnswer::Yes;
}

std::optional<PictureJob> BatchRun::takeNext() {
    if (finished()) return std::nullopt;
    PictureJob job;
    job.index = m_nextIndex++;
    job.source = m_pictures[size_t(job.index)];
    job.markerSlot = m_markers.begin(job.source);
    job.destination = DestinationPathFor(m_settings, job.source);

    if (somethingAt(job.destination)) {
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
                       job.replaceExisting, keepPreview);
    job.outcome = result.saved ? PictureOutcome::Resized : PictureOutcome::Failed;
    job.error = std::move(result.error);
    job.endsEarly = result.endsEarly;
    job.preview = std::move(result.preview);
}

void BatchRun::finish(PictureJob& job) {
    // Only a picture that reached its destination counts as resized.
    if (job.outcome == PictureOutcome::Resized) ++m_resized;
    if (job.outcome == PictureOutcome::Failed) m_failures.push_back({job.source, job.error});
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
