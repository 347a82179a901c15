#pragma once

#include <QObject>
#include <QString>
#include <QThreadPool>

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/decoding/budgeted_decoding.h"
#include "core/histogram/histogram_counts.h"
#include "ui/picture_handle.h"

namespace corvelle {

// What a worker made of one picture file: the picture (none when it could not be decoded),
// its histogram counts and the JPEG library's messages, in the order they came. The picture
// holds its bytes of the process's budget until its last handle is dropped.
struct DecodedPicture {
    QString path;
    PictureHandle picture;
    HistogramCounts counts;
    std::vector<std::string> messages;
    std::string problem;  // why there is no picture, when the budget left no room for it
};

// Decodes picture files on a worker thread. Only the latest request counts: a request that
// has not started when a newer one comes is skipped, and a result that arrives after a newer
// request is dropped, so moving quickly through a list never queues up old pictures and
// never shows one that is no longer selected. Results are delivered on the owner's thread.
class CPictureDecoder : public QObject {
    Q_OBJECT
  public:
    using Done = std::function<void(const DecodedPicture&)>;
    // Told about every result that was dropped, with its path and message count.
    using Dropped = std::function<void(const DecodedPicture&)>;

    explicit CPictureDecoder(Done done, QObject* parent = nullptr);
    ~CPictureDecoder() override;

    void Request(const QString& path);
    // Forgets the pending request: whatever is still decoding will be dropped.
    void Cancel();
    bool IsBusy() const { return m_bPending; }
    void SetDropped(Dropped dropped) { m_fnDropped = std::move(dropped); }

    // Waits until the worker is idle and delivers its result (tests and shutdown).
    void WaitForDone();

  private:
    void Deliver(uint64_t generation, DecodedPicture result);

    Done m_fnDone;
    Dropped m_fnDropped;
    QThreadPool m_pool;
    std::shared_ptr<std::atomic<uint64_t>> m_pGeneration;
    bool m_bPending = false;
};

// Decodes one file as the dialog and the photo view show it (any thread), within the
// process's byte budget. When `abandoned` turns true the decode stops and gives no picture.
DecodedPicture DecodePictureFile(const QString& path, const std::atomic<bool>* abandoned = nullptr,
                                 BudgetUse use = BudgetUse::kShown);

}  // namespace corvelle
