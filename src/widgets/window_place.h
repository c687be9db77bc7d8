#pragma once

class QWidget;
class Window_Places;

// Keeps `window`'s place in `places` under the window's object name. Its
// first showing puts it where it last closed, when a screen still shows
// enough of that place, and otherwise centres it on the screen of its parent
// (the primary screen for a window without one); a window of fixed size
// keeps its size. Each hiding records where it is and writes the file.
// `places` must outlive the window.
void Keep_Window_Place(QWidget *window, Window_Places &places);
