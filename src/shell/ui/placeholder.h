#pragma once

#include "shell/ui/windows.h"

#include <QDialog>

// Stands for a step window that is not built yet: its title and a Close
// button, so the step can be walked through.
class Placeholder_Window : public QDialog, public Lang_Window
{
    Q_OBJECT

public:
    Placeholder_Window(const QString &object_name, int title_message, QWidget *parent = nullptr);
    void Set_Lang() override;

private:
    int title_message_;
};
