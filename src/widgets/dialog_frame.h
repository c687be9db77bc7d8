#pragma once

#include <QList>
#include <QString>
#include <Qt>

class QLabel;
class QPushButton;
class QWidget;

// The frame that the configurator's windows share: the title bar, the
// header with the software code and the line that says what the window is
// for, and the row of buttons at the foot. The windows place everything
// else themselves.

// A title bar with a system menu and a close button only.
inline constexpr Qt::WindowFlags Dialog_Flags =
    Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
// The same for a dialog whose size the user cannot change.
inline constexpr Qt::WindowFlags Fixed_Dialog_Flags = Dialog_Flags | Qt::MSWindowsFixedSizeDialogHint;

// The header: `code` in large grey letters at (16, 8) and, at (16, desc_top),
// the bold grey line that the window's Set_Lang fills. A window that reads the
// code only when it is shown passes an empty `code`.
struct Header_Labels
{
    QLabel *code;
    QLabel *desc;
};
Header_Labels Make_Header(QWidget *parent, const QString &code, int desc_top = 42);

// The header on a panel of its own, 69 px high, named "P_Title", for a window
// laid out by layouts; and the 40 px panel "P_Button" for its buttons.
struct Title_Panel
{
    QWidget *panel;
    Header_Labels labels;
};
Title_Panel Make_Title_Panel(QWidget *parent, const QString &code);
QWidget *Make_Button_Panel(QWidget *parent);

// A row of buttons 28 px high and 8 px apart at `top`, the last one ending at
// `right`: OK and Cancel, 110 px wide unless a button says otherwise.
struct Row_Button
{
    QPushButton *button;
    int width = 110;
};
void Place_Button_Row(const QList<Row_Button> &buttons, int right, int top);
