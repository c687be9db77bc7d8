#include "core/messages.h"
#include "table_fixture.h"
#include "tables/bacnet_access.h"
#include "tables/lora_access.h"
#include "tables/overlap_warnings.h"

#include <QTest>

namespace {

// "page:row" of each warning, the row counted from 0.
QStringList Places(const Problem_List &warnings)
{
    QStringList places;
    for (const Problem &w : warnings)
        places << QStringLiteral("%1:%2").arg(w.Page).arg(w.Row);
    return places;
}

} // namespace

class Test_Overlap_Warnings : public QObject
{
    Q_OBJECT

private slots:
    void objects_data()
    {
        QTest::addColumn<QStringList>("read");
        QTest::addColumn<QStringList>("write");
        QTest::addColumn<QStringList>("places");
        const QString av = QStringLiteral("Analog Value|95|%1||4||x");
        const QString bv = QStringLiteral("Binary Value|95|%1|%2|1||x");
        QTest::newRow("apart") << QStringList{av.arg(0), av.arg(4)} << QStringList{} << QStringList{};
        QTest::newRow("bytes shared") << QStringList{av.arg(0), av.arg(3), av.arg(8)} << QStringList{}
                                      << QStringList{QStringLiteral("0:1")};
        QTest::newRow("bits of one byte")
            << QStringList{bv.arg(10).arg(0), bv.arg(10).arg(1)} << QStringList{} << QStringList{};
        QTest::newRow("same bit") << QStringList{bv.arg(10).arg(3), bv.arg(10).arg(3)} << QStringList{}
                                  << QStringList{QStringLiteral("0:1")};
        QTest::newRow("bit inside bytes")
            << QStringList{av.arg(8), bv.arg(10).arg(3)} << QStringList{} << QStringList{QStringLiteral("0:1")};
        QTest::newRow("bytes over a bit")
            << QStringList{bv.arg(10).arg(3), av.arg(8)} << QStringList{} << QStringList{QStringLiteral("0:1")};
        QTest::newRow("tables apart") << QStringList{av.arg(0)} << QStringList{av.arg(0), av.arg(2)}
                                      << QStringList{QStringLiteral("1:1")};
    }

    void objects()
    {
        QFETCH(QStringList, read);
        QFETCH(QStringList, write);
        QFETCH(QStringList, places);
        BACnet_Slave_Set_Access objects;
        test::Fill(objects.Read, read);
        test::Fill(objects.Write, write);
        QVERIFY(objects.Controllo_Dati());
        const Problem_List warnings = Object_Overlap_Warnings(objects);
        QCOMPARE(Places(warnings), places);
        for (const Problem &w : warnings)
            QCOMPARE(w.Column, int(Obj_Position));
    }

    void object_message_names_rows_and_byte()
    {
        BACnet_Slave_Set_Access objects;
        test::Fill(objects.Read,
                   {QStringLiteral("Analog Value|95|0||4||a"), QStringLiteral("Analog Value|95|2||4||b")});
        const Problem_List warnings = Object_Overlap_Warnings(objects);
        QCOMPARE(warnings.size(), 1);
        QCOMPARE(warnings[0].Text, Messages().Get(Msg_Objects_Overlap).arg(Messages().Get(1508)).arg(2).arg(1).arg(2));
    }

    void rules_data()
    {
        QTest::addColumn<QStringList>("uplink");
        QTest::addColumn<QStringList>("downlink");
        QTest::addColumn<QStringList>("places");
        QTest::addColumn<QString>("text");
        const QString up = QStringLiteral("%1|%2|%3|Y|N|N|30|u");
        const QString down = QStringLiteral("%1|%2|%3|d");
        QTest::newRow("touching") << QStringList{up.arg(QChar(u'Y')).arg(0).arg(4), up.arg(QChar(u'Y')).arg(4).arg(4)}
                                  << QStringList{} << QStringList{} << QString();
        QTest::newRow("uplink") << QStringList{up.arg(QChar(u'Y')).arg(0).arg(4), up.arg(QChar(u'Y')).arg(3).arg(4)}
                                << QStringList{} << QStringList{QStringLiteral("0:1")}
                                << Messages().Get(Msg_Rules_Overlap).arg(Messages().Get(1214)).arg(2).arg(1).arg(3);
        QTest::newRow("disabled") << QStringList{up.arg(QChar(u'N')).arg(0).arg(4), up.arg(QChar(u'Y')).arg(3).arg(4)}
                                  << QStringList{} << QStringList{} << QString();
        QTest::newRow("up and down apart")
            << QStringList{up.arg(QChar(u'Y')).arg(0).arg(4)} << QStringList{down.arg(QChar(u'Y')).arg(0).arg(4)}
            << QStringList{} << QString();
        QTest::newRow("downlink") << QStringList{}
                                  << QStringList{down.arg(QChar(u'Y')).arg(5).arg(4),
                                                 down.arg(QChar(u'Y')).arg(0).arg(6)}
                                  << QStringList{QStringLiteral("1:1")}
                                  << Messages().Get(Msg_Rules_Overlap).arg(Messages().Get(1215)).arg(2).arg(1).arg(5);
    }

    void rules()
    {
        QFETCH(QStringList, uplink);
        QFETCH(QStringList, downlink);
        QFETCH(QStringList, places);
        QFETCH(QString, text);
        LoRa_Set_Access rules;
        rules.MaxPayloadSize = 51;
        test::Fill(rules.Uplink, uplink);
        test::Fill(rules.Downlink, downlink);
        QVERIFY(rules.Controllo_Dati());
        const Problem_List warnings = Rule_Overlap_Warnings(rules);
        QCOMPARE(Places(warnings), places);
        if (!warnings.isEmpty())
            QCOMPARE(warnings[0].Text, text);
    }
};

QTEST_GUILESS_MAIN(Test_Overlap_Warnings)
#include "test_overlap_warnings.moc"
