#pragma once

#include <QPoint>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>
#include <string>

#include "core/view_geometry.h"
#include "ui/picture_handle.h"
#include "ui/view_picture_loader.h"

class QListWidget;
class QMenu;

// "View Image": a frameless window on top of everything, covering the screen on black,
// showing the picture selected in the main dialog's file list, fitted to the screen or at
// its natural size. Stepping through the pictures moves the list's selection (without the
// dialog noticing: its panel keeps the file it showed).
//
// At natural size a picture larger than the screen is moved around, never cut: the window
// keeps the size of the screen and the picture moves inside it exactly as a larger window
// holding it would move over the screen (m_rcWindow is that larger window).
class CPhotoViewWnd : public QWidget {
    Q_OBJECT
  public:
    // `screen` is the screen rectangle the view covers; `decoder` makes its pictures.
    CPhotoViewWnd(QListWidget* list, const QString& folder, const corvelle::ViewRect& screen,
                  QWidget* owner, corvelle::ViewDecoder decoder = corvelle::DecodeForView);
    ~CPhotoViewWnd() override;

    void Next();
    void Previous();
    void First();
    void Last();
    void Pan(int dx, int dy);
    void OnCommand(int id);
    // The context menu as it would pop up (the caller owns it).
    QMenu* CreateContextMenu();

    bool FitMode() const { return m_bFitMode; }
    const corvelle::PictureHandle& Picture() const { return m_hPicture; }
    const QString& Problem() const { return m_strProblem; }
    // Where the picture stands on the screen; empty without one.
    corvelle::ViewRect ShownRect() const;
    // The window a natural-size picture would need (screen coordinates).
    const corvelle::ViewRect& WindowRect() const { return m_rcWindow; }
    bool IsDragging() const { return m_bDragging; }

    corvelle::CViewPictureLoader& Loader() { return *m_pLoader; }
    // The row the view is heading for: the shown one, or the one still being decoded.
    int TargetRow() const { return m_nTargetRow; }
    // Lets the event loop run until the target picture is shown (tests, benchmarks).
    void WaitForPicture();
    // Replaces the system beep and the message box of the JPEG library's texts (tests).
    std::function<void()> m_fnBeep;
    std::function<void(const std::string&)> m_fnShowJpegMessage;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    QString PathOf(int row) const;
    // Asks for the picture of a row; it is shown when it is ready, unless the user has
    // moved on by then.
    void Request(int row);
    void Show(const corvelle::DecodedPicture& decoded);
    void Step(corvelle::ListStep step, bool beepWhenStill);
    void EndDrag();
    // The picture's place relative to the (larger) window's own client area.
    corvelle::ViewRect PictureRectInWindow(const corvelle::PackedDib* picture) const;
    corvelle::ViewRect OnScreen(const corvelle::ViewRect& inWindow) const;
    void Invalidate(const corvelle::ViewRect& screenRect);

    QPointer<QListWidget> m_pList;
    QString m_strFolder;
    corvelle::ViewRect m_rcScreen;
    corvelle::ViewRect m_rcWindow;
    bool m_bFitMode = true;
    bool m_bLoaded = false;
    corvelle::PictureHandle m_hPicture;
    QString m_strProblem;  // why the picture is not shown, when it is too large
    int m_nTargetRow = -1;
    corvelle::CViewPictureLoader* m_pLoader;
    bool m_bDragging = false;
    bool m_bMenuSuppressed = false;
    QPoint m_ptLast;
};
