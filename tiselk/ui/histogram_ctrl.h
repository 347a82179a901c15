#pragma once

#include <QFrame>

#include "core/histogram/histogram_counts.h"
#include "ui/picture_handle.h"

// The histogram of the shown picture on the zone scale: a gradient bar toward the channel's
// colour, the eleven zone patches, the counts of one channel as a filled shape and a marker
// under the mean. The counts are made once per picture; changing the channel only repaints.
class CHistogramCtrl : public QFrame {
    Q_OBJECT
  public:
    explicit CHistogramCtrl(QWidget* parent = nullptr);

    // Keeps the picture (none allowed) and counts it. The caller repaints.
    void SetPicture(corvelle::PictureHandle picture);
    // The same with counts already made from that picture (on a worker thread).
    void SetPicture(corvelle::PictureHandle picture, const corvelle::HistogramCounts& counts);
    // 0 mono, 1 red, 2 green, 3 blue; repaints when it changes.
    void SetChannel(int channel);

    int Channel() const { return m_nChannel; }
    const corvelle::PictureHandle& Picture() const { return m_hPicture; }
    const corvelle::HistogramCounts& Counts() const { return m_counts; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    corvelle::PictureHandle m_hPicture;
    corvelle::HistogramCounts m_counts;
    int m_nChannel = corvelle::kMonoChannel;
};
