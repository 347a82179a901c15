#include "ui/picture_decoder.h"

#include <QCoreApplication>
#include <QFile>
#include <QPointer>

#include "core/decoding/budgeted_decoding.h"

namespace corvelle {

DecodedPicture DecodePictureFile(const QString& path, const std::atomic<bool>* abandoned,
                                 BudgetUse use) {
    DecodedPicture result;
    result.path = path;
    BudgetedPicture decoded = DecodePictureWithinBudget(
        QFile::encodeName(path).toStdString(), DecodeBudget::Process(), use,
        [&](const std::string& message) { result.messages.push_back(message); }, abandoned);
    result.problem = std::move(decoded.problem);
    if (decoded.picture) {
        result.counts = CountHistogram(&*decoded.picture);
        // The bytes go back to the budget with the last handle.
        result.picture = PictureHandle(
            new PackedDib(std::move(*decoded.picture)),
            [claim = std::move(decoded.claim)](const PackedDib* picture) { delete picture; });
    }
    return result;
}

CPictureDecoder::CPictureDecoder(Done done, QObject* parent)
    : QObject(parent),
      m_fnDone(std::move(done)),
      m_pGeneration(std::make_shared<std::atomic<uint64_t>>(0)) {
    // One picture at a time: a second thread would only decode a picture already stale.
    m_pool.setMaxThreadCount(1);
}

CPictureDecoder::~CPictureDecoder() {
    ++*m_pGeneration;
    m_pool.clear();
    m_pool.waitForDone();
}

void CPictureDecoder::Request(const QString& path) {
    const uint64_t generation = ++*m_pGeneration;
    m_bPending = true;
    m_pool.clear();  // requests not yet started are stale now
    auto current = m_pGeneration;
    QPointer<CPictureDecoder> self(this);
    m_pool.start([self, current, generation, path] {
        if (current->load() != generation) return;
        DecodedPicture result = DecodePictureFile(path);
        QMetaObject::invokeMethod(
            self.data(),
            [self, generation, result = std::move(result)]() mutable {
                if (self) self->Deliver(generation, std::move(result));
            },
            Qt::QueuedConnection);
    });
}

void CPictureDecoder::Cancel() {
    ++*m_pGeneration;
    m_bPending = false;
    m_pool.clear();
}

void CPictureDecoder::Deliver(uint64_t generation, DecodedPicture result) {
    if (generation != m_pGeneration->load()) {
        if (m_fnDropped) m_fnDropped(result);
        return;
    }
    m_bPending = false;
    m_fnDone(result);
}

void CPictureDecoder::WaitForDone() {
    m_pool.waitForDone();
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
}

}  // namespace corvelle
