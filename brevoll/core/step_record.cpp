#include "core/step_record.h"

#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <string_view>
#include <system_error>

namespace corvelle {

namespace {

constexpr std::string_view kHeader = "Brevoll step 1\n";
// A record is a step name, a path and a few lines of settings; anything longer is no
// record of ours.
constexpr size_t kLargestRecord = 64 * 1024;

void appendText(std::vector<uint8_t>& bytes, const std::string& text) {
    const std::string length = std::to_string(text.size()) + ":";
    bytes.insert(bytes.end(), length.begin(), length.end());
    bytes.insert(bytes.end(), text.begin(), text.end());
}

// Reads "<length>:<bytes>" at pos; moves pos past it.
std::optional<std::string> readText(std::span<const uint8_t> bytes, size_t& pos) {
    size_t length = 0;
    size_t digits = 0;
    while (pos < bytes.size() && bytes[pos] >= '0' && bytes[pos] <= '9' && digits < 6) {
        length = length * 10 + size_t(bytes[pos] - '0');
        ++pos;
        ++digits;
    }
    if (digits == 0 || pos >= bytes.size() || bytes[pos] != ':') return std::nullopt;
    ++pos;
    if (length > bytes.size() - pos) return std::nullopt;
    std::string text(bytes.begin() + std::ptrdiff_t(pos),
                     bytes.begin() + std::ptrdiff_t(pos + length));
    pos += length;
    return text;
}

}  // namespace

std::string StepRecordPath(const std::string& settingsFilePath) {
    const std::filesystem::path settings(settingsFilePath);
    return (settings.parent_path() / settings.stem()).string() + ".steps";
}

std::vector<uint8_t> EncodeStepRecord(const StepRecord& record) {
    std::vector<uint8_t> bytes(kHeader.begin(), kHeader.end());
    appendText(bytes, record.step);
    appendText(bytes, record.currentImage);
    appendText(bytes, record.run);
    bytes.push_back(0);
    return bytes;
}

std::optional<StepRecord> DecodeStepRecord(std::span<const uint8_t> bytes) {
    if (bytes.size() < kHeader.size() ||
        std::string_view(reinterpret_cast<const char*>(bytes.data()), kHeader.size()) != kHeader)
        return std::nullopt;
    size_t pos = kHeader.size();
    StepRecord record;
    auto step = readText(bytes, pos);
    if (!step) return std::nullopt;
    auto image = readText(bytes, pos);
    if (!image || pos >= bytes.size()) return std::nullopt;
    // Records of earlier versions end after the path.
    if (bytes[pos] != 0) {
        auto run = readText(bytes, pos);
        if (!run || pos >= bytes.size() || bytes[pos] != 0) return std::nullopt;
        record.run = std::move(*run);
    }
    record.step = std::move(*step);
    record.currentImage = std::move(*image);
    return record;
}

StepRecord ReadStepRecord(const std::string& path) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) return {};
    std::vector<uint8_t> bytes(kLargestRecord);
    size_t got = 0;
    while (got < bytes.size()) {
        const ssize_t n = read(fd, bytes.data() + got, bytes.size() - got);
        if (n <= 0) break;
        got += size_t(n);
    }
    close(fd);
    bytes.resize(got);
    return DecodeStepRecord(bytes).value_or(StepRecord{});
}

StepRecordFile::StepRecordFile(std::string path) : m_path(std::move(path)) {}

StepRecordFile::~StepRecordFile() {
    if (m_fd >= 0) close(m_fd);
}

bool StepRecordFile::write(const StepRecord& record) {
    if (m_fd < 0) {
        std::error_code error;
        std::filesystem::create_directories(std::filesystem::path(m_path).parent_path(), error);
        m_fd = open(m_path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (m_fd < 0) return false;
    }
    const std::vector<uint8_t> bytes = EncodeStepRecord(record);
    return pwrite(m_fd, bytes.data(), bytes.size(), 0) == ssize_t(bytes.size());
}

}  // namespace corvelle
