#include "core/messages.h"
#include "table_fixture.h"
#include "tables/bacnet_access.h"
#include "tables/data_map.h"
#include "tables/lora_access.h"

#include <QTest>

namespace {

const QString AV = QStringLiteral("Analog Value|95|%1||%2||x");
const QString BV = QStringLiteral("Binary Value|95|%1|%2|1||x");
const QString Up = QStringLiteral("Y|%1|%2|Y|N|N|30|u");
const QString Down = QStringLiteral("Y|%1|%2|d");

// Every entry of the map's lists as "kind page:row", the gaps with the byte
// runs that their text ends with: O object overlap, R overrun, L rule
// overlap, C bytes no rule carries, U rule bytes no object uses.
QStringList Entries(const Data_Map &map)
{
    QStringList entries;
    const auto add = [&](const Problem_List &list, const char *kind, bool runs) {
        for (const Problem &p : list) {
            QString e = QStringLiteral("%1 %2:%3").arg(QLatin1StringView(kind)).arg(p.Page).arg(p.Row);
            if (runs)
                e += u' ' + p.Text.mid(p.Text.lastIndexOf(QStringLiteral("bytes ")) + 6);
            entries << e;
        }
    };
    add(map.object_overlaps, "O", false);
    add(map.overruns, "R", false);
    add(map.rule_overlaps, "L", false);
    add(map.not_carried, "C", true);
    add(map.no_object, "U", true);
    return entries;
}

struct Configuration
{
    BACnet_Slave_Set_Access objects;
    LoRa_Set_Access rules;

    Configuration(const QStringList &read, const QStringList &write, const QStringList &up, const QStringList &down)
    {
        test::Fill(objects.Read, read);
        test::Fill(objects.Write, write);
        test::Fill(rules.Uplink, up);
        test::Fill(rules.Downlink, down);
    }
};

} // namespace

class Test_Data_Map : public QObject
{
    Q_OBJECT

private slots:
    void lists_data()
    {
        QTest::addColumn<QStringList>("read");
        QTest::addColumn<QStringList>("write");
        QTest::addColumn<QStringList>("uplink");
        QTest::addColumn<QStringList>("downlink");
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<bool>("faulty");
        QTest::newRow("every byte paired")
            << QStringList{AV.arg(0).arg(4)} << QStringList{AV.arg(4).arg(2)} << QStringList{Up.arg(0).arg(4)}
            << QStringList{Down.arg(4).arg(2)} << QStringList{} << false;
        // The rules name no area: a downlink over Read bytes pairs as well.
        QTest::newRow("rule over the other area")
            << QStringList{} << QStringList{AV.arg(100).arg(2)} << QStringList{Up.arg(100).arg(2)} << QStringList{}
            << QStringList{} << false;
        QTest::newRow("bits of one byte") << QStringList{BV.arg(10).arg(0), BV.arg(10).arg(1)} << QStringList{}
                                          << QStringList{Up.arg(10).arg(1)} << QStringList{} << QStringList{} << false;
        QTest::newRow("gaps both ways") << QStringList{AV.arg(0).arg(8), BV.arg(30).arg(7)} << QStringList{}
                                        << QStringList{Up.arg(0).arg(4)}
                                        << QStringList{Down.arg(20).arg(4), Down.arg(5).arg(2)}
                                        << QStringList{QStringLiteral("C 0:0 4, 7"), QStringLiteral("C 0:1 30"),
                                                       QStringLiteral("U 1:0 20-23")}
                                        << false;
        QTest::newRow("overrun") << QStringList{AV.arg(1498).arg(4)} << QStringList{}
                                 << QStringList{Up.arg(1496).arg(4)} << QStringList{}
                                 << QStringList{QStringLiteral("R 0:0"), QStringLiteral("C 0:0 1500-1501"),
                                                QStringLiteral("U 0:0 1496-1497")}
                                 << true;
        QTest::newRow("binary past the end")
            << QStringList{} << QStringList{BV.arg(1500).arg(0)} << QStringList{} << QStringList{Down.arg(1500).arg(1)}
            << QStringList{QStringLiteral("R 1:0")} << true;
        QTest::newRow("object overlap") << QStringList{AV.arg(0).arg(4), AV.arg(2).arg(4)} << QStringList{}
                                        << QStringList{Up.arg(0).arg(6)} << QStringList{}
                                        << QStringList{QStringLiteral("O 0:1")} << true;
        QTest::newRow("rule overlap") << QStringList{AV.arg(0).arg(6)} << QStringList{}
                                      << QStringList{Up.arg(0).arg(4), Up.arg(2).arg(4)} << QStringList{}
                                      << QStringList{QStringLiteral("L 0:1")} << true;
    }

    void lists()
    {
        QFETCH(QStringList, read);
        QFETCH(QStringList, write);
        QFETCH(QStringList, uplink);
        QFETCH(QStringList, downlink);
        QFETCH(QStringList, entries);
        QFETCH(bool, faulty);
        const Configuration c(read, write, uplink, downlink);
        const Data_Map map = Build_Data_Map(c.objects, c.rules);
        QCOMPARE(Entries(map), entries);
        QCOMPARE(map.Faulty(), faulty);
        const QStringList lines = Data_Map_Lines(map);
        // The pairing is told as an aid before any gap, and only then.
        const bool gaps = !map.not_carried.isEmpty() || !map.no_object.isEmpty();
        QCOMPARE(lines.contains(Messages().Get(Msg_Map_Pairing_Note)), gaps);
        if (entries.isEmpty())
            QCOMPARE(lines, QStringList{Messages().Get(Msg_Map_Nothing_Listed)});
        else
            QCOMPARE(lines.size(), entries.size() + (gaps ? 1 : 0));
    }

    // Rows are named as the grid numbers them, the bytes as the table holds them.
    void line_texts()
    {
        const Configuration c({AV.arg(1498).arg(4), BV.arg(40).arg(3)}, {}, {},
                              {QStringLiteral("N|0|4|d"), Down.arg(60).arg(2)});
        const Data_Map map = Build_Data_Map(c.objects, c.rules);
        const QString read = Messages().Get(1508);
        QCOMPARE(map.overruns.value(0).Text,
                 Messages().Get(Msg_Map_Overrun).arg(read).arg(1).arg(1498).arg(1501).arg(Data_Area_Bytes));
        QCOMPARE(map.not_carried.value(1).Text,
                 Messages()
                     .Get(Msg_Map_Not_Carried)
                     .arg(read, QStringLiteral("2"), QStringLiteral("40.3"), QStringLiteral("40")));
        // The disabled rule above holds no bytes but keeps its number (the
        // second row of its grid).
        QCOMPARE(map.no_object.size(), 1);
        QCOMPARE(map.no_object.value(0).Text,
                 Messages()
                     .Get(Msg_Map_No_Object)
                     .arg(Messages().Get(1215), QStringLiteral("2"), QStringLiteral("60-61"), QStringLiteral("60-61")));
    }

    void picture()
    {
        // Row 1 over bytes 0-3, row 2 over 2-5 (overlap at 2-3), rows 3 and 4
        // on two bits of byte 8, row 5 on the bit of row 3, row 6 at the end.
        const Configuration c({AV.arg(0).arg(4), AV.arg(2).arg(4), BV.arg(8).arg(0), BV.arg(8).arg(1), BV.arg(9).arg(5),
                               BV.arg(9).arg(5), AV.arg(1496).arg(6)},
                              {}, {Up.arg(45).arg(10)}, {});
        const Data_Map map = Build_Data_Map(c.objects, c.rules);
        const QStringList read = Area_Picture(map, false, Page_Read, 20);
        QCOMPARE(read.size(), 1 + 75);
        QCOMPARE(read.at(0), Messages().Get(Msg_Map_Picture).arg(Messages().Get(1508)).arg(1499).arg(20));
        QCOMPARE(read.at(1), QStringLiteral("   0 AA##BB..+#.........."));
        QCOMPARE(read.at(2), QStringLiteral("  20 ...................."));
        // The overrunning row is drawn up to the area's end.
        QCOMPARE(read.last(), QStringLiteral("1480 ................GGGG"));
        const QStringList up = Area_Picture(map, true, Page_Uplink, 50);
        QCOMPARE(up.at(1), QStringLiteral("   0 .............................................AAAAA"));
        QCOMPARE(up.at(2), QStringLiteral("  50 AAAAA............................................."));
        QCOMPARE(Area_Picture(map, false, Page_Write, 50).at(1), QStringLiteral("   0 ") + QString(50, u'.'));
    }
};

QTEST_GUILESS_MAIN(Test_Data_Map)
#include "test_data_map.moc"
