#include "ui/combo_toolbar.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>

#include <algorithm>

#include "core/trim_frame.h"
#include "ui/morvane_resources.h"
#include "ui/resource_ids.h"
#include "ui/view_geometry.h"

namespace {

constexpr int kComboTextLimit = 4;
constexpr int kComboReadLimit = 19;

bool ListOpen(const QComboBox* combo) { return combo->view() && combo->view()->isVisible(); }

}  // namespace

CComboToolBar::CComboToolBar(QWidget* parent) : QToolBar(QString(), parent) {
    setObjectName(QStringLiteral("toolbar%1").arg(IDR_MAINFRAME));
    setIconSize(QSize(16, 15));
    m_compress = MakeCombo(IDC_COMPRESS_COMBO, 60, true);
    m_trim = MakeCombo(IDC_TRIM_COMBO, 90, false);
    m_zoom = MakeCombo(IDC_ZOOM_COMBO, 60, true);
    for (int ratio : kCompressList) m_compress->addItem(PercentText(ratio));
    for (const corvelle::TrimSize& size : corvelle::kTrimSizes) {
        m_trim->addItem(QString::fromUtf8(size.name));
    }
    for (int zoom : kZoomList) m_zoom->addItem(PercentText(zoom));
}

QComboBox* CComboToolBar::MakeCombo(int id, int width, bool editable) {
    auto* combo = new QComboBox(this);
    combo->setObjectName(QStringLiteral("combo%1").arg(id));
    combo->setFixedWidth(width);
    combo->setEditable(editable);
    combo->setToolTip(ToolTipPrompt(id));
    combo->setStatusTip(StatusPrompt(id));
    combo->setMaxVisibleItems(10);
    combo->installEventFilter(this);
    if (editable) {
        combo->setInsertPolicy(QComboBox::NoInsert);
        combo->lineEdit()->setMaxLength(kComboTextLimit);
        combo->lineEdit()->installEventFilter(this);
        // Typed text commits on Enter or Esc only, not when the focus leaves the combo.
        disconnect(combo->lineEdit(), &QLineEdit::editingFinished, combo, nullptr);
    }
    connect(combo, &QComboBox::activated, this, [this, combo] { Commit(combo); });
    return combo;
}

QComboBox* CComboToolBar::Combo(int id) const {
    switch (id) {
        case IDC_COMPRESS_COMBO:
            return m_compress;
        case IDC_TRIM_COMBO:
            return m_trim;
        case IDC_ZOOM_COMBO:
            return m_zoom;
        default:
            return nullptr;
    }
}

bool CComboToolBar::ComboHasFocus() const {
    return std::ranges::any_of(std::array{m_compress, m_trim, m_zoom}, [](QComboBox* combo) {
        return combo->hasFocus() || (combo->lineEdit() && combo->lineEdit()->hasFocus());
    });
}

QWidget* CComboToolBar::TakeClickFocusTarget() {
    QWidget* target = m_clickFocusTarget;
    m_clickFocusTarget = nullptr;
    return target;
}

int CComboToolBar::ReadComboValue(const QComboBox* combo) {
    const QString text = combo->isEditable() ? combo->lineEdit()->text() : combo->currentText();
    return ReadLeadingNumber(text.left(kComboReadLimit));
}

void CComboToolBar::InitCombos(int compressRatio, int trimSize) {
    const int index = m_compress->findText(PercentText(compressRatio));
    if (index >= 0) {
        m_compress->setCurrentIndex(index);
    } else {
        m_compress->setCurrentIndex(-1);
        m_compress->setEditText(PercentText(std::clamp(compressRatio, 1, 100)));
    }
    m_trim->setCurrentIndex(trimSize);
    m_zoom->setCurrentIndex(m_zoom->findText(PercentText(100)));
}

void CComboToolBar::SyncCombos(int zoom, bool fitScreen, int trimSize) {
    m_zoom->setEnabled(!fitScreen);
    const bool typing = m_zoom->lineEdit()->hasFocus();
    if (!ListOpen(m_zoom) && !typing && ReadComboValue(m_zoom) != zoom) {
        const int index = m_zoom->findText(PercentText(zoom));
        m_zoom->setCurrentIndex(index);
        if (index < 0) m_zoom->setEditText(QString());
    }
    if (!ListOpen(m_trim) && m_trim->currentIndex() != trimSize) m_trim->setCurrentIndex(trimSize);
}

void CComboToolBar::Commit(QComboBox* combo) {
    const int value = ReadComboValue(combo);
    if (combo == m_zoom) emit zoomCommitted(value);
    if (combo == m_compress) emit compressCommitted(value);
    if (combo == m_trim) emit trimCommitted(m_trim->currentIndex());
}

QComboBox* CComboToolBar::ComboOf(QObject* watched) const {
    for (QComboBox* combo : {m_compress, m_trim, m_zoom}) {
        if (watched == combo || (combo->lineEdit() && watched == combo->lineEdit())) return combo;
    }
    return nullptr;
}

bool CComboToolBar::eventFilter(QObject* watched, QEvent* event) {
    QComboBox* combo = ComboOf(watched);
    // A click elsewhere moves the focus before the click itself arrives; remember where it
    // went, so that a view can tell the click that only took the focus back.
    if (combo && event->type() == QEvent::FocusOut &&
        static_cast<QFocusEvent*>(event)->reason() == Qt::MouseFocusReason) {
        m_clickFocusTarget = QApplication::focusWidget();
    }
    if (!combo || event->type() != QEvent::KeyPress) return QToolBar::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    switch (key->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Escape:
            if (!combo->isEditable()) break;
            Commit(combo);
            return true;
        case Qt::Key_Tab: {
            QComboBox* next = combo == m_compress ? m_trim : combo == m_trim ? m_zoom : m_compress;
            if (!next->isEnabled()) next = next == m_zoom ? m_compress : m_trim;
            next->setFocus(Qt::TabFocusReason);
            return true;
        }
        case Qt::Key_Up:
        case Qt::Key_Down:
            if (key->modifiers() & (Qt::AltModifier | Qt::ControlModifier)) break;
            if (!ListOpen(combo)) {
                combo->showPopup();
                return true;
            }
            break;
        default:
            break;
    }
    return QToolBar::eventFilter(watched, event);
}
