#pragma once

#include <QFrame>
#include <QPoint>

#include <optional>

#include "core/noise_filter.h"
#include "core/packed_dib.h"

namespace corvelle {
class ProgressReporter;
}

// The preview of the even-spreading dialog: a buffer of twice the control's size cut from
// the middle of the photo and filtered with the dialog's values, shown at the preview zoom.
// Dragging pans over the photo and shows it unfiltered until the button is released.
class CSpreadPreview : public QFrame {
    Q_OBJECT
  public:
    explicit CSpreadPreview(QWidget* parent);

    // The source is borrowed and must outlive the control. The buffer starts unfiltered.
    void Init(const corvelle::PackedDib* source, corvelle::NoiseFilterSettings settings,
              corvelle::ProgressReporter* progress);
    void SetSettings(corvelle::NoiseFilterSettings settings);
    void SetZoom(int zoom);
    // Copies the photo at the origin into the buffer again and filters it.
    void Refilter();

    const corvelle::PackedDib* Buffer() const { return m_buffer ? &*m_buffer : nullptr; }
    QPoint Origin() const { return m_origin; }
    int Zoom() const { return m_nZoom; }
    bool ShowsSource() const { return m_bShowSource; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    void FillBuffer();
    QPoint MaxOrigin() const;

    const corvelle::PackedDib* m_pSource = nullptr;
    std::optional<corvelle::PackedDib> m_buffer;
    corvelle::NoiseFilterSettings m_settings;
    corvelle::ProgressReporter* m_pProgress = nullptr;
    QPoint m_origin;
    QSize m_filledSize;  // the part of the buffer the photo covers
    int m_nZoom = 100;
    bool m_bDragging = false;
    bool m_bShowSource = false;
    QPoint m_dragStart;
    QPoint m_dragStartOrigin;
};
