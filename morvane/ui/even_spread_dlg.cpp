#include "ui/even_spread_dlg.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

#include "ui/resource_ids.h"
#include "ui/spread_preview.h"

namespace {

constexpr QSize kPreviewSize(352, 224);

QSlider* MakeSlider(QWidget* parent, int id, int minimum, int maximum, int value, int page) {
    auto* slider = new QSlider(Qt::Horizontal, parent);
    slider->setObjectName(QStringLiteral("slider%1").arg(id));
    slider->setRange(minimum, maximum);
    slider->setValue(value);
    slider->setPageStep(page);
    return slider;
}

QLineEdit* MakeValueBox(QWidget* parent, int id, int value) {
    auto* edit = new QLineEdit(QString::number(value), parent);
    edit->setObjectName(QStringLiteral("edit%1").arg(id));
    // The boxes only show the values.
    edit->setReadOnly(true);
    edit->setFixedWidth(44);
    edit->setAlignment(Qt::AlignRight);
    return edit;
}

}  // namespace

CEvenSpreadDlg::CEvenSpreadDlg(QWidget* parent, const corvelle::PackedDib* photo,
                               corvelle::NoiseFilterSettings settings,
                               corvelle::ProgressReporter* progress)
    : QDialog(parent) {
    setObjectName(QStringLiteral("dialog%1").arg(IDD_EVEN_SPREAD));
    setWindowTitle(QStringLiteral("색 고르게 펼치기"));
    const auto limited =
        corvelle::NoiseFilterSettings::limited(settings.threshold, settings.regionSize);
    m_nThreshold = limited.threshold;
    m_nRegionSize = limited.regionSize;

    m_pPreview = new CSpreadPreview(this);
    m_pPreview->setFixedSize(kPreviewSize);
    m_pPreview->Init(photo, limited, progress);

    m_pZoomSlider = MakeSlider(this, IDC_SPREAD_ZOOM, 50, 400, 100, 50);
    m_pZoomLabel = new QLabel(QStringLiteral("100%"), this);
    m_pZoomLabel->setObjectName(QStringLiteral("label%1").arg(IDC_SPREAD_ZOOM_LABEL));
    m_pZoomLabel->setFixedWidth(44);
    m_pZoomLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_pThresholdSlider = MakeSlider(this, IDC_SPREAD_THRESHOLD, 1, 255, m_nThreshold, 1);
    m_pThresholdEdit = MakeValueBox(this, IDC_SPREAD_THRESHOLD_EDIT, m_nThreshold);
    m_pRegionSlider = MakeSlider(this, IDC_SPREAD_REGION, 1, 25, m_nRegionSize, 1);
    m_pRegionEdit = MakeValueBox(this, IDC_SPREAD_REGION_EDIT, m_nRegionSize);

    connect(m_pZoomSlider, &QSlider::sliderReleased, this, &CEvenSpreadDlg::OnZoomReleased);
    connect(m_pThresholdSlider, &QSlider::sliderReleased, this,
            &CEvenSpreadDlg::OnThresholdReleased);
    connect(m_pRegionSlider, &QSlider::sliderReleased, this, &CEvenSpreadDlg::OnRegionReleased);
    // A click on a slider's groove pages it without ever holding the handle; letting go of
    // the mouse there must take effect too.
    for (QSlider* slider : {m_pZoomSlider, m_pThresholdSlider, m_pRegionSlider}) {
        slider->installEventFilter(this);
    }

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("보기 비율:"), this), 0, 0);
    grid->addWidget(m_pZoomSlider, 0, 1);
    grid->addWidget(m_pZoomLabel, 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("적용 채도값:"), this), 1, 0);
    grid->addWidget(m_pThresholdSlider, 1, 1);
    grid->addWidget(m_pThresholdEdit, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("적용 영역 크기:"), this), 2, 0);
    grid->addWidget(m_pRegionSlider, 2, 1);
    grid->addWidget(m_pRegionEdit, 2, 2);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("확인"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("취소"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pPreview, 0, Qt::AlignHCenter);
    layout->addLayout(grid);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

bool CEvenSpreadDlg::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        // The value is already where the mouse put it; the handlers ignore an unchanged one.
        if (watched == m_pZoomSlider) OnZoomReleased();
        if (watched == m_pThresholdSlider) OnThresholdReleased();
        if (watched == m_pRegionSlider) OnRegionReleased();
    }
    return QDialog::eventFilter(watched, event);
}

void CEvenSpreadDlg::OnZoomReleased() {
    const int zoom = m_pZoomSlider->value();
    if (zoom != m_pPreview->Zoom()) m_pPreview->SetZoom(zoom);
    m_pZoomLabel->setText(QString::asprintf("%i%%", zoom));
}

void CEvenSpreadDlg::OnThresholdReleased() {
    const int threshold = m_pThresholdSlider->value();
    if (threshold != m_nThreshold) {
        m_nThreshold = threshold;
        m_pPreview->SetSettings(Settings());
    }
    m_pThresholdEdit->setText(QString::number(m_nThreshold));
}

void CEvenSpreadDlg::OnRegionReleased() {
    const int region = m_pRegionSlider->value();
    if (region != m_nRegionSize) {
        m_nRegionSize = region;
        m_pPreview->SetSettings(Settings());
    }
    m_pRegionEdit->setText(QString::number(m_nRegionSize));
}
