#pragma once

#include <QMdiSubWindow>

class CMainFrame;
class CMorvaneDoc;
class CMorvaneView;

// The window of one open photo, always shown maximised. It owns its document: closing the
// window asks to save a modified document and then releases it with its pictures.
class CChildFrame : public QMdiSubWindow {
    Q_OBJECT
  public:
    CChildFrame(CMorvaneDoc* document, CMainFrame* frame);

    CMorvaneView* View() const { return m_pView; }
    CMorvaneDoc* Document() const { return m_pDocument; }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void UpdateTitle();

    CMorvaneDoc* m_pDocument;
    CMainFrame* m_pFrame;
    CMorvaneView* m_pView;
};
