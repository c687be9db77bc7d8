#include "widgets/message_box.h"

#include "core/version.h"

#include <QList>
#include <QPushButton>
#include <QTextEdit>

namespace {

bool test_mode = false;
QList<QMessageBox::StandardButton> answers;
QStringList shown;

// A box with `buttons`; Return presses `default_button` (none: the box's
// own choice, its first accepting button).
QMessageBox::StandardButton Show(QWidget *parent, QMessageBox::Icon icon, const QString &text,
                                 QMessageBox::StandardButtons buttons, const QString &yes = QString(),
                                 const QString &no = QString(), const QStringList &details = QStringList(),
                                 QMessageBox::StandardButton default_button = QMessageBox::NoButton)
{
    if (test_mode) {
        shown << (QStringList{text} + details).join(u'\n');
        if (answers.isEmpty())
            return (buttons & QMessageBox::Ok) ? QMessageBox::Ok : QMessageBox::No;
        const QMessageBox::StandardButton answer = answers.takeFirst();
        if (answer != QMessageBox::NoButton)
            return answer;
        // Return: what the real box below makes its default.
        if (default_button != QMessageBox::NoButton)
            return default_button;
        for (QMessageBox::StandardButton first : {QMessageBox::Ok, QMessageBox::Yes})
            if (buttons & first)
                return first;
        return QMessageBox::NoButton;
    }
    QMessageBox box(icon, QLatin1StringView(Software_Code), text, buttons, parent);
    if (default_button != QMessageBox::NoButton) {
        box.setDefaultButton(default_button);
        box.setEscapeButton(default_button);
    }
    if (!yes.isEmpty())
        box.button(QMessageBox::Yes)->setText(yes);
    if (!no.isEmpty())
        box.button(QMessageBox::No)->setText(no);
    if (!details.isEmpty()) {
        box.setDetailedText(details.join(u'\n'));
        // Room for a line of the list, which is longer than a message's.
        if (auto *list = box.findChild<QTextEdit *>())
            list->setMinimumWidth(list->fontMetrics().averageCharWidth() * 100);
        // Open from the start: the list is what the box is for.
        for (QAbstractButton *button : box.buttons())
            if (box.buttonRole(button) == QMessageBox::ActionRole)
                button->click();
    }
    return QMessageBox::StandardButton(box.exec());
}

} // namespace

namespace Message_Box {

void Error(QWidget *parent, const QString &text)
{
    Show(parent, QMessageBox::Critical, text, QMessageBox::Ok);
}

void Warning(QWidget *parent, const QString &text)
{
    Show(parent, QMessageBox::Warning, text, QMessageBox::Ok);
}

void Information(QWidget *parent, const QString &text)
{
    Show(parent, QMessageBox::Information, text, QMessageBox::Ok);
}

void Information_List(QWidget *parent, const QString &text, const QStringList &lines)
{
    Show(parent, QMessageBox::Information, text, QMessageBox::Ok, QString(), QString(), lines);
}

bool Confirm(QWidget *parent, const QString &text)
{
    return Show(parent, QMessageBox::Question, text, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

bool Confirm_Discard(QWidget *parent, const QString &text)
{
    return Show(parent, QMessageBox::Question, text, QMessageBox::Yes | QMessageBox::No, QString(), QString(), {},
                QMessageBox::No) == QMessageBox::Yes;
}

QMessageBox::StandardButton Ask(QWidget *parent, const QString &text)
{
    return Show(parent, QMessageBox::Question, text, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
}

QMessageBox::StandardButton Choose(QWidget *parent, const QString &text, const QString &yes, const QString &no)
{
    return Show(parent, QMessageBox::Question, text, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, yes, no);
}

void Queue_Answer(QMessageBox::StandardButton answer)
{
    answers << answer;
}

QStringList Take_Shown()
{
    return std::exchange(shown, {});
}

void Set_Test_Mode(bool on)
{
    test_mode = on;
    answers.clear();
    shown.clear();
}

} // namespace Message_Box
