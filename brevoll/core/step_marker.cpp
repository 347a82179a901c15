#include "core/step_marker.h"

#include "core/run_settings.h"
#include "core/settings_names.h"
#include "core/settings_store.h"

namespace corvelle {

namespace names = brevoll_settings;

StepMarkerBoard::StepMarkerBoard(SettingsStore& store) : m_store(store) {}

void StepMarkerBoard::writeRecord(const Slot& slot) {
    m_store.writeString(kBrevollSection, names::kCurrentImage, slot.path);
    m_store.writeString(kBrevollSection, names::kErrorOperation, slot.step);
}

int StepMarkerBoard::begin(const std::string& sourcePath) {
    std::lock_guard lock(m_mutex);
    int slot = 0;
    while (slot < int(m_slots.size()) && m_slots[size_t(slot)].used) ++slot;
    if (slot == int(m_slots.size())) m_slots.emplace_back();
    m_slots[size_t(slot)] = Slot{true, sourcePath, ""};
    // "Current Image" is recorded before the first step; the step stays as it is.
    if (m_shown < 0 || m_slots[size_t(m_shown)].step.empty()) {
        m_shown = slot;
        m_store.writeString(kBrevollSection, names::kCurrentImage, sourcePath);
    }
    return slot;
}

void StepMarkerBoard::setStep(int slot, std::string_view step) {
    std::lock_guard lock(m_mutex);
    if (slot < 0 || slot >= int(m_slots.size())) return;
    Slot& s = m_slots[size_t(slot)];
    s.step = step;
    if (m_shown != slot) {
        m_shown = slot;
        writeRecord(s);
    } else {
        m_store.writeString(kBrevollSection, names::kErrorOperation, s.step);
    }
}

void StepMarkerBoard::end(int slot) {
    std::lock_guard lock(m_mutex);
    if (slot < 0 || slot >= int(m_slots.size())) return;
    m_slots[size_t(slot)] = Slot{};
    if (m_shown != slot) return;
    for (size_t other = 0; other < m_slots.size(); ++other) {
        if (m_slots[other].used && !m_slots[other].step.empty()) {
            m_shown = int(other);
            writeRecord(m_slots[other]);
            return;
        }
    }
    m_shown = -1;
    m_store.writeString(kBrevollSection, names::kErrorOperation, "");
}

}  // namespace corvelle
