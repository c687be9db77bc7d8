#include "bacnet/bacnet_codec.h"

#include <QTest>

// The encodings of application- and context-tagged values that the BACnet
// standard gives as examples of its tag rules, both ways.
class Test_BACnet_Codec : public QObject
{
    Q_OBJECT

    static BACnet_Value Date_Or_Time(BACnet_Value::Kind kind, std::uint32_t octets)
    {
        BACnet_Value v;
        v.kind = kind;
        v.u = octets;
        return v;
    }

    static void Examples(bool context)
    {
        QTest::addColumn<BACnet_Value>("value");
        QTest::addColumn<int>("tag"); // the context tag; -1 application
        QTest::addColumn<QByteArray>("bytes");
        using K = BACnet_Value::Kind;
        const auto row = [](const char *name, const BACnet_Value &v, int tag, const char *hex) {
            QTest::newRow(name) << v << tag << QByteArray::fromHex(hex);
        };
        if (!context) {
            row("null", BACnet_Value::Null_Value(), -1, "00");
            row("boolean false", BACnet_Value::Of_Boolean(false), -1, "10");
            row("boolean true", BACnet_Value::Of_Boolean(true), -1, "11");
            row("unsigned 72", BACnet_Value::Of_Unsigned(72), -1, "2148");
            row("signed 72", BACnet_Value::Of_Signed(72), -1, "3148");
            row("real 72.0", BACnet_Value::Of_Real(72.0f), -1, "4442900000");
            row("double 72.0", BACnet_Value::Of_Double(72.0), -1, "55084052000000000000");
            row("octet string", BACnet_Value::Of_Octets(QByteArray::fromHex("432107")), -1, "63432107");
            row("character string", BACnet_Value::Of_Text(QStringLiteral("This is a BACnet string!")), -1,
                "75190054686973206973206120424143"
                "6e657420737472696e6721");
            row("bit string 10101", BACnet_Value::Of_Bits(5, QByteArray::fromHex("a8")), -1, "8203a8");
            row("enumerated 0", BACnet_Value::Of_Enumerated(0), -1, "9100");
            row("date 24 January 1991", Date_Or_Time(K::Date, 0x5B011804), -1, "a45b011804");
            row("time 17:35:45.17", Date_Or_Time(K::Time, 0x11232D11), -1, "b411232d11");
            row("binary input 15", BACnet_Value::Of_Object_Id(3, 15), -1, "c400c0000f");
        } else {
            row("unsigned 256 [0]", BACnet_Value::Of_Unsigned(256), 0, "0a0100");
            row("signed -72 [5]", BACnet_Value::Of_Signed(-72), 5, "59b8");
            row("real -33.3 [0]", BACnet_Value::Of_Real(-33.3f), 0, "0cc2053333");
            row("double -33.3 [1]", BACnet_Value::Of_Double(-33.3), 1, "1d08c040a66666666666");
            row("octet string [1]", BACnet_Value::Of_Octets(QByteArray::fromHex("432107")), 1, "1b432107");
            row("bit string [0]", BACnet_Value::Of_Bits(5, QByteArray::fromHex("a8")), 0, "0a03a8");
            row("enumerated 0 [9]", BACnet_Value::Of_Enumerated(0), 9, "9900");
            row("date [9]", Date_Or_Time(K::Date, 0x5B011804), 9, "9c5b011804");
            row("time [4]", Date_Or_Time(K::Time, 0x11232D11), 4, "4c11232d11");
            row("binary input 15 [4]", BACnet_Value::Of_Object_Id(3, 15), 4, "4c00c0000f");
        }
    }

private slots:
    void application_examples_data() { Examples(false); }
    void application_examples()
    {
        QFETCH(BACnet_Value, value);
        QFETCH(QByteArray, bytes);
        QByteArray out;
        bacnet::Append_Value(out, value);
        QCOMPARE(out.toHex(' '), bytes.toHex(' '));
        bacnet::Tag_Reader reader(bytes);
        const auto back = reader.Read_Value();
        QVERIFY(back.has_value());
        QCOMPARE(back->Text(), value.Text());
        QVERIFY(reader.At_End());
    }

    void context_examples_data() { Examples(true); }
    void context_examples()
    {
        QFETCH(BACnet_Value, value);
        QFETCH(int, tag);
        QFETCH(QByteArray, bytes);
        QByteArray out;
        bacnet::Append_Context(out, tag, value);
        QCOMPARE(out.toHex(' '), bytes.toHex(' '));
        bacnet::Tag_Reader reader(bytes);
        const auto back = reader.Read_Context(tag, value.kind);
        QVERIFY(back.has_value());
        QCOMPARE(back->Text(), value.Text());
        QVERIFY(reader.At_End());
    }

    // Tag numbers above 14 and lengths above 4, 253 and 65535 take their
    // extended forms and read back.
    void extended_forms_data()
    {
        QTest::addColumn<int>("tag");
        QTest::addColumn<int>("length");
        QTest::addColumn<QByteArray>("header");
        QTest::newRow("tag 33, length 3") << 33 << 3 << QByteArray::fromHex("fb21");
        QTest::newRow("length 5") << 2 << 5 << QByteArray::fromHex("2d05");
        QTest::newRow("length 253") << 2 << 253 << QByteArray::fromHex("2dfd");
        QTest::newRow("length 254") << 2 << 254 << QByteArray::fromHex("2dfe00fe");
        QTest::newRow("length 65536") << 2 << 65536 << QByteArray::fromHex("2dff00010000");
    }
    void extended_forms()
    {
        QFETCH(int, tag);
        QFETCH(int, length);
        QFETCH(QByteArray, header);
        QByteArray out;
        bacnet::Append_Tag(out, tag, true, std::uint32_t(length));
        QCOMPARE(out.toHex(' '), header.toHex(' '));
        out.append(QByteArray(length, 'x'));
        bacnet::Tag_Reader reader(out);
        const auto t = reader.Peek();
        QVERIFY(t.has_value());
        QCOMPARE(t->number, tag);
        QCOMPARE(t->length, std::uint32_t(length));
        QVERIFY(reader.Skip());
        QVERIFY(reader.At_End());
    }

    // What a reader refuses instead of reading past its bytes.
    void malformed_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("content cut") << QByteArray::fromHex("4442");
        QTest::newRow("extended length cut") << QByteArray::fromHex("75");
        QTest::newRow("16-bit length cut") << QByteArray::fromHex("75fe01");
        QTest::newRow("length beyond the bytes") << QByteArray::fromHex("75fe0100");
        QTest::newRow("real of 3 octets") << QByteArray::fromHex("43010203");
        QTest::newRow("unsigned of 0 octets") << QByteArray::fromHex("20");
        QTest::newRow("unsigned of 9 octets") << QByteArray::fromHex("2d09010203040506070809");
        QTest::newRow("boolean of 2") << QByteArray::fromHex("12");
        QTest::newRow("unknown character set") << QByteArray::fromHex("7309414243");
        QTest::newRow("invalid UTF-8") << QByteArray::fromHex("7300c3");
        QTest::newRow("bit string with 8 unused") << QByteArray::fromHex("820800");
        QTest::newRow("application tag with the opening form") << QByteArray::fromHex("26");
        QTest::newRow("extended tag number cut") << QByteArray::fromHex("f1");
    }
    void malformed()
    {
        QFETCH(QByteArray, bytes);
        bacnet::Tag_Reader reader(bytes);
        QVERIFY(!reader.Read_Value().has_value());
        QCOMPARE(reader.Position(), 0);
    }
};

QTEST_GUILESS_MAIN(Test_BACnet_Codec)
#include "test_bacnet_codec.moc"
