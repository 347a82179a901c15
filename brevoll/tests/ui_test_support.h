#pragma once

// Driving Brevoll's real dialogs in the widget tests: answering the next modal window,
// starting from no stored settings, and waiting for the progress dialog's worker.

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QKeyEvent>
#include <QTimer>

#include <functional>

#include "core/settings_store.h"
#include "ui/brevoll_gui.h"
#include "ui/progress_dlg.h"

namespace corvelle::testing {

// Acts on the next modal dialog or message box once it is up.
inline void OnNextModal(std::function<void(QWidget*)> act) {
    auto* poll = new QTimer(qApp);
    poll->setObjectName(QStringLiteral("next-modal"));
    poll->setInterval(0);
    QObject::connect(poll, &QTimer::timeout, [poll, act] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || !modal->isVisible()) return;
        poll->stop();
        poll->deleteLater();
        act(modal);
    });
    poll->start();
}

// Keys as the keyboard sends them.
inline void PressKey(QWidget* target, int key, const QString& text = QString()) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &release);
}

inline void TypeText(QWidget* target, const QString& text) {
    for (const QChar c : text) PressKey(target, c.toUpper().unicode(), QString(c));
}

// Forgets answers still waiting for a modal window.
inline void ForgetModalAnswers() {
    qDeleteAll(qApp->findChildren<QTimer*>(QStringLiteral("next-modal")));
}

inline void RemoveStoredSettings() {
    QFile::remove(QString::fromStdString(SettingsStore(kBrevollSettings).filePath()));
}

inline void WaitForWorker(const CProgressDlg& dialog) {
    while (dialog.IsBusy()) QApplication::processEvents(QEventLoop::AllEvents, 5);
}

}  // namespace corvelle::testing
