#include "core/messages.h"
#include "table_fixture.h"
#include "tables/bacnet_access.h"
#include "tables/lora_access.h"
#include "tables/table_diff.h"
#include "test_support.h"

#include <QTest>

namespace {

// An object row: Data Type, Eng. Unit, Position, Bit, Length, Swap, Mnemonic.
QString Obj(const char *type, const char *unit, const char *position, const char *mnemonic, const char *swap = "N")
{
    return S("%1|%2|%3||4|%4|%5").arg(S(type), S(unit), S(position), S(swap), S(mnemonic));
}

} // namespace

class Test_Table_Diff : public QObject
{
    Q_OBJECT

private slots:
    // The rows of the Read table before and after; lines as the grid shows
    // the cells, rows named by the numbers the grid gives them.
    void objects_data()
    {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QStringList>("after");
        QTest::addColumn<QStringList>("lines");
        const QString t1 = Obj("Analog Input", "62", "0", "t1");
        const QString t2 = Obj("Analog Input", "62", "4", "t2");
        const QString t3 = Obj("Analog Input", "62", "8", "t3");
        const QString row = S("[Read] row %1");
        QTest::newRow("identical") << QStringList{t1, t2} << QStringList{t1, t2} << QStringList();
        QTest::newRow("empty") << QStringList() << QStringList() << QStringList();
        // The unit shows its number and name; the other cells stay silent.
        QTest::newRow("a changed unit") << QStringList{t1, t2} << QStringList{t1, Obj("Analog Input", "98", "4", "t2")}
                                        << QStringList{row.arg(2) +
                                                       S(", Eng. Unit: 62  degrees-Celsius -> 98  percent")};
        // One line for a row inserted at the top, not a change in each row
        // below it.
        QTest::newRow("a row inserted at the top")
            << QStringList{t1, t2, t3} << QStringList{Obj("Binary Input", "95", "12", ""), t1, t2, t3}
            << QStringList{Messages()
                               .Get(Msg_Diff_Row_Inserted)
                               .arg(row.arg(1), S("Data Type: Binary Input; Eng. Unit: 95  no-units; Position: 12; "
                                                  "Start Bit: (empty); Length: 4; Mnemonic: (empty)"))};
        QTest::newRow("a row deleted")
            << QStringList{t1, t2, t3} << QStringList{t1, t3}
            << QStringList{Messages()
                               .Get(Msg_Diff_Row_Deleted)
                               .arg(row.arg(2), S("Data Type: Analog Input; Eng. Unit: 62  degrees-Celsius; "
                                                  "Position: 4; Start Bit: (empty); Length: 4; Mnemonic: t2"))};
        // A row inserted before a changed one: the changed row is paired with
        // its old self (the most cells alike) and named with both numbers.
        QTest::newRow("inserted before a change")
            << QStringList{t1, t2}
            << QStringList{t1, Obj("Binary Input", "95", "12", "b"), Obj("Analog Input", "62", "6", "t2")}
            << QStringList{Messages()
                               .Get(Msg_Diff_Row_Inserted)
                               .arg(row.arg(2), S("Data Type: Binary Input; Eng. Unit: 95  no-units; Position: 12; "
                                                  "Start Bit: (empty); Length: 4; Mnemonic: b")),
                           Messages().Get(Msg_Diff_Row_Was).arg(row.arg(3), S("2")) + S(", Position: 4 -> 6")};
        // The Swap column is never shown, so it is no difference.
        QTest::newRow("hidden column") << QStringList{t1} << QStringList{Obj("Analog Input", "62", "0", "t1", "Y")}
                                       << QStringList();
        QTest::newRow("cell emptied") << QStringList{t1} << QStringList{Obj("Analog Input", "62", "0", "")}
                                      << QStringList{row.arg(1) + S(", Mnemonic: t1 -> (empty)")};
        // A line break in a cell stays on the cell's line.
        QTest::newRow("line break") << QStringList{t1} << QStringList{Obj("Analog Input", "62", "0", "a\nb\x7f")}
                                    << QStringList{row.arg(1) + S(", Mnemonic: t1 -> a\\u000ab\\u007f")};
    }

    void objects()
    {
        QFETCH(QStringList, before);
        QFETCH(QStringList, after);
        QFETCH(QStringList, lines);
        BACnet_Slave_Set_Access a, b;
        test::Fill(a.Read, before);
        test::Fill(b.Read, after);
        QCOMPARE(Table_Differences(a.Read, b.Read, S("Read"), Msg_Map_Row_Name), lines);
        // The other way round every row keeps its line count.
        QCOMPARE(Table_Differences(b.Read, a.Read, S("Read"), Msg_Map_Row_Name).size(), lines.size());
    }

    // Rule grids name their rows as they number them and show check boxes
    // as on or off.
    void rules()
    {
        LoRa_Set_Access a, b;
        test::Fill(a.Uplink, {S("Y|0|4|Y|N|N|30|first"), S("Y|4|4|N|N|Y|60|second")});
        test::Fill(b.Uplink, {S("Y|0|4|Y|N|N|30|first"), S("Y|4|4|N|Y|Y|60|second")});
        const QString rule = Messages().Get(Msg_Map_Rule_Name).arg(S("Up"), S("2"));
        const QString header = a.Uplink.headerData(Up_OnCMD, Qt::Horizontal).toString().simplified();
        QCOMPARE(Table_Differences(a.Uplink, b.Uplink, S("Up"), Msg_Map_Rule_Name),
                 QStringList{rule + S(", ") + header + S(": ") + Messages().Get(Msg_Diff_Off) + S(" -> ") +
                             Messages().Get(Msg_Diff_On)});
    }
};

QTEST_GUILESS_MAIN(Test_Table_Diff)
#include "test_table_diff.moc"
