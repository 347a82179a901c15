#pragma once

// A real main frame for the widget tests, started with no stored settings, and photos made
// in memory.

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QMouseEvent>
#include <QTimer>

#include <functional>

#include <memory>

#include "core/packed_dib.h"
#include "core/settings_store.h"
#include "ui/child_frame.h"
#include "ui/main_frame.h"
#include "ui/morvane_doc.h"
#include "ui/morvane_view.h"

namespace corvelle::testing {

// Runs the handler on the modal dialog of that class once it is up; the handler must close it.
template <class Dialog>
void WhenModalOpens(std::function<void(Dialog*)> handler, bool* opened = nullptr) {
    auto* poll = new QTimer;
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, [poll, handler, opened] {
        if (auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget())) {
            poll->stop();
            poll->deleteLater();
            if (opened) *opened = true;
            handler(dialog);
        }
    });
    poll->start();
    QTimer::singleShot(2000, poll, [poll] { poll->deleteLater(); });
}

// Blue follows x, green follows y, red both, so every pixel tells where it came from.
inline PackedDib MakeTestPhoto(int width, int height) {
    PackedDib dib = *PackedDib::create(width, height, 24);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            uint8_t* at = dib.pictureRow(y) + 3 * x;
            at[0] = uint8_t(x * 7);
            at[1] = uint8_t(y * 5);
            at[2] = uint8_t((x + y) * 3);
        }
    }
    return dib;
}

inline void RemoveStoredSettings() {
    QFile::remove(QString::fromStdString(SettingsStore(kMorvaneSettings).filePath()));
}

class MainFrameTest : public ::testing::Test {
  protected:
    void SetUp() override {
        RemoveStoredSettings();
        StartFrame();
    }
    void TearDown() override { StopFrame(); }

    void StartFrame() {
        frame = std::make_unique<CMainFrame>();
        frame->resize(900, 700);
        frame->show();
        QApplication::processEvents();
    }
    // Ends the frame without the save questions a person would be asked.
    void StopFrame() {
        if (!frame) return;
        for (CChildFrame* child : frame->ChildFrames()) child->Document()->SetModifiedFlag(false);
        frame.reset();
    }

    // A document window showing the photo, as if it had been opened.
    CMorvaneDoc* OpenPhoto(PackedDib photo) {
        CMorvaneDoc* document = frame->OnFileNew();
        document->SetPhoto(std::move(photo));
        frame->GetActiveView()->RecalcScroll();
        QApplication::processEvents();
        return document;
    }

    CMorvaneView* View() const { return frame->GetActiveView(); }

    void Mouse(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons buttons) {
        QWidget* target = View()->viewport();
        QMouseEvent event(type, QPointF(at), target->mapToGlobal(QPointF(at)), button, buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(target, &event);
    }
    void Drag(QPoint from, QPoint to) {
        Mouse(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
        Mouse(QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
        Mouse(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
    }

    std::unique_ptr<CMainFrame> frame;
};

}  // namespace corvelle::testing
