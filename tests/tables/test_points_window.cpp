// Export… and Import… of the object and rule windows.

#include "core/messages.h"
#include "table_window_fixture.h"
#include "tables/bacnet_access.h"
#include "tables/lora_access.h"
#include "tables/points_csv.h"
#include "tables/points_files.h"
#include "tables/ui/bacnet_eng_unit.h"
#include "tables/ui/bacnet_slave_set_access.h"
#include "tables/ui/lora_set_access.h"
#include "widgets/file_dialog.h"
#include "widgets/message_box.h"
#include "window_requirements.h"
#include "workspace/workspace_messages.h"

#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QUndoStack>

using namespace Qt::StringLiterals;

namespace {

const QByteArray Comment = "<!--SW_VERSION = 1.000-->";

const QByteArray Objects_Doc =
    "<BACnet_to_Modbus><BACnet_in_Read>"
    "<row Data_Type=\"Analog Input\" Eng_Unit=\"62\" Position=\"0\" Bit=\"\" Length=\"4\" Swap=\"N\" "
    "Mnemonic=\"Supply, &quot;main&quot;\"/>"
    "<row Data_Type=\"Binary Input\" Eng_Unit=\"95\" Position=\"10\" Bit=\"3\" Length=\"1\" Swap=\"Y\" "
    "Mnemonic=\"Pompa €\"/>"
    "</BACnet_in_Read><BACnet_in_Write/></BACnet_to_Modbus>" +
    Comment;

const QByteArray Objects_Header = "Table,Data Type,Eng. Unit,Unit Name,Position,Start Bit,Length,Swap,Mnemonic\r\n";

// The rows the document would hold: those before the first empty key
// (Data Type, or a rule's Start Byte).
QStringList Rows_Of(const Text_Table &table, int key = Obj_Data_Type)
{
    QStringList rows;
    for (int r = 0; r < End_Of_Table(table, key); ++r)
        rows.append(test::Row_Text(table, r));
    return rows;
}

} // namespace

class Test_Points_Window : public Table_Window_Fixture
{
    Q_OBJECT

    QString File(const char *name) const { return dir_->filePath(QLatin1StringView(name)); }
    // Import… with the file `name` chosen and the answer to replace or append.
    void Import(Table_Window *window, const QString &name, QMessageBox::StandardButton answer)
    {
        File_Dialog::Set_Next_File_Name(name);
        Message_Box::Queue_Answer(answer);
        QTest::mouseClick(window->Btn_Import, Qt::LeftButton);
    }

private slots:
    void init()
    {
        Set_Up(Object_Window, [this] { test::Write(ws_.File_BACnet_Slave_Access, Objects_Doc); });
    }

    void cleanup()
    {
        Tear_Down();
        File_Dialog::Set_Next_File_Name(QString()); // a name no click took
        (void)File_Dialog::Save(nullptr, QString(), QString());
    }

    void buttons_beside_the_pages()
    {
        Show(objects_);
        // The window keeps its width; the buttons sit in the page control's
        // corner, right of the page tabs.
        QCOMPARE(objects_->width(), required::Object_Window_Width);
        QCOMPARE(objects_->Btn_Export->text(), u"&Export\u2026"_s);
        QCOMPARE(objects_->Btn_Import->text(), u"I&mport\u2026"_s);
        QCOMPARE(objects_->Btn_Import->toolTip(), Messages().Get(Msg_Points_Import_Hint));
        QVERIFY(objects_->Btn_Export->isVisible() && objects_->Btn_Import->isVisible());
        const QRect tabs = objects_->PageControl1->tabBar()->geometry();
        const QRect export_at(objects_->Btn_Export->mapTo(objects_->PageControl1, QPoint(0, 0)),
                              objects_->Btn_Export->size());
        QVERIFY(export_at.left() > tabs.right());
        QVERIFY(objects_->Btn_Import->mapTo(objects_, QPoint(objects_->Btn_Import->width(), 0)).x() <=
                objects_->width());
        QVERIFY(objects_->Btn_Map->isVisible());
        QVERIFY(objects_->Btn_Map->mapTo(objects_, QPoint(objects_->Btn_Map->width(), 0)).x() <= objects_->width());

        QVERIFY(Messages().Read_Language_File(QStringLiteral(SW_DATA_DIR "/LANGUAGE/Italiano.lng")).Ok());
        objects_->Set_Lang();
        QCOMPARE(objects_->Btn_Export->text(), Messages().Get(Msg_Points_Export));
        QVERIFY(objects_->Btn_Export->text() != u"&Export\u2026"_s);
    }

    // Export… writes what the grids hold, unsaved edits included, and asks
    // before it replaces a file.
    void export_writes_the_grids()
    {
        Show(objects_);
        test::Type_Into_Cell(objects_->ACG_BACnet_in_Read, 1, Obj_Mnemonic, u"Pump"_s);
        File_Dialog::Set_Next_File_Name(File("points"));
        QTest::mouseClick(objects_->Btn_Export, Qt::LeftButton);
        QCOMPARE(Message_Box::Take_Shown(), QStringList());
        const QByteArray written = test::Read(File("points.csv"));
        QCOMPARE(written, Export_Points(Points_Of(objects_->Access)));
        QVERIFY(written.contains("\r\nRead,Binary Input,95,no-units,10,3,1,Y,Pump\r\n"));

        // The same name again: No keeps the file, Yes replaces it.
        test::Type_Into_Cell(objects_->ACG_BACnet_in_Read, 1, Obj_Mnemonic, u"Fan"_s);
        File_Dialog::Set_Next_File_Name(File("points.csv"));
        Message_Box::Queue_Answer(QMessageBox::No);
        QTest::mouseClick(objects_->Btn_Export, Qt::LeftButton);
        QCOMPARE(Message_Box::Take_Shown(), QStringList{Messages().Get(1103)});
        QCOMPARE(test::Read(File("points.csv")), written);
        File_Dialog::Set_Next_File_Name(File("points.csv"));
        Message_Box::Queue_Answer(QMessageBox::Yes);
        QTest::mouseClick(objects_->Btn_Export, Qt::LeftButton);
        QVERIFY(test::Read(File("points.csv")).contains(",Fan\r\n"));
        QCOMPARE(Message_Box::Take_Shown(), QStringList{Messages().Get(1103)});

        // Cancelled in the dialog: nothing asked, nothing written.
        File_Dialog::Set_Next_File_Name(QString());
        QTest::mouseClick(objects_->Btn_Export, Qt::LeftButton);
        QCOMPARE(Message_Box::Take_Shown(), QStringList());
    }

    // Import… replacing both tables is one step: undone, the grids show the
    // document again; redone, the file's rows. Export, then import and OK
    // write the same document.
    void import_replace_and_undo()
    {
        Show(objects_);
        File_Dialog::Set_Next_File_Name(File("all.csv"));
        QTest::mouseClick(objects_->Btn_Export, Qt::LeftButton);
        const QStringList loaded = Rows_Of(objects_->Access.Read);

        test::Write(File("new.csv"), Objects_Header + "Write,Analog Out,98,percent,4,,4,,Valve\r\n"
                                                      "Read,Accumulator,19,,12,,4,,Energy\r\n");
        Import(objects_, File("new.csv"), QMessageBox::Yes);
        QCOMPARE(Message_Box::Take_Shown(),
                 QStringList{Messages().Get(Msg_Points_Replace_Or_Append).arg(File("new.csv"))});
        QCOMPARE(Rows_Of(objects_->Access.Read), QStringList{u"Accumulator|19|12||4||Energy"_s});
        QCOMPARE(Rows_Of(objects_->Access.Write), QStringList{u"Analog Out|98|4||4||Valve"_s});
        QCOMPARE(objects_->History()->count(), 1);
        QVERIFY(objects_->Changed());
        // The Read page, its new row selected.
        QCOMPARE(objects_->Current_Page(), 0);
        QCOMPARE(objects_->ACG_BACnet_in_Read->Selected_Block().rows, QList<int>{0});

        test::Ctrl_Key(objects_->ACG_BACnet_in_Read, Qt::Key_Z);
        QCOMPARE(Rows_Of(objects_->Access.Read), loaded);
        QCOMPARE(Rows_Of(objects_->Access.Write), QStringList());
        QVERIFY(!objects_->Changed());
        objects_->Redo();
        QCOMPARE(Rows_Of(objects_->Access.Write), QStringList{u"Analog Out|98|4||4||Valve"_s});

        // Back to the document through its own export.
        Import(objects_, File("all.csv"), QMessageBox::Yes);
        QTest::mouseClick(objects_->Btn_OK, Qt::LeftButton);
        QCOMPARE(Message_Box::Take_Shown().size(), 1); // the question alone
        QCOMPARE(objects_->result(), int(QDialog::Accepted));
        QCOMPARE(test::Read(ws_.File_BACnet_Slave_Access), Objects_Doc);
    }

    // Rows appended to the document while the window is open (as
    // `import-objects --append` appends them, through the same logic): OK
    // asks before it replaces them, and each answer does what it says.
    void ok_after_an_append_elsewhere_data()
    {
        QTest::addColumn<QMessageBox::StandardButton>("answer");
        QTest::addColumn<bool>("closed");
        QTest::addColumn<bool>("file_keeps_append");
        QTest::addColumn<bool>("window_shows_append");
        QTest::newRow("overwrite") << QMessageBox::Yes << true << false << false;
        QTest::newRow("reload") << QMessageBox::No << false << true << true;
        QTest::newRow("cancel") << QMessageBox::Cancel << false << true << false;
    }

    void ok_after_an_append_elsewhere()
    {
        QFETCH(QMessageBox::StandardButton, answer);
        QFETCH(bool, closed);
        QFETCH(bool, file_keeps_append);
        QFETCH(bool, window_shows_append);
        Show(objects_);
        test::Write(File("more.csv"), Objects_Header + "Write,Binary Out,,no-units,7,1,1,,Fan\r\n");
        QVERIFY(Import_Points_File(ws_, Points_Document::Objects, File("more.csv"), Import_Mode::Append).Ok());
        const QByteArray appended = test::Read(ws_.File_BACnet_Slave_Access);
        QVERIFY(appended.contains("Mnemonic=\"Fan\""));

        Message_Box::Queue_Answer(answer);
        QTest::mouseClick(objects_->Btn_OK, Qt::LeftButton);
        QCOMPARE(Message_Box::Take_Shown(),
                 QStringList{Messages()
                                 .Get(Msg_Document_Changed_Elsewhere)
                                 .arg(QDir::toNativeSeparators(ws_.File_BACnet_Slave_Access))});
        QCOMPARE(objects_->isVisible(), !closed);
        QCOMPARE(test::Read(ws_.File_BACnet_Slave_Access) == appended, file_keeps_append);
        if (!file_keeps_append)
            QCOMPARE(test::Read(ws_.File_BACnet_Slave_Access), Objects_Doc);
        QCOMPARE(Rows_Of(objects_->Access.Write).contains(u"Binary Out|95|7|1|1||Fan"_s), window_shows_append);
        if (closed)
            return;
        // Reloaded, the next OK saves at once, the appended row with it;
        // cancelled, it asks again.
        if (!window_shows_append)
            Message_Box::Queue_Answer(QMessageBox::Cancel);
        QTest::mouseClick(objects_->Btn_OK, Qt::LeftButton);
        QCOMPARE(Message_Box::Take_Shown().size(), window_shows_append ? 0 : 1);
        QCOMPARE(objects_->isVisible(), !window_shows_append);
        QCOMPARE(test::Read(ws_.File_BACnet_Slave_Access), appended);
    }

    // A file with a bad line changes nothing and lists its bad lines (at
    // most 15); Cancel in the question reads nothing.
    void import_refused()
    {
        Show(objects_);
        const QStringList loaded = Rows_Of(objects_->Access.Read);
        QByteArray bad = Objects_Header;
        for (int i = 0; i < 20; ++i)
            bad += "Read,Analog Input,62,,1500,,4,,x\r\n";
        test::Write(File("bad.csv"), bad);
        Import(objects_, File("bad.csv"), QMessageBox::Yes);
        const QStringList shown = Message_Box::Take_Shown();
        QCOMPARE(shown.size(), 2);
        const QStringList lines = shown[1].split(u'\n');
        QCOMPARE(lines.size(), 1 + Table_Window::Bad_Lines_Shown + 1);
        QCOMPARE(lines.first(), Messages().Get(Msg_Points_Not_Imported).arg(File("bad.csv")));
        QVERIFY(lines[1].startsWith(u"Line 2, column \"Position\": \"1500\": "_s));
        QCOMPARE(lines.last(), Messages().Get(Msg_Object_Names_More).arg(5));
        QCOMPARE(Rows_Of(objects_->Access.Read), loaded);
        QCOMPARE(objects_->History()->count(), 0);

        test::Write(File("good.csv"), Objects_Header + "Read,Accumulator,19,,12,,4,,Energy\r\n");
        Import(objects_, File("good.csv"), QMessageBox::Cancel);
        QCOMPARE(Message_Box::Take_Shown().size(), 1);
        QCOMPARE(Rows_Of(objects_->Access.Read), loaded);

        Import(objects_, File("missing.csv"), QMessageBox::Yes);
        QCOMPARE(Message_Box::Take_Shown().value(1),
                 Messages().Get(Msg_File_Not_Read).arg(File("missing.csv"), u"No such file or directory"_s));
    }

    // In the rule window, appending puts the rows after each table's last
    // rule, as one step.
    void rule_window_appends()
    {
        test::Write(ws_.File_ParGen, test::ParGen_With("LoRa_Payload_Size", "51"));
        test::Write(ws_.File_LoRaWAN_Access,
                    "<LoRaWAN_Set_Access><LoRaWAN_Uplink><row Enable=\"Y\" StartByte=\"0\" NumByte=\"4\" "
                    "OnChange=\"N\" OnCMD=\"N\" OnTimer=\"N\" Time=\"\" Mnemonic=\"a\"/></LoRaWAN_Uplink>"
                    "<LoRaWAN_Downlink/></LoRaWAN_Set_Access>" +
                        Comment);
        TFLoRa_Set_Access rules(ws_);
        Show(&rules);
        QCOMPARE(rules.width(), required::Rule_Window_Width);
        test::Write(File("rules.csv"), "Table;Start Byte;Num. Byte;On Timer;Time (s)\r\n"
                                       "Downlink;8;2;;\r\nUplink;4;4;Y;600\r\n");
        Import(&rules, File("rules.csv"), QMessageBox::No);
        QCOMPARE(Rows_Of(rules.Access.Uplink, Up_StartByte), (QStringList{u"Y|0|4|N|N|N||a"_s, u"Y|4|4|||Y|600|"_s}));
        QCOMPARE(Rows_Of(rules.Access.Downlink, Down_StartByte), QStringList{u"Y|8|2|"_s});
        QCOMPARE(rules.History()->count(), 1);
        QCOMPARE(rules.ACG_LoRa_Uplink->Selected_Block().rows, QList<int>{1});
        rules.Undo();
        QCOMPARE(Rows_Of(rules.Access.Uplink, Up_StartByte), QStringList{u"Y|0|4|N|N|N||a"_s});
        QCOMPARE(Rows_Of(rules.Access.Downlink, Down_StartByte), QStringList());
        rules.hide();
    }
};

QTEST_MAIN(Test_Points_Window)
#include "test_points_window.moc"
