// The table windows as the main window's steps open them: created once at
// start-up in their place, re-captioned by a language change, and the object
// window using the one picker of the program.

#include "app/app.h"
#include "app/main_window.h"
#include "configuration_fixture.h"
#include "core/messages.h"
#include "tables/bacnet_access.h"
#include "tables/lora_access.h"
#include "tables/ui/bacnet_eng_unit.h"
#include "tables/ui/bacnet_slave_set_access.h"
#include "tables/ui/lora_set_access.h"
#include "widgets/message_box.h"
#include "window_fixture.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>

class Test_Table_Steps : public Configuration_Fixture
{
    Q_OBJECT

    Windows *w_ = nullptr;

private slots:
    void init()
    {
        New_Workspace();
        if (QTest::currentTestFailed())
            return;
        w_ = &Create_Windows(ws_);
        w_->FQuarneleFirmWare->show();
        Message_Box::Set_Test_Mode(true);
    }

    void cleanup()
    {
        delete w_->FQuarneleFirmWare;
        Message_Box::Set_Test_Mode(false);
        Messages().Build_Default_Messages();
    }

    void rule_step_writes_the_document()
    {
        test::Write(ws_.File_ParGen, test::ParGen_With("LoRa_Payload_Size", "51"));
        auto *rules = dynamic_cast<TFLoRa_Set_Access *>(w_->FLoRa_Set_Access);
        QVERIFY(rules);
        QFile::remove(ws_.File_LoRaWAN_Access);
        test::When_Shown(rules, [&] {
            rules->Access.Uplink.Set_Cell(0, Up_StartByte, QStringLiteral("0"));
            rules->Access.Uplink.Set_Cell(0, Up_NumByte, QStringLiteral("49"));
            QTest::mouseClick(rules->Btn_OK, Qt::LeftButton);
        });
        QTest::mouseClick(w_->FQuarneleFirmWare->Btn_LoRaWAN_Access, Qt::LeftButton);
        QVERIFY(Message_Box::Take_Shown().isEmpty());
        QVERIFY(test::Read(ws_.File_LoRaWAN_Access).contains("StartByte=\"0\" NumByte=\"49\""));
    }

    void object_step_uses_the_program_picker()
    {
        auto *objects = dynamic_cast<TFBACnetSlaveSetAccess *>(w_->FBACnetSlaveSetAccess);
        auto *picker = dynamic_cast<TFBACnet_Eng_Unit *>(w_->FBACnet_Eng_Unit);
        QVERIFY(objects && picker);
        bool picked = false;
        test::When_Shown(objects, [&] {
            test::When_Shown(picker, [&] {
                picked = true;
                picker->E_Selected_EU->setText(QStringLiteral("95"));
                QTest::mouseClick(picker->Btn_OK, Qt::LeftButton);
            });
            test::Double_Click_Cell(objects->ACG_BACnet_in_Read, 0, Obj_Eng_Unit);
            QCOMPARE(objects->Access.Read.Cell(0, Obj_Eng_Unit), QStringLiteral("95"));
            // The picked unit is a change: Cancel asks before it is lost.
            Message_Box::Queue_Answer(QMessageBox::Yes);
            QTest::mouseClick(objects->Btn_Cancel, Qt::LeftButton);
        });
        QTest::mouseClick(w_->FQuarneleFirmWare->Btn_BACnet_SetAccess, Qt::LeftButton);
        QVERIFY(picked);
        QCOMPARE(Message_Box::Take_Shown(), QStringList{Messages().Get(Msg_Discard_Changes)});
        QVERIFY(!QFile::exists(ws_.File_BACnet_Slave_Access)); // Cancel wrote nothing
    }

    void language_change_reaches_the_table_windows()
    {
        Messages().Set(1202, QStringLiteral("Conferma"));
        Messages().Set(1509, QStringLiteral("Scrittura"));
        Messages().Set(1606, QStringLiteral("Tipo"));
        w_->FQuarneleFirmWare->Change_Language();
        QCOMPARE(dynamic_cast<TFLoRa_Set_Access *>(w_->FLoRa_Set_Access)->Btn_OK->text(), QStringLiteral("Conferma"));
        QCOMPARE(dynamic_cast<TFBACnetSlaveSetAccess *>(w_->FBACnetSlaveSetAccess)->PageControl1->tabText(1),
                 QStringLiteral("Scrittura"));
        QCOMPARE(dynamic_cast<TFBACnet_Eng_Unit *>(w_->FBACnet_Eng_Unit)->Label3->text(), QStringLiteral("Tipo"));
    }
};

QTEST_MAIN(Test_Table_Steps)
#include "test_table_steps.moc"
