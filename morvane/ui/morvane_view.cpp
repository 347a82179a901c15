#include "ui/morvane_view.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

#include "core/mul_div.h"
#include "core/noise_filter.h"
#include "ui/combo_toolbar.h"
#include "ui/dib_image.h"
#include "ui/even_spread_dlg.h"
#include "ui/main_frame.h"
#include "ui/morvane_doc.h"
#include "ui/resource_ids.h"
#include "ui/wait_cursor.h"

using corvelle::MulDiv;
using corvelle::PackedDib;

namespace {

// The last point the readout reported, shared by every view so that moving into another
// window at the same spot reports nothing new.
QPoint g_lastReadoutPoint(-1, -1);

constexpr int kScrollLineStep = 16;

}  // namespace

CMorvaneView::CMorvaneView(CMorvaneDoc* document, CMainFrame* frame, QWidget* parent)
    : QAbstractScrollArea(parent), m_pDocument(document), m_pFrame(frame) {
    viewport()->setMouseTracking(true);
    viewport()->setAutoFillBackground(false);
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::StrongFocus);
    connect(document, &CMorvaneDoc::viewsNeedRepaint, this, &CMorvaneView::OnUpdate);
    ApplyScrollRanges();
    // The photo is usually loaded before its view exists.
    UpdateTrimCursor();
}

QPoint CMorvaneView::ScrollPosition() const {
    return QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value());
}

PicturePlacement CMorvaneView::Placement() const {
    const PackedDib* image = m_pDocument->GetDisplayImage();
    if (!image) return {};
    if (m_pFrame->m_bFitScreen) {
        return FitPlacement(viewport()->rect(), image->width(), image->height());
    }
    return ZoomPlacement(image->width(), image->height(), m_pFrame->m_nZoomRatio, ScrollPosition());
}

void CMorvaneView::ApplyScrollRanges() {
    const QSize client = viewport()->size();
    horizontalScrollBar()->setRange(0, std::max(0, m_scrollExtent.width() - client.width()));
    verticalScrollBar()->setRange(0, std::max(0, m_scrollExtent.height() - client.height()));
    horizontalScrollBar()->setPageStep(std::max(1, client.width()));
    verticalScrollBar()->setPageStep(std::max(1, client.height()));
    horizontalScrollBar()->setSingleStep(kScrollLineStep);
    verticalScrollBar()->setSingleStep(kScrollLineStep);
}

void CMorvaneView::RecalcScroll() {
    const PackedDib* image = m_pDocument->GetDisplayImage();
    if (m_pFrame->m_bFitScreen) {
        m_scrollExtent = QSize(kIdleScrollExtent, kIdleScrollExtent);
        ApplyScrollRanges();
        return;
    }
    if (!image) return;
    setUpdatesEnabled(false);
    const int oldZoom = m_pFrame->m_nPrevZoom;
    const int newZoom = m_pFrame->m_nZoomRatio;
    m_pFrame->m_nPrevZoom = newZoom;
    const QSize client = viewport()->size();
    const int cx = client.width() / 2;
    const int cy = client.height() / 2;
    const QPoint scroll = ScrollPosition();
    const QPoint centre(MulDiv(scroll.x() + cx, newZoom, oldZoom),
                        MulDiv(scroll.y() + cy, newZoom, oldZoom));
    m_scrollExtent =
        QSize(MulDiv(image->width(), newZoom, 100), MulDiv(image->height(), newZoom, 100));
    ApplyScrollRanges();
    horizontalScrollBar()->setValue(
        std::clamp(centre.x() - cx, 0, std::max(0, m_scrollExtent.width() - client.width())));
    verticalScrollBar()->setValue(
        std::clamp(centre.y() - cy, 0, std::max(0, m_scrollExtent.height() - client.height())));
    setUpdatesEnabled(true);
    viewport()->update();
}

void CMorvaneView::OnUpdate() {
    UpdateTrimCursor();
    viewport()->update();
}

QRect CMorvaneView::TrimFrameInView() const {
    const PackedDib* image = m_pDocument->GetDisplayImage();
    if (!image) return {};
    const PicturePlacement placement = Placement();
    const int trimSize = m_pFrame->m_nTrimSize;
    QRect frame = ToQRect(corvelle::GetTrimRect(ToDibRect(placement.rect), trimSize));
    if (frame.isEmpty()) return {};
    const corvelle::TrimOffset kept = corvelle::ClampTrimOffset(
        image->width(), image->height(), trimSize, m_pDocument->TrimOffset());
    // Offsets are picture pixels; the picture rectangle gives their exact screen length.
    frame.translate(MulDiv(kept.x, placement.rect.width(), image->width()),
                    MulDiv(kept.y, placement.rect.height(), image->height()));
    return frame & placement.rect;
}

QList<QRect> CMorvaneView::MaskStrips() const {
    const QRect frame = TrimFrameInView();
    if (frame.isEmpty()) return {};
    const QRect picture = Placement().rect;
    const int pictureRight = picture.left() + picture.width();
    const int pictureBottom = picture.top() + picture.height();
    const int frameRight = frame.left() + frame.width();
    const int frameBottom = frame.top() + frame.height();
    QList<QRect> strips{
        QRect(picture.left(), picture.top(), picture.width(), frame.top() - picture.top()),
        QRect(picture.left(), frameBottom, picture.width(), pictureBottom - frameBottom),
        QRect(picture.left(), picture.top(), frame.left() - picture.left(), picture.height()),
        QRect(frameRight, picture.top(), pictureRight - frameRight, picture.height()),
    };
    strips.removeIf([](const QRect& strip) { return strip.isEmpty(); });
    return strips;
}

QRegion CMorvaneView::MaskRegion() const {
    QRegion region;
    for (const QRect& strip : MaskStrips()) region += strip;
    return region;
}

QColor CMorvaneView::MaskColor() const { return palette().color(QPalette::Light); }

void CMorvaneView::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    const QRect clip = event->rect();
    const PackedDib* image = m_pDocument->GetDisplayImage();
    if (!image) {
        painter.fillRect(clip, palette().color(QPalette::Base));
        return;
    }
    const PicturePlacement placement = Placement();
    // The desktop colour around the picture.
    for (const QRect& spare : QRegion(clip) - QRegion(placement.rect)) {
        painter.fillRect(spare, palette().color(QPalette::Dark));
    }
    // Only the visible part of the picture is transferred.
    const QRect visible = placement.rect & clip;
    if (!visible.isEmpty()) {
        const double sx = double(image->width()) / placement.rect.width();
        const double sy = double(image->height()) / placement.rect.height();
        const QRectF source((visible.left() - placement.rect.left()) * sx,
                            (visible.top() - placement.rect.top()) * sy, visible.width() * sx,
                            visible.height() * sy);
        DrawDib(painter, visible, *image, source);
    }
    for (const QRect& strip : MaskStrips()) {
        const QRect masked = strip & clip;
        if (!masked.isEmpty()) painter.fillRect(masked, MaskColor());
    }
}

void CMorvaneView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    ApplyScrollRanges();
    RecalcScroll();
}

void CMorvaneView::scrollContentsBy(int, int) { viewport()->update(); }

void CMorvaneView::UpdateTrimCursor() {
    const PackedDib* image = m_pDocument->GetDisplayImage();
    if (!image || m_pFrame->m_nTrimSize == corvelle::kTrimNone) {
        viewport()->unsetCursor();
        return;
    }
    static constexpr Qt::CursorShape kShapes[] = {Qt::ArrowCursor, Qt::SizeVerCursor,
                                                  Qt::SizeHorCursor, Qt::SizeAllCursor};
    const corvelle::TrimFreedom freedom =
        corvelle::TrimFrameFreedom(image->width(), image->height(), m_pFrame->m_nTrimSize);
    viewport()->setCursor(kShapes[static_cast<int>(freedom)]);
}

void CMorvaneView::mousePressEvent(QMouseEvent* event) {
    // A click that takes the focus back from a toolbar combo does nothing else. The window
    // system may already have moved the focus here for this very click.
    CComboToolBar* toolBar = m_pFrame->ToolBar();
    const QWidget* clickFocus = toolBar->TakeClickFocusTarget();
    if (toolBar->ComboHasFocus() ||
        (clickFocus && (clickFocus == this || isAncestorOf(clickFocus)))) {
        setFocus(Qt::OtherFocusReason);
        return;
    }
    if (event->button() != Qt::LeftButton) return;
    m_bDragging = true;
    m_dragStart = event->position().toPoint();
    m_dragStartOffset = m_pDocument->TrimOffset();
}

void CMorvaneView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) m_bDragging = false;
}

void CMorvaneView::mouseMoveEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    if (m_bDragging && (event->buttons() & Qt::LeftButton)) {
        DragFrameTo(point);
    } else {
        ShowPixelReadout(point);
    }
}

void CMorvaneView::DragFrameTo(QPoint point) {
    const PackedDib* image = m_pDocument->GetDisplayImage();
    // Without a frame there is nothing to drag.
    if (!image || m_pFrame->m_nTrimSize == corvelle::kTrimNone) return;
    const PicturePlacement placement = Placement();
    if (placement.rect.isEmpty()) return;
    // The whole movement since the button went down, so that slow drags on an enlarged
    // picture do not lose their fractions of a pixel.
    const QPoint moved = point - m_dragStart;
    const int dx = MulDiv(moved.x(), image->width(), placement.rect.width());
    const int dy = MulDiv(moved.y(), image->height(), placement.rect.height());
    const corvelle::TrimOffset offset = corvelle::MoveTrimOffset(
        image->width(), image->height(), m_pFrame->m_nTrimSize, m_dragStartOffset, dx, dy);
    if (offset == m_pDocument->TrimOffset()) return;
    const QRegion before = MaskRegion();
    m_pDocument->SetTrimOffset(offset);
    viewport()->update(before + MaskRegion());
}

void CMorvaneView::ShowPixelReadout(QPoint point) {
    if (point == g_lastReadoutPoint) return;
    g_lastReadoutPoint = point;
    const PackedDib* image = m_pDocument->GetDisplayImage();
    if (!image) return;
    int red = 0, green = 0, blue = 0;
    if (const auto at = ViewToPicture(Placement(), point, image->width(), image->height())) {
        const uint8_t* row = image->pictureRow(at->y());
        if (image->bitCount() == 24) {
            blue = row[at->x() * 3];
            green = row[at->x() * 3 + 1];
            red = row[at->x() * 3 + 2];
        } else if (image->bitCount() == 8) {
            red = green = blue = row[at->x()];
        }
    }
    m_pFrame->SetMessageText(QString::asprintf("%3i, %3i, %3i", red, green, blue));
}

void CMorvaneView::OnToolsDenoise() {
    CMorvaneDoc* document = m_pDocument;
    // The filter is defined for colour photos; a grayscale photo is left as it is.
    if (!document->m_hPhoto || document->m_hPhoto->bitCount() != 24) return;
    CStatusBarProgress progress(m_pFrame, IDS_NOISE_REMOVING);
    CEvenSpreadDlg dialog(m_pFrame, &*document->m_hPhoto, corvelle::NoiseFilterSettings{},
                          &progress);
    if (dialog.exec() == QDialog::Accepted) {
        const corvelle::NoiseFilterSettings settings = dialog.Settings();
        // The window system asks for the area the dialog uncovered by events of its own:
        // let them through, so the photo rather than the dialog's picture stays on show
        // while the filter runs.
        dialog.hide();
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        m_pFrame->repaint();
        CWaitCursor wait;
        corvelle::ApplyNoiseFilter(settings, *document->m_hPhoto, &progress,
                                   document->m_deepPhoto ? &*document->m_deepPhoto : nullptr);
    }
    viewport()->update();
}
