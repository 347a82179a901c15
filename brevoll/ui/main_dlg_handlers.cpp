// The main dialog's behaviour: settings in and out, the enabling rules, the run capture,
// the folder choice, the read-me and the about box.
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QDir>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QRadioButton>
#include <QUrl>

#include "core/error_report.h"
#include "core/picture_list.h"
#include "core/read_me.h"
#include "core/settings_names.h"
#include "core/settings_store.h"
#include "core/step_record.h"
#include "ui/about_dlg.h"
#include "ui/control_id.h"
#include "ui/folder_pick_dlg.h"
#include "ui/main_dlg.h"
#include "ui/progress_dlg.h"
#include "ui/resource_ids.h"

using namespace brevoll;
namespace names = corvelle::brevoll_settings;

namespace {

QString qt(const std::string& text) { return QString::fromStdString(text); }
std::string text(const QLineEdit* edit) { return edit->text().toStdString(); }
int number(const QLineEdit* edit) { return corvelle::ReadNumberText(text(edit)); }

// An editable list shows the entry equal to the text, or the text in its edit part.
void selectOrType(QComboBox* combo, const QString& value) {
    const int index = combo->findText(value, Qt::MatchExactly | Qt::MatchCaseSensitive);
    combo->setCurrentIndex(index);
    if (index < 0) combo->setEditText(value);
}

void showMessage(QWidget* parent, const QString& message) {
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Brevoll"), message, QMessageBox::Ok,
                    parent);
    box.exec();
}

}  // namespace

CMainDlg::CMainDlg(corvelle::SettingsStore& store, QWidget* parent)
    : QDialog(parent), m_store(store), m_strReadMePath(corvelle::ReadMePath()) {
    corvelle::SetControlId(this, IDD_BREVOLL_DIALOG);
    setWindowTitle(QStringLiteral("Brevoll Ver 1.4(Build 14) by Corvelle"));
    m_runner = [this](const corvelle::RunSettings& settings) {
        // The run may change the current directory; the dialog keeps its own.
        const QString current = QDir::currentPath();
        CProgressDlg progress(settings, m_store, this);
        progress.exec();
        QDir::setCurrent(current);
    };
    m_fileOpener = [](const QString& path) {
        return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
    };
    CreateControls();
    OnInitDialog();
}

void CMainDlg::OnInitDialog() {
    const std::string_view s = corvelle::kBrevollSection;
    const corvelle::DialogFields f = corvelle::ReadDialogFields(m_store);
    const int method = f.method >= 0 && f.method <= 2 ? f.method : 0;
    m_pMethodGroup->button(IDC_RADIO_RATIO + method)->setChecked(true);
    m_pSizeRatio->setText(QString::number(f.sizeRatio));
    m_pFixSize->setText(QString::number(f.fixSize));
    m_pBoundWidth->setText(QString::number(f.boundWidth));
    m_pBoundHeight->setText(QString::number(f.boundHeight));
    m_pFitBound->setChecked(f.fitBound);
    m_pRecursive->setChecked(f.recursive);
    m_pCompressRatio->setText(QString::number(f.compressRatio));
    m_pExifInfo->setChecked(f.exifInfo);
    m_pAllPictureTypes->setChecked(f.allPictureTypes);
    m_pSourcePath->setText(qt(f.sourcePath));
    m_pDestPath->setText(qt(f.destPath));
    m_pNaming->setChecked(f.naming);
    m_pPrefix->setText(qt(f.prefix));
    m_pPostfix->setText(qt(f.postfix));
    m_pColorBorder->setChecked(f.useColorBorder);
    m_pBorderColor->setText(qt(f.borderColorText));
    m_pBorderMargin->setText(QString::number(f.borderMargin));
    m_pStampPos->setCurrentIndex(f.stampPos >= 0 && f.stampPos < m_pStampPos->count() ? f.stampPos
                                                                                      : -1);
    selectOrType(m_pStampMethod, qt(f.stampMethod));
    m_pStampColor->setText(qt(f.stampColorText));
    m_pStampEmboss->setChecked(f.stampEmboss);
    selectOrType(m_pStampFontSize, qt(f.stampFontSizeText));
    FillFontList();
    m_pStampFont->setCurrentIndex(
        m_pStampFont->findText(qt(f.stampFont), Qt::MatchExactly | Qt::MatchCaseSensitive));
    m_maxPixels = f.maxPixels;
    m_maxMemoryMb = f.maxMemoryMb;
    const int interpolation =
        m_store.readInt(s, names::kInterpolationMethod, names::kDialogDefaultInterpolation);
    m_pInterpolation->setCurrentIndex(
        interpolation >= 0 && interpolation < m_pInterpolation->count() ? interpolation : -1);

    OnNaming();
    OnColorBorder();
    OnStampPos();
    ApplyMethodRule();
    m_bInitialising = false;
    ReportAbnormalEnd();
}

void CMainDlg::ReportAbnormalEnd() {
    if (const auto message = corvelle::ReportAbnormalEnd(
            m_store, corvelle::StepRecordPath(m_store.filePath()), corvelle::ErrorReportPath()))
        showMessage(nullptr, qt(*message));
}

void CMainDlg::FillFontList() {
    // Scalable families only, as the stamp is drawn at any size; the list keeps them sorted.
    QStringList families;
    for (const QString& family : QFontDatabase::families()) {
        if (family.startsWith(u'@') || !QFontDatabase::isScalable(family)) continue;
        families << family;
    }
    families.removeDuplicates();
    families.sort(Qt::CaseInsensitive);
    m_pStampFont->addItems(families);
}

void CMainDlg::ApplyMethodRule() {
    const bool bound = m_pBound->isChecked();
    m_pSizeRatio->setEnabled(m_pRatio->isChecked());
    m_pFixSize->setEnabled(m_pPixel->isChecked());
    m_pBoundWidth->setEnabled(bound);
    m_pBoundHeight->setEnabled(bound);
    m_pFitBound->setEnabled(bound);
}

void CMainDlg::OnNaming() {
    m_pPrefix->setEnabled(m_pNaming->isChecked());
    m_pPostfix->setEnabled(m_pNaming->isChecked());
}

void CMainDlg::OnColorBorder() {
    m_pBorderColor->setEnabled(m_pColorBorder->isChecked());
    m_pBorderMargin->setEnabled(m_pColorBorder->isChecked());
}

void CMainDlg::OnStampPos() {
    const bool stamp = m_pStampPos->currentIndex() > 0;
    for (QWidget* w : {static_cast<QWidget*>(m_pStampMethod), static_cast<QWidget*>(m_pStampColor),
                       static_cast<QWidget*>(m_pStampEmboss), static_cast<QWidget*>(m_pStampFont),
                       static_cast<QWidget*>(m_pStampFontSize)})
        w->setEnabled(stamp);
}

void CMainDlg::OnInterpolationChanged(int index) {
    if (m_bInitialising || index < 0) return;
    m_store.writeInt(corvelle::kBrevollSection, names::kInterpolationMethod, index);
}

corvelle::DialogFields CMainDlg::GatherFields() const {
    corvelle::DialogFields f;
    f.method = m_pRatio->isChecked() ? 0 : m_pPixel->isChecked() ? 1 : 2;
    f.sizeRatio = number(m_pSizeRatio);
    f.fixSize = number(m_pFixSize);
    f.boundWidth = number(m_pBoundWidth);
    f.boundHeight = number(m_pBoundHeight);
    f.fitBound = m_pFitBound->isChecked();
    f.recursive = m_pRecursive->isChecked();
    f.compressRatio = number(m_pCompressRatio);
    f.exifInfo = m_pExifInfo->isChecked();
    f.allPictureTypes = m_pAllPictureTypes->isChecked();
    f.maxPixels = m_maxPixels;
    f.maxMemoryMb = m_maxMemoryMb;
    f.sourcePath = text(m_pSourcePath);
    f.destPath = text(m_pDestPath);
    f.naming = m_pNaming->isChecked();
    f.prefix = text(m_pPrefix);
    f.postfix = text(m_pPostfix);
    f.useColorBorder = m_pColorBorder->isChecked();
    f.borderColorText = text(m_pBorderColor);
    f.borderMargin = number(m_pBorderMargin);
    f.stampPos = std::max(m_pStampPos->currentIndex(), 0);
    f.stampMethod = m_pStampMethod->currentText().toStdString();
    f.stampColorText = text(m_pStampColor);
    f.stampEmboss = m_pStampEmboss->isChecked();
    // No selection (a stored font that is not installed): the run's default font.
    f.stampFont = m_pStampFont->currentIndex() >= 0 ? m_pStampFont->currentText().toStdString()
                                                    : std::string(names::kDefaultStampFont);
    f.stampFontSizeText = m_pStampFontSize->currentText().toStdString();
    f.interpolationMethod = m_store.readInt(corvelle::kBrevollSection, names::kInterpolationMethod,
                                            names::kRunDefaultInterpolation);
    return f;
}

corvelle::RunSettings CMainDlg::CaptureRunSettings() const {
    return corvelle::CaptureRunSettings(GatherFields());
}

void CMainDlg::OnGoResize() {
    const corvelle::RunSettings settings = CaptureRunSettings();
    // Texts equal but for case, or two names of one folder on disk ("/p/pics/", a link).
    if (QString::compare(qt(settings.destinationFolder), qt(settings.sourceFolder),
                         Qt::CaseInsensitive) == 0 ||
        corvelle::IsSameFolder(settings.sourceFolder, settings.destinationFolder)) {
        QMessageBox box(QMessageBox::Question, QStringLiteral("Brevoll"),
                        QStringLiteral("Same folders.\nOverwrite?"),
                        QMessageBox::Yes | QMessageBox::No, this);
        if (box.exec() != QMessageBox::Yes) return;
    }
    if (m_runner) m_runner(settings);
}

void CMainDlg::OnCancel() {
    corvelle::WriteDialogFields(m_store, GatherFields(), m_pStampFont->currentIndex() >= 0);
    QDialog::reject();
}

void CMainDlg::reject() { OnCancel(); }

void CMainDlg::OnAbout() {
    CAboutDlg about(this);
    about.exec();
}

void CMainDlg::contextMenuEvent(QContextMenuEvent* event) {
    // The about entry a Windows dialog keeps in its system menu.
    QMenu menu(this);
    menu.addAction(QStringLiteral("Brevoll Info(&A)..."), this, &CMainDlg::OnAbout);
    menu.exec(event->globalPos());
}

void CMainDlg::keyPressEvent(QKeyEvent* event) {
    // F1 stands in for the about entry of a Windows dialog's system menu.
    if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier) {
        OnAbout();
        return;
    }
    QDialog::keyPressEvent(event);
}

void CMainDlg::OnReadMe() {
    if (!corvelle::WriteReadMe(m_strReadMePath)) {
        showMessage(this,
                    QStringLiteral("읽어보기 파일을 쓸 수 없습니다.\n%1").arg(qt(m_strReadMePath)));
        return;
    }
    // Without a program for text files the user still learns where the read-me is.
    if (!m_fileOpener || !m_fileOpener(qt(m_strReadMePath)))
        showMessage(
            this,
            QStringLiteral("읽어보기 파일을 열 프로그램이 없습니다.\n%1").arg(qt(m_strReadMePath)));
}

void CMainDlg::OnBrowse(bool source) {
    const std::string_view value = source ? kBrevollSourceFolderValue : kBrevollDestFolderValue;
    CFolderPickDlg dialog(FolderPickStyle::Brevoll(), m_store, std::string(kBrevollFolderSection),
                          std::string(value), this);
    if (dialog.exec() != QDialog::Accepted) return;
    const std::string chosen = m_store.readString(kBrevollFolderSection, value, "");
    if (chosen.empty()) return;
    (source ? m_pSourcePath : m_pDestPath)->setText(qt(chosen));
    m_store.writeString(kBrevollFolderSection, value, chosen);
}
