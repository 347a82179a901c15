#pragma once

#include <QImage>
#include <QWidget>

// The finished canvas of the picture just converted, drawn scaled to fit and centred on the
// menu colour. Painting goes through an off-screen picture of the control's size, made
// again only when that size changes.
class CPreviewWnd : public QWidget {
    Q_OBJECT
  public:
    explicit CPreviewWnd(QWidget* parent);

    // Repaints only when the state changes.
    void SetShown(bool shown);
    // Replaces the canvas held (a null image: none) and repaints when shown.
    void SetCanvas(QImage canvas);

    bool IsShown() const { return m_bShown; }
    const QImage& Canvas() const { return m_canvas; }

    // Where the canvas lands in a control of the given size.
    static QRect DrawnRect(QSize control, QSize canvas);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    bool m_bShown = false;
    QImage m_canvas;
    QImage m_offscreen;
};
