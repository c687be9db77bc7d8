#include "core/int_read.h"

#include <QTest>

class Test_Int_Read : public QObject
{
    Q_OBJECT

private slots:
    void reading_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("expected");
        const int fb = -777;
        QTest::newRow("plain") << QStringLiteral("12") << 12;
        QTest::newRow("leading blanks") << QStringLiteral("   12") << 12;
        QTest::newRow("leading zero") << QStringLiteral("012") << 12;
        QTest::newRow("trailing blank") << QStringLiteral("12 ") << fb;
        QTest::newRow("decimal point") << QStringLiteral("1.5") << fb;
        QTest::newRow("empty") << QString() << fb;
        QTest::newRow("only blanks") << QStringLiteral("   ") << fb;
        QTest::newRow("tab is not a blank") << QStringLiteral("\t12") << fb;
        QTest::newRow("plus") << QStringLiteral("+7") << 7;
        QTest::newRow("minus") << QStringLiteral("-7") << -7;
        QTest::newRow("blanks then sign") << QStringLiteral("  -7") << -7;
        QTest::newRow("blank after sign") << QStringLiteral("- 7") << fb;
        QTest::newRow("two signs") << QStringLiteral("--7") << fb;
        QTest::newRow("sign alone") << QStringLiteral("-") << fb;
        QTest::newRow("max") << QStringLiteral("2147483647") << 2147483647;
        QTest::newRow("over max") << QStringLiteral("2147483648") << fb;
        QTest::newRow("min") << QStringLiteral("-2147483648") << int(-2147483647 - 1);
        QTest::newRow("under min") << QStringLiteral("-2147483649") << fb;
        QTest::newRow("huge") << QStringLiteral("99999999999999999999") << fb;
        QTest::newRow("many zeros") << QStringLiteral("0000000000000000000042") << 42;
        QTest::newRow("0x") << QStringLiteral("0x10") << 16;
        QTest::newRow("0X") << QStringLiteral("0X1f") << 31;
        QTest::newRow("dollar") << QStringLiteral("$FF") << 255;
        QTest::newRow("x") << QStringLiteral("x10") << 16;
        QTest::newRow("X") << QStringLiteral("X10") << 16;
        QTest::newRow("hex pattern") << QStringLiteral("$FFFFFFFF") << -1;
        QTest::newRow("hex high bit") << QStringLiteral("0x80000000") << int(-2147483647 - 1);
        QTest::newRow("hex too wide") << QStringLiteral("$100000000") << fb;
        QTest::newRow("hex leading zeros") << QStringLiteral("$0000000001") << 1;
        QTest::newRow("negative hex") << QStringLiteral("-$10") << -16;
        QTest::newRow("blanks hex") << QStringLiteral("  0x1A") << 26;
        QTest::newRow("prefix alone") << QStringLiteral("$") << fb;
        QTest::newRow("0x alone") << QStringLiteral("0x") << fb;
        QTest::newRow("bad hex digit") << QStringLiteral("$1G") << fb;
        QTest::newRow("hex trailing") << QStringLiteral("0x10 ") << fb;
        QTest::newRow("blank after prefix") << QStringLiteral("$ 1") << fb;
        QTest::newRow("letters") << QStringLiteral("abc") << fb;
        QTest::newRow("h suffix") << QStringLiteral("10h") << fb;
        QTest::newRow("fullwidth digit") << QStringLiteral("\uFF11") << fb;
        QTest::newRow("zero") << QStringLiteral("0") << 0;
        QTest::newRow("minus zero") << QStringLiteral("-0") << 0;
    }

    void reading()
    {
        QFETCH(QString, text);
        QFETCH(int, expected);
        QCOMPARE(Str_To_Int_Def(text, -777), expected);
        int value = 12345;
        QCOMPARE(Try_Str_To_Int(text, &value), expected != -777);
    }
};

QTEST_APPLESS_MAIN(Test_Int_Read)
#include "test_int_read.moc"
