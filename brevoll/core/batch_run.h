#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <vips/vips8>

#include "core/run_settings.h"
#include "core/step_marker.h"

namespace corvelle {

// The answers to the overwrite question: Yes and No decide one picture, Yes All and Skip
// All every later existing file of the run, Cancel ends the run.
enum class OverwriteAnswer { Yes, YesAll, SkipAll, No, Cancel };

// Asked with the destination path when a file is already there.
using OverwriteQuestion = std::function<OverwriteAnswer(const std::string& destinationPath)>;

enum class PictureOutcome { Convert, Resized, Failed, Skipped, Cancelled };

// One picture taken from the list, with what was decided for it.
struct PictureJob {
    int index = 0;  // in the picture list; the counter shows index + 1
    std::string source;
    std::string destination;
    PictureOutcome outcome = PictureOutcome::Convert;
    bool replaceExisting = false;
    int markerSlot = -1;
    std::string error;
    bool endsEarly = false;  // converted, but its source was cut short
    vips::VImage preview;    // the finished canvas scaled down, only when asked for
};

// A picture that was not converted, and why.
struct PictureFailure {
    std::string source;
    std::string reason;
};

// How a failure is told to the user, the same in the window and on the command line:
// "cannot convert <path>: <reason>", the reason on one line.
std::string DescribeFailure(const PictureFailure& failure);

// A batch run: the picture list, the overwrite answer so far and the resized count. A
// progress window calls next() once per tick; a command line calls it in a loop, or uses
// takeNext/convert/finish to convert several pictures at a time (convert may run on
// other threads; takeNext and finish belong to the driving thread).
class BatchRun {
  public:
    BatchRun(RunSettings settings, StepMarkerBoard& markers, OverwriteQuestion ask);

    // Collects the pictures (none without a destination folder); listed(n) is told the
    // count as it grows.
    void collect(const std::function<void(size_t)>& listed = {});

    // Converts the next picture. Nothing when the run is over.
    std::optional<PictureJob> next(bool keepPreview = false);

    // The next picture with its destination, the overwrite question settled and its folder
    // made. Nothing when the run is over; a skipped or cancelled picture comes back with
    // that outcome and needs no finish().
    std::optional<PictureJob> takeNext();
    void convert(PictureJob& job, bool keepPreview = false);
    void finish(PictureJob& job);

    const RunSettings& settings() const { return m_settings; }
    const std::vector<std::string>& pictures() const { return m_pictures; }
    int total() const { return int(m_pictures.size()); }
    int taken() const { return m_nextIndex; }
    int resized() const { return m_resized; }
    const std::vector<PictureFailure>& failures() const { return m_failures; }
    // One line for each picture type found that cannot be read here.
    const std::vector<std::string>& leftOutTypes() const { return m_leftOutTypes; }
    bool cancelled() const { return m_answer == OverwriteAnswer::Cancel; }
    bool finished() const { return cancelled() || m_nextIndex >= total(); }
    OverwriteAnswer overwriteAnswer() const { return m_answer; }

  private:
    RunSettings m_settings;
    StepMarkerBoard& m_markers;
    OverwriteQuestion m_ask;
    std::vector<std::string> m_pictures;
    std::vector<std::string> m_leftOutTypes;
    std::vector<PictureFailure> m_failures;
    int m_nextIndex = 0;
    int m_resized = 0;
    OverwriteAnswer m_answer = OverwriteAnswer::Yes;
};

// Drives a run to its end on the calling thread: pictures are taken in list order here
// (so the overwrite question is asked here), up to `jobs` of them are converted at a time
// on other threads, and each is finished and handed to done() here, in list order. A
// skipped or cancelled picture reaches done() too; a cancelled one ends the run.
void RunJobs(BatchRun& run, int jobs, const std::function<void(const PictureJob&)>& done);

// Elapsed time of a run that can be stopped and continued: the stopped time between the
// last picture and the continue does not count.
class RunClock {
  public:
    void start(uint64_t nowMs);
    void pictureDone(uint64_t nowMs) { m_lastMs = nowMs; }
    unsigned elapsedMs(uint64_t nowMs) const;
    bool started() const { return m_startMs != 0 || m_running; }

  private:
    uint64_t m_startMs = 0;
    uint64_t m_lastMs = 0;
    bool m_running = false;
};

}  // namespace corvelle
