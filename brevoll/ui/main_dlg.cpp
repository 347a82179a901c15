// The main dialog's controls and layout (template in dialog units) and its buttons.
#include "ui/main_dlg.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>

#include "ui/control_id.h"
#include "ui/dialog_font.h"
#include "ui/resource_ids.h"

using namespace brevoll;
using corvelle::SetControlId;

namespace {

constexpr QSize kDialogSize(330, 296);

// Colour fields take what the user types, shown in capitals.
void makeUpperCase(QLineEdit* edit) {
    QObject::connect(edit, &QLineEdit::textEdited, edit, [edit](const QString& text) {
        const QString upper = text.toUpper();
        if (upper == text) return;
        const int cursor = edit->cursorPosition();
        edit->setText(upper);
        edit->setCursorPosition(cursor);
    });
}

}  // namespace

void CMainDlg::CreateControls() {
    setFont(DialogFont());
    auto group = [this](const char* title, int x, int y, int w, int h) {
        auto* box = new QGroupBox(QString::fromUtf8(title), this);
        PlaceInDialogUnits(box, x, y, w, h);
        return box;
    };
    auto label = [this](const char* text, int x, int y, int w, QWidget* buddy = nullptr) {
        auto* l = new QLabel(QString::fromUtf8(text), this);
        PlaceInDialogUnits(l, x, y, w, 10);
        if (buddy) l->setBuddy(buddy);
        return l;
    };
    auto edit = [this](int id, int x, int y, int w, bool digitsOnly = false) {
        auto* e = new QLineEdit(this);
        SetControlId(e, id);
        PlaceInDialogUnits(e, x, y, w, 12);
        if (digitsOnly)
            e->setValidator(
                new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), e));
        return e;
    };
    auto check = [this](int id, const char* text, int x, int y, int w) {
        auto* c = new QCheckBox(QString::fromUtf8(text), this);
        SetControlId(c, id);
        PlaceInDialogUnits(c, x, y, w, 10);
        return c;
    };
    auto radio = [this](int id, const char* text, int x, int y, int w) {
        auto* r = new QRadioButton(QString::fromUtf8(text), this);
        SetControlId(r, id);
        PlaceInDialogUnits(r, x, y, w, 10);
        m_pMethodGroup->addButton(r, id);
        return r;
    };
    auto list = [this](int id, int x, int y, int w, bool editable, QStringList items) {
        auto* c = new QComboBox(this);
        SetControlId(c, id);
        c->setEditable(editable);
        c->addItems(items);
        PlaceInDialogUnits(c, x, y, w, 13);
        return c;
    };
    auto button = [this](int id, const char* text, int x, int y, int w, int h = 14) {
        auto* b = new QPushButton(QString::fromUtf8(text), this);
        SetControlId(b, id);
        b->setAutoDefault(false);
        PlaceInDialogUnits(b, x, y, w, h);
        return b;
    };

    // " Resize Method "
    group(" Resize Method ", 7, 4, 255, 46);
    m_pMethodGroup = new QButtonGroup(this);
    m_pRatio = radio(IDC_RADIO_RATIO, "&Ratio :", 14, 17, 42);
    m_pSizeRatio = edit(IDC_SIZE_RATIO, 58, 16, 30, true);
    label("%", 91, 18, 10);
    m_pPixel = radio(IDC_RADIO_PIXEL, "&Pixel :", 112, 17, 40);
    m_pFixSize = edit(IDC_FIX_SIZE, 154, 16, 34, true);
    label("pixel", 191, 18, 24);
    m_pBound = radio(IDC_RADIO_BOUND, "&Bound :", 14, 33, 42);
    m_pBoundWidth = edit(IDC_BOUND_WIDTH, 58, 32, 30, true);
    label("x", 92, 34, 6);
    m_pBoundHeight = edit(IDC_BOUND_HEIGHT, 100, 32, 30, true);
    m_pFitBound = check(IDC_FIT_BOUND, "&Fit to Bound", 140, 33, 70);

    // " Image Path "
    group(" Image Path ", 7, 53, 255, 64);
    m_pSourcePath = edit(IDC_SOURCE_PATH, 58, 65, 176);
    label("&Source : ", 14, 67, 44, m_pSourcePath);
    button(IDC_SOURCE_BROWSE, "...", 238, 65, 18, 12);
    m_pDestPath = edit(IDC_DEST_PATH, 58, 81, 176);
    label("&Destination : ", 14, 83, 44, m_pDestPath);
    button(IDC_DEST_BROWSE, "...", 238, 81, 18, 12);
    m_pNaming = check(IDC_NAMING, "&Naming :", 14, 99, 42);
    m_pPrefix = edit(IDC_PREFIX, 92, 98, 62);
    label("P&refix -", 58, 100, 33, m_pPrefix);
    m_pPostfix = edit(IDC_POSTFIX, 192, 98, 62);
    label("P&ostfix -", 158, 100, 33, m_pPostfix);

    // " Border "
    group(" Border ", 7, 120, 255, 46);
    m_pColorBorder = check(IDC_COLOR_BORDER, "&Color Border :", 14, 133, 64);
    m_pBorderColor = edit(IDC_BORDER_COLOR, 80, 132, 40);
    makeUpperCase(m_pBorderColor);
    m_pBorderMargin = edit(IDC_BORDER_MARGIN, 164, 132, 28, true);
    label("&Margin :", 128, 134, 34, m_pBorderMargin);
    label("pixel", 195, 134, 24);
    auto* imageBorder = check(IDC_IMAGE_BORDER, "&Image Border :", 14, 149, 64);
    auto* imageBorderPath = edit(IDC_IMAGE_BORDER_PATH, 80, 148, 154);
    auto* imageBorderBrowse = button(IDC_IMAGE_BORDER_BROWSE, "...", 238, 148, 18, 12);
    // The image border is not offered: its row stays disabled and nothing reads it.
    for (QWidget* w : {static_cast<QWidget*>(imageBorder), static_cast<QWidget*>(imageBorderPath),
                       static_cast<QWidget*>(imageBorderBrowse)})
        w->setEnabled(false);

    // "Time Stamp"
    group("Time Stamp", 7, 169, 255, 62);
    m_pStampPos = list(IDC_STAMP_POS, 52, 181, 74, false,
                       {"None", "Top Left", "Top Center", "Top Right", "Bottom Left",
                        "Bottom Center", "Bottom Right"});
    label("Pos&ition :", 14, 183, 38, m_pStampPos);
    m_pStampMethod = list(IDC_STAMP_METHOD, 164, 181, 92, true,
                          {"%Y %m/%d - %H:%M:%S", "%y %m/%d %I:%M%p", "%y %m/%d", "%c", "%x %X"});
    label("Met&hod : ", 130, 183, 34, m_pStampMethod);
    m_pStampColor = edit(IDC_STAMP_COLOR, 52, 197, 40);
    makeUpperCase(m_pStampColor);
    label("Co&lor :", 14, 199, 38, m_pStampColor);
    m_pStampEmboss = check(IDC_STAMP_EMBOSS, "Se&mi-Transparent", 98, 198, 76);
    m_pStampFontSize = list(IDC_STAMP_FONT_SIZE, 216, 197, 40, true,
                            {"12", "15", "18", "20", "24", "32", "48", "56"});
    label("Font &Size :", 176, 199, 40, m_pStampFontSize);
    m_pStampFont = list(IDC_STAMP_FONT, 52, 213, 204, false, {});
    label("Fo&nt : ", 14, 215, 38, m_pStampFont);

    // " Options "
    group(" Options ", 7, 234, 255, 58);
    m_pRecursive = check(IDC_RECURSIVE, "R&ecursive", 14, 246, 62);
    m_pInterpolation = list(IDC_INTERPOLATION, 150, 245, 106, false,
                            {"Default", "LowQuality", "HighQuality", "Bilinear", "Bicubic",
                             "NearestNeighbor", "HighQualityBilinear", "*HighQualityBicubic"});
    label("Sampling &Method :", 84, 247, 66, m_pInterpolation);
    m_pExifInfo = check(IDC_EXIF_INFO, "&Copy Exif info", 14, 262, 66);
    m_pCompressRatio = edit(IDC_COMPRESS_RATIO, 150, 261, 30, true);
    label("&Compress Ratio :", 84, 263, 66, m_pCompressRatio);
    label("%", 183, 263, 10);
    m_pAllPictureTypes = check(IDC_ALL_PICTURE_TYPES, "All picture &types", 14, 276, 90);

    // The buttons on the right.
    auto* close = button(IDCANCEL, "Close", 270, 8, 52);
    auto* about = button(IDC_ABOUT, "&About", 270, 26, 52);
    auto* readMe = button(IDC_READ_ME, "&Read me", 270, 44, 52);
    auto* go = button(IDOK, "&Go resize ", 270, 62, 52);
    go->setDefault(true);

    connect(close, &QPushButton::clicked, this, &CMainDlg::OnCancel);
    connect(about, &QPushButton::clicked, this, &CMainDlg::OnAbout);
    connect(readMe, &QPushButton::clicked, this, &CMainDlg::OnReadMe);
    connect(go, &QPushButton::clicked, this, &CMainDlg::OnGoResize);
    connect(corvelle::FindControl<QPushButton>(this, IDC_SOURCE_BROWSE), &QPushButton::clicked,
            this, [this] { OnBrowse(true); });
    connect(corvelle::FindControl<QPushButton>(this, IDC_DEST_BROWSE), &QPushButton::clicked, this,
            [this] { OnBrowse(false); });
    connect(m_pMethodGroup, &QButtonGroup::idClicked, this, [this] { ApplyMethodRule(); });
    connect(m_pNaming, &QCheckBox::clicked, this, &CMainDlg::OnNaming);
    connect(m_pColorBorder, &QCheckBox::clicked, this, &CMainDlg::OnColorBorder);
    connect(m_pStampPos, &QComboBox::currentIndexChanged, this, &CMainDlg::OnStampPos);
    connect(m_pInterpolation, &QComboBox::currentIndexChanged, this,
            &CMainDlg::OnInterpolationChanged);

    setFixedSize(corvelle::DialogUnitsToPixels(kDialogSize, DialogFont()));
}
