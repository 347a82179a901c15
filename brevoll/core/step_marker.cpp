#include "core/step_marker.h"

#include "core/run_settings.h"
#include "core/settings_names.h"
#include "core/settings_store.h"

namespace corvelle {

namespace names = brevoll_settings;

StepMarkerBoard::StepMarkerBoard(SettingsStore& store, bool writeBehind)
    : m_store(store),
      m_record{store.readString(kBrevollSection, names::kCurrentImage, ""),
               store.readString(kBrevollSection, names::kErrorOperation, "")},
      m_writeBehind(writeBehind) {
    m_written = m_record;
    if (m_writeBehind) m_writer = std::thread([this] { writeBehindLoop(); });
}

StepMarkerBoard::~StepMarkerBoard() {
    if (!m_writer.joinable()) return;
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_one();
    m_writer.join();
}

void StepMarkerBoard::store(Record record) {
    const bool imageChanged = record.currentImage != m_record.currentImage;
    const bool stepChanged = record.step != m_record.step;
    m_record = std::move(record);
    if (m_writeBehind) {
        m_pending = m_record;
        m_wake.notify_one();
        return;
    }
    // "Current Image" is stored before the step that names it.
    if (imageChanged)
        m_store.writeString(kBrevollSection, names::kCurrentImage, m_record.currentImage);
    if (stepChanged) m_store.writeString(kBrevollSection, names::kErrorOperation, m_record.step);
}

void StepMarkerBoard::writeBehindLoop() {
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_pending.has_value() || m_stopping; });
        if (!m_pending) return;
        const Record record = std::move(*m_pending);
        m_pending.reset();
        const bool imageChanged = !m_written || m_written->currentImage != record.currentImage;
        const bool stepChanged = !m_written || m_written->step != record.step;
        lock.unlock();
        if (imageChanged)
            m_store.writeString(kBrevollSection, names::kCurrentImage, record.currentImage);
        if (stepChanged) m_store.writeString(kBrevollSection, names::kErrorOperation, record.step);
        lock.lock();
        m_written = record;
    }
}

int StepMarkerBoard::begin(const std::string& sourcePath) {
    std::lock_guard lock(m_mutex);
    int slot = 0;
    while (slot < int(m_slots.size()) && m_slots[size_t(slot)].used) ++slot;
    if (slot == int(m_slots.size())) m_slots.emplace_back();
    m_slots[size_t(slot)] = Slot{true, sourcePath, ""};
    // "Current Image" is recorded before the first step; a step under way stays named.
    if (m_shown < 0 || m_slots[size_t(m_shown)].step.empty()) {
        m_shown = slot;
        store({sourcePath, m_record.step});
    }
    return slot;
}

void StepMarkerBoard::setStep(int slot, std::string_view step) {
    std::lock_guard lock(m_mutex);
    if (slot < 0 || slot >= int(m_slots.size())) return;
    Slot& s = m_slots[size_t(slot)];
    s.step = step;
    m_shown = slot;
    store({s.path, s.step});
}

void StepMarkerBoard::end(int slot) {
    std::lock_guard lock(m_mutex);
    if (slot < 0 || slot >= int(m_slots.size())) return;
    m_slots[size_t(slot)] = Slot{};
    if (m_shown != slot) return;
    for (size_t other = 0; other < m_slots.size(); ++other) {
        if (m_slots[other].used && !m_slots[other].step.empty()) {
            m_shown = int(other);
            store({m_slots[other].path, m_slots[other].step});
            return;
        }
    }
    m_shown = -1;
    store({m_record.currentImage, ""});
}

}  // namespace corvelle
