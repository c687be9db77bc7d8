#pragma once

// What the main-window suites share: a workspace in a temporary folder,
// started as the program starts it, and every window created over it with
// the main window showing.

#include "app/app.h"
#include "app/main_window.h"
#include "core/messages.h"
#include "widgets/message_box.h"
#include "window_support.h"
#include "workspace/start_workspace.h"
#include "workspace/workspace.h"

#include <QTemporaryDir>
#include <QTest>
#include <functional>

class Main_Window_Fixture : public QObject
{
protected:
    QTemporaryDir dir_; // one workspace for the whole suite: its settings carry over
    Workspace ws_;
    Windows *w_ = nullptr;

    // `before_windows` prepares the workspace before the windows read it.
    void Set_Up(const std::function<void()> &before_windows = {})
    {
        QVERIFY(dir_.isValid());
        Message_Box::Set_Test_Mode(true);
        ws_ = Workspace{};
        Start_Workspace(ws_, dir_.path());
        if (before_windows)
            before_windows();
        w_ = &Create_Windows(ws_);
        w_->FQuarneleFirmWare->show();
    }

    void Tear_Down()
    {
        delete w_->FQuarneleFirmWare;
        Message_Box::Set_Test_Mode(false);
        Messages().Build_Default_Messages();
    }
};
