#pragma once

#include <QObject>

#include <array>
#include <optional>

class QLabel;
class QStatusBar;
class QTimer;

// Caps Lock, Num Lock and Scroll Lock as the keyboard reports them; none where the platform
// has no way to ask (Wayland, offscreen).
struct LockKeyStates {
    bool caps = false;
    bool num = false;
    bool scroll = false;
};
std::optional<LockKeyStates> QueryLockKeyStates();

// The CAPS, NUM and SCRL panes after the message pane of a status bar: each reads clearly
// while its lock is on and dimmed while it is off or cannot be known.
class CLockKeyIndicators : public QObject {
    Q_OBJECT
  public:
    explicit CLockKeyIndicators(QStatusBar* bar);

    // Shows the given states (none: every pane dimmed).
    void Show(const std::optional<LockKeyStates>& states);
    QLabel* Pane(int index) const { return m_panes[index]; }

  private:
    std::array<QLabel*, 3> m_panes{};
    QTimer* m_pPoll;
};
