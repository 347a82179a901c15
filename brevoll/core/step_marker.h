#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace corvelle {

class SettingsStore;

// The steps of one picture, as the marker names them.
inline constexpr std::string_view kStepCreateFolder = "Create Folder";
inline constexpr std::string_view kStepReadJpeg = "Read JPEG";
inline constexpr std::string_view kStepResizeDib = "Resize DIB";
inline constexpr std::string_view kStepLoadExifInfo = "Load Exif Info";
inline constexpr std::string_view kStepSaveJpeg = "Save JPEG";

// Told the step a picture's conversion is about to take.
using StepReporter = std::function<void(std::string_view step)>;

// The persistent record of the picture under way ("Current Image") and its step
// ("Error Operation"), written through at once so that a run killed in the middle is found
// at the next start. Several pictures may be under way at a time (one slot each); the
// record then names one of them, and it is cleared only when none is left.
//
// Each write reaches the disk before the store returns, which costs more than converting a
// small picture. With write-behind on (for several pictures at a time), a writer thread
// stores the newest record while the pictures go on, skipping records that were already
// replaced; the stored record then lags the work by at most one write. It is complete when
// the board is destroyed.
class StepMarkerBoard {
  public:
    explicit StepMarkerBoard(SettingsStore& store, bool writeBehind = false);
    ~StepMarkerBoard();
    StepMarkerBoard(const StepMarkerBoard&) = delete;
    StepMarkerBoard& operator=(const StepMarkerBoard&) = delete;

    // Takes a slot for a picture and records its path; returns the slot.
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
    struct Record {
        std::string currentImage;
        std::string step;
    };
    // Both take m_mutex held.
    void store(Record record);
    void writeBehindLoop();

    SettingsStore& m_store;
    std::mutex m_mutex;
    std::vector<Slot> m_slots;
    int m_shown = -1;  // the slot the stored record names
    Record m_record;   // the record as it should be stored

    bool m_writeBehind = false;
    std::condition_variable m_wake;
    std::optional<Record> m_pending;
    std::optional<Record> m_written;
    bool m_stopping = false;
    std::thread m_writer;
};

}  // namespace corvelle
