#include "core/messages.h"
#include "table_window_fixture.h"
#include "tables/bacnet_access.h"
#include "tables/eng_units.h"
#include "tables/object_names.h"
#include "tables/ui/bacnet_eng_unit.h"
#include "tables/ui/bacnet_slave_set_access.h"
#include "tables/ui/cell_delegate.h"
#include "widgets/message_box.h"
#include "window_requirements.h"

#include <QClipboard>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QUndoStack>

namespace {

const QByteArray Comment = "<!--SW_VERSION = 1.000-->";

QByteArray Objects(const QByteArray &read, const QByteArray &write)
{
    return "<BACnet_to_Modbus><BACnet_in_Read>" + read + "</BACnet_in_Read><BACnet_in_Write>" + write +
           "</BACnet_in_Write></BACnet_to_Modbus>" + Comment;
}

// An object row: "type|unit|position|bit|length|swap|mnemonic".
QByteArray Object(const QString &cells)
{
    const QStringList c = cells.split(u'|');
    return QStringLiteral("<row Data_Type=\"%1\" Eng_Unit=\"%2\" Position=\"%3\" Bit=\"%4\" Length=\"%5\" Swap=\"%6\" "
                          "Mnemonic=\"%7\"/>")
        .arg(c[0], c[1], c[2], c[3], c[4], c[5], c[6])
        .toUtf8();
}

QByteArray Numbered_Objects(int n, const char *prefix)
{
    QByteArray rows;
    for (int i = 1; i <= n; ++i)
        rows +=
            Object(QStringLiteral("Analog Value|95|%1||4|N|%2%1").arg(QString::number(i), QLatin1StringView(prefix)));
    return rows;
}

} // namespace

class Test_BACnet_Window : public Table_Window_Fixture
{
    Q_OBJECT

    Text_Table &Read() { return objects_->Access.Read; }
    Text_Table &Write() { return objects_->Access.Write; }
    Table_Grid *Read_Grid() { return objects_->ACG_BACnet_in_Read; }
    Table_Grid *Write_Grid() { return objects_->ACG_BACnet_in_Write; }

private slots:
    void init() { Set_Up(Object_Window); }
    void cleanup() { Tear_Down(); }

    void texts_and_layout()
    {
        Show(objects_);
        QCOMPARE(objects_->width(), required::Object_Window_Width);
        QCOMPARE(Read_Grid()->viewport()->height() / Read_Grid()->rowHeight(0), required::Table_Rows_Shown);
        QCOMPARE(objects_->windowTitle(), Messages().Get(1500));
        QCOMPARE(objects_->PageControl1->tabText(0), QStringLiteral("BACnet in Read"));
        // Only Copy Row and Paste Row show their hints.
        QVERIFY(objects_->Btn_OK->toolTip().isEmpty());
        QVERIFY(objects_->Btn_DelRow->toolTip().isEmpty());
        QCOMPARE(objects_->Btn_CopyRow->toolTip(), Messages().Get(1514));
        QCOMPARE(objects_->Btn_PasteRow->toolTip(), Messages().Get(1515));
        for (Table_Grid *grid : {Read_Grid(), Write_Grid()}) {
            // Without "ParGen.xml": 16-character descriptions, 2000 rows.
            QCOMPARE(grid->model()->rowCount(), required::Objects_Short_Desc);
            QCOMPARE(grid->model()->headerData(0, Qt::Vertical).toInt(), 1);
            QCOMPARE(grid->model()->columnCount(), required::Object_Data_Columns);
            QVERIFY(grid->isColumnHidden(Obj_Swap));
            // The last column, Mnemonic, takes what the window has to spare.
            for (int c = 0; c < required::Object_Data_Columns; ++c)
                if (c != Obj_Swap && c != Obj_Mnemonic)
                    QCOMPARE(grid->columnWidth(c), required::Object_Widths[c]);
            QCOMPARE_GE(grid->columnWidth(Obj_Mnemonic), required::Object_Widths[Obj_Mnemonic]);
            QCOMPARE(grid->verticalHeader()->width(), required::Object_Number_Width);
            // The object grids show no cell tips.
            QVERIFY(!grid->model()->index(0, Obj_Mnemonic).data(Qt::ToolTipRole).isValid());
        }
        QCOMPARE(Write_Grid()->model()->headerData(Obj_Eng_Unit, Qt::Horizontal).toString(), Messages().Get(1526));

        // 32-character descriptions halve the tables at the next showing.
        test::Write(ws_.File_ParGen, test::ParGen_With("BACnet_Desc_Chars_Limit", "1"));
        objects_->reject();
        Show(objects_);
        QCOMPARE(Read_Grid()->model()->rowCount(), required::Objects_Long_Desc);
        QCOMPARE(Write_Grid()->model()->rowCount(), required::Objects_Long_Desc);
    }

    // Tab order: the page control, then the buttons in their order, Export…,
    // Import… and Data Map last. Tab moves inside the grid: Ctrl+Tab leaves it.
    void tab_order()
    {
        Show(objects_);
        Read_Grid()->setFocus();
        QList<QWidget *> seen;
        for (int i = 0; i < 11; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, i == 0 ? Qt::ControlModifier : Qt::NoModifier);
            seen << QApplication::focusWidget();
        }
        QCOMPARE(seen, (QList<QWidget *>{objects_->Btn_OK, objects_->Btn_Cancel, objects_->Btn_DelRow,
                                         objects_->Btn_InsRow, objects_->Btn_CopyRow, objects_->Btn_PasteRow,
                                         objects_->Btn_Export, objects_->Btn_Import, objects_->Btn_Map,
                                         objects_->PageControl1->tabBar(), Read_Grid()}));
    }

    void load_edit_and_save()
    {
        // The second Read row lacks Swap: it reads "N" and is written back so.
        test::Write(ws_.File_BACnet_Slave_Access,
                    Objects(Object(QStringLiteral("Analog Input|62|0||4|Y|Temperature")) +
                                "<row Data_Type=\"Binary Input\" Eng_Unit=\"95\" Position=\"4\" Bit=\"2\" Length=\"1\" "
                                "Mnemonic=\"Alarm\"/>",
                            Object(QStringLiteral("Analog Out|98|0||4||Valve"))));
        test::When_Shown(objects_, [&] {
            QVERIFY(Message_Box::Take_Shown().isEmpty());
            QCOMPARE(objects_->PageControl1->currentIndex(), int(Page_Read));
            QCOMPARE(test::Row_Text(Read(), 1), QStringLiteral("Binary Input|95|4|2|1|N|Alarm"));
            test::Type_Into_Cell(Read_Grid(), 0, Obj_Mnemonic, QStringLiteral("Supply temperature"));
            objects_->PageControl1->setCurrentIndex(Page_Write);
            test::Type_Into_Cell(Write_Grid(), 0, Obj_Length, QStringLiteral("2"));
            QTest::mouseClick(objects_->Btn_OK, Qt::LeftButton);
        });
        QCOMPARE(objects_->exec(), int(QDialog::Accepted));
        QVERIFY(Message_Box::Take_Shown().isEmpty());
        QCOMPARE(test::Read(ws_.File_BACnet_Slave_Access),
                 Objects(Object(QStringLiteral("Analog Input|62|0||4|Y|Supply temperature")) +
                             Object(QStringLiteral("Binary Input|95|4|2|1|N|Alarm")),
                         Object(QStringLiteral("Analog Out|98|0||2||Valve"))));
    }

    void failed_checks_data()
    {
        QTest::addColumn<QByteArray>("document");
        QTest::addColumn<QString>("error");
        QTest::addColumn<int>("page"); // -1: no cell to show
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");

        QTest::newRow("write length")
            << Objects(Numbered_Objects(2, "r"),
                       Numbered_Objects(3, "w") + Object(QStringLiteral("Integer Value|95|0||100|N|x")))
            << QStringLiteral(
                   "Error row 4!! [BACnet in Write] Length with variable \"Integer Value\" must be between 1 "
                   "and 4")
            << int(Page_Write) << 3 << int(Obj_Length);
        QTest::newRow("read position")
            << Objects(Numbered_Objects(1, "r") + Object(QStringLiteral("Analog Input|62|1500||4|N|x")), QByteArray())
            << QStringLiteral("Error row 2!! [BACnet in Read] Position must be between 0 and 1499") << int(Page_Read)
            << 1 << int(Obj_Position);
        // One object more than both tables may hold together.
        const int half = required::Objects_Short_Desc / 2;
        QTest::newRow("too many objects")
            << Objects(Numbered_Objects(half, "r"), Numbered_Objects(half + 1, "w"))
            << QStringLiteral("Error!! Too many Objects. Max objects %1").arg(required::Objects_Short_Desc) << -1 << -1
            << -1;
    }

    void failed_checks()
    {
        QFETCH(QByteArray, document);
        QFETCH(QString, error);
        QFETCH(int, page);
        QFETCH(int, row);
        QFETCH(int, column);
        test::Write(ws_.File_BACnet_Slave_Access, document);
        Show(objects_);
        QTest::mouseClick(objects_->Btn_OK, Qt::LeftButton);
        QCOMPARE(Message_Box::Take_Shown(), QStringList{error});
        QVERIFY(objects_->isVisible());
        QCOMPARE(test::Read(ws_.File_BACnet_Slave_Access), document);
        if (page >= 0) {
            QCOMPARE(objects_->PageControl1->currentIndex(), page);
            QCOMPARE(test::Current(objects_->Grid(page)), objects_->Access.Table(page).index(row, column));
        }
    }

    void rows_at_risk_are_told_on_showing()
    {
        test::Write(ws_.File_ParGen, test::ParGen_With("BACnet_Desc_Chars_Limit", "1"));
        test::Write(
            ws_.File_BACnet_Slave_Access,
            Objects(Numbered_Objects(required::Objects_Long_Desc + 1, "r"),
                    Numbered_Objects(1, "w") + Object(QStringLiteral(" |95|0||4|N|x")) + Numbered_Objects(1, "w")));
        objects_->show();
        QCOMPARE(Message_Box::Take_Shown(),
                 (QStringList{
                     Messages()
                         .Get(Msg_Rows_Not_Shown)
                         .arg(QStringLiteral("1"), Messages().Get(1508), QString::number(required::Objects_Long_Desc)),
                     Messages()
                         .Get(Msg_Rows_Not_Saved)
                         .arg(QStringLiteral("2"), Messages().Get(1509), Messages().Get(1525), QStringLiteral("2"))}));
    }

    // Delete, insert, copy and paste through the buttons, with their questions.
    void row_buttons()
    {
        test::Write(ws_.File_BACnet_Slave_Access, Objects(Numbered_Objects(8, "r"), Numbered_Objects(2, "w")));
        Show(objects_);
        Table_Grid *grid = Read_Grid();

        // A click on a row number selects the row and makes it current,
        // also right beside the border with the next row.
        QHeaderView *numbers = grid->verticalHeader();
        QTest::mouseClick(
            numbers->viewport(), Qt::LeftButton, {},
            QPoint(numbers->width() / 2, numbers->sectionViewportPosition(3) + numbers->sectionSize(3) - 1));
        QCOMPARE(grid->Current_Row(), 3);
        QTest::mouseClick(numbers->viewport(), Qt::LeftButton, {},
                          QPoint(numbers->width() / 2, numbers->sectionViewportPosition(4) + 1));
        QCOMPARE(grid->Current_Row(), 4);
        QVERIFY(grid->selectionModel()->isRowSelected(4, QModelIndex()));
        QVERIFY(!grid->selectionModel()->isRowSelected(3, QModelIndex()));

        Message_Box::Queue_Answer(QMessageBox::No);
        QTest::mouseClick(objects_->Btn_DelRow, Qt::LeftButton);
        QCOMPARE(Message_Box::Take_Shown(), QStringList{Messages().Get(1560) + QStringLiteral("5")});
        QCOMPARE(Read().Cell(4, Obj_Mnemonic), QStringLiteral("r5"));
        Message_Box::Queue_Answer(QMessageBox::Yes);
        QTest::mouseClick(objects_->Btn_DelRow, Qt::LeftButton);
        QCOMPARE(Message_Box::Take_Shown().size(), 1);
        QStringList mnemonics;
        for (int r = 0; r < 8; ++r)
            mnemonics << Read().Cell(r, Obj_Mnemonic);
        QCOMPARE(mnemonics,
                 (QStringList{QStringLiteral("r1"), QStringLiteral("r2"), QStringLiteral("r3"), QStringLiteral("r4"),
                              QStringLiteral("r6"), QStringLiteral("r7"), QStringLiteral("r8"), QString()}));
        QCOMPARE(grid->model()->headerData(4, Qt::Vertical).toInt(), 5);

        test::Click_Cell(grid, 1, Obj_Position);
        QTest::mouseClick(objects_->Btn_InsRow, Qt::LeftButton);
        QVERIFY(Message_Box::Take_Shown().isEmpty());
        QCOMPARE(test::Row_Text(Read(), 1), QStringLiteral("||||||"));
        QCOMPARE(Read().Cell(2, Obj_Mnemonic), QStringLiteral("r2"));

        // Copy on Read; the Write page refuses it.
        test::Click_Cell(grid, 0, Obj_Data_Type);
        QTest::mouseClick(objects_->Btn_CopyRow, Qt::LeftButton);
        QVERIFY(objects_->Do_Copy_Read() && !objects_->Do_Copy_Write());
        objects_->PageControl1->setCurrentIndex(Page_Write);
        test::Click_Cell(Write_Grid(), 5, Obj_Mnemonic);
        QTest::mouseClick(objects_->Btn_PasteRow, Qt::LeftButton);
        QCOMPARE(Message_Box::Take_Shown(), QStringList{Messages().Get(1102)});
        QCOMPARE(test::Row_Text(Write(), 5), QStringLiteral("||||||"));

        // On Read: into the empty row without a question, over a used row after Yes.
        objects_->PageControl1->setCurrentIndex(Page_Read);
        test::Click_Cell(grid, 1, Obj_Mnemonic);
        QTest::mouseClick(objects_->Btn_PasteRow, Qt::LeftButton);
        QVERIFY(Message_Box::Take_Shown().isEmpty());
        QCOMPARE(test::Row_Text(Read(), 1), QStringLiteral("Analog Value|95|1||4|N|r1"));
        test::Click_Cell(grid, 3, Obj_Mnemonic);
        Message_Box::Queue_Answer(QMessageBox::Yes);
        QTest::mouseClick(objects_->Btn_PasteRow, Qt::LeftButton);
        QCOMPARE(Message_Box::Take_Shown(), QStringList{Messages().Get(1100)});
        QCOMPARE(Read().Cell(3, Obj_Mnemonic), QStringLiteral("r1"));

        // A new showing forgets which page was copied; the buffer stays.
        Message_Box::Queue_Answer(QMessageBox::Yes);
        objects_->reject();
        QCOMPARE(Message_Box::Take_Shown(), QStringList{Messages().Get(Msg_Discard_Changes)});
        Show(objects_);
        QVERIFY(!objects_->Do_Copy_Read() && !objects_->Do_Copy_Write());
        QCOMPARE(ws_.Row_Copy_Buffer.size(), 1);
        QCOMPARE(ws_.Row_Copy_Buffer[0].size(), required::Object_Data_Columns);
        test::Click_Cell(Read_Grid(), 9, Obj_Mnemonic);
        QTest::mouseClick(objects_->Btn_PasteRow, Qt::LeftButton);
        QCOMPARE(Message_Box::Take_Shown(), QStringList{Messages().Get(1102)});
    }

    // The row buttons act on every selected row; each is one undo step.
    void many_rows_at_once()
    {
        test::Write(ws_.File_BACnet_Slave_Access, Objects(Numbered_Objects(8, "r"), Numbered_Objects(1, "w")));
        Show(objects_);
        Table_Grid *grid = Read_Grid();
        const auto mnemonics = [&](int rows) {
            QStringList texts;
            for (int r = 0; r < rows; ++r)
                texts << Read().Cell(r, Obj_Mnemonic);
            return texts.join(u',');
        };

        // Rows 2 to 4 selected by their numbers: one question with the count.
        test::Click_Row_Number(grid, 1);
        test::Click_Row_Number(grid, 3, Qt::ShiftModifier);
        Message_Box::Queue_Answer(QMessageBox::No);
        QTest::mouseClick(objects_->Btn_DelRow, Qt::LeftButton);
        QCOMPARE(Message_Box::Take_Shown(), QStringList{Messages().Get(Msg_Delete_Rows).arg(3)});
        QCOMPARE(mnemonics(9), QStringLiteral("r1,r2,r3,r4,r5,r6,r7,r8,"));
        Message_Box::Queue_Answer(QMessageBox::Yes);
        QTest::mouseClick(objects_->Btn_DelRow, Qt::LeftButton);
        QCOMPARE(Message_Box::Take_Shown().size(), 1);
        QCOMPARE(mnemonics(9), QStringLiteral("r1,r5,r6,r7,r8,,,,"));
        // One undo brings the three back, selected.
        test::Ctrl_Key(grid, Qt::Key_Z);
        QCOMPARE(mnemonics(9), QStringLiteral("r1,r2,r3,r4,r5,r6,r7,r8,"));
        for (int r = 0; r < 5; ++r)
            QCOMPARE(grid->selectionModel()->isRowSelected(r, QModelIndex()), r >= 1 && r <= 3);

        // Cells in rows 2 and 3 selected: two fresh rows inserted at row 2.
        test::Click_Cell(grid, 1, Obj_Position);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::ShiftModifier,
                          test::Cell_Centre(grid, 2, Obj_Mnemonic));
        QTest::mouseClick(objects_->Btn_InsRow, Qt::LeftButton);
        QVERIFY(Message_Box::Take_Shown().isEmpty());
        QCOMPARE(mnemonics(11), QStringLiteral("r1,,,r2,r3,r4,r5,r6,r7,r8,"));
        QCOMPARE(test::Row_Text(Read(), 1), QStringLiteral("||||||"));

        // Copy Row takes the selected rows; Paste Row puts them from the current row down.
        test::Click_Row_Number(grid, 3);
        test::Click_Row_Number(grid, 5, Qt::ShiftModifier);
        QTest::mouseClick(objects_->Btn_CopyRow, Qt::LeftButton);
        QCOMPARE(ws_.Row_Copy_Buffer.size(), 3);
        test::Click_Cell(grid, 12, Obj_Mnemonic);
        QTest::mouseClick(objects_->Btn_PasteRow, Qt::LeftButton);
        QVERIFY(Message_Box::Take_Shown().isEmpty());
        QCOMPARE(mnemonics(16), QStringLiteral("r1,,,r2,r3,r4,r5,r6,r7,r8,,,r2,r3,r4,"));
        QCOMPARE(test::Row_Text(Read(), 12), test::Row_Text(Read(), 3));
        // Too near the end: refused with the counts, nothing pasted.
        const int last = required::Objects_Short_Desc - 1;
        test::Click_Cell(grid, last - 1, Obj_Mnemonic);
        QTest::mouseClick(objects_->Btn_PasteRow, Qt::LeftButton);
        QCOMPARE(Message_Box::Take_Shown(),
                 QStringList{Messages()
                                 .Get(Msg_Rows_Do_Not_Fit)
                                 .arg(QStringLiteral("3"), QString::number(last), QStringLiteral("2"))});
        QCOMPARE(Read().Cell(last - 1, Obj_Mnemonic), QString());

        // Inserting would push an object in the last row out: asked first, No keeps it.
        Read().Set_Cell(last, Obj_Mnemonic, QStringLiteral("last"));
        test::Click_Cell(grid, 0, Obj_Mnemonic);
        Message_Box::Queue_Answer(QMessageBox::No);
        QTest::mouseClick(objects_->Btn_InsRow, Qt::LeftButton);
        QCOMPARE(Message_Box::Take_Shown(),
                 QStringList{Messages()
                                 .Get(Msg_Rows_Pushed_Out)
                                 .arg(QStringLiteral("1"), QStringLiteral("1"), QString::number(last + 1))});
        QCOMPARE(Read().Cell(last, Obj_Mnemonic), QStringLiteral("last"));
        QCOMPARE(Read().Cell(0, Obj_Mnemonic), QStringLiteral("r1"));

        // The delete was undone, so the insert replaced it in the history:
        // undoing the paste and the insert gives the loaded objects back.
        QCOMPARE(objects_->History()->count(), 2);
        test::Ctrl_Key(grid, Qt::Key_Z);
        test::Ctrl_Key(grid, Qt::Key_Z);
        QCOMPARE(mnemonics(16), QStringLiteral("r1,r2,r3,r4,r5,r6,r7,r8,,,,,,,,"));
    }

    // A Data Type chosen in its list and the Length it fills in are undone
    // and redone together.
    void data_type_and_its_length_are_one_step()
    {
        test::Write(ws_.File_BACnet_Slave_Access,
                    Objects(QByteArray(), Object(QStringLiteral("Analog Out|62|0||2|N|x"))));
        Show(objects_);
        objects_->PageControl1->setCurrentIndex(Page_Write);
        Table_Grid *grid = Write_Grid();
        test::Double_Click_Cell(grid, 0, Obj_Data_Type);
        auto *box = qobject_cast<QComboBox *>(grid->indexWidget(Write().index(0, Obj_Data_Type)));
        QVERIFY(box);
        QVERIFY(test::Choose_In_List(box, QStringLiteral("Large Analog Value")));
        QCOMPARE(test::Row_Text(Write(), 0), QStringLiteral("Large Analog Value|62|0||8|N|x"));
        QCOMPARE(objects_->History()->count(), 1);
        test::Ctrl_Key(grid, Qt::Key_Z);
        QCOMPARE(test::Row_Text(Write(), 0), QStringLiteral("Analog Out|62|0||2|N|x"));
        QCOMPARE(test::Current(grid), Write().index(0, Obj_Data_Type));
        QVERIFY(!objects_->Changed());
        test::Ctrl_Key(grid, Qt::Key_Y);
        QCOMPARE(test::Row_Text(Write(), 0), QStringLiteral("Large Analog Value|62|0||8|N|x"));

        // A unit picked in the picker is a step of its own.
        bool shown = false;
        test::When_Shown(picker_, [&] {
            shown = true;
            picker_->E_Selected_EU->setText(QStringLiteral("95"));
            QTest::mouseClick(picker_->Btn_OK, Qt::LeftButton);
        });
        test::Double_Click_Cell(grid, 0, Obj_Eng_Unit);
        QVERIFY(shown);
        QCOMPARE(Write().Cell(0, Obj_Eng_Unit), QStringLiteral("95"));
        // The keys reach the active window only, which the offscreen platform
        // does not give back when the picker closes.
        objects_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(objects_));
        test::Ctrl_Key(grid, Qt::Key_Z);
        QCOMPARE(Write().Cell(0, Obj_Eng_Unit), QStringLiteral("62"));
        QCOMPARE(Write().Cell(0, Obj_Length), QStringLiteral("8"));
    }

    // Ctrl+V pastes a block at the current cell as one step that selects it.
    void paste_a_block()
    {
        test::Write(ws_.File_BACnet_Slave_Access, Objects(Numbered_Objects(3, "r"), QByteArray()));
        Show(objects_);
        Table_Grid *grid = Read_Grid();
        QGuiApplication::clipboard()->setText(QStringLiteral("Boiler\nPump\n"));
        grid->setFocus();
        grid->Set_Current(1, Obj_Mnemonic);
        test::Ctrl_Key(grid, Qt::Key_V);
        QVERIFY(Message_Box::Take_Shown().isEmpty());
        QCOMPARE(Read().Cell(1, Obj_Mnemonic), QStringLiteral("Boiler"));
        QCOMPARE(Read().Cell(2, Obj_Mnemonic), QStringLiteral("Pump"));
        QCOMPARE(grid->selectionModel()->selectedIndexes().size(), 2);
        QVERIFY(grid->selectionModel()->isSelected(Read().index(2, Obj_Mnemonic)));
        test::Ctrl_Key(grid, Qt::Key_Z);
        QCOMPARE(Read().Cell(1, Obj_Mnemonic), QStringLiteral("r2"));
        QCOMPARE(Read().Cell(2, Obj_Mnemonic), QStringLiteral("r3"));
        QVERIFY(!objects_->Changed());
    }

    void drop_down_lists()
    {
        test::Write(ws_.File_BACnet_Slave_Access, Objects(Object(QStringLiteral("analog input|62|0||4|N|hand typed")),
                                                          Object(QStringLiteral("Analog Out|62|0||2|N|x"))));
        Show(objects_);
        Table_Grid *grid = Read_Grid();
        // The Position list exists only while its cell is edited.
        QVERIFY(grid->findChildren<QComboBox *>().isEmpty());
        // Typed on the closed list, "17" reaches item 17; Enter ends the edit.
        test::Type_Into_Cell(grid, 0, Obj_Position, QStringLiteral("17"));
        QCOMPARE(Read().Cell(0, Obj_Position), QStringLiteral("17"));
        QVERIFY(!grid->Editing());
        QCoreApplication::processEvents();
        QVERIFY(grid->findChildren<QComboBox *>().isEmpty());

        const QModelIndex position = Read().index(0, Obj_Position);
        grid->setCurrentIndex(position);
        grid->edit(position);
        auto *box = qobject_cast<QComboBox *>(grid->indexWidget(position));
        QVERIFY(box);
        QCOMPARE(box->count(), required::Data_Area_Bytes);
        QCOMPARE(box->itemText(required::Data_Area_Bytes - 1), QString::number(required::Data_Area_Bytes - 1));
        QCOMPARE(box->currentText(), QStringLiteral("17"));
        // A choice in the open list ends the edit.
        QVERIFY(test::Choose_In_List(box, QStringLiteral("3")));
        QCOMPARE(Read().Cell(0, Obj_Position), QStringLiteral("3"));
        QVERIFY(!grid->Editing());

        // A type that is not an item stays as it is when its list closes without a choice.
        const QModelIndex type = Read().index(0, Obj_Data_Type);
        grid->setCurrentIndex(type);
        grid->edit(type);
        box = qobject_cast<QComboBox *>(grid->indexWidget(type));
        QVERIFY(box);
        QCOMPARE(box->count(), required::Read_Types);
        QCOMPARE(box->currentIndex(), -1);
        QVERIFY(grid->Commit_Edit());
        QCOMPARE(Read().Cell(0, Obj_Data_Type), QStringLiteral("analog input"));
        // A type chosen from the list fills in its Length.
        grid->edit(type);
        box = qobject_cast<QComboBox *>(grid->indexWidget(type));
        QVERIFY(box);
        QVERIFY(test::Choose_In_List(box, QStringLiteral("Large Analog Value")));
        QCOMPARE(test::Row_Text(Read(), 0), QStringLiteral("Large Analog Value|62|3||8|N|hand typed"));
    }

    // Both grids fill in the Length of the type chosen, so that a new
    // binary object or Read integer value never meets the refusal of a
    // Length that is not an integer.
    void grids_fill_in_the_length_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("length");
        QTest::newRow("large analog") << int(Page_Write) << QStringLiteral("Large Analog Value") << QStringLiteral("8");
        QTest::newRow("binary") << int(Page_Write) << QStringLiteral("Binary Out") << QStringLiteral("1");
        QTest::newRow("access door") << int(Page_Write) << QStringLiteral("Access Door") << QStringLiteral("1");
        QTest::newRow("multi state") << int(Page_Write) << QStringLiteral("Multi State Output") << QStringLiteral("4");
        // The same type chosen again still sets its Length.
        QTest::newRow("same type") << int(Page_Write) << QStringLiteral("Analog Out") << QStringLiteral("4");
        QTest::newRow("read: binary input") << int(Page_Read) << QStringLiteral("Binary Input") << QStringLiteral("1");
        QTest::newRow("read: integer value")
            << int(Page_Read) << QStringLiteral("Integer Value") << QStringLiteral("4");
        QTest::newRow("read: life safety point")
            << int(Page_Read) << QStringLiteral("Life Safety Point") << QStringLiteral("2");
    }

    void grids_fill_in_the_length()
    {
        QFETCH(int, page);
        QFETCH(QString, type);
        QFETCH(QString, length);
        test::Write(ws_.File_BACnet_Slave_Access, Objects(Object(QStringLiteral("Analog Input|62|0||2|N|x")),
                                                          Object(QStringLiteral("Analog Out|62|0||2|N|x"))));
        Show(objects_);
        objects_->PageControl1->setCurrentIndex(page);
        Table_Grid *grid = objects_->Grid(page);
        Text_Table &table = objects_->Access.Table(page);
        // Opened as the user does: a double click on the cell.
        test::Double_Click_Cell(grid, 0, Obj_Data_Type);
        QVERIFY(grid->Editing());
        auto *box = qobject_cast<QComboBox *>(grid->indexWidget(table.index(0, Obj_Data_Type)));
        QVERIFY(box);
        QCOMPARE(box->count(), page == Page_Read ? required::Read_Types : required::Write_Types);
        QVERIFY(test::Choose_In_List(box, type));
        QVERIFY(!grid->Editing());
        QCOMPARE(table.Cell(0, Obj_Data_Type), type);
        QCOMPARE(table.Cell(0, Obj_Length), length);
    }

    // Insert Row in the middle of eight objects, then OK: nothing is saved,
    // the refusal names the empty row and what it would drop, and the user
    // lands on its Data Type. Deleting the row again lets OK save them all.
    void inserted_row_does_not_drop_the_objects_below()
    {
        const QByteArray document = Objects(Numbered_Objects(8, "r"), Numbered_Objects(1, "w"));
        test::Write(ws_.File_BACnet_Slave_Access, document);
        Show(objects_);
        test::Click_Cell(Read_Grid(), 3, Obj_Mnemonic);
        QTest::mouseClick(objects_->Btn_InsRow, Qt::LeftButton);
        objects_->PageControl1->setCurrentIndex(Page_Write);
        QTest::mouseClick(objects_->Btn_OK, Qt::LeftButton);
        QCOMPARE(Message_Box::Take_Shown(), QStringList{Messages()
                                                            .Get(Msg_Rows_Would_Be_Lost)
                                                            .arg(QStringLiteral("4"), Messages().Get(1508),
                                                                 Messages().Get(1517), QStringLiteral("5"))});
        QVERIFY(objects_->isVisible());
        QCOMPARE(test::Read(ws_.File_BACnet_Slave_Access), document);
        QCOMPARE(objects_->PageControl1->currentIndex(), int(Page_Read));
        QCOMPARE(test::Current(Read_Grid()), Read().index(3, Obj_Data_Type));

        Message_Box::Queue_Answer(QMessageBox::Yes);
        QTest::mouseClick(objects_->Btn_DelRow, Qt::LeftButton);
        QCOMPARE(Message_Box::Take_Shown().size(), 1);
        QTest::mouseClick(objects_->Btn_OK, Qt::LeftButton);
        QVERIFY(Message_Box::Take_Shown().isEmpty());
        QVERIFY(!objects_->isVisible());
        QCOMPARE(test::Read(ws_.File_BACnet_Slave_Access), document);
    }

    // Object names the device would serve twice or not at all: OK asks, No
    // stays in the grid with nothing saved, Yes saves.
    void object_names_are_asked_about()
    {
        test::Write(ws_.File_ParGen, test::ParGen_With("BACnet_Desc_Chars_Limit", "1"));
        const QByteArray document = Objects(Object(QStringLiteral("Analog Input|62|0||4|N|Temp")) +
                                                Object(QStringLiteral("Analog Input|62|4||4|N|")),
                                            Object(QStringLiteral("Analog Out|98|0||4|N|Temp")));
        test::Write(ws_.File_BACnet_Slave_Access, document);
        Show(objects_);
        test::Type_Into_Cell(Read_Grid(), 0, Obj_Mnemonic, QStringLiteral("Supply"));
        test::Type_Into_Cell(Read_Grid(), 1, Obj_Mnemonic, QStringLiteral("Supply"));
        const QString question = Object_Names_Question(
            {QStringLiteral("The object name \"Supply\" is shared by the rows [BACnet in Read] 1, 2"),
             QStringLiteral("These rows have no object name (their Mnemonic is empty): "
                            "[BACnet in Write] 1")},
            true);
        objects_->PageControl1->setCurrentIndex(Page_Write);
        test::Type_Into_Cell(Write_Grid(), 0, Obj_Mnemonic, QStringLiteral(" "));
        Message_Box::Queue_Answer(QMessageBox::No);
        QTest::mouseClick(objects_->Btn_OK, Qt::LeftButton);
        QCOMPARE(Message_Box::Take_Shown(), QStringList{question});
        QVERIFY(objects_->isVisible());
        QCOMPARE(test::Read(ws_.File_BACnet_Slave_Access), document);

        Message_Box::Queue_Answer(QMessageBox::Yes);
        QTest::mouseClick(objects_->Btn_OK, Qt::LeftButton);
        QCOMPARE(Message_Box::Take_Shown(), QStringList{question});
        QVERIFY(!objects_->isVisible());
        QVERIFY(test::Read(ws_.File_BACnet_Slave_Access).contains("Mnemonic=\"Supply\""));
    }

    void enter_jump_data()
    {
        QTest::addColumn<bool>("setting");
        QTest::addColumn<bool>("editing"); // Enter ends an edit of the cell
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("next_row");
        QTest::addColumn<int>("next_column");

        QTest::newRow("next column") << true << false << 3 << int(Obj_Data_Type) << 3 << int(Obj_Eng_Unit);
        QTest::newRow("over the hidden Swap") << true << false << 3 << int(Obj_Length) << 3 << int(Obj_Mnemonic);
        QTest::newRow("next row") << true << false << 3 << int(Obj_Mnemonic) << 4 << int(Obj_Data_Type);
        QTest::newRow("last row to the first")
            << true << false << required::Objects_Short_Desc - 1 << int(Obj_Mnemonic) << 0 << int(Obj_Data_Type);
        QTest::newRow("after an edit") << true << true << 5 << int(Obj_Mnemonic) << 6 << int(Obj_Data_Type);
        // Without the jump Enter moves down, as in a spreadsheet.
        QTest::newRow("setting off") << false << false << 3 << int(Obj_Length) << 4 << int(Obj_Length);
        QTest::newRow("setting off, edit") << false << true << 3 << int(Obj_Length) << 4 << int(Obj_Length);
        QTest::newRow("setting off, last row") << false << false << required::Objects_Short_Desc - 1 << int(Obj_Length)
                                               << required::Objects_Short_Desc - 1 << int(Obj_Length);
    }

    void enter_jump()
    {
        QFETCH(bool, setting);
        QFETCH(bool, editing);
        QFETCH(int, row);
        QFETCH(int, column);
        QFETCH(int, next_row);
        QFETCH(int, next_column);
        Show(objects_);
        // The setting is read at the key press, not when the window was built.
        ws_.Enable_Jump_Field_Tables = setting;
        Table_Grid *grid = Read_Grid();
        if (editing) {
            test::Type_Into_Cell(grid, row, column, QStringLiteral("12"));
            QCOMPARE(Read().Cell(row, column), QStringLiteral("12"));
        } else {
            grid->setFocus();
            grid->Set_Current(row, column);
            QTest::keyClick(grid, Qt::Key_Return);
        }
        QVERIFY(!grid->Editing());
        QCOMPARE(test::Current(grid), Read().index(next_row, next_column));
        QVERIFY(objects_->isVisible()); // Enter never presses OK
    }

    void header_double_click_fits_the_column()
    {
        Show(objects_);
        Table_Grid *grid = Read_Grid();
        Read().Set_Cell(required::Objects_Short_Desc - 1, Obj_Eng_Unit, QString(40, u'9'));
        Read().Set_Cell(3, Obj_Length, QStringLiteral("1"));

        // Setting off: nothing changes, on the title or on its border.
        test::Double_Click_Header(grid, Obj_Eng_Unit);
        QCOMPARE(grid->columnWidth(Obj_Eng_Unit), required::Object_Widths[Obj_Eng_Unit]);
        test::Double_Click_Header(grid, Obj_Eng_Unit, true);
        QCOMPARE(grid->columnWidth(Obj_Eng_Unit), required::Object_Widths[Obj_Eng_Unit]);

        // Setting on: the header fits the widest text, anywhere in the column,
        // and the picker does not open.
        ws_.Double_Click_Auto_Size = true;
        bool picker_shown = false;
        test::When_Shown(picker_, [&] { picker_shown = true; });
        test::Double_Click_Header(grid, Obj_Eng_Unit);
        const int wide = grid->fontMetrics().horizontalAdvance(QString(40, u'9'));
        QVERIFY2(grid->columnWidth(Obj_Eng_Unit) >= wide, qPrintable(QString::number(grid->columnWidth(Obj_Eng_Unit))));
        QVERIFY(grid->columnWidth(Obj_Eng_Unit) < wide + 30);
        test::Double_Click_Header(grid, Obj_Length, true); // on the border; narrower: fitted to its title
        QVERIFY(grid->columnWidth(Obj_Length) < required::Object_Widths[Obj_Length]);
        QCoreApplication::processEvents();
        QVERIFY(!picker_shown);

        // A double click on a data cell never resizes.
        test::Double_Click_Cell(grid, 3, Obj_Mnemonic);
        QCOMPARE(grid->columnWidth(Obj_Mnemonic), required::Object_Widths[Obj_Mnemonic]);
    }

    void unit_picker_on_a_double_click_data()
    {
        QTest::addColumn<QString>("cell");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("category"); // shown on opening
        QTest::addColumn<QString>("unit");     // selected on opening
        QTest::addColumn<QString>("action");   // "select" or "pick" per-mille, "type 300", "cancel"
        QTest::addColumn<QString>("result");   // the cell afterwards

        QTest::newRow("select per-mille")
            << QStringLiteral("62") << QStringLiteral("-> degrees-Celsius") << QStringLiteral("Temperature")
            << QStringLiteral("degrees-Celsius") << QStringLiteral("select") << QStringLiteral("207");
        QTest::newRow("pick per-mille, OK without Select")
            << QStringLiteral("0") << QStringLiteral("-> square-meters") << QStringLiteral("Area")
            << QStringLiteral("square-meters") << QStringLiteral("pick") << QStringLiteral("207");
        QTest::newRow("opened on the unit, OK")
            << QStringLiteral("0x3E") << QStringLiteral("-> degrees-Celsius") << QStringLiteral("Temperature")
            << QStringLiteral("degrees-Celsius") << QStringLiteral("ok") << QStringLiteral("0x3E");
        QTest::newRow("typed number") << QStringLiteral("abc") << QStringLiteral("-> unknown")
                                      << QStringLiteral("Acceleration")
                                      << QStringLiteral("meters-per-second-per-second") << QStringLiteral("type 300")
                                      << QStringLiteral("300");
        QTest::newRow("cancel") << QStringLiteral("62") << QStringLiteral("-> degrees-Celsius")
                                << QStringLiteral("Temperature") << QStringLiteral("degrees-Celsius")
                                << QStringLiteral("cancel") << QStringLiteral("62");
    }

    void unit_picker_on_a_double_click()
    {
        QFETCH(QString, cell);
        QFETCH(QString, label);
        QFETCH(QString, category);
        QFETCH(QString, unit);
        QFETCH(QString, action);
        QFETCH(QString, result);
        test::Write(ws_.File_BACnet_Slave_Access,
                    Objects(QByteArray(), Object(QStringLiteral("Analog Out|%1|0||4|N|x").arg(cell))));
        Show(objects_);
        objects_->PageControl1->setCurrentIndex(Page_Write);
        bool shown = false;
        test::When_Shown(picker_, [&] {
            shown = true;
            QCOMPARE(picker_->E_Selected_EU->text(), cell);
            QCOMPARE(picker_->Label5->text(), label);
            // Opened on the row's unit: its category, the unit selected.
            QCOMPARE(picker_->CB_Select_Type->currentText(), category);
            QCOMPARE(picker_->CB_Select_Unit->currentText(), unit);
            if (action == u"select" || action == u"pick") {
                QVERIFY(test::Choose_In_List(picker_->CB_Select_Type, QStringLiteral("Other")));
                QVERIFY(test::Choose_In_List(picker_->CB_Select_Unit, QStringLiteral("per-mille")));
                QCOMPARE(picker_->E_Selected_EU->text(), cell); // a pick alone leaves the box
                if (action == u"select") {
                    QTest::mouseClick(picker_->Btn_Select_Eng_Unit, Qt::LeftButton);
                    QCOMPARE(picker_->Label5->text(), QStringLiteral("-> per-mille"));
                }
            } else if (action.startsWith(u"type")) {
                picker_->E_Selected_EU->clear();
                QTest::keyClicks(picker_->E_Selected_EU, action.section(u' ', 1));
                QCOMPARE(picker_->Label5->text(), QStringLiteral("-> unknown")); // 300 is no unit
            }
            QTest::mouseClick(action == u"cancel" ? picker_->Btn_Cancel : picker_->Btn_OK, Qt::LeftButton);
        });
        test::Double_Click_Cell(Write_Grid(), 0, Obj_Eng_Unit);
        QVERIFY(shown);
        QVERIFY(!Write_Grid()->Editing()); // the picker, not the cell's editor
        QCOMPARE(Write().Cell(0, Obj_Eng_Unit), result);
        // The cell shows the name beside the number it keeps.
        QCOMPARE(Write().index(0, Obj_Eng_Unit).data().toString(), Unit_Shown(result));
    }

    // A Mnemonic longer than the device keeps (16 characters, 32 with long
    // descriptions) shows the cut: the kept part in the text colour, a thin
    // mark, the rest paler but readable, also under a dark palette; the tip
    // says how many characters are kept. A name at the limit shows none.
    void mnemonic_cut_data()
    {
        QTest::addColumn<bool>("long_names");
        QTest::addColumn<int>("length");
        QTest::addColumn<bool>("dark");
        QTest::addColumn<int>("cut"); // 0: not cut
        QTest::newRow("16: 19 characters") << false << 19 << false << 16;
        QTest::newRow("16: 16 characters") << false << 16 << false << 0;
        QTest::newRow("16: short") << false << 5 << false << 0;
        QTest::newRow("32: 19 characters") << true << 19 << false << 0;
        QTest::newRow("32: 32 characters") << true << 32 << false << 0;
        QTest::newRow("32: 35 characters") << true << 35 << false << 32;
        QTest::newRow("16, dark palette") << false << 19 << true << 16;
    }

    void mnemonic_cut()
    {
        QFETCH(bool, long_names);
        QFETCH(int, length);
        QFETCH(bool, dark);
        QFETCH(int, cut);
        if (long_names)
            test::Write(ws_.File_ParGen, test::ParGen_With("BACnet_Desc_Chars_Limit", "1"));
        // "x" has no upright stroke: the only one in the cell is the mark.
        const QString name(length, u'x');
        test::Write(ws_.File_BACnet_Slave_Access,
                    Objects(Object(QStringLiteral("Analog Input|62|0||4|N|%1").arg(name)), QByteArray()));
        if (dark) {
            QPalette palette = objects_->palette();
            for (QPalette::ColorRole role : {QPalette::Window, QPalette::Base, QPalette::Button})
                palette.setColor(role, QColor(0x20, 0x20, 0x20));
            for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
                palette.setColor(role, QColor(0xF0, 0xF0, 0xF0));
            Read_Grid()->setPalette(palette);
        }
        Show(objects_);
        // Wide enough for 35 characters: the Mnemonic takes what the window gains.
        objects_->resize(1000, objects_->height());
        QCoreApplication::processEvents();
        Table_Grid *grid = Read_Grid();
        const QModelIndex at = grid->model()->index(0, Obj_Mnemonic);
        QCOMPARE(Cell_Delegate::Cut_At(at), cut);
        const QVariant tip = at.data(Qt::ToolTipRole);
        if (cut)
            QCOMPARE(tip.toString(), Messages().Get(Msg_Text_Cut).arg(QString::number(cut), name.left(cut)));
        else
            QVERIFY(!tip.isValid());

        // The cell as drawn, away from the current cell and the selection.
        grid->Set_Current(5, Obj_Data_Type);
        grid->clearSelection();
        const QRect rect = grid->visualRect(at);
        const QImage image = grid->viewport()->grab(rect).toImage();
        const QColor background = image.pixelColor(1, 1);
        const auto luma = [](QColor c) { return 0.299 * c.redF() + 0.587 * c.greenF() + 0.114 * c.blueF(); };
        const auto inked = [&](int x, int y) {
            return std::abs(luma(image.pixelColor(x, y)) - luma(background)) > 0.15;
        };
        // Columns of the cell (its grid lines left out) with ink all the way
        // up a text line: the mark.
        const int line = grid->fontMetrics().height();
        QList<int> marks;
        for (int x = 0; x < image.width() - 2; ++x) {
            int ink = 0;
            for (int y = 0; y < image.height() - 2; ++y)
                ink += inked(x, y);
            if (ink >= line - 2)
                marks << x;
        }
        const auto darkest = [&](int from, int to) {
            double d = 1;
            for (int x = from; x < to; ++x)
                for (int y = 0; y < image.height() - 2; ++y)
                    d = std::min(d, luma(image.pixelColor(x, y)));
            return d;
        };
        QVERIFY2(luma(background) > 0.8, "the column's own light colour");
        if (!cut) {
            QVERIFY2(marks.isEmpty(), qPrintable(QString::number(marks.value(0))));
            QVERIFY(darkest(0, image.width() - 2) < 0.35); // dark text, whatever the palette
            return;
        }
        QCOMPARE(marks.size(), 1);
        const int mark = marks.first();
        const int kept_width = grid->fontMetrics().horizontalAdvance(name.left(cut));
        QVERIFY2(mark >= kept_width && mark <= kept_width + 10, qPrintable(QString::number(mark)));
        const double kept = darkest(0, mark);
        const double rest = darkest(mark + 1, image.width() - 2);
        QVERIFY2(kept < 0.35, qPrintable(QString::number(kept)));
        QVERIFY2(rest > kept + 0.2 && rest < 0.8, qPrintable(QString::number(rest)));
    }
};

QTEST_MAIN(Test_BACnet_Window)
#include "test_bacnet_window.moc"
