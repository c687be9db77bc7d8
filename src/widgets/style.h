#pragma once

#include <QIcon>
#include <QStyle>

class QLabel;
class QWidget;

// The look shared by the configurator's windows: the cream background, the
// 11 px Verdana font (or the closest the system has) and the header labels.
void Apply_Window_Style(QWidget *window);

// The grey header line that shows the software code (32 px) and the bold
// grey descriptive line under it.
QLabel *Make_Code_Label(QWidget *parent, int x, int y);
QLabel *Make_Desc_Label(QWidget *parent, int x, int y);

// A picture from the desktop's icon theme, or the style's own when the
// theme has none, at least `size` pixels wide.
QIcon Theme_Icon(const QString &name, QStyle::StandardPixmap fallback, int size = 24);

// The program's picture, drawn at `size` pixels.
QPixmap Program_Picture(int size);
