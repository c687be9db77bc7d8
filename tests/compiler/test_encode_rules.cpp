#include "compiler/compile_project.h"
#include "fixtures.h"
#include "test_support.h"

#include <QTemporaryDir>
#include <QTest>

using namespace fixture;

namespace {

constexpr int Uplink_Table = 0x400;
constexpr int Downlink_Table = 0x1000;

QByteArray Entry(const QByteArray &bank2, int table, int n)
{
    return bank2.mid(table + 12 * n, 12);
}

} // namespace

class Test_Encode_Rules : public QObject
{
    Q_OBJECT

    QTemporaryDir dir_;
    QString Rules() const { return dir_.filePath(QStringLiteral("LoRaWAN_SetAccess.xml")); }

    Result<Bank_Images> Compile()
    {
        return Compile_Project(dir_.filePath(QStringLiteral("none.xml")), Rules(),
                               dir_.filePath(QStringLiteral("none2.xml")));
    }

    QByteArray Bank2()
    {
        const Result<Bank_Images> r = Compile();
        if (!r.Ok())
            qFatal("compilation failed: %s", qPrintable(r.Problem()));
        return r->bank2;
    }

private slots:
    // One uplink rule, as the rule window writes it, and the entry it gives.
    void uplink_entry_data()
    {
        QTest::addColumn<QString>("enable");
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("num");
        QTest::addColumn<QString>("on_change");
        QTest::addColumn<QString>("on_cmd");
        QTest::addColumn<QString>("on_timer");
        QTest::addColumn<QString>("time");
        QTest::addColumn<QByteArray>("entry"); // the 12 bytes in hexadecimal; empty: no entry
        const QString Y = S("Y");
        const QString N = S("N");
        QTest::newRow("change and timer, 600 s")
            << Y << S("0") << S("10") << Y << N << Y << S("600") << QByteArray("00000A00 05000000 58020000");
        QTest::newRow("all triggers") << Y << S("1536") << S("49") << Y << Y << Y << S("86400")
                                      << QByteArray("00063100 07000000 80510100");
        QTest::newRow("command only") << Y << S("7") << S("1") << N << Y << N << S("30")
                                      << QByteArray("07000100 02000000 1E000000");
        QTest::newRow("lower-case y between blanks enables")
            << S(" y ") << S("1") << S("2") << N << N << N << S("30") << QByteArray("01000200 00000000 1E000000");
        QTest::newRow("N disables") << N << S("1") << S("2") << Y << Y << Y << S("30") << QByteArray();
        QTest::newRow("empty Enable disables") << S("") << S("1") << S("2") << Y << Y << Y << S("30") << QByteArray();
        QTest::newRow("triggers not trimmed") << Y << S("0") << S("1") << S(" Y") << S("y") << S("Y ") << S("30")
                                              << QByteArray("00000100 02000000 1E000000");
        QTest::newRow("empty time gives 30")
            << Y << S("0") << S("1") << N << N << Y << S("") << QByteArray("00000100 04000000 1E000000");
        QTest::newRow("time not a number gives 30")
            << Y << S("0") << S("1") << N << N << Y << S("10 s") << QByteArray("00000100 04000000 1E000000");
        QTest::newRow("time 0 stays 0") << Y << S("0") << S("1") << N << N << N << S("0")
                                        << QByteArray("00000100 00000000 00000000");
        QTest::newRow("numbers as typed")
            << Y << S("0x10") << S(" 010") << N << N << N << S("$FF") << QByteArray("10000A00 00000000 FF000000");
        QTest::newRow("low 16 bits of start and length")
            << Y << S("70000") << S("-1") << N << N << N << S("30") << QByteArray("7011FFFF 00000000 1E000000");
        QTest::newRow("empty start and length give 0")
            << Y << S("") << S("abc") << N << N << N << S("30") << QByteArray("00000000 00000000 1E000000");
    }

    void uplink_entry()
    {
        QFETCH(QString, enable);
        QFETCH(QString, start);
        QFETCH(QString, num);
        QFETCH(QString, on_change);
        QFETCH(QString, on_cmd);
        QFETCH(QString, on_timer);
        QFETCH(QString, time);
        QFETCH(QByteArray, entry);
        Write_Rules(Rules(), {Uplink(enable, start, num, on_change, on_cmd, on_timer, time, S("text"))});
        const QByteArray b2 = Bank2();
        QCOMPARE(U16(b2, 0x50), entry.isEmpty() ? 0u : 1u);
        QCOMPARE(Entry(b2, Uplink_Table, 0), entry.isEmpty() ? QByteArray(12, '\0') : QByteArray::fromHex(entry));
    }

    void disabled_rules_leave_no_gap()
    {
        const QString Y = S("Y");
        const QString N = S("N");
        Write_Rules(Rules(),
                    {Uplink(Y, S("0"), S("4"), Y, N, N, S("30")), Uplink(N, S("4"), S("4"), Y, N, N, S("30")),
                     Uplink(Y, S("8"), S("4"), N, N, Y, S("60"))},
                    {Downlink(N, S("100"), S("2")), Downlink(Y, S("200"), S("3"), S("set point")),
                     Downlink(S("y"), S("300"), S("4"))});
        const QByteArray b2 = Bank2();
        QCOMPARE(U16(b2, 0x50), 2u);
        QCOMPARE(U16(b2, 0x52), 2u);
        QCOMPARE(Entry(b2, Uplink_Table, 0), QByteArray::fromHex("00000400 01000000 1E000000"));
        QCOMPARE(Entry(b2, Uplink_Table, 1), QByteArray::fromHex("08000400 04000000 3C000000"));
        QCOMPARE(Entry(b2, Uplink_Table, 2), QByteArray(12, '\0'));
        QCOMPARE(Entry(b2, Downlink_Table, 0), QByteArray::fromHex("C8000300 0000000000000000"));
        QCOMPARE(Entry(b2, Downlink_Table, 1), QByteArray::fromHex("2C010400 0000000000000000"));
        QCOMPARE(Entry(b2, Downlink_Table, 2), QByteArray(12, '\0'));
        QCOMPARE(U32(b2, 0x48), 0x80400u);
        QCOMPARE(U32(b2, 0x4C), 0x81000u);
    }

    // Hand edits: rows lacking attributes, rows of other names, a missing
    // group, blank text between rows.
    void hand_edited_rows()
    {
        test::Write(Rules(), "<LoRaWAN_Set_Access>\n"
                             "  <LoRaWAN_Uplink>\n"
                             "    <row StartByte=\"1\" NumByte=\"1\" OnChange=\"Y\"/>\n" // no Enable: disabled
                             "    <row Enable=\"Y\" StartByte=\"2\" NumByte=\"3\" OnTimer=\"Y\"/>\n" // no Time: 30
                             "    <rule Enable=\"Y\" StartByte=\"5\" NumByte=\"6\"/>\n" // any name is a row
                             "  </LoRaWAN_Uplink>\n"
                             "</LoRaWAN_Set_Access>");
        const QByteArray b2 = Bank2();
        QCOMPARE(U16(b2, 0x50), 2u);
        QCOMPARE(U16(b2, 0x52), 0u); // the missing downlink group holds no rules
        QCOMPARE(Entry(b2, Uplink_Table, 0), QByteArray::fromHex("02000300 04000000 1E000000"));
        QCOMPARE(Entry(b2, Uplink_Table, 1), QByteArray::fromHex("05000600 00000000 1E000000"));
        QCOMPARE(U32(b2, 0x48), 0x80400u);
        QCOMPARE(U32(b2, 0x4C), 0x81000u);
    }

    void no_rule_document()
    {
        QFile::remove(Rules());
        const QByteArray b2 = Bank2();
        QCOMPARE(U32(b2, 0x48), 0x80400u);
        QCOMPARE(U32(b2, 0x4C), 0x81000u);
        QCOMPARE(U32(b2, 0x50), 0u);
        QCOMPARE(b2.mid(0x400, 0x1C00 - 0x400), QByteArray(0x1C00 - 0x400, '\0'));
    }

    // 256 entries fill the table exactly; one enabled rule more stops the
    // compilation instead of being dropped. Disabled rules do not count.
    void table_capacity_data()
    {
        QTest::addColumn<int>("enabled");
        QTest::addColumn<int>("disabled");
        QTest::addColumn<bool>("downlink");
        QTest::addColumn<bool>("ok");
        QTest::newRow("256 uplinks") << 256 << 0 << false << true;
        QTest::newRow("256 uplinks among 300 rows") << 256 << 44 << false << true;
        QTest::newRow("257 uplinks") << 257 << 0 << false << false;
        QTest::newRow("256 downlinks") << 256 << 10 << true << true;
        QTest::newRow("300 downlinks") << 300 << 0 << true << false;
    }

    void table_capacity()
    {
        QFETCH(int, enabled);
        QFETCH(int, disabled);
        QFETCH(bool, downlink);
        QFETCH(bool, ok);
        QList<Row> rows;
        for (int i = 0; i < enabled + disabled; ++i) {
            const QString enable = i % 2 == 1 && i / 2 < disabled ? S("N") : S("Y");
            const QString start = QString::number(i);
            rows << (downlink ? Downlink(enable, start, S("1"))
                              : Uplink(enable, start, S("1"), S("N"), S("N"), S("N"), S("30")));
        }
        if (downlink)
            Write_Rules(Rules(), {}, rows);
        else
            Write_Rules(Rules(), rows);
        const Result<Bank_Images> r = Compile();
        QCOMPARE(r.Ok(), ok);
        if (!ok) {
            QCOMPARE(r.Problem(), QStringLiteral("Error! [%1] holds more than 256 enabled rules, the most the device "
                                                 "takes. The compilation stopped and no image was written.")
                                      .arg(downlink ? S("LoRaWAN Downlink") : S("LoRaWAN Uplink")));
            return;
        }
        const QByteArray &b2 = r->bank2;
        QCOMPARE(U16(b2, downlink ? 0x52 : 0x50), 256u);
        // The last entry is filled and nothing spills past the table.
        const int table = downlink ? Downlink_Table : Uplink_Table;
        QVERIFY(U16(b2, table + 12 * 255 + 2) == 1u);
        QCOMPARE(b2.mid(table + 3072, 16), QByteArray(16, '\0'));
    }

    void damaged_document_stops()
    {
        test::Write(Rules(), "<LoRaWAN_Set_Access>\n<LoRaWAN_Uplink><row Enable=\"Y\"></LoRaWAN_Uplink>");
        const Result<Bank_Images> r = Compile();
        QVERIFY(!r.Ok());
        QVERIFY2(r.Problem().contains(QStringLiteral("LoRaWAN_SetAccess.xml")) &&
                     r.Problem().contains(QStringLiteral("line 2")),
                 qPrintable(r.Problem()));
    }
};

QTEST_APPLESS_MAIN(Test_Encode_Rules)
#include "test_encode_rules.moc"
