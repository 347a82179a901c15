#include "ui/child_frame.h"

#include <QCloseEvent>

#include "ui/main_frame.h"
#include "ui/morvane_doc.h"
#include "ui/morvane_view.h"

CChildFrame::CChildFrame(CMorvaneDoc* document, CMainFrame* frame)
    : m_pDocument(document), m_pFrame(frame) {
    setAttribute(Qt::WA_DeleteOnClose);
    document->setParent(this);
    m_pView = new CMorvaneView(document, frame, this);
    setWidget(m_pView);
    setWindowIcon(frame->windowIcon());
    connect(document, &CMorvaneDoc::titleChanged, this, &CChildFrame::UpdateTitle);
    UpdateTitle();
}

void CChildFrame::UpdateTitle() { setWindowTitle(m_pDocument->GetTitle()); }

void CChildFrame::closeEvent(QCloseEvent* event) {
    if (!m_pFrame->SaveModified(m_pDocument)) {
        event->ignore();
        return;
    }
    QMdiSubWindow::closeEvent(event);
}
