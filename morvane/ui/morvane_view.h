#pragma once

#include <QAbstractScrollArea>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>

#include "core/trim_frame.h"
#include "ui/view_geometry.h"

class CMainFrame;
class CMorvaneDoc;

// Shows the document's picture fitted or zoomed, masks what the chosen print size cuts
// away, lets the user drag the trimming frame and reads out the pixel under the mouse.
class CMorvaneView : public QAbstractScrollArea {
    Q_OBJECT
  public:
    CMorvaneView(CMorvaneDoc* document, CMainFrame* frame, QWidget* parent = nullptr);

    CMorvaneDoc* GetDocument() const { return m_pDocument; }

    // Scroll sizes after a resize or a zoom or fit change; keeps the picture point at the
    // window centre when the zoom changes.
    void RecalcScroll();
    // Repaint after a change of the document or of a setting.
    void OnUpdate();

    PicturePlacement Placement() const;
    QPoint ScrollPosition() const;
    QSize ScrollExtent() const { return m_scrollExtent; }
    // The trimming frame as painted, in window coordinates; empty without one.
    QRect TrimFrameInView() const;
    // The strips outside the frame, masked in this order: above, below, left, right.
    QList<QRect> MaskStrips() const;
    // The colour of the masked strips: the palette's 3-D highlight (Light) role.
    QColor MaskColor() const;

    // Tools > noise removal (32794): the even-spreading dialog, then the filter on the photo.
    void OnToolsDenoise();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    void ApplyScrollRanges();
    void UpdateTrimCursor();
    void DragFrameTo(QPoint point);
    void ShowPixelReadout(QPoint point);
    QRegion MaskRegion() const;

    CMorvaneDoc* m_pDocument;
    CMainFrame* m_pFrame;
    QSize m_scrollExtent{kIdleScrollExtent, kIdleScrollExtent};
    bool m_bDragging = false;
    QPoint m_dragStart;
    corvelle::TrimOffset m_dragStartOffset;
};
