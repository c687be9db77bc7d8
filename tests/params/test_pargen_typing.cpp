#include "params/pargen_typing.h"

#include <QTest>

using namespace Qt::StringLiterals;
using K = ParGen_Key;

Q_DECLARE_METATYPE(ParGen_Key)

class Test_ParGen_Typing : public QObject
{
    Q_OBJECT

private slots:
    void rules()
    {
        QCOMPARE(Typing_Rule_Of(K::LoRa_Device_Address).Max_Length, 8);
        QCOMPARE(Typing_Rule_Of(K::LoRa_Application_Identifier).Max_Length, 16);
        for (K key : {K::LoRa_Network_Session_Key, K::LoRa_Application_Session_Key, K::LoRa_Application_Key}) {
            const Typing_Rule rule = Typing_Rule_Of(key);
            QCOMPARE(rule.Max_Length, 32);
            QVERIFY(rule.Hex);
            QVERIFY(rule.Case == Letter_Case::Upper);
        }
        for (K key : {K::BACnet_NAME_STA, K::BACnet_Ser_NAME_STA, K::BACnet_Ser_Max_Master, K::BACnet_Ser_DEV_IDE}) {
            const Typing_Rule rule = Typing_Rule_Of(key);
            QCOMPARE(rule.Max_Length, 15);
            QVERIFY(!rule.Hex);
            QVERIFY(rule.Case == Letter_Case::Lower);
        }
        // Octets, ports and numbers take anything: validation judges them.
        for (K key : {K::Ethernet_IP1, K::BACnet_PORT, K::BACnet_DEV_IDE, K::BACnet_Ser_Network}) {
            const Typing_Rule rule = Typing_Rule_Of(key);
            QCOMPARE(rule.Max_Length, -1);
            QVERIFY(!rule.Hex);
            QVERIFY(rule.Case == Letter_Case::Any);
        }
    }

    void typing_data()
    {
        QTest::addColumn<ParGen_Key>("key");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::addColumn<int>("cursor");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("cursor_after");

        const K address = K::LoRa_Device_Address;
        const K name = K::BACnet_NAME_STA;
        QTest::newRow("hex digit") << address << u"12"_s << u"123"_s << 3 << u"123"_s << 3;
        QTest::newRow("hex a to A") << address << u"12"_s << u"12a"_s << 3 << u"12A"_s << 3;
        QTest::newRow("hex g dropped") << address << u"12"_s << u"12g"_s << 3 << u"12"_s << 2;
        QTest::newRow("hex minus dropped") << address << u"12"_s << u"1-2"_s << 2 << u"12"_s << 1;
        QTest::newRow("hex blank kept") << address << u"12"_s << u"12 "_s << 3 << u"12 "_s << 3;
        QTest::newRow("hex tab of a paste dropped") << address << u""_s << u"1\t2"_s << 3 << u"12"_s << 2;
        QTest::newRow("hex paste filtered") << address << u""_s << u"de:ad-BE:ef"_s << 11 << u"DEADBEEF"_s << 8;
        QTest::newRow("hex paste cut to the limit")
            << address << u"1234"_s << u"1234abcdef"_s << 10 << u"1234ABCD"_s << 8;
        QTest::newRow("hex at the limit") << address << u"12345678"_s << u"123456789"_s << 9 << u"12345678"_s << 8;
        QTest::newRow("hex replacing a selection at the limit")
            << address << u"12345678"_s << u"12f678"_s << 3 << u"12F678"_s << 3;
        QTest::newRow("typed in front of an equal letter")
            << K::LoRa_Application_Key << u"aa"_s << u"aaa"_s << 1 << u"Aaa"_s << 1;
        QTest::newRow("loaded lower case kept") << address << u"ab"_s << u"abc"_s << 3 << u"abC"_s << 3;
        QTest::newRow("deleting keeps the rest") << address << u"ABCD"_s << u"ACD"_s << 1 << u"ACD"_s << 1;
        QTest::newRow("name to lower case") << name << u"dev"_s << u"devABC"_s << 6 << u"devabc"_s << 6;
        QTest::newRow("name 15 reached") << name << u"abcdefghijklmn"_s << u"abcdefghijklmnop"_s << 16
                                         << u"abcdefghijklmno"_s << 15;
        QTest::newRow("loaded long name takes no more")
            << name << u"abcdefghijklmnopqrst"_s << u"abcdefghijklmnopqrstu"_s << 21 << u"abcdefghijklmnopqrst"_s << 20;
        QTest::newRow("loaded long name can be shortened")
            << name << u"abcdefghijklmnopqrst"_s << u"abcdefghijklmnopqrs"_s << 19 << u"abcdefghijklmnopqrs"_s << 19;
        QTest::newRow("loaded long name, selection replaced")
            << name << u"abcdefghijklmnopqrst"_s << u"Xt"_s << 1 << u"xt"_s << 1;
        QTest::newRow("free field") << K::Ethernet_IP1 << u"19"_s << u"19.2x"_s << 5 << u"19.2x"_s << 5;
        QTest::newRow("undo far from the cursor") << name << u"abc"_s << u"aBCbc"_s << 0 << u"abcbc"_s << 3;
    }

    void typing()
    {
        QFETCH(ParGen_Key, key);
        QFETCH(QString, before);
        QFETCH(QString, after);
        QFETCH(int, cursor);
        const Typed_Text typed = Apply_Typing(Typing_Rule_Of(key), before, after, cursor);
        QTEST(typed.Text, "text");
        QTEST(typed.Cursor, "cursor_after");
    }

    void dotted_chains()
    {
        auto chain_from = [](K key) {
            QList<K> keys{key};
            K next;
            while (Next_Dotted_Field(keys.last(), &next))
                keys << next;
            return keys;
        };
        const QList<K> ethernet = chain_from(K::Ethernet_IP1);
        QCOMPARE(ethernet.size(), 16);
        QCOMPARE(ethernet.at(3), K::Ethernet_IP4);
        QCOMPARE(ethernet.at(4), K::Ethernet_SM1);
        QCOMPARE(ethernet.at(12), K::Ethernet_DNS1); // the gateway flag is no octet
        QCOMPARE(ethernet.last(), K::Ethernet_DNS4);

        const QList<K> bacnet = chain_from(K::BACnet_IP1);
        QCOMPARE(bacnet.size(), 12);
        QCOMPARE(bacnet.at(8), K::BACnet_GAT1);
        QCOMPARE(bacnet.last(), K::BACnet_GAT4);

        K next;
        QVERIFY(!Next_Dotted_Field(K::BACnet_PORT, &next));
        QVERIFY(!Next_Dotted_Field(K::Ethernet_TCP_Port, &next));
        QVERIFY(Is_Dotted_Field(K::Ethernet_DNS4));
        QVERIFY(Is_Dotted_Field(K::BACnet_GAT4));
        QVERIFY(!Is_Dotted_Field(K::Ethernet_EN_GAT));
        QVERIFY(!Is_Dotted_Field(K::BACnet_Ser_ID));
    }
};

QTEST_APPLESS_MAIN(Test_ParGen_Typing)
#include "test_pargen_typing.moc"
