#pragma once

#include <gtest/gtest.h>
#include <QApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace faultscope::test {

// How long a test waits for the window it expects before it fails.
inline constexpr int kShowTimeoutMs = 5000;

// A modal window the test's action left open would wait for the test for ever: this fails the
// test and closes the window when it is still shown `timeoutMs` after the action.
inline void FailIfStillShown(QWidget* window, int timeoutMs) {
    // The window's child, so that it goes with the window even when the test ends first.
    auto* poll = new QTimer(window);
    poll->setInterval(5);
    QElapsedTimer waited;
    waited.start();
    QObject::connect(poll, &QTimer::timeout,
                     [poll, shown = QPointer<QWidget>(window), waited, timeoutMs] {
                         if (shown == nullptr || !shown->isVisible()) {
                             poll->stop();
                             poll->deleteLater();
                         } else if (waited.hasExpired(timeoutMs)) {
                             poll->stop();
                             poll->deleteLater();
                             ADD_FAILURE() << shown->metaObject()->className()
                                           << " was still shown after the test acted on it";
                             shown->close();
                         }
                     });
    poll->start();
}

// Runs `act` on the next window of type T that `find` gives once it is visible. A modal dialog
// or a popup menu runs an event loop of its own, so the test arms this before the click that
// opens the window and then acts from inside that loop, as a person would. The test fails when
// no such window shows within `timeoutMs` while events are processed.
template <class T>
void OnShown(std::function<QWidget*()> find, std::function<void(T*)> act, int timeoutMs) {
    auto* poll = new QTimer;
    poll->setInterval(5);
    QElapsedTimer waited;
    waited.start();
    QObject::connect(poll, &QTimer::timeout, [poll, find, act, waited, timeoutMs] {
        auto* window = qobject_cast<T*>(find());
        if (window == nullptr || !window->isVisible()) {
            if (waited.hasExpired(timeoutMs)) {
                poll->stop();
                poll->deleteLater();
                ADD_FAILURE() << "no " << T::staticMetaObject.className() << " showed within "
                              << timeoutMs << " ms";
                // Another window in its place would wait for the test for ever: close it so
                // that the test ends.
                if (QWidget* other = find()) {
                    other->close();
                }
            }
            return;
        }
        poll->stop();
        poll->deleteLater();
        act(window);
        FailIfStillShown(window, timeoutMs);
    });
    poll->start();
}

// The next modal dialog of type T.
template <class T>
void OnModal(std::function<void(T*)> act, int timeoutMs = kShowTimeoutMs) {
    OnShown<T>(&QApplication::activeModalWidget, std::move(act), timeoutMs);
}

// The next popup of type T, such as a menu.
template <class T>
void OnPopup(std::function<void(T*)> act, int timeoutMs = kShowTimeoutMs) {
    OnShown<T>(&QApplication::activePopupWidget, std::move(act), timeoutMs);
}

}  // namespace faultscope::test
