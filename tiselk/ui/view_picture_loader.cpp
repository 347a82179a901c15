#include "ui/view_picture_loader.h"

#include <QCoreApplication>
#include <QPointer>
#include <QThreadPool>

namespace corvelle {

namespace {

// One worker for the picture to be shown and one for the pictures decoded ahead. They are
// the program's, not a view's, so that closing a view never waits for a decode to stop.
QThreadPool& Workers(bool target) {
    static QThreadPool* pools[2] = {};
    QThreadPool*& pool = pools[target ? 1 : 0];
    if (!pool) {
        pool = new QThreadPool(QCoreApplication::instance());
        pool->setMaxThreadCount(1);
    }
    return *pool;
}

}  // namespace

DecodedPicture DecodeForView(const QString& path, const std::atomic<bool>& abandoned, bool ahead) {
    return DecodePictureFile(path, &abandoned, ahead ? BudgetUse::kAhead : BudgetUse::kShown);
}

CViewPictureLoader::CViewPictureLoader(Ready ready, ViewDecoder decoder, QObject* parent)
    : QObject(parent), m_fnReady(std::move(ready)), m_fnDecode(std::move(decoder)) {}

CViewPictureLoader::~CViewPictureLoader() {
    for (auto& [path, job] : m_jobs) job.abandoned->store(true);
}

bool CViewPictureLoader::Keeps(const QString& path, const Job& job,
                               const QStringList& ahead) const {
    if (path == m_strTarget) return true;
    return ahead.contains(path) && (!job.onTargetWorker || job.result);
}

void CViewPictureLoader::Want(const QString& target, const QStringList& ahead) {
    m_strTarget = target;
    const QStringList wantedAhead = m_bReadAhead ? ahead : QStringList();
    for (auto it = m_jobs.begin(); it != m_jobs.end();) {
        if (Keeps(it->first, it->second, wantedAhead)) {
            ++it;
        } else {
            it->second.abandoned->store(true);
            it = m_jobs.erase(it);
        }
    }
    auto found = m_jobs.find(target);
    if (found != m_jobs.end() && !found->second.result && !found->second.onTargetWorker &&
        !found->second.begun->load()) {
        // Still queued behind a picture decoded ahead: it moves to the target's own worker.
        found->second.abandoned->store(true);
        m_jobs.erase(found);
        found = m_jobs.end();
    }
    if (found == m_jobs.end()) {
        Start(target, true);
    } else if (found->second.result) {
        DecodedPicture picture = std::move(*found->second.result);
        m_jobs.erase(found);
        m_bWaiting = false;
        m_fnReady(picture);
    } else {
        m_bWaiting = true;
    }
    // The shown picture has the budget first: the neighbours are decoded once it is there.
    m_ahead = wantedAhead;
    if (!m_bWaiting) StartAhead();
}

void CViewPictureLoader::StartAhead() {
    for (const QString& path : m_ahead) {
        if (!m_jobs.count(path)) Start(path, false);
    }
}

void CViewPictureLoader::Start(const QString& path, bool target) {
    auto abandoned = std::make_shared<std::atomic<bool>>(false);
    auto begun = std::make_shared<std::atomic<bool>>(false);
    m_jobs[path] = Job{abandoned, begun, target, std::nullopt};
    if (target) m_bWaiting = true;
    QPointer<CViewPictureLoader> self(this);
    Workers(target).start([self, path, target, abandoned, begun, decode = m_fnDecode] {
        // A picture passed by before its turn came is not decoded at all.
        if (abandoned->load()) return;
        begun->store(true);
        DecodedPicture result = decode(path, *abandoned, !target);
        if (abandoned->load()) return;
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [self, path, abandoned, result = std::move(result)]() mutable {
                if (self) self->Finished(path, abandoned, std::move(result));
            },
            Qt::QueuedConnection);
    });
}

void CViewPictureLoader::Finished(const QString& path,
                                  const std::shared_ptr<std::atomic<bool>>& abandoned,
                                  DecodedPicture result) {
    const auto found = m_jobs.find(path);
    // Abandoned since, or a later job for the same file: this result is stale.
    if (found == m_jobs.end() || found->second.abandoned != abandoned) return;
    if (path != m_strTarget) {
        // A neighbour that did not fit beside the pictures held is made again when it is
        // the one to show.
        if (!result.picture && !result.problem.empty()) {
            m_jobs.erase(found);
            return;
        }
        found->second.result = std::move(result);
        return;
    }
    m_jobs.erase(found);
    m_bWaiting = false;
    m_fnReady(result);
    StartAhead();
}

}  // namespace corvelle
