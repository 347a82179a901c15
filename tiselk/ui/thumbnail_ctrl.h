#pragma once

#include <QString>
#include <QWidget>

#include "ui/picture_handle.h"

// The thumbnail of the shown file: the picture centred on white, scaled down to fit when it
// is larger than the control. While it has a path, the pointing hand shows and a left click
// asks for the photo view.
class CThumbnailCtrl : public QWidget {
    Q_OBJECT
  public:
    explicit CThumbnailCtrl(QWidget* parent = nullptr);

    // Replaces the picture (none allowed) and the path it came from, and repaints.
    void SetPicture(corvelle::PictureHandle picture, const QString& path);
    const corvelle::PictureHandle& Picture() const { return m_hPicture; }
    const QString& Path() const { return m_strPath; }

    // Where the picture is drawn in the control, empty without one.
    QRect PictureRect() const;

  signals:
    void ViewRequested();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    corvelle::PictureHandle m_hPicture;
    QString m_strPath;
};
