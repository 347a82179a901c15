#pragma once

#include <QDialog>

#include "core/noise_filter.h"
#include "core/packed_dib.h"

class CSpreadPreview;
class QLabel;
class QLineEdit;
class QSlider;

namespace corvelle {
class ProgressReporter;
}

// "색 고르게 펼치기": the brightness tolerance and the neighbourhood size of the noise
// filter, with a preview. The sliders take effect when the mouse lets go of them.
class CEvenSpreadDlg : public QDialog {
    Q_OBJECT
  public:
    CEvenSpreadDlg(QWidget* parent, const corvelle::PackedDib* photo,
                   corvelle::NoiseFilterSettings settings, corvelle::ProgressReporter* progress);

    corvelle::NoiseFilterSettings Settings() const { return {m_nThreshold, m_nRegionSize}; }

    CSpreadPreview* Preview() const { return m_pPreview; }
    QSlider* ZoomSlider() const { return m_pZoomSlider; }
    QSlider* ThresholdSlider() const { return m_pThresholdSlider; }
    QSlider* RegionSlider() const { return m_pRegionSlider; }
    QLabel* ZoomLabel() const { return m_pZoomLabel; }
    QLineEdit* ThresholdEdit() const { return m_pThresholdEdit; }
    QLineEdit* RegionEdit() const { return m_pRegionEdit; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void OnZoomReleased();
    void OnThresholdReleased();
    void OnRegionReleased();

    int m_nThreshold;
    int m_nRegionSize;
    CSpreadPreview* m_pPreview;
    QSlider* m_pZoomSlider;
    QSlider* m_pThresholdSlider;
    QSlider* m_pRegionSlider;
    QLabel* m_pZoomLabel;
    QLineEdit* m_pThresholdEdit;
    QLineEdit* m_pRegionEdit;
};
