#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

namespace corvelle {

// The step of the picture under way and that picture's path, as a killed run leaves them.
struct StepRecord {
    std::string step;          // empty: no picture under way
    std::string currentImage;  // the picture's source path, absolute
    // The run's own settings as the abnormal-end report gives them (its lines after
    // "Error File Path"); empty in records of earlier versions.
    std::string run{};
};

// The record's file: "Brevoll.steps" beside the settings file, so a torn write can never
// touch the user's settings.
std::string StepRecordPath(const std::string& settingsFilePath);

// The record as one block of bytes: a header line, then each text as its length in
// decimal, a colon and the bytes, then a NUL. Whatever follows the NUL (left over from a
// longer record) is ignored when reading.
std::vector<uint8_t> EncodeStepRecord(const StepRecord& record);
// Nothing when the bytes hold no complete record.
std::optional<StepRecord> DecodeStepRecord(std::span<const uint8_t> bytes);

// Reads the record file; an empty record when it is missing or holds no complete record.
StepRecord ReadStepRecord(const std::string& path);

// The open record file. Each change is one write at the start of the file: no rename, no
// sync, since the kernel keeps what a killed process wrote, and a marker does not need to
// outlive a power cut.
class StepRecordFile {
  public:
    explicit StepRecordFile(std::string path);
    ~StepRecordFile();
    StepRecordFile(const StepRecordFile&) = delete;
    StepRecordFile& operator=(const StepRecordFile&) = delete;

    // False when the file cannot be opened or written (the run goes on without markers).
    bool write(const StepRecord& record);
    const std::string& path() const { return m_path; }

  private:
    std::string m_path;
    int m_fd = -1;
};

}  // namespace corvelle
