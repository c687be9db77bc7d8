#pragma once

#include <QMessageBox>
#include <QString>

class QWidget;

// Every message box of the program goes through here, so that a test can
// give the next answers and read what was shown instead of a person.
namespace Message_Box {

void Error(QWidget *parent, const QString &text);
void Warning(QWidget *parent, const QString &text);
void Information(QWidget *parent, const QString &text);
// Information whose `lines` follow `text` in a scrolling read-only area
// shown open, however many there are. A test reads text and lines as one
// text, one a line.
void Information_List(QWidget *parent, const QString &text, const QStringList &lines);
// A confirmation with Yes and No; true for Yes.
bool Confirm(QWidget *parent, const QString &text);
// A confirmation whose Yes throws the user's work away: No is the default,
// so that Return (and Escape) keep the work. True for Yes.
bool Confirm_Discard(QWidget *parent, const QString &text);
// A confirmation with Yes, No and Cancel.
QMessageBox::StandardButton Ask(QWidget *parent, const QString &text);
// A question with two answers named `yes` and `no` (their buttons stand
// for Yes and No), and Cancel.
QMessageBox::StandardButton Choose(QWidget *parent, const QString &text, const QString &yes, const QString &no);

// Test hooks: while answers are queued, no box is shown; each box takes the
// next answer (Ok for the one-button boxes) and its text is recorded. The
// answer NoButton stands for Return: the box's default button.
void Queue_Answer(QMessageBox::StandardButton answer);
QStringList Take_Shown();
void Set_Test_Mode(bool on);

} // namespace Message_Box
