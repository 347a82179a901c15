#include "ui/lock_key_indicators.h"

#include <QGuiApplication>
#include <QLabel>
#include <QStatusBar>
#include <QTimer>

// The X headers define names (None, Bool, Status) that Qt's headers use: they come last.
#include <X11/XKBlib.h>

namespace {

constexpr const char* kPaneTexts[] = {"CAPS", "NUM", "SCRL"};
constexpr const char* kIndicatorNames[] = {"Caps Lock", "Num Lock", "Scroll Lock"};
// The window system does not announce lock changes to the window; asking four times a
// second costs nothing and follows a key pressed in another program too.
constexpr int kPollMilliseconds = 250;

}  // namespace

std::optional<LockKeyStates> QueryLockKeyStates() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display* display = x11 ? x11->display() : nullptr;
    if (!display) return std::nullopt;
    bool on[3] = {};
    for (int i = 0; i < 3; ++i) {
        const Atom name = XInternAtom(display, kIndicatorNames[i], True);
        int index = 0;
        Bool lit = False;
        on[i] = name != 0 && XkbGetNamedIndicator(display, name, &index, &lit, nullptr, nullptr) &&
                lit;
    }
    return LockKeyStates{on[0], on[1], on[2]};
}

CLockKeyIndicators::CLockKeyIndicators(QStatusBar* bar) : QObject(bar), m_pPoll(new QTimer(this)) {
    for (int i = 0; i < 3; ++i) {
        auto* pane = new QLabel(QString::fromLatin1(kPaneTexts[i]), bar);
        pane->setObjectName(QStringLiteral("indicator%1").arg(kPaneTexts[i]));
        pane->setAlignment(Qt::AlignCenter);
        pane->setFrameShape(QFrame::Panel);
        pane->setFrameShadow(QFrame::Sunken);
        pane->setMinimumWidth(pane->fontMetrics().horizontalAdvance(QStringLiteral("CAPS")) + 12);
        bar->addPermanentWidget(pane);
        m_panes[i] = pane;
    }
    Show(QueryLockKeyStates());
    connect(m_pPoll, &QTimer::timeout, this, [this] { Show(QueryLockKeyStates()); });
    m_pPoll->start(kPollMilliseconds);
}

void CLockKeyIndicators::Show(const std::optional<LockKeyStates>& states) {
    const bool on[3] = {states && states->caps, states && states->num, states && states->scroll};
    for (int i = 0; i < 3; ++i) m_panes[i]->setEnabled(on[i]);
}
