// The main dialog's controls, their layout and the window-level input (keys, drops, the
// About entry). What happens when a folder or file is chosen is in tiselk_dlg_show.cpp.
#include "ui/tiselk_dlg.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShortcut>
#include <QUrl>

#include <cstdio>

#include <QDir>
#include <QFile>

#include "jpeg/jpeg_decoder.h"
#include "ui/about_dlg.h"
#include "ui/control_id.h"
#include "ui/dialog_units.h"
#include "ui/histogram_ctrl.h"
#include "ui/photo_view_wnd.h"
#include "ui/resource_ids.h"
#include "ui/shell_tree_ctrl.h"
#include "ui/thumbnail_ctrl.h"

namespace {

// How a control follows the dialog's growth beyond its designed size: the left column
// (tree, list) takes half of the extra width, the right column moves by that half; the tree
// and the list share the extra height, the report takes all of it and what lies below the
// report moves down with it.
enum Grow {
    kFixed = 0,
    kHalfWidth = 1,
    kHalfRight = 2,
    kHalfHeight = 4,
    kHalfDown = 8,
    kHeight = 16,
    kDown = 32,
};

constexpr QSize kDialogUnits(327, 351);

struct PanelValue {
    int id;
    const char* label;
    QRect units;  // of the value; the label stands to its left
    int labelWidth;
};

// The " Basic Information " group: two columns, the long values on the left.
constexpr int kLeftLabel = 139, kLeftValue = 185, kRightLabel = 250, kRightValue = 284;
constexpr int kRowTop = 93, kRowStep = 10, kRowHeight = 9;
QRect Row(int column, int row, int width) {
    return QRect(column, kRowTop + row * kRowStep, width, kRowHeight);
}
const PanelValue kPanel[] = {
    {IDC_MODEL, "Model", Row(kLeftValue, 0, 133), 46},
    {IDC_TIME, "Time", Row(kLeftValue, 1, 133), 46},
    {IDC_FILE_SIZE, "File size", Row(kLeftValue, 2, 62), 46},
    {IDC_ISO, "ISO", Row(kRightValue, 2, 34), 34},
    {IDC_IMAGE_SIZE, "Image w/h", Row(kLeftValue, 3, 62), 46},
    {IDC_EXIF_VERSION, "Exif Ver.", Row(kRightValue, 3, 34), 34},
    {IDC_SHUTTER, "Shutter", Row(kLeftValue, 4, 62), 46},
    {IDC_EXPOSURE, "Exposure", Row(kRightValue, 4, 34), 34},
    {IDC_FOCAL_LENGTH, "Focal Length", Row(kLeftValue, 5, 62), 46},
    {IDC_FLASH, "Flash", Row(kRightValue, 5, 34), 34},
    {IDC_METERING, "Metering", Row(kLeftValue, 6, 62), 46},
    {IDC_EXPOSURE_BIAS, "Exp. Bias", Row(kRightValue, 6, 34), 34},
    {IDC_LIGHT_VALUE, "Light Value ", Row(kLeftValue, 7, 62), 46},
};

}  // namespace

CTiselkDlg::CTiselkDlg(QWidget* parent) : QDialog(parent), m_settings(corvelle::kTiselkSettings) {
    setObjectName(QStringLiteral("dialog%1").arg(IDD_TISELK_DIALOG));
    setWindowTitle(QStringLiteral("Tiselk Ver 1.4(Build 25)\tCorvelle\t"));
    setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint);
    setFont(corvelle::KoreanDialogFont());
    m_fnShowJpegMessage = [this](const std::string& message) {
        QMessageBox::critical(this, QString::fromUtf8(corvelle::kJpegMessageCaption),
                              QString::fromUtf8(message));
    };
    m_fnShowWarning = [this](const QString& text) {
        QMessageBox::warning(this, windowTitle(), text);
    };
    m_pDecoder = std::make_unique<corvelle::CPictureDecoder>(
        [this](const corvelle::DecodedPicture& decoded) { OnPictureDecoded(decoded); });
    m_pDecoder->SetDropped(&CTiselkDlg::ReportDroppedMessages);
    CreateControls();
    LayOutControls();
    OnInitDialog();
}

CTiselkDlg::~CTiselkDlg() {
    if (m_bWaitCursor) QApplication::restoreOverrideCursor();
    delete m_pPhotoView;
}

void CTiselkDlg::CreateControls() {
    const auto place = [this](QWidget* widget, int id, QRect units, int grow) {
        if (id) corvelle::SetControlId(widget, id);
        m_placements.push_back({widget, units, grow});
    };

    m_pTree = new CShellTreeCtrl(ShellTreeOptions::Tiselk(), this);
    m_pTree->setAccessibleName(QStringLiteral("Tree1"));
    place(m_pTree, IDC_FOLDER_TREE, {7, 7, 120, 163}, kHalfWidth | kHalfHeight);

    m_pList = new QListWidget(this);
    m_pList->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_pList->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    place(m_pList, IDC_FILE_LIST, {7, 174, 120, 170}, kHalfWidth | kHalfDown | kHalfHeight);

    m_pThumbnail = new CThumbnailCtrl(this);
    place(m_pThumbnail, IDC_THUMBNAIL, {134, 7, 98, 72}, kHalfRight);

    m_pView = new QPushButton(QStringLiteral("&View..."), this);
    place(m_pView, IDC_VIEW, {240, 7, 80, 14}, kHalfRight);
    m_pCopy = new QPushButton(QStringLiteral("&Copy Info."), this);
    place(m_pCopy, IDC_COPY_INFO, {240, 25, 80, 14}, kHalfRight);

    auto* group = new QGroupBox(QStringLiteral(" Basic Information "), this);
    place(group, 0, {134, 82, 186, 94}, kHalfRight);
    for (const PanelValue& value : kPanel) {
        auto* label = new QLabel(QString::fromUtf8(value.label), this);
        const int labelLeft = value.units.left() == kLeftValue ? kLeftLabel : kRightLabel;
        place(label, 0, {labelLeft, value.units.top(), value.labelWidth, kRowHeight}, kHalfRight);
        auto* field = new QLabel(this);
        field->setTextInteractionFlags(Qt::TextSelectableByMouse);
        place(field, value.id, value.units, kHalfRight);
        m_values[value.id] = field;
    }

    m_pReport = new QPlainTextEdit(this);
    m_pReport->setReadOnly(true);
    m_pReport->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_pReport->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_pReport->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    place(m_pReport, IDC_REPORT, {134, 180, 186, 62}, kHalfRight | kHalfWidth | kHeight);
    m_pReport->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_pReport, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        const std::unique_ptr<QMenu> menu(CreateReportMenu());
        menu->exec(m_pReport->viewport()->mapToGlobal(at));
    });

    m_pHistogram = new CHistogramCtrl(this);
    place(m_pHistogram, IDC_HISTOGRAM, {134, 246, 149, 92}, kHalfRight | kDown);
    auto* zone0 = new QLabel(QStringLiteral("Zone 0"), this);
    place(zone0, 0, {134, 339, 30, 9}, kHalfRight | kDown);
    auto* zone10 = new QLabel(QStringLiteral("Zone 10"), this);
    zone10->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    place(zone10, 0, {253, 339, 30, 9}, kHalfRight | kDown);

    const char* channels[] = {"&Mono", "&Red", "&Green", "&Blue"};
    for (int i = 0; i < 4; ++i) {
        m_pChannel[i] = new QRadioButton(QString::fromUtf8(channels[i]), this);
        place(m_pChannel[i], IDC_MONO + i, {289, 250 + 12 * i, 34, 10}, kHalfRight | kDown);
        connect(m_pChannel[i], &QRadioButton::clicked, this, [this, i] { OnChannel(i); });
    }

    m_pClose = new QPushButton(QStringLiteral("종료"), this);
    place(m_pClose, IDCANCEL, {289, 324, 31, 14}, kHalfRight | kDown);

    // Enter and Esc never press a button by themselves: the dialog has no default button.
    for (QPushButton* button : {m_pView, m_pCopy, m_pClose}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    connect(m_pView, &QPushButton::clicked, this, &CTiselkDlg::OnView);
    connect(m_pCopy, &QPushButton::clicked, this, &CTiselkDlg::OnCopyInfo);
    connect(m_pClose, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_pThumbnail, &CThumbnailCtrl::ViewRequested, this, &CTiselkDlg::OnView);
    connect(m_pTree, &QTreeWidget::itemSelectionChanged, this, &CTiselkDlg::OnFolderChanged);
    connect(m_pList, &QListWidget::itemSelectionChanged, this, &CTiselkDlg::OnSelectFile);

    auto* paste = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_V), this);
    paste->setObjectName(QStringLiteral("command%1").arg(ID_EDIT_PASTE_FILE));
    connect(paste, &QShortcut::activated, this, &CTiselkDlg::OnPaste);
    auto* about = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(about, &QShortcut::activated, this, &CTiselkDlg::OnAbout);

    // Tab goes round the controls in reading order.
    QWidget* order[] = {m_pTree,       m_pList,       m_pView,       m_pCopy,       m_pReport,
                        m_pChannel[0], m_pChannel[1], m_pChannel[2], m_pChannel[3], m_pClose};
    for (size_t i = 0; i + 1 < std::size(order); ++i) setTabOrder(order[i], order[i + 1]);
}

void CTiselkDlg::LayOutControls() {
    const QSize designed = corvelle::DialogUnitsToPixels(kDialogUnits, font());
    if (minimumSize() != designed) {
        setMinimumSize(designed);
        resize(designed);
    }
    const int dx = std::max(width() - designed.width(), 0);
    const int dy = std::max(height() - designed.height(), 0);
    for (const Placement& placement : m_placements) {
        QRect r = corvelle::DialogUnitsToPixels(placement.units, font());
        if (placement.grow & kHalfWidth) r.setWidth(r.width() + dx / 2);
        if (placement.grow & kHalfRight) r.translate(dx / 2, 0);
        if (placement.grow & kHalfHeight) r.setHeight(r.height() + dy / 2);
        if (placement.grow & kHalfDown) r.translate(0, dy / 2);
        if (placement.grow & kHeight) r.setHeight(r.height() + dy);
        if (placement.grow & kDown) r.translate(0, dy);
        placement.widget->setGeometry(r);
    }
}

void CTiselkDlg::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    LayOutControls();
}

void CTiselkDlg::OnInitDialog() {
    m_pTree->FillRoot();
    QString folder = QString::fromStdString(
        m_settings.readString("Config", "Recent Path", QDir::currentPath().toStdString()));
    if (folder.isEmpty()) folder = QDir::currentPath();
    m_strCurrentFolder = folder;
    m_pTree->SelectFolderPath(QFile::encodeName(folder).toStdString());
    EnableView();
    setAcceptDrops(true);
    m_pChannel[0]->setChecked(true);
}

void CTiselkDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_bDepthChecked) return;
    m_bDepthChecked = true;
    const QScreen* shown = screen();
    if (shown && shown->depth() <= 8)
        m_fnShowWarning(QStringLiteral("바탕화면을 6만칼라 이상을 사용하기를 권장합니다"));
}

void CTiselkDlg::keyPressEvent(QKeyEvent* event) {
    // Esc and Enter never close the dialog; everything else a control did not take (Tab,
    // Alt with a button's letter) is handled as in any dialog.
    switch (event->key()) {
        case Qt::Key_Escape:
        case Qt::Key_Return:
        case Qt::Key_Enter:
            event->accept();
            return;
        default:
            QDialog::keyPressEvent(event);
    }
}

void CTiselkDlg::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    QAction* about = menu.addAction(QStringLiteral("&Tiselk Info..."));
    about->setData(IDM_ABOUTBOX);
    if (menu.exec(event->globalPos()) == about) OnAbout();
}

void CTiselkDlg::OnAbout() {
    CAboutDlg about(this);
    about.exec();
}

void CTiselkDlg::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void CTiselkDlg::dropEvent(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.isEmpty() || !urls.first().isLocalFile()) return;
    event->acceptProposedAction();
    OpenPath(urls.first().toLocalFile());
}
