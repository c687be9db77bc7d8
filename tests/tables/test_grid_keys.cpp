// The table grids driven by the keyboard alone, as a field engineer enters
// hundreds of points: every test here presses keys on the grid or its
// editors and nothing else.

#include "core/messages.h"
#include "table_window_fixture.h"
#include "tables/bacnet_access.h"
#include "tables/lora_access.h"
#include "tables/table_messages.h"
#include "tables/ui/bacnet_slave_set_access.h"
#include "tables/ui/lora_set_access.h"
#include "widgets/message_box.h"
#include "widgets/problems_bar.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QUndoStack>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

const QByteArray Comment = "<!--SW_VERSION = 1.000-->";

// Read objects "type|unit|position|bit|length|swap|mnemonic".
QByteArray Read_Objects(const QStringList &rows)
{
    QByteArray doc = "<BACnet_to_Modbus><BACnet_in_Read>";
    for (const QString &row : rows) {
        const QStringList c = row.split(u'|');
        doc += QStringLiteral("<row Data_Type=\"%1\" Eng_Unit=\"%2\" Position=\"%3\" Bit=\"%4\" Length=\"%5\" "
                              "Swap=\"%6\" Mnemonic=\"%7\"/>")
                   .arg(c[0], c[1], c[2], c[3], c[4], c[5], c[6])
                   .toUtf8();
    }
    return doc + "</BACnet_in_Read><BACnet_in_Write/></BACnet_to_Modbus>" + Comment;
}

const QStringList Three_Objects = {u"Analog Value|95|0||4|N|a"_s, u"Binary Input|95|4|2|1|N|b"_s,
                                   u"Analog Input|62|8||2|N|c"_s};

} // namespace

class Test_Grid_Keys : public Table_Window_Fixture
{
    Q_OBJECT

    enum Window { Rules, Objects };

    Table_Window *Window_Of(int window) { return window == Rules ? static_cast<Table_Window *>(rules_) : objects_; }
    Table_Grid *Grid_Of(int window) { return Window_Of(window)->Grid(0); }
    Table_Grid *Read_Grid() { return objects_->ACG_BACnet_in_Read; }
    Text_Table &Read() { return objects_->Access.Read; }
    QString Note(Table_Window *window) { return window->P_Problems->L_Note->text(); }

    static QWidget *Editor(Table_Grid *grid) { return grid->indexWidget(grid->currentIndex()); }

    // Types `text` into the current cell as the user does: the first key
    // opens the cell's editor, the others go to the editor.
    static void Type(Table_Grid *grid, const QString &text)
    {
        QTest::keyClicks(grid, text.left(1));
        QWidget *editor = Editor(grid);
        QVERIFY(editor);
        QTest::keyClicks(editor, text.mid(1));
    }

    // The grid shown with the focus in `cell`.
    void Start(int window, int row, int column)
    {
        Show(Window_Of(window));
        QCoreApplication::processEvents(); // the problems found, the Next button enabled
        Table_Grid *grid = Grid_Of(window);
        grid->setFocus();
        grid->Set_Current(row, column);
    }

private slots:
    void init()
    {
        Set_Up(Rule_Window | Object_Window, [this] {
            test::Write(ws_.File_ParGen, test::ParGen_With("LoRa_Payload_Size", "51"));
            test::Write(ws_.File_BACnet_Slave_Access, Read_Objects(Three_Objects));
        });
        ws_.Enable_Jump_Field_Tables = false;
    }

    void cleanup() { Tear_Down(); }

    // A text typed into a list cell is taken when it is an item (its first
    // letters complete it, letter case aside) and refused otherwise: the
    // cell keeps its text, the editor the typed one, the status line says
    // why; Escape then ends the edit. Never cut to an item it begins with.
    void typed_into_a_list_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored"); // null: refused
        QTest::newRow("position 1500") << int(Obj_Position) << u"1500"_s << QString();
        QTest::newRow("position 1600") << int(Obj_Position) << u"1600"_s << QString();
        QTest::newRow("start bit 8") << int(Obj_Bit) << u"8"_s << QString();
        QTest::newRow("not a type") << int(Obj_Data_Type) << u"Analog Valve"_s << QString();
        QTest::newRow("position 150") << int(Obj_Position) << u"150"_s << u"150"_s;
        QTest::newRow("type-ahead") << int(Obj_Data_Type) << u"Analog V"_s << u"Analog Value"_s;
        QTest::newRow("letter case") << int(Obj_Data_Type) << u"binary input"_s << u"Binary Input"_s;
    }

    void typed_into_a_list()
    {
        QFETCH(int, column);
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        const int row = 3; // an empty row
        Start(Objects, row, column);
        Table_Grid *grid = Read_Grid();
        Type(grid, typed);
        auto *box = qobject_cast<QComboBox *>(Editor(grid));
        QVERIFY(box);
        QTest::keyClick(box, Qt::Key_Return);
        QCoreApplication::processEvents();
        QVERIFY(objects_->isVisible());
        if (stored.isNull()) {
            QVERIFY(grid->Editing());
            QCOMPARE(box->currentText(), typed);
            QCOMPARE(Read().Cell(row, column), QString());
            QVERIFY2(Note(objects_).contains(u'"' + typed + u'"'), qPrintable(Note(objects_)));
            QTest::keyClick(box, Qt::Key_Escape);
            QCoreApplication::processEvents();
            QVERIFY(!grid->Editing());
            QVERIFY(objects_->isVisible());
            QCOMPARE(Read().Cell(row, column), QString());
            QCOMPARE(test::Current(grid), Read().index(row, column));
            QVERIFY(!objects_->Changed());
        } else {
            QVERIFY(!grid->Editing());
            QCOMPARE(Read().Cell(row, column), stored);
            // Enter moves down.
            QCOMPARE(test::Current(grid), Read().index(row + 1, column));
        }
    }

    // OK with a refused text still in its editor saves nothing.
    void ok_keeps_a_refused_edit()
    {
        Start(Objects, 0, Obj_Position);
        const QByteArray saved = test::Read(ws_.File_BACnet_Slave_Access);
        Type(Read_Grid(), u"1600"_s);
        objects_->Btn_OKClick();
        QVERIFY(objects_->isVisible());
        QVERIFY(Read_Grid()->Editing());
        QCOMPARE(Read().Cell(0, Obj_Position), u"0"_s);
        QCOMPARE(test::Read(ws_.File_BACnet_Slave_Access), saved);
        QVERIFY(Note(objects_).contains(u"\"1600\""_s));
        QTest::keyClick(Editor(Read_Grid()), Qt::Key_Escape);
        QVERIFY(!Read_Grid()->Editing());
    }

    // Tab and Shift+Tab go from cell to cell, from the last cell of a row to
    // the first of the next and back, also out of an open editor (what was
    // typed is kept) and from a check box; the focus stays in the grid, so
    // that the next key cannot press a button.
    void tab_stays_in_the_grid_data()
    {
        QTest::addColumn<int>("window");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("typed"); // empty: no editor
        QTest::addColumn<bool>("back");
        QTest::addColumn<int>("next_row");
        QTest::addColumn<int>("next_column");
        QTest::addColumn<QString>("stored");
        QTest::newRow("rule: from On Change")
            << int(Rules) << 0 << int(Up_OnChange) << QString() << false << 0 << int(Up_OnCMD) << QString();
        QTest::newRow("rule: Mnemonic to the next row")
            << int(Rules) << 0 << int(Up_Mnemonic) << u"a b"_s << false << 1 << int(Up_Enable) << u"a b"_s;
        QTest::newRow("rule: back to the row before")
            << int(Rules) << 1 << int(Up_Enable) << QString() << true << 0 << int(Up_Mnemonic) << u"Y"_s;
        QTest::newRow("object: out of a Data Type editor") << int(Objects) << 3 << int(Obj_Data_Type) << u"Analog V"_s
                                                           << false << 3 << int(Obj_Eng_Unit) << u"Analog Value"_s;
        QTest::newRow("object: over the hidden Swap")
            << int(Objects) << 0 << int(Obj_Length) << u"2"_s << false << 0 << int(Obj_Mnemonic) << u"2"_s;
        QTest::newRow("object: back out of a list")
            << int(Objects) << 0 << int(Obj_Position) << u"12"_s << true << 0 << int(Obj_Eng_Unit) << u"12"_s;
        QTest::newRow("object: back from a row's first cell") << int(Objects) << 1 << int(Obj_Data_Type) << QString()
                                                              << true << 0 << int(Obj_Mnemonic) << u"Binary Input"_s;
    }

    void tab_stays_in_the_grid()
    {
        QFETCH(int, window);
        QFETCH(int, row);
        QFETCH(int, column);
        QFETCH(QString, typed);
        QFETCH(bool, back);
        QFETCH(int, next_row);
        QFETCH(int, next_column);
        QFETCH(QString, stored);
        Start(window, row, column);
        Table_Grid *grid = Grid_Of(window);
        QWidget *target = grid;
        if (!typed.isEmpty()) {
            Type(grid, typed);
            target = Editor(grid);
        }
        QTest::keyClick(target, Qt::Key_Tab, back ? Qt::ShiftModifier : Qt::NoModifier);
        QCoreApplication::processEvents();
        QVERIFY(!grid->Editing());
        QCOMPARE(test::Current(grid), grid->model()->index(next_row, next_column));
        QCOMPARE(QApplication::focusWidget(), grid);
        QCOMPARE(grid->Table().Cell(row, column), stored);
        QVERIFY(Message_Box::Take_Shown().isEmpty());
    }

    // Round a row and on: Tab visits every shown cell in order, Shift+Tab
    // comes back the same way.
    void tab_round_a_row()
    {
        Start(Objects, 0, Obj_Data_Type);
        Table_Grid *grid = Read_Grid();
        const QList<QModelIndex> way = {Read().index(0, Obj_Eng_Unit), Read().index(0, Obj_Position),
                                        Read().index(0, Obj_Bit),      Read().index(0, Obj_Length),
                                        Read().index(0, Obj_Mnemonic), Read().index(1, Obj_Data_Type)};
        QList<QModelIndex> seen;
        for (int i = 0; i < way.size(); ++i) {
            QTest::keyClick(grid, Qt::Key_Tab);
            seen << test::Current(grid);
        }
        QCOMPARE(seen, way);
        seen.clear();
        for (int i = 0; i < way.size(); ++i) {
            QTest::keyClick(grid, Qt::Key_Tab, Qt::ShiftModifier);
            seen << test::Current(grid);
        }
        QList<QModelIndex> back = way.mid(0, way.size() - 1);
        std::reverse(back.begin(), back.end());
        back << Read().index(0, Obj_Data_Type);
        QCOMPARE(seen, back);
    }

    // Ctrl+Tab leaves the grid for the next control, also from an editor,
    // whose text goes into its cell.
    void ctrl_tab_leaves_the_grid_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::newRow("from a cell") << QString();
        QTest::newRow("from an editor") << u"Pump"_s;
    }

    void ctrl_tab_leaves_the_grid()
    {
        QFETCH(QString, typed);
        Start(Objects, 0, Obj_Mnemonic);
        QWidget *target = Read_Grid();
        if (!typed.isEmpty()) {
            Type(Read_Grid(), typed);
            target = Editor(Read_Grid());
        }
        QTest::keyClick(target, Qt::Key_Tab, Qt::ControlModifier);
        QCoreApplication::processEvents();
        QCOMPARE(QApplication::focusWidget(), objects_->Btn_OK);
        QVERIFY(!Read_Grid()->Editing());
        QCOMPARE(Read().Cell(0, Obj_Mnemonic), typed.isEmpty() ? u"a"_s : typed);
    }

    // F2 edits the cell's text, Enter puts it in and moves down; Escape ends
    // an edit, the cell as it was, and leaves the window open.
    void f2_enter_and_escape()
    {
        Start(Objects, 0, Obj_Mnemonic);
        Table_Grid *grid = Read_Grid();
        QTest::keyClick(grid, Qt::Key_F2);
        QVERIFY(grid->Editing());
        auto *edit = qobject_cast<QLineEdit *>(Editor(grid));
        QVERIFY(edit);
        QCOMPARE(edit->text(), u"a"_s);
        QTest::keyClick(edit, Qt::Key_End);
        QTest::keyClicks(edit, u" 2"_s);
        QTest::keyClick(edit, Qt::Key_Return);
        QCoreApplication::processEvents();
        QVERIFY(!grid->Editing());
        QCOMPARE(Read().Cell(0, Obj_Mnemonic), u"a 2"_s);
        QCOMPARE(test::Current(grid), Read().index(1, Obj_Mnemonic));

        Type(grid, u"xyz"_s);
        QTest::keyClick(Editor(grid), Qt::Key_Escape);
        QCoreApplication::processEvents();
        QVERIFY(!grid->Editing());
        QVERIFY(objects_->isVisible());
        QCOMPARE(Read().Cell(1, Obj_Mnemonic), u"b"_s);
        QVERIFY(Message_Box::Take_Shown().isEmpty());
    }

    // Home and End go to the row's first and last shown cells, with Ctrl to
    // the grid's.
    void home_and_end_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("ctrl");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::newRow("home") << int(Qt::Key_Home) << false << 2 << int(Obj_Data_Type);
        QTest::newRow("end") << int(Qt::Key_End) << false << 2 << int(Obj_Mnemonic);
        QTest::newRow("ctrl+home") << int(Qt::Key_Home) << true << 0 << int(Obj_Data_Type);
        QTest::newRow("ctrl+end") << int(Qt::Key_End) << true << -1 << int(Obj_Mnemonic);
    }

    void home_and_end()
    {
        QFETCH(int, key);
        QFETCH(bool, ctrl);
        QFETCH(int, row);
        QFETCH(int, column);
        Start(Objects, 2, Obj_Position);
        QTest::keyClick(Read_Grid(), Qt::Key(key), ctrl ? Qt::ControlModifier : Qt::NoModifier);
        QCOMPARE(test::Current(Read_Grid()), Read().index(row < 0 ? Read().Row_Count() - 1 : row, column));
    }

    // Delete empties the selected cells and Ctrl+D fills the selection down
    // from its top row, each as one step that Ctrl+Z undoes.
    void block_keys_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("ctrl");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("delete") << int(Qt::Key_Delete) << false
                                << QStringList{u"Analog Value|95|||4|N|a"_s, u"Binary Input|95|||1|N|b"_s,
                                               u"Analog Input|62|||2|N|c"_s};
        QTest::newRow("ctrl+d") << int(Qt::Key_D) << true
                                << QStringList{u"Analog Value|95|0||4|N|a"_s, u"Binary Input|95|0||1|N|b"_s,
                                               u"Analog Input|62|0||2|N|c"_s};
    }

    void block_keys()
    {
        QFETCH(int, key);
        QFETCH(bool, ctrl);
        QFETCH(QStringList, expected);
        Start(Objects, 0, Obj_Eng_Unit);
        Table_Grid *grid = Read_Grid();
        QTest::keyClick(grid, Qt::Key_Tab);
        // Position and Start Bit of the three rows, chosen with Shift and the
        // arrows from where Tab went.
        QTest::keyClick(grid, Qt::Key_Right, Qt::ShiftModifier);
        QTest::keyClick(grid, Qt::Key_Down, Qt::ShiftModifier);
        QTest::keyClick(grid, Qt::Key_Down, Qt::ShiftModifier);
        const int steps = objects_->History()->count();
        QTest::keyClick(grid, Qt::Key(key), ctrl ? Qt::ControlModifier : Qt::NoModifier);
        for (int r = 0; r < 3; ++r)
            QCOMPARE(test::Row_Text(Read(), r), expected[r]);
        QCOMPARE(objects_->History()->count(), steps + 1);
        test::Ctrl_Key(grid, Qt::Key_Z);
        for (int r = 0; r < 3; ++r)
            QCOMPARE(test::Row_Text(Read(), r), Three_Objects[r]);
        QVERIFY(!objects_->Changed());
    }

    // F8 and the Next button show the problem's text under the grid, where
    // the user looks; a cell without a problem shows none.
    void next_problem_shows_its_text_data()
    {
        QTest::addColumn<bool>("button");
        QTest::newRow("F8") << false;
        QTest::newRow("Next") << true;
    }

    void next_problem_shows_its_text()
    {
        QFETCH(bool, button);
        test::Write(ws_.File_BACnet_Slave_Access,
                    Read_Objects({u"Analog Value|95|0||4|N|a"_s, u"Analog Value|x|4||4|N|b"_s}));
        Start(Objects, 0, Obj_Data_Type);
        Table_Grid *grid = Read_Grid();
        QCOMPARE(Note(objects_), QString());
        if (button)
            objects_->P_Problems->Btn_Next_Problem->click();
        else
            QTest::keyClick(grid, Qt::Key_F8);
        QCOMPARE(test::Current(grid), Read().index(1, Obj_Eng_Unit));
        QCOMPARE(Note(objects_), Messages().Get(1532) + u"2" + Messages().Get(1533));
        QTest::keyClick(grid, Qt::Key_Up);
        QCOMPARE(Note(objects_), QString());
    }
};

QTEST_MAIN(Test_Grid_Keys)
#include "test_grid_keys.moc"
