#pragma once

// What the table window suites share: a configuration in a folder of its own
// for each test, and the rule window, the object window (with its unit
// picker) or both created over it.

#include "configuration_fixture.h"
#include "core/messages.h"
#include "tables/ui/bacnet_eng_unit.h"
#include "tables/ui/bacnet_slave_set_access.h"
#include "tables/ui/lora_set_access.h"
#include "widgets/message_box.h"
#include "window_fixture.h"

#include <QTest>
#include <functional>

class Table_Window_Fixture : public Configuration_Fixture
{
protected:
    enum Open_Window { Rule_Window = 1, Object_Window = 2 };

    TFBACnet_Eng_Unit *picker_ = nullptr;
    TFBACnetSlaveSetAccess *objects_ = nullptr;
    TFLoRa_Set_Access *rules_ = nullptr;

    // `windows`: the Open_Window values to create, or'ed together;
    // `before_windows` writes the documents they read as they are created.
    void Set_Up(int windows, const std::function<void()> &before_windows = {})
    {
        New_Configuration();
        if (QTest::currentTestFailed())
            return;
        if (before_windows)
            before_windows();
        Message_Box::Set_Test_Mode(true);
        if (windows & Object_Window) {
            picker_ = new TFBACnet_Eng_Unit(ws_);
            objects_ = new TFBACnetSlaveSetAccess(ws_, picker_);
        }
        if (windows & Rule_Window)
            rules_ = new TFLoRa_Set_Access(ws_);
    }

    void Tear_Down()
    {
        delete rules_;
        delete objects_;
        delete picker_;
        rules_ = nullptr;
        objects_ = nullptr;
        picker_ = nullptr;
        Message_Box::Set_Test_Mode(false);
        Messages().Build_Default_Messages();
    }

    // Shows a window as its step does, without its modal loop.
    void Show(QWidget *window)
    {
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window));
    }
};
