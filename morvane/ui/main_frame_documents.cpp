// The main frame's child windows and the documents in them: new, open, save, close
// questions, the recent-file list and the window menu.

#include <QFileDialog>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QStyle>

#include <algorithm>

#include "core/photo_file.h"
#include "ui/about_dlg.h"
#include "ui/child_frame.h"
#include "ui/main_frame.h"
#include "ui/morvane_doc.h"
#include "ui/morvane_resources.h"
#include "ui/morvane_view.h"
#include "ui/resource_ids.h"
#include "ui/wait_cursor.h"

namespace {

QString Utf8(const char* text) { return QString::fromUtf8(text); }

}  // namespace

QList<CChildFrame*> CMainFrame::ChildFrames() const {
    QList<CChildFrame*> frames;
    if (!m_pMdiArea) return frames;
    if (CChildFrame* active = ActiveChildFrame()) frames.append(active);
    for (QMdiSubWindow* window : m_pMdiArea->subWindowList(QMdiArea::StackingOrder)) {
        auto* child = qobject_cast<CChildFrame*>(window);
        if (child && !frames.contains(child)) frames.append(child);
    }
    return frames;
}

CChildFrame* CMainFrame::ActiveChildFrame() const {
    if (!m_pMdiArea) return nullptr;
    QMdiSubWindow* active = m_pMdiArea->activeSubWindow();
    if (!active) active = m_pMdiArea->currentSubWindow();
    return qobject_cast<CChildFrame*>(active);
}

CMorvaneView* CMainFrame::GetActiveView() const {
    CChildFrame* child = ActiveChildFrame();
    return child ? child->View() : nullptr;
}

CMorvaneDoc* CMainFrame::GetActiveDocument() const {
    CChildFrame* child = ActiveChildFrame();
    return child ? child->Document() : nullptr;
}

void CMainFrame::OnChildActivated() { ScheduleUpdate(); }

CMorvaneDoc* CMainFrame::OnFileNew() {
    auto* document = new CMorvaneDoc(this);
    document->OnNewDocument();
    AddChildFrame(document);
    return document;
}

void CMainFrame::AddChildFrame(CMorvaneDoc* document) {
    auto* child = new CChildFrame(document, this);
    m_pMdiArea->addSubWindow(child);
    child->showMaximized();
    m_pMdiArea->setActiveSubWindow(child);
    child->View()->setFocus();
    OnUpdateCommandUi();
}

CMorvaneDoc* CMainFrame::OpenDocumentFile(const QString& path) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    for (CChildFrame* child : ChildFrames()) {
        if (child->Document()->GetPathName() == absolute) {
            m_pMdiArea->setActiveSubWindow(child);
            return child->Document();
        }
    }
    QFile file(absolute);
    if (!file.open(QIODevice::ReadOnly)) {
        m_recentFiles.removeAll(absolute);
        UpdateRecentFileActions();
        QMessageBox::warning(this, Utf8(kMainFrameTitle),
                             QStringLiteral("%1\n파일을 열 수 없습니다.").arg(absolute));
        return nullptr;
    }
    file.close();
    auto* document = new CMorvaneDoc(this);
    bool loaded = false;
    QString reason;
    {
        CWaitCursor wait;
        loaded = document->OnOpenDocument(absolute, &reason);
    }
    // A file that is not a JPEG the loader accepts keeps no window; the user is told why.
    if (!loaded) {
        delete document;
        m_recentFiles.removeAll(absolute);
        UpdateRecentFileActions();
        QMessageBox::warning(this, Utf8(kMainFrameTitle),
                             QStringLiteral("%1\n파일을 열 수 없습니다.\n%2").arg(absolute, reason));
        return nullptr;
    }
    AddChildFrame(document);
    AddRecentFile(absolute);
    return document;
}

void CMainFrame::OnFileOpen() {
    // Every type Morvane opens first, then the design's JPEG filter.
    const QString filters = QStringLiteral("사진 파일 (%1);;")
                                .arg(QString::fromStdString(corvelle::PhotoFilePatterns())) +
                            Utf8(kJpegFilter);
    const QStringList paths =
        QFileDialog::getOpenFileNames(this, QStringLiteral("열기"), QString(), filters);
    for (const QString& path : paths) OpenDocumentFile(path);
}

bool CMainFrame::SaveModified(CMorvaneDoc* document) {
    if (!document->IsModified()) return true;
    QMessageBox question(
        QMessageBox::Warning, Utf8(kMainFrameTitle),
        QStringLiteral("%1의 변경 내용을 저장하시겠습니까?").arg(document->GetTitle()),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, this);
    question.button(QMessageBox::Save)->setText(QStringLiteral("저장"));
    question.button(QMessageBox::Discard)->setText(QStringLiteral("저장 안 함"));
    question.button(QMessageBox::Cancel)->setText(QStringLiteral("취소"));
    switch (question.exec()) {
        case QMessageBox::Save:
            return DoFileSave(document);
        case QMessageBox::Discard:
            return true;
        default:
            return false;
    }
}

bool CMainFrame::DoFileSave(CMorvaneDoc* document) {
    // A photo of a type Morvane does not write (HEIC, WebP ...) is saved under a new name.
    if (document->GetPathName().isEmpty() ||
        !corvelle::PhotoSaveFormatForName(document->GetPathName().toStdString()))
        return DoSaveAs(document);
    if (document->OnSaveDocument(document->GetPathName())) return true;
    QMessageBox::warning(
        this, Utf8(kMainFrameTitle),
        QStringLiteral("%1\n파일을 저장하지 못했습니다.").arg(document->GetPathName()));
    return false;
}

bool CMainFrame::DoSaveAs(CMorvaneDoc* document) {
    using corvelle::PhotoSaveFormat;
    const QString current = document->GetPathName();
    QString suggested = current.isEmpty() ? document->GetTitle() + Utf8(kJpegExtension) : current;
    if (!current.isEmpty() && !corvelle::PhotoSaveFormatForName(current.toStdString())) {
        const QFileInfo info(current);
        suggested = info.path() + u'/' + info.completeBaseName() + Utf8(kJpegExtension);
    }
    const QStringList filters = {Utf8(kJpegFilter), Utf8(kGray16PngFilter),
                                 Utf8(kGray16TiffFilter)};
    const PhotoSaveFormat formats[] = {PhotoSaveFormat::kJpeg, PhotoSaveFormat::kGray16Png,
                                       PhotoSaveFormat::kGray16Tiff};
    QString chosenFilter = filters.front();
    QString path = QFileDialog::getSaveFileName(this, QStringLiteral("다른 이름으로 저장"),
                                                suggested, filters.join(u";;"), &chosenFilter);
    if (path.isEmpty()) return false;
    // A name without one of the written endings gets the chosen type's.
    if (!corvelle::PhotoSaveFormatForName(path.toStdString())) {
        const qsizetype chosen = std::max<qsizetype>(0, filters.indexOf(chosenFilter));
        path += Utf8(corvelle::PhotoSaveExtension(formats[chosen]));
    }
    if (!document->OnSaveDocument(path)) {
        QMessageBox::warning(this, Utf8(kMainFrameTitle),
                             QStringLiteral("%1\n파일을 저장하지 못했습니다.").arg(path));
        return false;
    }
    document->SetPathName(QFileInfo(path).absoluteFilePath());
    AddRecentFile(document->GetPathName());
    return true;
}

void CMainFrame::AddRecentFile(const QString& path) {
    m_recentFiles.removeAll(path);
    m_recentFiles.prepend(path);
    while (m_recentFiles.size() > kRecentFileCount) m_recentFiles.removeLast();
    UpdateRecentFileActions();
}

void CMainFrame::UpdateRecentFileActions() {
    for (int i = 0; i < m_recentActions.size(); ++i) {
        const bool used = i < m_recentFiles.size();
        m_recentActions[i]->setVisible(used);
        if (used) {
            m_recentActions[i]->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(m_recentFiles[i]));
        }
    }
    m_recentPlaceholder->setVisible(m_recentFiles.isEmpty());
}

void CMainFrame::FillWindowList(QMenu* menu) {
    qDeleteAll(m_windowListActions);
    m_windowListActions.clear();
    const QList<QMdiSubWindow*> windows = m_pMdiArea->subWindowList(QMdiArea::CreationOrder);
    if (windows.isEmpty()) return;
    m_windowListActions.append(menu->addSeparator());
    for (int i = 0; i < windows.size(); ++i) {
        QMdiSubWindow* window = windows[i];
        QAction* action =
            menu->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(window->windowTitle()));
        action->setCheckable(true);
        action->setChecked(window == m_pMdiArea->activeSubWindow());
        connect(action, &QAction::triggered, this, [this, window = QPointer(window)] {
            if (window) m_pMdiArea->setActiveSubWindow(window);
        });
        m_windowListActions.append(action);
    }
}

void CMainFrame::ArrangeIcons() {
    int x = 0;
    const int bottom = m_pMdiArea->viewport()->height();
    for (QMdiSubWindow* window : m_pMdiArea->subWindowList(QMdiArea::CreationOrder)) {
        if (!window->isMinimized()) continue;
        window->move(x, bottom - window->height());
        x += window->width();
    }
}

void CMainFrame::CascadeWindows() {
    QList<QMdiSubWindow*> windows = m_pMdiArea->subWindowList(QMdiArea::StackingOrder);
    windows.removeIf([](QMdiSubWindow* window) { return window->isMinimized(); });
    if (windows.isEmpty()) return;
    const QSize area = m_pMdiArea->viewport()->size();
    // Each window steps one title bar down and right from the one behind it, and keeps at
    // least two thirds of the area so that its photo can still be seen; a long stack starts
    // again at the corner.
    const int step = style()->pixelMetric(QStyle::PM_TitleBarHeight) + 4;
    const int count = int(windows.size());
    const QSize size(std::max(area.width() * 2 / 3, area.width() - (count - 1) * step),
                     std::max(area.height() * 2 / 3, area.height() - (count - 1) * step));
    const int room = std::max(1, std::min(area.width() - size.width(),
                                          area.height() - size.height()) / step + 1);
    for (int i = 0; i < count; ++i) {
        QMdiSubWindow* window = windows[i];
        window->showNormal();
        const int offset = (i % room) * step;
        window->setGeometry(offset, offset, size.width(), size.height());
        window->raise();
    }
    m_pMdiArea->setActiveSubWindow(windows.last());
}

void CMainFrame::OnAppAbout() {
    CAboutDlg dialog(this);
    dialog.exec();
}
