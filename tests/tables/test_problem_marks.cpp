// The marks of the table windows: every cell that fails a check or draws a
// warning is marked while the user edits, with its problem as its tip; a
// line counts them; F8 and the line's button go from one to the next.

#include "core/messages.h"
#include "table_window_fixture.h"
#include "tables/bacnet_access.h"
#include "tables/lora_access.h"
#include "tables/ui/bacnet_eng_unit.h"
#include "tables/ui/bacnet_slave_set_access.h"
#include "tables/ui/lora_set_access.h"
#include "widgets/message_box.h"
#include "widgets/problems_bar.h"

#include <QClipboard>
#include <QHelpEvent>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolTip>

using namespace Qt::StringLiterals;

namespace {

const QByteArray Comment = "<!--SW_VERSION = 1.000-->";

// Object rows "type|unit|position|bit|length|swap|mnemonic".
QByteArray Objects(const QStringList &read, const QStringList &write = {})
{
    QByteArray doc = "<BACnet_to_Modbus>";
    for (const auto &[group, rows] : {std::pair{"BACnet_in_Read", read}, std::pair{"BACnet_in_Write", write}}) {
        doc += QByteArray("<") + group + ">";
        for (const QString &row : rows) {
            const QStringList c = row.split(u'|');
            doc += QStringLiteral("<row Data_Type=\"%1\" Eng_Unit=\"%2\" Position=\"%3\" Bit=\"%4\" Length=\"%5\" "
                                  "Swap=\"%6\" Mnemonic=\"%7\"/>")
                       .arg(c[0], c[1], c[2], c[3], c[4], c[5], c[6])
                       .toUtf8();
        }
        doc += QByteArray("</") + group + ">";
    }
    return doc + "</BACnet_to_Modbus>" + Comment;
}

// Rule rows "enable|start|bytes|change|command|timer|time|mnemonic" and
// "enable|start|bytes|mnemonic".
QByteArray Rules(const QStringList &uplink, const QStringList &downlink)
{
    const char *up[] = {"Enable", "StartByte", "NumByte", "OnChange", "OnCMD", "OnTimer", "Time", "Mnemonic"};
    const char *down[] = {"Enable", "StartByte", "NumByte", "Mnemonic"};
    const auto rows = [](const QStringList &list, const char *const *names) {
        QByteArray out;
        for (const QString &row : list) {
            out += "<row";
            const QStringList c = row.split(u'|');
            for (int i = 0; i < c.size(); ++i)
                out += QByteArray(" ") + names[i] + "=\"" + c[i].toUtf8() + "\"";
            out += "/>";
        }
        return out;
    };
    return "<LoRaWAN_Set_Access><LoRaWAN_Uplink>" + rows(uplink, up) + "</LoRaWAN_Uplink><LoRaWAN_Downlink>" +
           rows(downlink, down) + "</LoRaWAN_Downlink></LoRaWAN_Set_Access>" + Comment;
}

// The tip a cell shows when the pointer rests on it.
QString Tip_Of(Table_Grid *grid, int row, int column)
{
    QToolTip::hideText();
    const QPoint at = test::Cell_Centre(grid, row, column);
    QHelpEvent event(QEvent::ToolTip, at, grid->viewport()->mapToGlobal(at));
    QApplication::sendEvent(grid->viewport(), &event);
    // A cell without a tip leaves the event to others.
    return event.isAccepted() ? QToolTip::text() : QString();
}

// The colour drawn at the top left corner of a cell, where a mark's frame
// runs (a warning's dashes start there).
QColor Edge_Of(Table_Grid *grid, int row, int column)
{
    const QRect rect = grid->visualRect(grid->model()->index(row, column));
    const QImage image = grid->viewport()->grab().toImage();
    return image.pixelColor(rect.left() + 1, rect.top() + 1);
}

const QColor Error_Colour(0xC6, 0x28, 0x28);
const QColor Warning_Colour(0xE0, 0x8E, 0x00);

} // namespace

class Test_Problem_Marks : public Table_Window_Fixture
{
    Q_OBJECT

    // Shown, with what it draws settled.
    void Show(QDialog *w)
    {
        Table_Window_Fixture::Show(w);
        QCoreApplication::processEvents();
    }
    QString Count_Line(Table_Window *w) { return w->P_Problems->L_Problems->text(); }

private slots:
    void init()
    {
        Set_Up(Rule_Window | Object_Window,
               [this] { test::Write(ws_.File_ParGen, test::ParGen_With("LoRa_Payload_Size", "51")); });
    }

    void cleanup() { Tear_Down(); }

    // A bad cell is marked with the text OK would show as its tip, a warning
    // in its own colour; typing the fix takes the mark and the tip away.
    void a_mark_and_its_fix_data()
    {
        QTest::addColumn<QStringList>("read");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::addColumn<bool>("warning");
        QTest::addColumn<QString>("tip");
        QTest::addColumn<QString>("fix");
        QTest::newRow("unit") << QStringList{u"Analog Value|95|0||4|N|a"_s, u"Analog Value|x|4||4|N|b"_s} << 1
                              << int(Obj_Eng_Unit) << false << Messages().Get(1532) + u"2" + Messages().Get(1533)
                              << u"62"_s;
        QTest::newRow("overlap") << QStringList{u"Analog Value|95|0||4|N|a"_s, u"Analog Value|95|2||4|N|b"_s} << 1
                                 << int(Obj_Position) << true
                                 << Messages().Get(Msg_Objects_Overlap).arg(Messages().Get(1508)).arg(2).arg(1).arg(2)
                                 << u"8"_s;
    }

    void a_mark_and_its_fix()
    {
        QFETCH(QStringList, read);
        QFETCH(int, row);
        QFETCH(int, column);
        QFETCH(bool, warning);
        QFETCH(QString, tip);
        QFETCH(QString, fix);
        test::Write(ws_.File_BACnet_Slave_Access, Objects(read));
        Show(objects_);
        Table_Grid *grid = objects_->ACG_BACnet_in_Read;
        QCOMPARE(Tip_Of(grid, row, column), tip);
        QCOMPARE(Edge_Of(grid, row, column), warning ? Warning_Colour : Error_Colour);
        QCOMPARE(Count_Line(objects_), Messages().Get(Msg_Problems_Count).arg(warning ? 0 : 1).arg(warning ? 1 : 0));
        // A cell without a problem has neither.
        QVERIFY(Tip_Of(grid, 0, column).isEmpty());
        QVERIFY(Edge_Of(grid, 0, column) != Error_Colour && Edge_Of(grid, 0, column) != Warning_Colour);

        test::Type_Into_Cell(grid, row, column, fix);
        QCOMPARE(grid->model()->index(row, column).data(Qt::EditRole).toString(), fix);
        QTRY_COMPARE(Count_Line(objects_), Messages().Get(Msg_No_Problems));
        QVERIFY(Tip_Of(grid, row, column).isEmpty());
        QVERIFY(Edge_Of(grid, row, column) != (warning ? Warning_Colour : Error_Colour));
        QVERIFY(!objects_->P_Problems->Btn_Next_Problem->isEnabled());
    }

    // A rule is named by the number its grid shows, from 1 as in the object
    // grids: in its tip, in an overlap's tip and in OK's refusal.
    void rule_rows_named_as_shown()
    {
        test::Write(ws_.File_LoRaWAN_Access,
                    Rules({u"Y|0|4|Y|N|N|30|a"_s, u"Y|2000|4|Y|N|N|30|b"_s, u"Y|2|4|Y|N|N|30|c"_s}, {}));
        Show(rules_);
        Table_Grid *grid = rules_->ACG_LoRa_Uplink;
        QCOMPARE(grid->model()->headerData(1, Qt::Vertical).toString(), u"2"_s);
        const QString error = Messages().Get(1243) + u"2" + Messages().Get(1244);
        QCOMPARE(Tip_Of(grid, 1, Up_StartByte), error);
        QCOMPARE(grid->model()->headerData(2, Qt::Vertical).toString(), u"3"_s);
        QCOMPARE(Tip_Of(grid, 2, Up_StartByte),
                 Messages().Get(Msg_Rules_Overlap).arg(Messages().Get(1214)).arg(3).arg(1).arg(2));
        QTest::mouseClick(rules_->Btn_OK, Qt::LeftButton);
        QCOMPARE(Message_Box::Take_Shown(), QStringList{error});
    }

    // The line counts errors and warnings of both pages, in the language.
    void the_count_line()
    {
        test::Write(
            ws_.File_BACnet_Slave_Access,
            Objects({u"Analog Value|x|0||4|N|a"_s, u"Analog Value|95|1500||4|N|b"_s, u"Analog Value|95|0||4|N|a"_s},
                    {u"Analog Out|95|0||9|N|c"_s}));
        Show(objects_);
        // Errors: the unit, the position, the Write length; warnings: the
        // shared name twice and the third row over the first.
        QCOMPARE(Count_Line(objects_), u"Errors: 3    Warnings: 3"_s);
        QVERIFY(Messages().Read_Language_File(QStringLiteral(SW_DATA_DIR "/LANGUAGE/Italiano.lng")).Ok());
        objects_->Set_Lang();
        QCOMPARE(Count_Line(objects_), u"Errori: 3    Avvisi: 3"_s);
        QCOMPARE(objects_->P_Problems->Btn_Next_Problem->text(), Messages().Get(Msg_Next_Problem));
        // A tip follows the language as well.
        QTRY_COMPARE(Tip_Of(objects_->ACG_BACnet_in_Read, 0, Obj_Eng_Unit),
                     Messages().Get(1532) + u"1" + Messages().Get(1533));
    }

    // F8 goes from the current cell to the next problem, across both pages
    // of the rule window, and round to the first; the button does the same.
    void next_problem_across_pages()
    {
        test::Write(ws_.File_LoRaWAN_Access, Rules({u"Y|0|4|N|N|N||"_s, u"Y|1600|4|N|N|N||"_s, u"Y|10|4|N|N|Y|5|"_s},
                                                   {u"Y|0|4|"_s, u"Y|20|60|"_s}));
        Show(rules_);
        QCOMPARE(Count_Line(rules_), Messages().Get(Msg_Problems_Count).arg(3).arg(0));
        Table_Grid *up = rules_->ACG_LoRa_Uplink;
        Table_Grid *down = rules_->ACG_LoRa_Downlink;
        up->setFocus();
        const auto at = [&] {
            Table_Grid *grid = rules_->PC_LoRa->currentIndex() == 0 ? up : down;
            return QStringLiteral("%1:%2:%3")
                .arg(rules_->PC_LoRa->currentIndex())
                .arg(grid->currentIndex().row())
                .arg(grid->currentIndex().column());
        };
        QStringList visited;
        for (int i = 0; i < 4; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_F8);
            visited << at();
        }
        QCOMPARE(visited, (QStringList{u"0:1:1"_s, u"0:2:6"_s, u"1:1:2"_s, u"0:1:1"_s}));
        QTest::mouseClick(rules_->P_Problems->Btn_Next_Problem, Qt::LeftButton);
        QCOMPARE(at(), u"0:2:6"_s);
        QCOMPARE(QApplication::focusWidget(), up);
    }

    // Warnings refuse nothing: OK writes the document without a word.
    void warnings_do_not_block_ok()
    {
        test::Write(ws_.File_LoRaWAN_Access, Rules({u"Y|0|10|N|N|N||a"_s, u"Y|4|10|N|N|N||b"_s}, {}));
        test::When_Shown(rules_, [&] {
            QCOMPARE(Count_Line(rules_), Messages().Get(Msg_Problems_Count).arg(0).arg(1));
            test::Type_Into_Cell(rules_->ACG_LoRa_Uplink, 1, Up_Mnemonic, u"second"_s);
            QTest::mouseClick(rules_->Btn_OK, Qt::LeftButton);
        });
        QCOMPARE(rules_->exec(), int(QDialog::Accepted));
        QVERIFY(Message_Box::Take_Shown().isEmpty());
        QVERIFY(test::Read(ws_.File_LoRaWAN_Access).contains("Mnemonic=\"second\""));
    }

    // A paste of many rows is one finding of the problems, however many
    // cells it changes.
    void a_paste_is_found_once()
    {
        Show(objects_);
        Live_Problems *live = objects_->Problems();
        const int before = live->Findings();
        QStringList lines;
        for (int r = 0; r < 300; ++r)
            lines << QStringLiteral("Analog Value\t62\t%1\t\t%2").arg(r * 4).arg(r % 2 ? 0 : 4);
        QGuiApplication::clipboard()->setText(lines.join(u'\n'));
        Table_Grid *grid = objects_->ACG_BACnet_in_Read;
        grid->setFocus();
        grid->Set_Current(0, Obj_Data_Type);
        test::Ctrl_Key(grid, Qt::Key_V);
        QCOMPARE(objects_->Access.Read.Cell(299, Obj_Position), u"1196"_s);
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        QCOMPARE(live->Findings(), before + 1);
        // 150 bad lengths; the 300 unnamed objects are warnings.
        QCOMPARE(live->Errors(), 150);
        QCOMPARE(live->Warnings(), 300);
    }
};

QTEST_MAIN(Test_Problem_Marks)
#include "test_problem_marks.moc"
