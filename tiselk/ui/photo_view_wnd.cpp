#include "ui/photo_view_wnd.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QListWidget>
#include <QMenu>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>
#include <QSignalBlocker>
#include <QWheelEvent>

#include "core/settings_store.h"
#include "ui/dib_drawing.h"
#include "ui/resource_ids.h"

using corvelle::ListStep;
using corvelle::ViewRect;

namespace {

QRect ToQRect(const ViewRect& r) { return QRect(r.left, r.top, r.width(), r.height()); }

}  // namespace

CPhotoViewWnd::CPhotoViewWnd(QListWidget* list, const QString& folder, const ViewRect& screen,
                             QWidget* owner, corvelle::ViewDecoder decoder)
    : QWidget(owner, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_pList(list),
      m_strFolder(folder),
      m_rcScreen(screen),
      m_rcWindow(screen),
      m_pLoader(new corvelle::CViewPictureLoader(
          [this](const corvelle::DecodedPicture& decoded) { Show(decoded); }, std::move(decoder),
          this)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setWindowTitle(QStringLiteral("View Image"));
    setCursor(Qt::ArrowCursor);
    setAccessibleName(QStringLiteral("View Image"));
    setFocusPolicy(Qt::StrongFocus);
    const corvelle::SettingsStore settings(corvelle::kTiselkSettings);
    m_bFitMode = settings.readInt("Config", "Fit to Window", 1) != 0;
    setGeometry(ToQRect(screen));
    m_fnBeep = [] { QApplication::beep(); };
}

CPhotoViewWnd::~CPhotoViewWnd() = default;

QString CPhotoViewWnd::PathOf(int row) const {
    if (!m_pList || row < 0 || row >= m_pList->count()) return {};
    return m_strFolder + u'/' + m_pList->item(row)->text();
}

ViewRect CPhotoViewWnd::PictureRectInWindow(const corvelle::PackedDib* picture) const {
    if (!picture) return {};
    const ViewRect client{0, 0, m_rcWindow.width(), m_rcWindow.height()};
    const ViewRect natural = corvelle::CentredRect(picture->width(), picture->height(), client);
    return m_bFitMode ? corvelle::FitDownInto(natural, client) : natural;
}

ViewRect CPhotoViewWnd::OnScreen(const ViewRect& inWindow) const {
    if (inWindow.isEmpty()) return {};
    return {inWindow.left + m_rcWindow.left, inWindow.top + m_rcWindow.top,
            inWindow.right + m_rcWindow.left, inWindow.bottom + m_rcWindow.top};
}

ViewRect CPhotoViewWnd::ShownRect() const {
    return OnScreen(PictureRectInWindow(m_hPicture.get()));
}

void CPhotoViewWnd::Invalidate(const ViewRect& screenRect) {
    const ViewRect visible = corvelle::IntersectRect(screenRect, m_rcScreen);
    if (visible.isEmpty()) return;
    update(ToQRect(visible).translated(-m_rcScreen.left, -m_rcScreen.top));
}

void CPhotoViewWnd::Request(int row) {
    m_nTargetRow = row;
    // The neighbours are decoded ahead so that the next step shows at once.
    QStringList ahead;
    for (int other : {row + 1, row - 1}) {
        const QString path = PathOf(other);
        if (!path.isEmpty()) ahead << path;
    }
    m_pLoader->Want(PathOf(row), ahead);
    setCursor(m_pLoader->IsWaiting() ? Qt::BusyCursor : Qt::ArrowCursor);
}

void CPhotoViewWnd::Show(const corvelle::DecodedPicture& decoded) {
    const ViewRect oldShown = ShownRect();
    if (!m_bFitMode && decoded.picture) {
        // A larger picture stands centred on the screen, in a window that holds it whole.
        const ViewRect natural =
            corvelle::CentredRect(decoded.picture->width(), decoded.picture->height(), m_rcScreen);
        m_rcWindow = corvelle::UnionRect(natural, m_rcScreen);
    }
    m_hPicture = decoded.picture;
    m_strProblem = QString::fromStdString(decoded.problem);
    setToolTip(m_strProblem);
    setCursor(Qt::ArrowCursor);
    // What was covered and what is now covered; the rest stays black.
    Invalidate(corvelle::UnionRect(oldShown, ShownRect()));
    if (m_pList && m_nTargetRow < m_pList->count()) {
        // The list shows which picture this is; the dialog is not told, and its panel keeps
        // showing the file it showed.
        const QSignalBlocker quiet(m_pList);
        m_pList->setCurrentRow(m_nTargetRow);
    }
    if (!decoded.messages.empty() && m_fnShowJpegMessage)
        m_fnShowJpegMessage(decoded.messages.front());
}

void CPhotoViewWnd::WaitForPicture() {
    QElapsedTimer waited;
    waited.start();
    while (m_pLoader->IsWaiting() && waited.elapsed() < 30000)
        QApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 10);
}

void CPhotoViewWnd::Step(ListStep step, bool beepWhenStill) {
    if (!m_pList) return;
    // Keys pressed while a picture is being made move on from the one it is for: a held key
    // counts toward one target instead of queueing a decode a press.
    const int from = m_nTargetRow >= 0 ? m_nTargetRow : m_pList->currentRow();
    const auto target = corvelle::StepTarget(step, from, m_pList->count());
    if (!target) {
        if (beepWhenStill && m_fnBeep) m_fnBeep();
        return;
    }
    m_bLoaded = true;
    Request(*target);
}

void CPhotoViewWnd::Next() { Step(ListStep::kNext, true); }
void CPhotoViewWnd::Previous() { Step(ListStep::kPrevious, true); }
void CPhotoViewWnd::First() { Step(ListStep::kFirst, false); }
void CPhotoViewWnd::Last() { Step(ListStep::kLast, false); }

void CPhotoViewWnd::Pan(int dx, int dy) {
    if (m_bFitMode || !m_hPicture) return;
    const ViewRect moved = corvelle::PanCovering(m_rcWindow, m_rcScreen, dx, dy);
    if (moved == m_rcWindow) return;
    const int shiftX = moved.left - m_rcWindow.left;
    const int shiftY = moved.top - m_rcWindow.top;
    m_rcWindow = moved;
    // The picture covers the whole screen here: only the strips uncovered need painting.
    scroll(shiftX, shiftY);
}

void CPhotoViewWnd::paintEvent(QPaintEvent* event) {
    if (!m_bLoaded && m_pList && m_pList->count() > 0) {
        m_bLoaded = true;
        if (m_pList->currentRow() < 0) {
            const QSignalBlocker quiet(m_pList);
            m_pList->setCurrentRow(0);
        }
        Request(m_pList->currentRow());
    }
    QPainter painter(this);
    const ViewRect shown = ShownRect();
    const QRect target = ToQRect(shown).translated(-m_rcScreen.left, -m_rcScreen.top);
    const QRegion outside = QRegion(event->rect()).subtracted(QRegion(target));
    for (const QRect& part : outside) painter.fillRect(part, Qt::black);
    if (m_hPicture) corvelle::DrawDib(painter, *m_hPicture, target, event->rect());
    if (!m_hPicture && !m_strProblem.isEmpty()) {
        // Why the picture is not shown: "too large (W x H, N MB)".
        painter.setPen(Qt::gray);
        painter.drawText(rect(), Qt::AlignCenter, m_strProblem);
    }
}

void CPhotoViewWnd::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Space:
            Next();
            break;
        case Qt::Key_Backspace:
            Previous();
            break;
        case Qt::Key_Home:
            First();
            break;
        case Qt::Key_End:
            Last();
            break;
        case Qt::Key_Escape:
            // Esc during a drag only ends the drag.
            if (m_bDragging) {
                EndDrag();
            } else {
                close();
            }
            break;
        case Qt::Key_Left:
            Pan(10, 0);
            break;
        case Qt::Key_Up:
            Pan(0, 10);
            break;
        case Qt::Key_Right:
            Pan(-10, 0);
            break;
        case Qt::Key_Down:
            Pan(0, -10);
            break;
        default:
            QWidget::keyPressEvent(event);
    }
}

void CPhotoViewWnd::wheelEvent(QWheelEvent* event) {
    if (event->angleDelta().y() > 0) {
        Next();
    } else {
        Previous();
    }
    event->accept();
}

void CPhotoViewWnd::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && !m_bDragging) {
        m_bDragging = true;
        m_ptLast = event->globalPosition().toPoint();
        return;
    }
    if (event->button() == Qt::RightButton && m_bDragging) {
        // The drag ends where it is, and this press opens no menu.
        EndDrag();
        m_bMenuSuppressed = true;
        return;
    }
    QWidget::mousePressEvent(event);
}

void CPhotoViewWnd::mouseMoveEvent(QMouseEvent* event) {
    if (!m_bDragging) return;
    const QPoint now = event->globalPosition().toPoint();
    Pan(now.x() - m_ptLast.x(), now.y() - m_ptLast.y());
    m_ptLast = now;
}

void CPhotoViewWnd::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && m_bDragging) {
        const QPoint now = event->globalPosition().toPoint();
        Pan(now.x() - m_ptLast.x(), now.y() - m_ptLast.y());
        EndDrag();
    }
}

void CPhotoViewWnd::EndDrag() { m_bDragging = false; }

QMenu* CPhotoViewWnd::CreateContextMenu() {
    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("menu%1").arg(IDR_VIEW_MENU));
    const auto add = [&](const QString& text, int id) {
        QAction* action = menu->addAction(text);
        action->setData(id);
        return action;
    };
    add(QStringLiteral("&Next Photo"), ID_VIEW_NEXT_PHOTO);
    add(QStringLiteral("&Prev Photo"), ID_VIEW_PREV_PHOTO);
    add(QStringLiteral("To &Start"), ID_VIEW_TO_START);
    add(QStringLiteral("To &End"), ID_VIEW_TO_END);
    menu->addSeparator();
    QAction* fit = add(QStringLiteral("&Fit to Window"), ID_VIEW_FIT_WINDOW);
    fit->setCheckable(true);
    fit->setChecked(m_bFitMode);
    add(QStringLiteral("E&xit View"), ID_VIEW_EXIT);
    return menu;
}

void CPhotoViewWnd::contextMenuEvent(QContextMenuEvent* event) {
    if (m_bMenuSuppressed) {
        m_bMenuSuppressed = false;
        return;
    }
    QMenu* menu = CreateContextMenu();
    const QAction* chosen = menu->exec(event->globalPos());
    const int id = chosen ? chosen->data().toInt() : 0;
    delete menu;
    if (id) OnCommand(id);
}

void CPhotoViewWnd::OnCommand(int id) {
    switch (id) {
        case ID_VIEW_FIT_WINDOW:
            // Only for this opening: the setting is read afresh each time and never written.
            m_bFitMode = !m_bFitMode;
            update();
            break;
        case ID_VIEW_NEXT_PHOTO:
            Next();
            break;
        case ID_VIEW_PREV_PHOTO:
            Previous();
            break;
        case ID_VIEW_TO_START:
            First();
            break;
        case ID_VIEW_TO_END:
            Last();
            break;
        case ID_VIEW_EXIT:
            close();
            break;
        default:
            break;
    }
}
