#include "core/crc32.h"

#include <QTest>

// The CRC against figures that zlib's crc32 (and so `crc32` and `gzip -l`)
// gives for the same bytes.
class Test_Crc32 : public QObject
{
    Q_OBJECT

    static QByteArray All_Bytes()
    {
        QByteArray bytes;
        for (int i = 0; i < 256; ++i)
            bytes.append(char(i));
        return bytes;
    }

private slots:
    void known_values_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("hex");
        QTest::newRow("empty") << QByteArray() << QStringLiteral("00000000");
        QTest::newRow("one letter") << QByteArray("a") << QStringLiteral("E8B7BE43");
        QTest::newRow("check value") << QByteArray("123456789") << QStringLiteral("CBF43926");
        QTest::newRow("sentence") << QByteArray("The quick brown fox jumps over the lazy dog")
                                  << QStringLiteral("414FA339");
        QTest::newRow("32 zero bytes") << QByteArray(32, '\0') << QStringLiteral("190A55AD");
        QTest::newRow("every byte value") << All_Bytes() << QStringLiteral("29058C73");
        QTest::newRow("all ones") << QByteArray(4, '\xFF') << QStringLiteral("FFFFFFFF");
        // Leading zeros are kept: always 8 digits.
        QTest::newRow("small value") << QByteArray("bank79") << QStringLiteral("00D5DDC2");
        QTest::newRow("image sized") << All_Bytes().repeated(300) << QStringLiteral("BB9CF916");
    }

    void known_values()
    {
        QFETCH(QByteArray, data);
        QFETCH(QString, hex);
        QCOMPARE(Crc32_Hex(Crc32(data)), hex);
    }

    // Read in pieces, cut anywhere, a file gives the CRC of the whole.
    void continues_over_pieces()
    {
        const QByteArray data = All_Bytes() + QByteArray("123456789");
        const quint32 whole = Crc32(data);
        for (int cut = 0; cut <= data.size(); ++cut)
            QCOMPARE(Crc32(data.mid(cut), Crc32(data.left(cut))), whole);
        QCOMPARE(Crc32(QByteArray("6789"), Crc32(QByteArray("12345"))), 0xCBF43926u);
    }
};

QTEST_APPLESS_MAIN(Test_Crc32)
#include "test_crc32.moc"
