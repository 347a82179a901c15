#include "ui/morvane_doc.h"

#include <QClipboard>
#include <QGuiApplication>

#include "core/gray_rendering.h"
#include "core/photo_file.h"
#include "ui/dib_image.h"
#include "ui/main_frame.h"
#include "ui/morvane_resources.h"
#include "ui/wait_cursor.h"

using corvelle::DibRect;
using corvelle::PackedDib;

CMorvaneDoc::CMorvaneDoc(CMainFrame* frame) : QObject(frame), m_pFrame(frame) {}

void CMorvaneDoc::OnNewDocument() {
    m_strTitle =
        QString::fromUtf8(kDocumentTypeName) + QString::number(m_pFrame->NextUntitledNumber());
    emit titleChanged();
}

bool CMorvaneDoc::OnOpenDocument(const QString& path, QString* reason) {
    std::string error;
    std::optional<corvelle::LoadedPhoto> photo = corvelle::LoadPhotoFile(path.toStdString(), &error);
    if (!photo) {
        if (reason) *reason = QString::fromStdString(error);
        return false;
    }
    SetPhoto(std::move(photo->dib), std::move(photo->deep));
    SetPathName(path);
    SetModifiedFlag(false);
    return true;
}

void CMorvaneDoc::SetPhoto(PackedDib photo, std::optional<corvelle::DeepPixels> deep) {
    m_hPhoto = std::move(photo);
    m_deepPhoto = std::move(deep);
    UpdateAllViews();
}

void CMorvaneDoc::SetPathName(const QString& path) {
    m_strPathName = path;
    m_strTitle = path.section(u'/', -1);
    emit titleChanged();
}

bool CMorvaneDoc::OnSaveDocument(const QString& path) {
    const int quality = m_pFrame->m_nCompressRatio;
    const bool wasModified = m_bModified;
    SetModifiedFlag(false);
    bool saved = false;
    const std::optional<corvelle::PhotoSaveFormat> format =
        corvelle::PhotoSaveFormatForName(path.toStdString());
    if (format && GetDisplayImage() != nullptr) {
        CWaitCursor wait;
        corvelle::PhotoToSave what;
        what.shown = GetDisplayImage();
        what.photo = m_hPhoto ? &*m_hPhoto : nullptr;
        what.deep = m_deepPhoto ? &*m_deepPhoto : nullptr;
        what.frame = TrimFrame();
        what.quality = quality;
        saved = corvelle::SavePhoto(path.toStdString(), *format, what);
    }
    // A failed save keeps the question for the next close: nothing was written.
    if (!saved) SetModifiedFlag(wasModified);
    return saved;
}

const PackedDib* CMorvaneDoc::GetDisplayImage() const {
    if (m_nViewMode == kGray1786 && m_hGray1786) return &*m_hGray1786;
    if (m_nViewMode == kGray4336 && m_hGray4336) return &*m_hGray4336;
    return m_hPhoto ? &*m_hPhoto : nullptr;
}

void CMorvaneDoc::ShowRendering(ViewMode mode) {
    if (!m_hPhoto) return;
    m_nViewMode = mode;
    std::optional<PackedDib>& rendering = mode == kGray1786 ? m_hGray1786 : m_hGray4336;
    if (!rendering) {
        CWaitCursor wait;
        // A grayscale photo gets no rendering: the mode changes and the photo stays on show.
        rendering = mode == kGray1786 ? corvelle::RenderGray1786(*m_hPhoto)
                                      : corvelle::RenderGray4336(*m_hPhoto);
    }
    UpdateAllViews();
}

void CMorvaneDoc::OnGray1786() { ShowRendering(kGray1786); }
void CMorvaneDoc::OnGray4336() { ShowRendering(kGray4336); }

void CMorvaneDoc::OnTrueColor() {
    m_nViewMode = kTrueColor;
    UpdateAllViews();
}

void CMorvaneDoc::OnEditCopy() {
    const PackedDib* image = GetDisplayImage();
    if (!image) return;
    CWaitCursor wait;
    const DibRect frame = TrimFrame();
    // Without a trimming size the whole picture on show is copied.
    const std::optional<PackedDib> cut =
        frame.width() > 0 && frame.height() > 0 ? corvelle::CropDib(*image, frame) : *image;
    if (!cut) return;
    QGuiApplication::clipboard()->setMimeData(DibMimeData(*cut));
}

DibRect CMorvaneDoc::TrimFrame() const {
    const PackedDib* image = GetDisplayImage();
    if (!image) return {};
    return corvelle::TrimFrameInPicture(image->width(), image->height(), m_pFrame->m_nTrimSize,
                                        TrimOffset());
}

void CMorvaneDoc::SetTrimOffset(corvelle::TrimOffset offset) {
    m_nTrimOffsetX = offset.x;
    m_nTrimOffsetY = offset.y;
}

void CMorvaneDoc::SetModifiedFlag(bool modified) {
    if (m_bModified == modified) return;
    m_bModified = modified;
    emit titleChanged();
}

void CMorvaneDoc::UpdateAllViews() { emit viewsNeedRepaint(); }
