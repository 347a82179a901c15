#pragma once

#include <QString>
#include <QStringList>

#include <future>
#include <map>

#include "ui/picture_decoder.h"

namespace corvelle {

// Pictures the photo view will probably show next, decoded ahead on worker threads. The
// workers hold nothing of the object, so closing the view never waits for a decode: a
// picture no longer wanted is skipped if its decode has not begun, and dropped when it ends.
class CReadAhead {
  public:
    CReadAhead() = default;

    // The picture of a file: the one decoded ahead (waiting for it if it is still being
    // decoded), else decoded now.
    DecodedPicture Take(const QString& path);
    // Keeps decoding ahead exactly these files; the others are forgotten.
    void Prefetch(const QStringList& paths);

    void SetEnabled(bool enabled);
    bool IsEnabled() const { return m_bEnabled; }

  private:
    struct Pending {
        std::shared_future<DecodedPicture> future;
        // Held while the picture is wanted: a task whose token is gone when it starts skips
        // the decode, so pictures passed by quickly never queue up.
        std::shared_ptr<int> token;
    };
    std::map<QString, Pending> m_pending;
    bool m_bEnabled = true;
};

}  // namespace corvelle
