#pragma once

// What the window suites share to drive modal dialogs.

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <functional>

namespace test {

// Runs `act` once `dialog` is the active modal window (inside its exec()),
// then closes it if `act` did not, so that a failed check never leaves a
// modal window waiting. The window system activates a window a little after
// it shows; `act` waits for that, since keys and focus go to the active
// window only.
inline void When_Shown(QDialog *dialog, std::function<void()> act)
{
    auto *timer = new QTimer(dialog);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, dialog, [=] {
        if (QApplication::activeModalWidget() != dialog || QApplication::activeWindow() != dialog)
            return;
        timer->stop();
        timer->deleteLater();
        act();
        if (dialog->isVisible())
            dialog->reject();
    });
    timer->start();
}

} // namespace test
