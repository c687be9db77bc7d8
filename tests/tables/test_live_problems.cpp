#include "core/messages.h"
#include "table_fixture.h"
#include "tables/bacnet_access.h"
#include "tables/live_problems.h"
#include "tables/lora_access.h"

#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// "E page:row:column" or "W …" of each mark, in grid order.
QStringList Marks(const Live_Problems &live)
{
    QStringList marks;
    for (const Problem &p : live.All())
        marks << QStringLiteral("%1 %2:%3:%4").arg(p.Is_Error() ? u"E"_s : u"W"_s).arg(p.Page).arg(p.Row).arg(p.Column);
    return marks;
}

const QString Good = QStringLiteral("Analog Value|95|%1||4|N|name %1");

} // namespace

class Test_Live_Problems : public QObject
{
    Q_OBJECT

private slots:
    void init() { Messages().Build_Default_Messages(); }

    // Every failure and warning of the object window at its cell, errors
    // first; a cell's tip is the text OK shows for it.
    void objects_data()
    {
        QTest::addColumn<QStringList>("read");
        QTest::addColumn<QStringList>("write");
        QTest::addColumn<QStringList>("marks");
        QTest::newRow("sound") << QStringList{Good.arg(0), Good.arg(4)} << QStringList{Good.arg(8)} << QStringList{};
        QTest::newRow("every bad row, both tables")
            << QStringList{Good.arg(0), u"Analog Value|x|4||4|N|a"_s, u"Analog Value|95|1500||4|N|b"_s}
            << QStringList{u"Analog Value|95|0||9|N|c"_s} << QStringList{u"E 0:1:1"_s, u"E 0:2:2"_s, u"E 1:0:4"_s};
        QTest::newRow("overlap and names are warnings")
            << QStringList{Good.arg(0), u"Analog Value|95|2||4|N|name 0"_s, u"Analog Value|95|8||4|N|"_s}
            << QStringList{} << QStringList{u"W 0:0:6"_s, u"W 0:1:2"_s, u"W 0:1:6"_s, u"W 0:2:6"_s};
        QTest::newRow("a row the end would drop") << QStringList{Good.arg(0), u"|95|4||4|N|lost"_s, Good.arg(8)}
                                                  << QStringList{} << QStringList{u"E 0:1:0"_s};
    }

    void objects()
    {
        QFETCH(QStringList, read);
        QFETCH(QStringList, write);
        QFETCH(QStringList, marks);
        BACnet_Slave_Set_Access objects;
        test::Fill(objects.Read, read);
        test::Fill(objects.Write, write);
        Live_Problems live(&objects.Read, &objects.Write, [&] { return Object_Live_Problems(objects); });
        live.Flush();
        QCOMPARE(Marks(live), marks);
        QCOMPARE(live.Errors() + live.Warnings(), marks.size());
        // What OK shows is the first error's text, at its cell.
        const Problem_List ok = objects.Check_Before_Save();
        QCOMPARE(ok.Ok(), live.Errors() == 0);
        if (!ok) {
            QCOMPARE(live.Level_At(ok.First().Page, ok.First().Row, ok.First().Column), Mark_Level::Error);
            QCOMPARE(live.Tip_At(ok.First().Page, ok.First().Row, ok.First().Column), ok.Problem_Text());
        }
    }

    // Too many objects: marked on the first object beyond the limit.
    void too_many_objects()
    {
        BACnet_Slave_Set_Access objects;
        objects.Desc_Length = true; // 1000 objects at most
        objects.Read.Reset(Objects_Long_Desc);
        objects.Write.Reset(Objects_Long_Desc);
        // 600 and 600 binary objects, each on a bit of its own, named apart.
        for (int r = 0; r < 600; ++r) {
            const QStringList row =
                QStringLiteral("Binary Value|95|%1|%2|1|N|n%3").arg(r / 8).arg(r % 8).arg(r).split(u'|');
            objects.Read.Set_Row(r, row);
            QStringList w = row;
            w[6] = QStringLiteral("w%1").arg(r);
            objects.Write.Set_Row(r, w);
        }
        Live_Problems live(&objects.Read, &objects.Write, [&] { return Object_Live_Problems(objects); });
        live.Flush();
        QCOMPARE(Marks(live), QStringList{u"E 1:400:0"_s});
        QCOMPARE(live.Tip_At(Page_Write, 400, Obj_Data_Type), objects.Controllo_Dati().Problem_Text());
    }

    // A burst of changes, as a paste makes them, is found once, at the next
    // turn of the event loop; the marks it moved are told.
    void a_burst_is_found_once()
    {
        BACnet_Slave_Set_Access objects;
        test::Fill(objects.Read, {Good.arg(0), Good.arg(4), Good.arg(8)});
        Live_Problems live(&objects.Read, &objects.Write, [&] { return Object_Live_Problems(objects); });
        QSignalSpy changed(&live, &Live_Problems::Changed);
        QTRY_COMPARE(live.Findings(), 1);
        QVERIFY(live.All().isEmpty());

        // A paste: many cells at once, then single cells, in one burst.
        objects.Read.Set_Cells({{0, Obj_Eng_Unit, u"x"_s}, {1, Obj_Eng_Unit, u"y"_s}, {2, Obj_Position, u"4"_s}});
        objects.Write.Set_Row(0, Good.arg(100).split(u'|'));
        objects.Read.Set_Cell(1, Obj_Eng_Unit, u"95"_s);
        QCOMPARE(live.Findings(), 1);
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        QCOMPARE(live.Findings(), 2);
        QCOMPARE(changed.count(), 2);
        QCOMPARE(Marks(live), (QStringList{u"E 0:0:1"_s, u"W 0:2:2"_s}));
        QStringList moved;
        for (const Live_Problems::Cell &c : live.Changed_Cells())
            moved << QStringLiteral("%1:%2:%3").arg(c.Page).arg(c.Row).arg(c.Column);
        moved.sort();
        QCOMPARE(moved, (QStringList{u"0:0:1"_s, u"0:2:2"_s}));

        // The fix: the mark goes, and only that cell is told.
        objects.Read.Set_Cell(0, Obj_Eng_Unit, u"62"_s);
        live.Flush();
        QCOMPARE(Marks(live), QStringList{u"W 0:2:2"_s});
        QCOMPARE(live.Changed_Cells().size(), 1);
        QCOMPARE(live.Level_At(Page_Read, 0, Obj_Eng_Unit), Mark_Level::None);
        QVERIFY(live.Tip_At(Page_Read, 0, Obj_Eng_Unit).isEmpty());
        // Flushed already: the queued call finds nothing to do.
        QCoreApplication::processEvents();
        QCOMPARE(live.Findings(), 3);
    }

    // Cells brought back to those of a kept finding (an undo, a redo) take
    // its problems again without finding them; Invalidate (the language)
    // finds them anew.
    void cells_brought_back_are_not_found_again()
    {
        BACnet_Slave_Set_Access objects;
        test::Fill(objects.Read, {Good.arg(0), Good.arg(4)});
        int finds = 0;
        Live_Problems live(&objects.Read, &objects.Write, [&] {
            ++finds;
            return Object_Live_Problems(objects);
        });
        live.Flush();
        objects.Read.Set_Cell(0, Obj_Eng_Unit, u"x"_s);
        live.Flush();
        QCOMPARE(finds, 2);
        QCOMPARE(Marks(live), QStringList{u"E 0:0:1"_s});
        objects.Read.Set_Cell(0, Obj_Eng_Unit, u"95"_s);
        live.Flush();
        QVERIFY(live.All().isEmpty());
        objects.Read.Set_Cell(0, Obj_Eng_Unit, u"x"_s);
        live.Flush();
        QCOMPARE(finds, 2);
        QCOMPARE(Marks(live), QStringList{u"E 0:0:1"_s});
        QCOMPARE(live.Changed_Cells().size(), 1);
        live.Invalidate();
        live.Flush();
        QCOMPARE(finds, 3);
        QCOMPARE(Marks(live), QStringList{u"E 0:0:1"_s});
    }

    // A cell with an error and a warning is marked as an error and tips
    // both, the error first; a new document (a model reset) takes the marks
    // away before they are found again.
    void two_problems_in_a_cell_and_a_new_document()
    {
        BACnet_Slave_Set_Access objects;
        const auto at = [](Severity level, const QString &text, int page, int row, int column) {
            return Problem{.Level = level, .Text = text, .Page = page, .Row = row, .Column = column};
        };
        const QList<Problem> found = {at(Severity::Warning, u"w"_s, 0, 1, 1), at(Severity::Error, u"e"_s, 0, 1, 1),
                                      at(Severity::Warning, u"x"_s, 1, 0, 6)};
        Live_Problems live(&objects.Read, &objects.Write, [&] { return Problem_List(found); });
        live.Flush();
        QCOMPARE(live.Level_At(0, 1, 1), Mark_Level::Error);
        QCOMPARE(live.Tip_At(0, 1, 1), u"e\nw"_s);
        QCOMPARE(live.Level_At(1, 0, 6), Mark_Level::Warning);
        QCOMPARE(live.Level_At(1, 1, 6), Mark_Level::None);
        QCOMPARE(live.Errors(), 1);
        QCOMPARE(live.Warnings(), 2);

        objects.Read.Reset(objects.Read.Row_Count());
        QCOMPARE(live.Level_At(0, 1, 1), Mark_Level::None);
        QVERIFY(live.Tip_At(0, 1, 1).isEmpty());
        QTRY_COMPARE(live.Level_At(0, 1, 1), Mark_Level::Error);
    }

    // The next problem after a cell, in grid order across both pages, going
    // round at the end.
    void next_after_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("next");
        QTest::newRow("nowhere") << -1 << -1 << -1 << u"0:1:1"_s;
        QTest::newRow("before the first") << 0 << 0 << 5 << u"0:1:1"_s;
        QTest::newRow("on the first") << 0 << 1 << 1 << u"0:3:6"_s;
        QTest::newRow("to the other page") << 0 << 3 << 6 << u"1:2:2"_s;
        QTest::newRow("round") << 1 << 2 << 2 << u"0:1:1"_s;
        QTest::newRow("after the last") << 1 << 200 << 0 << u"0:1:1"_s;
    }

    void next_after()
    {
        QFETCH(int, page);
        QFETCH(int, row);
        QFETCH(int, column);
        QFETCH(QString, next);
        LoRa_Set_Access rules;
        rules.MaxPayloadSize = 51;
        // Uplink rules 2 (start byte) and 4 (time); downlink rule 3 (bytes).
        test::Fill(rules.Uplink,
                   {u"Y|0|4|N|N|N||"_s, u"Y|1600|4|N|N|N||"_s, u"N|x|4|N|N|Y|5|"_s, u"Y|20|4|N|N|Y|5|"_s});
        test::Fill(rules.Downlink, {u"Y|0|4|"_s, u"Y|10|4|"_s, u"Y|20|50|"_s});
        Live_Problems live(&rules.Uplink, &rules.Downlink, [&] { return Rule_Live_Problems(rules); });
        live.Flush();
        QCOMPARE(Marks(live), (QStringList{u"E 0:1:1"_s, u"E 0:3:6"_s, u"E 1:2:2"_s}));
        const Problem *p = live.Next_After(page, row, column);
        QVERIFY(p);
        QCOMPARE(QStringLiteral("%1:%2:%3").arg(p->Page).arg(p->Row).arg(p->Column), next);
    }
};

QTEST_GUILESS_MAIN(Test_Live_Problems)
#include "test_live_problems.moc"
