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

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QKeySequence>
#include <QMap>
#include <QTabBar>

namespace test {

// The keys that press the buttons of `window` (its own, not those of the
// windows it owns): a caption's "&" letter, or, for a picture button without
// a caption, its shortcut. One line for each button without a key and for
// each key that two buttons share. The buttons that Qt puts inside its own
// widgets (the scroll arrows of a tab bar, a grid's corner) are not the
// window's.
inline QStringList Mnemonic_Faults(QWidget *window)
{
    QStringList faults;
    QMap<QString, QString> owner; // key -> the caption that has it
    for (QAbstractButton *button : window->findChildren<QAbstractButton *>()) {
        QWidget *parent = button->parentWidget();
        if (button->window() != window || qobject_cast<QTabBar *>(parent) || qobject_cast<QAbstractItemView *>(parent))
            continue;
        const QString name =
            button->text().isEmpty() ? button->objectName() + u' ' + button->toolTip() : button->text();
        const QKeySequence key = button->text().isEmpty() ? button->shortcut() : QKeySequence::mnemonic(button->text());
        if (key.isEmpty()) {
            faults << QStringLiteral("%1: \"%2\" has no key").arg(window->objectName(), name);
            continue;
        }
        const QString text = key.toString();
        if (owner.contains(text))
            faults
                << QStringLiteral("%1: \"%2\" and \"%3\" share %4").arg(window->objectName(), owner[text], name, text);
        owner.insert(text, name);
    }
    return faults;
}

} // namespace test
