#pragma once

#include <QIcon>
#include <QStyle>

class QWidget;

// The look shared by the configurator's windows: the cream background and the
// 11 px Verdana font (or the closest the system has). The header is in
// dialog_frame.h.
void Apply_Window_Style(QWidget *window);

// A picture from the desktop's icon theme, or the style's own when the
// theme has none, at least `size` pixels wide.
QIcon Theme_Icon(const QString &name, QStyle::StandardPixmap fallback, int size = 24);

// The style sheet of the main window's flat picture buttons: the step
// buttons (`framed`, a caption beside the picture) and the picture buttons
// at the top, which show no frame at rest. Both draw a blue frame while the
// keyboard focus is on them, and a lighter one under the pointer.
QString Flat_Button_Sheet(bool framed);

// The program's picture, drawn at `size` pixels.
QPixmap Program_Picture(int size);
