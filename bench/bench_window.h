#pragma once

// What the window benches share: an application, offscreen unless a platform
// was chosen, and a workspace of their own in a temporary folder.

#include "workspace/workspace.h"

#include <QApplication>
#include <QTemporaryDir>

// Chooses the offscreen platform before the application exists; gives
// `argc` back for the application's constructor.
inline int &Offscreen_Unless_Chosen(int &argc)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return argc;
}

struct Bench_Window_Setup
{
    Bench_Window_Setup(int &argc, char **argv)
        : app(Offscreen_Unless_Chosen(argc), argv)
    {
        ws.Path_Project = dir.path();
        ws.Set_Files();
    }
    QApplication app;
    QTemporaryDir dir;
    Workspace ws;
};
