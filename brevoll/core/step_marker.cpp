#include "core/step_marker.h"

#include <filesystem>
#include <system_error>

namespace corvelle {

StepMarkerBoard::StepMarkerBoard(const std::string& recordPath)
    : m_file(recordPath), m_record(ReadStepRecord(recordPath)) {}

void StepMarkerBoard::store(StepRecord record) {
    record.run = m_run;
    if (record.step == m_record.step && record.currentImage == m_record.currentImage &&
        record.run == m_record.run)
        return;
    m_record = std::move(record);
    m_file.write(m_record);
}

void StepMarkerBoard::setRun(std::string description) {
    std::lock_guard lock(m_mutex);
    m_run = std::move(description);
}

int StepMarkerBoard::begin(const std::string& source) {
    // A relative path would name nothing once the report is read elsewhere.
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(source, error);
    const std::string sourcePath = error ? source : absolute.string();
    std::lock_guard lock(m_mutex);
    int slot = 0;
    while (slot < int(m_slots.size()) && m_slots[size_t(slot)].used) ++slot;
    if (slot == int(m_slots.size())) m_slots.emplace_back();
    m_slots[size_t(slot)] = Slot{true, sourcePath, ""};
    // "Current Image" is recorded before the first step; a step under way stays named.
    if (m_shown < 0 || m_slots[size_t(m_shown)].step.empty()) {
        m_shown = slot;
        store({m_record.step, sourcePath});
    }
    return slot;
}

void StepMarkerBoard::setStep(int slot, std::string_view step) {
    std::lock_guard lock(m_mutex);
    if (slot < 0 || slot >= int(m_slots.size())) return;
    Slot& s = m_slots[size_t(slot)];
    s.step = step;
    m_shown = slot;
    store({s.step, s.path});
}

void StepMarkerBoard::end(int slot) {
    std::lock_guard lock(m_mutex);
    if (slot < 0 || slot >= int(m_slots.size())) return;
    m_slots[size_t(slot)] = Slot{};
    if (m_shown != slot) return;
    for (size_t other = 0; other < m_slots.size(); ++other) {
        if (m_slots[other].used && !m_slots[other].step.empty()) {
            m_shown = int(other);
            store({m_slots[other].step, m_slots[other].path});
            return;
        }
    }
    m_shown = -1;
    store({"", m_record.currentImage});
}

}  // namespace corvelle
