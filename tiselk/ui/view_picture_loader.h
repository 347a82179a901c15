#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <optional>

#include "ui/picture_decoder.h"

namespace corvelle {

// Decodes one picture for the photo view. `abandoned` turns true when nobody wants the
// picture any more; a decoder should stop soon after. `ahead`: the picture is a neighbour
// decoded before it is asked for, which must fit beside the pictures held. Tests put in one
// they hold and release.
using ViewDecoder = std::function<DecodedPicture(const QString& path,
                                                 const std::atomic<bool>& abandoned, bool ahead)>;
// The real one: the picture file decoded as the dialog decodes it.
DecodedPicture DecodeForView(const QString& path, const std::atomic<bool>& abandoned, bool ahead);

// The photo view's pictures, made on worker threads so that the window answers every key at
// once, however long a picture takes. There is one target, the picture the view will show
// next, and a few pictures worth decoding ahead of it once the target is there, while they
// fit in the process's byte budget. A new target abandons every picture
// that is neither the target nor ahead of it, so a held key never queues up decodes: the
// target's decode has a worker of its own and never waits behind a picture decoded ahead.
// Nothing here waits for a worker, and closing the view abandons whatever is still running.
class CViewPictureLoader : public QObject {
    Q_OBJECT
  public:
    using Ready = std::function<void(const DecodedPicture&)>;

    CViewPictureLoader(Ready ready, ViewDecoder decoder, QObject* parent = nullptr);
    ~CViewPictureLoader() override;

    // Ready is called with the target's picture as soon as it is there: at once, from inside
    // this call, when it was decoded ahead.
    void Want(const QString& target, const QStringList& ahead);
    // The target's picture is still being made.
    bool IsWaiting() const { return m_bWaiting; }

    void SetReadAhead(bool enabled) { m_bReadAhead = enabled; }

  private:
    struct Job {
        std::shared_ptr<std::atomic<bool>> abandoned;
        std::shared_ptr<std::atomic<bool>> begun;
        bool onTargetWorker = false;
        std::optional<DecodedPicture> result;
    };
    // A job is kept when it is the target, or ahead of it on the worker for reading ahead
    // (the target's worker is for the target alone).
    bool Keeps(const QString& path, const Job& job, const QStringList& ahead) const;
    void Start(const QString& path, bool target);
    void StartAhead();
    void Finished(const QString& path, const std::shared_ptr<std::atomic<bool>>& abandoned,
                  DecodedPicture result);

    Ready m_fnReady;
    ViewDecoder m_fnDecode;
    std::map<QString, Job> m_jobs;
    QString m_strTarget;
    QStringList m_ahead;  // the neighbours to decode once the target is there
    bool m_bWaiting = false;
    bool m_bReadAhead = true;
};

}  // namespace corvelle
