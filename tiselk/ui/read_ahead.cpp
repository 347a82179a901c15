#include "ui/read_ahead.h"

#include <QThreadPool>

#include <memory>

#include "ui/wait_cursor.h"

namespace corvelle {

DecodedPicture CReadAhead::Take(const QString& path) {
    const auto found = m_pending.find(path);
    if (found != m_pending.end()) {
        // The token stays held until the picture is there, so the task cannot skip it.
        const Pending pending = found->second;
        m_pending.erase(found);
        const std::shared_future<DecodedPicture>& future = pending.future;
        if (future.wait_for(std::chrono::seconds(0)) != std::future_status::ready) {
            const WaitCursor wait;
            return future.get();
        }
        return future.get();
    }
    const WaitCursor wait;
    return DecodePictureFile(path);
}

void CReadAhead::Prefetch(const QStringList& paths) {
    for (auto it = m_pending.begin(); it != m_pending.end();) {
        it = paths.contains(it->first) ? std::next(it) : m_pending.erase(it);
    }
    if (!m_bEnabled) return;
    for (const QString& path : paths) {
        if (m_pending.count(path)) continue;
        auto promise = std::make_shared<std::promise<DecodedPicture>>();
        auto token = std::make_shared<int>(0);
        m_pending.emplace(path, Pending{promise->get_future().share(), token});
        QThreadPool::globalInstance()->start([promise, path, wanted = std::weak_ptr<int>(token)] {
            if (wanted.expired()) {
                promise->set_value(DecodedPicture{path, nullptr, {}, {}});
                return;
            }
            promise->set_value(DecodePictureFile(path));
        });
    }
}

void CReadAhead::SetEnabled(bool enabled) {
    m_bEnabled = enabled;
    if (!enabled) m_pending.clear();
}

}  // namespace corvelle
