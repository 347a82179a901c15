// The main dialog's flow: a folder chosen in the tree fills the list; a file chosen in the
// list shows its information at once and its picture when the worker has decoded it.
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QUrl>

#include <cstdio>

#include "core/decoding/imaging_decoder.h"
#include "core/exif/gps_report.h"
#include "core/folder_listing.h"
#include "core/report/file_info.h"
#include "jpeg/jpeg_decoder.h"
#include "ui/histogram_ctrl.h"
#include "ui/open_with_desktop.h"
#include "ui/photo_view_wnd.h"
#include "ui/resource_ids.h"
#include "ui/shell_tree_ctrl.h"
#include "ui/thumbnail_ctrl.h"
#include "ui/tiselk_dlg.h"

namespace {

QString FromFileName(const std::string& name) {
    return QFile::decodeName(QByteArray::fromStdString(name));
}

std::string ToFileName(const QString& path) { return QFile::encodeName(path).toStdString(); }

}  // namespace

void CTiselkDlg::OnFolderChanged() {
    const ShellFolderItem* record = m_pTree->SelectedFolder();
    if (!record || record->folder.path.empty()) return;
    m_pTree->scrollToItem(m_pTree->currentItem());
    LoadFolder(FromFileName(record->folder.path));
}

void CTiselkDlg::LoadFolder(const QString& folder) {
    m_strCurrentFolder = folder;
    m_settings.writeString("Config", "Recent Path", ToFileName(folder));
    // The names come sorted as the list shows them; a folder that cannot be read gives none.
    const QSignalBlocker quiet(m_pList);
    m_pList->clear();
    for (const std::string& name : corvelle::ListPictureFiles(ToFileName(folder)))
        m_pList->addItem(FromFileName(name));
    EnableView();
}

void CTiselkDlg::EnableView() { m_pView->setEnabled(m_pList->count() > 0); }

void CTiselkDlg::SetValue(int id, const std::string& text) {
    QLabel* label = m_values.at(id);
    label->setText(QString::fromStdString(text));
    label->setToolTip(label->text());
}

void CTiselkDlg::OnSelectFile() {
    // A list that gets the focus by Tab makes its first row current without selecting it:
    // nothing is selected then, and nothing is shown.
    const QList<QListWidgetItem*> selected = m_pList->selectedItems();
    if (selected.isEmpty()) return;
    const QListWidgetItem* item = selected.first();
    const QString path = m_strCurrentFolder + u'/' + item->text();
    m_strShownPath = path;
    m_bMessageShown = false;

    const corvelle::FileInfo info = corvelle::ReadFileInfo(ToFileName(path));
    const corvelle::ExifSummary& s = info.summary;
    m_strSummary = info.summaryText;
    m_nLightValue = info.lightValue.value_or(0);
    SetValue(IDC_MODEL, s.model);
    SetValue(IDC_TIME, s.dateTime);
    SetValue(IDC_FOCAL_LENGTH, s.focalLength);
    SetValue(IDC_EXPOSURE, s.aperture);
    SetValue(IDC_FLASH, s.flash);
    SetValue(IDC_IMAGE_SIZE, info.imageSizeText);
    SetValue(IDC_ISO, s.iso);
    SetValue(IDC_SHUTTER, s.shutter);
    SetValue(IDC_EXPOSURE_BIAS, s.exposureBias);
    SetValue(IDC_EXIF_VERSION, s.exifVersion);
    SetValue(IDC_METERING, s.metering);
    SetValue(IDC_LIGHT_VALUE, s.lightValue);
    SetValue(IDC_FILE_SIZE, info.fileSizeText);
    m_strMapUrl = s.gps ? QString::fromStdString(corvelle::MapUrl(*s.gps)) : QString();
    m_pReport->setPlainText(QString::fromStdString(corvelle::ReportBoxText(info))
                                .replace(QStringLiteral("\r\n"), QStringLiteral("\n")));

    // The embedded thumbnail shows at once; without one the decoded picture will serve.
    // A HEIF thumbnail in another coding is decoded only here, when it is shown.
    corvelle::PictureHandle thumbnail;
    const std::vector<uint8_t> thumbnailJpeg =
        info.codedThumbnailItem ? corvelle::HeifThumbnailAsJpeg(ToFileName(path)) : s.thumbnailJpeg;
    if (!thumbnailJpeg.empty()) {
        std::vector<std::string> messages;
        auto decoded = corvelle::DecodeJpegFromMemory(
            thumbnailJpeg, [&](const std::string& message) { messages.push_back(message); });
        if (decoded) thumbnail = std::make_shared<const corvelle::PackedDib>(std::move(*decoded));
        ShowJpegMessages(messages);
    }
    m_pThumbnail->SetPicture(thumbnail, path);
    EnableView();

    // The histogram waits for the full picture, decoded once on the worker.
    m_pHistogram->SetPicture(nullptr);
    m_pHistogram->update();
    m_pDecoder->Request(path);
    if (!m_bWaitCursor) {
        QApplication::setOverrideCursor(Qt::BusyCursor);
        m_bWaitCursor = true;
    }
}

QMenu* CTiselkDlg::CreateReportMenu() {
    QMenu* menu = m_pReport->createStandardContextMenu();
    if (!m_strMapUrl.isEmpty()) {
        menu->addSeparator();
        QAction* map = menu->addAction(QStringLiteral("지도에서 보기(&M)"));
        map->setObjectName(QStringLiteral("showMap"));
        connect(map, &QAction::triggered, this, &CTiselkDlg::OnShowMap);
    }
    return menu;
}

void CTiselkDlg::OnShowMap() {
    // The program itself never goes on the network: the browser opens the page.
    if (!m_strMapUrl.isEmpty()) corvelle::OpenWithDesktop(this, m_strMapUrl);
}

void CTiselkDlg::OnPictureDecoded(const corvelle::DecodedPicture& decoded) {
    if (m_bWaitCursor) {
        QApplication::restoreOverrideCursor();
        m_bWaitCursor = false;
    }
    // Only the picture still selected when its decode ends is shown, with its message box;
    // one the user has moved on from leaves its messages to stderr, whatever the timing.
    if (decoded.path != m_strShownPath) {
        ReportDroppedMessages(decoded);
        return;
    }
    if (!m_pThumbnail->Picture()) m_pThumbnail->SetPicture(decoded.picture, decoded.path);
    // A picture the budget had no room for stays empty, as any picture that cannot be
    // decoded; the reason shows where the picture would be.
    const QString problem = QString::fromStdString(decoded.problem);
    m_pThumbnail->setToolTip(problem);
    m_pHistogram->setToolTip(problem);
    m_pHistogram->SetPicture(decoded.picture, decoded.counts);
    m_pHistogram->update();
    ShowJpegMessages(decoded.messages);
}

void CTiselkDlg::ReportDroppedMessages(const corvelle::DecodedPicture& dropped) {
    // A picture passed by before its decode ended: its messages are only counted.
    if (!dropped.messages.empty())
        std::fprintf(stderr, "tiselk: %s: %zu JPEG library message(s) not shown\n",
                     dropped.path.toLocal8Bit().constData(), dropped.messages.size());
}

void CTiselkDlg::ShowJpegMessages(const std::vector<std::string>& messages) {
    // One box per picture at most; the rest are counted where a user who asks can see them.
    size_t first = 0;
    if (!m_bMessageShown && !messages.empty()) {
        m_bMessageShown = true;
        first = 1;
        m_fnShowJpegMessage(messages.front());
    }
    if (messages.size() > first)
        std::fprintf(stderr, "tiselk: %s: %zu more JPEG library message(s)\n",
                     m_strShownPath.toLocal8Bit().constData(), messages.size() - first);
}

void CTiselkDlg::WaitForPicture() { m_pDecoder->WaitForDone(); }

void CTiselkDlg::OnView() {
    if (m_pPhotoView || m_pList->count() == 0) return;
    const QScreen* shown = screen() ? screen() : QGuiApplication::primaryScreen();
    const QRect g = shown->geometry();
    m_pPhotoView = new CPhotoViewWnd(m_pList, m_strCurrentFolder,
                                     {g.left(), g.top(), g.right() + 1, g.bottom() + 1}, this);
    m_pPhotoView->m_fnShowJpegMessage = [](const std::string& message) {
        // Over a full-screen view a box would hide the picture: the text goes to stderr.
        std::fprintf(stderr, "tiselk: %s\n", message.c_str());
    };
    m_pPhotoView->show();
    m_pPhotoView->activateWindow();
    m_pPhotoView->setFocus();
}

void CTiselkDlg::OnCopyInfo() {
    QGuiApplication::clipboard()->setText(QString::fromStdString(m_strSummary));
}

void CTiselkDlg::OnPaste() {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!data) return;
    if (data->hasUrls()) {
        const QList<QUrl> urls = data->urls();
        if (!urls.isEmpty() && urls.first().isLocalFile()) OpenPath(urls.first().toLocalFile());
        return;
    }
    if (data->hasText()) {
        // A path copied from a terminal often carries its line end.
        QString text = data->text();
        while (text.endsWith(u'\n') || text.endsWith(u'\r')) text.chop(1);
        if (!text.isEmpty()) OpenPath(text);
    }
}

void CTiselkDlg::OpenPath(const QString& path) {
    const QFileInfo target(path);
    if (path.isEmpty() || !target.exists()) return;
    const QString absolute = target.absoluteFilePath();
    if (target.isDir()) {
        m_pTree->SelectFolderPath(ToFileName(absolute));
        if (m_strCurrentFolder != absolute) LoadFolder(absolute);
        return;
    }
    const QString folder = target.absolutePath();
    const QString name = target.fileName();
    m_pTree->SelectFolderPath(ToFileName(folder));
    // The list must be the file's folder even when the tree cannot reach it (a folder under
    // a hidden one, say), or the name would be looked for among another folder's files.
    if (m_strCurrentFolder != folder) LoadFolder(folder);
    for (int row = 0; row < m_pList->count(); ++row) {
        if (m_pList->item(row)->text().startsWith(name, Qt::CaseInsensitive)) {
            if (m_pList->currentRow() == row && m_pList->item(row)->isSelected()) {
                OnSelectFile();
            } else {
                m_pList->setCurrentRow(row);
            }
            return;
        }
    }
}

void CTiselkDlg::OnChannel(int channel) { m_pHistogram->SetChannel(channel); }

CPhotoViewWnd* CTiselkDlg::PhotoView() const { return m_pPhotoView.data(); }
