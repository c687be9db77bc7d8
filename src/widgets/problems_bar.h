#pragma once

#include <QWidget>

class QAction;
class QLabel;
class QPushButton;

// The line that says how many problems a window's values have while the
// user edits them, and the way to the next one: a small button and F8 (a
// shortcut of the whole window). The window finds the problems and moves
// the focus; the bar only shows the count and asks.
//
// Beside the button, the note: one line of text that a window puts where
// the user looks while typing (the text of the problem F8 went to, why a
// typed text was refused); longer than the line, it is cut and whole in
// its tip.
class Problems_Bar : public QWidget
{
    Q_OBJECT

public:
    explicit Problems_Bar(QWidget *parent);

    // The caption and hint of the button, and the count again.
    void Set_Lang();
    // "Errors: 2    Warnings: 1" or that there is none of either; "Errors: 2"
    // for a window without warnings (`warnings` < 0).
    void Show_Counts(int errors, int warnings);
    // The note; an empty text clears it.
    void Show_Note(const QString &text);

    QLabel *L_Problems;
    QLabel *L_Note;
    QPushButton *Btn_Next_Problem;
    QAction *Act_Next_Problem;

signals:
    // The button or F8: the window shows the next problem.
    void Next();

private:
    int errors_ = 0;
    int warnings_ = 0;
};
