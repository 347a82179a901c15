#pragma once

#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "core/step_record.h"

namespace corvelle {

// The steps of one picture, as the marker names them.
inline constexpr std::string_view kStepCreateFolder = "Create Folder";
inline constexpr std::string_view kStepReadJpeg = "Read JPEG";
inline constexpr std::string_view kStepResizeDib = "Resize DIB";
inline constexpr std::string_view kStepLoadExifInfo = "Load Exif Info";
inline constexpr std::string_view kStepSaveJpeg = "Save JPEG";

// Told the step a picture's conversion is about to take.
using StepReporter = std::function<void(std::string_view step)>;

// The record of the picture under way and its step, kept in the step record file so that
// a run killed in the middle is found at the next start. Several pictures may be under way
// at a time (one slot each); the record then names one of them, and its step is cleared
// only when none is left.
class StepMarkerBoard {
  public:
    explicit StepMarkerBoard(const std::string& recordPath);
    StepMarkerBoard(const StepMarkerBoard&) = delete;
    StepMarkerBoard& operator=(const StepMarkerBoard&) = delete;

    // The run's settings as the abnormal-end report gives them, recorded with every step.
    void setRun(std::string description);
    // Takes a slot for a picture and records its path (made absolute); returns the slot.
    int begin(const std::string& sourcePath);
    void setStep(int slot, std::string_view step);
    // The picture is done; the record moves to another one under way, or is cleared.
    void end(int slot);

    StepReporter reporter(int slot) {
        return [this, slot](std::string_view step) { setStep(slot, step); };
    }

  private:
    struct Slot {
        bool used = false;
        std::string path;
        std::string step;
    };
    // Takes m_mutex held.
    void store(StepRecord record);

    StepRecordFile m_file;
    std::mutex m_mutex;
    std::vector<Slot> m_slots;
    int m_shown = -1;     // the slot the stored record names
    StepRecord m_record;  // the record as stored
    std::string m_run;
};

}  // namespace corvelle
