#include "core/xml_document.h"
#include "params/pargen_document.h"
#include "params/pargen_form.h"
#include "test_support.h"
#include "window_requirements.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(ParGen_Key)

namespace {

// A Par_Gen document holding `body`.
QByteArray Document(const QByteArray &body)
{
    return "<Par_Gen>" + body + "</Par_Gen><!--SW_VERSION = 1.000-->";
}

// Every key of a document written by the window for a BACnet/IP converter
// on EU868, with `body` first (a reader takes the first element of a name).
QByteArray Full_Document(const QByteArray &body)
{
    ParGen_Values values = No_Document_ParGen_Values();
    values[ParGen_Key::LoRa_RF_Band] = u"EU868"_s;
    values[ParGen_Key::LoRa_DataRate] = u"3 -\tLoRa: SF9/125kHz 1760 [bit/s]"_s;
    values[ParGen_Key::LoRa_Payload_Size] = u"115"_s;
    QByteArray all = Serialise_ParGen(values);
    return all.insert(int(qstrlen("<Par_Gen>")), body);
}

} // namespace

class Test_ParGen_Document : public QObject
{
    Q_OBJECT

    QTemporaryDir dir_;
    QString Path(const char *name) const { return dir_.filePath(QLatin1StringView(name)); }

private slots:
    void initTestCase()
    {
        QVERIFY(dir_.isValid());
        for (const char *sub : {"save", "trip"})
            QVERIFY(QDir(dir_.path()).mkpath(QLatin1StringView(sub)));
    }

    void key_table()
    {
        QCOMPARE(int(All_ParGen_Keys().size()), required::ParGen_Keys);
        QStringList names;
        for (ParGen_Key key : All_ParGen_Keys())
            names << Key_Name(key);
        QCOMPARE(names.removeDuplicates(), 0);
        // The three groups in order: LoRaWAN, Ethernet, BACnet.
        const int ethernet = required::ParGen_LoRa_Keys;
        const int bacnet = ethernet + required::ParGen_Ethernet_Keys;
        QCOMPARE(names.first(), u"LoRa_RF_Band"_s);
        QCOMPARE(names[ethernet - 1], u"LoRa_Application_Key"_s);
        QCOMPARE(names[ethernet], u"Ethernet_IP1"_s);
        QCOMPARE(names[bacnet - 1], u"Ethernet_UDP_Port"_s);
        QCOMPARE(names[bacnet], u"BACnet_Type"_s);
        QCOMPARE(names.last(), u"BACnet_Desc_Chars_Limit"_s);

        ParGen_Key key;
        QVERIFY(Find_ParGen_Key(u"BACnet_Ser_Network", &key));
        QCOMPARE(key, ParGen_Key::BACnet_Ser_Network);
        QVERIFY(!Find_ParGen_Key(u"bacnet_ser_network", &key));
        QVERIFY(!Find_ParGen_Key(u"LoRa_Transmit_Interval", &key));

        const ParGen_Values values = No_Document_ParGen_Values();
        QString text;
        QVERIFY(values.Value(u"BACnet_PORT", &text));
        QCOMPARE(text, u"47808"_s);
        QVERIFY(!values.Value(u"BACnet_Port", &text));
    }

    void missing_file_gives_no_document_values()
    {
        const ParGen_Document document = Read_ParGen_Document(Path("none/ParGen.xml"));
        QCOMPARE(document.Status(), ParGen_Document::State::Missing);
        QVERIFY(document.Problem().isEmpty());
        const ParGen_Values values = Load_ParGen(document);
        QCOMPARE(values, No_Document_ParGen_Values());
        QCOMPARE(values[ParGen_Key::LoRa_DataRate], u"6\t- LoRa: SF7/250kHz 11000 [bit/s]"_s);
        QCOMPARE(values[ParGen_Key::LoRa_Payload_Size], u"230"_s);
    }

    void damaged_file_falls_back_and_says_so()
    {
        // A hand edit that broke the document: the values are those of a
        // missing file, and the caller learns where the file is broken.
        test::Write(Path("bad/ParGen.xml"),
                    "<Par_Gen>\n<LoRa_RF_Band>EU868</LoRa_RF_Band>\n<Ethernet_IP1>1</Ethernet_IP2>\n");
        const ParGen_Document document = Read_ParGen_Document(Path("bad/ParGen.xml"));
        QVERIFY(document.Is_Damaged());
        // Nothing of a damaged file is read, not even the keys before the fault.
        QVERIFY(!document.Has(ParGen_Key::LoRa_RF_Band));
        const ParGen_Values values = Load_ParGen(document);
        const QString &problem = document.Problem();
        QCOMPARE(values, No_Document_ParGen_Values());
        QVERIFY2(problem.contains(Path("bad/ParGen.xml")), qPrintable(problem));
        QVERIFY2(problem.contains(u"line 3"_s), qPrintable(problem));

        // A good file has no problem.
        test::Write(Path("good/ParGen.xml"), Document("<LoRa_RF_Band>EU868</LoRa_RF_Band>"));
        const ParGen_Document good = Read_ParGen_Document(Path("good/ParGen.xml"));
        QCOMPARE(good.Status(), ParGen_Document::State::Loaded);
        QVERIFY(good.Problem().isEmpty());
    }

    // The one reader gives each key's raw text, or nothing, and leaves every
    // fallback to its caller.
    void reader_gives_raw_text_or_nothing_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<ParGen_Key>("key");
        QTest::addColumn<bool>("present");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("number"); // Int_Or with fallback -7
        QTest::addColumn<bool>("flag");
        using K = ParGen_Key;
        QTest::newRow("missing") << QByteArray() << K::BACnet_Type << false << QString() << -7 << false;
        QTest::newRow("empty") << QByteArray("<BACnet_Type/>") << K::BACnet_Type << true << QString() << -7 << false;
        QTest::newRow("number as typed") << QByteArray("<BACnet_PORT> 0x10</BACnet_PORT>") << K::BACnet_PORT << true
                                         << u" 0x10"_s << 16 << false;
        QTest::newRow("not a number") << QByteArray("<BACnet_PORT>12 </BACnet_PORT>") << K::BACnet_PORT << true
                                      << u"12 "_s << -7 << false;
        QTest::newRow("flag on") << QByteArray("<Ethernet_EN_GAT>1</Ethernet_EN_GAT>") << K::Ethernet_EN_GAT << true
                                 << u"1"_s << 1 << true;
        QTest::newRow("flag with a blank is off") << QByteArray("<Ethernet_EN_GAT> 1</Ethernet_EN_GAT>")
                                                  << K::Ethernet_EN_GAT << true << u" 1"_s << 1 << false;
        QTest::newRow("name case differs")
            << QByteArray("<bacnet_type>1</bacnet_type>") << K::BACnet_Type << false << QString() << -7 << false;
        QTest::newRow("first of two") << QByteArray("<BACnet_Type>1</BACnet_Type><BACnet_Type>0</BACnet_Type>")
                                      << K::BACnet_Type << true << u"1"_s << 1 << true;
        QTest::newRow("text around a comment") << QByteArray("<BACnet_NAME_STA>ab<!-- x -->cd</BACnet_NAME_STA>")
                                               << K::BACnet_NAME_STA << true << u"abcd"_s << -7 << false;
    }

    void reader_gives_raw_text_or_nothing()
    {
        QFETCH(QByteArray, body);
        QFETCH(ParGen_Key, key);
        QFETCH(bool, present);
        QFETCH(QString, text);
        QFETCH(int, number);
        QFETCH(bool, flag);
        test::Write(Path("raw/ParGen.xml"), Document(body));
        const ParGen_Document document = Read_ParGen_Document(Path("raw/ParGen.xml"));
        QCOMPARE(document.Status(), ParGen_Document::State::Loaded);
        QCOMPARE(document.Has(key), present);
        QCOMPARE(document.Text_Or(key, u"fallback"_s), present ? text : u"fallback"_s);
        QCOMPARE(document.Int_Or(key, -7), number);
        QCOMPARE(document.Flag(key), flag);
        // No other key is invented.
        for (ParGen_Key other : All_ParGen_Keys())
            QVERIFY(other == key || !document.Has(other));
        QVERIFY(!document.Transmit_Interval());
    }

    // The element beyond the 58 keys that the compiler reads.
    void reader_finds_the_transmit_interval()
    {
        test::Write(Path("interval/ParGen.xml"), Full_Document("<LoRa_Transmit_Interval>15</LoRa_Transmit_Interval>"));
        const ParGen_Document document = Read_ParGen_Document(Path("interval/ParGen.xml"));
        QCOMPARE(document.Transmit_Interval(), std::optional<QString>(u"15"_s));
        // The window's values do not hold it.
        test::Write(Path("interval/without.xml"), Full_Document(""));
        QCOMPARE(Load_ParGen(document), Load_ParGen(Path("interval/without.xml")));
    }

    void save_writes_every_key_in_order()
    {
        ParGen_Values values = No_Document_ParGen_Values();
        values[ParGen_Key::LoRa_Device_Address] = u"1A2B"_s;
        values[ParGen_Key::BACnet_NAME_STA] = u"a<b&c"_s;
        QVERIFY(Save_ParGen(values, Path("save/ParGen.xml")));
        const QByteArray bytes = test::Read(Path("save/ParGen.xml"));
        QVERIFY(bytes.startsWith("<Par_Gen><LoRa_RF_Band>AS923</LoRa_RF_Band><LoRa_Network_Type>Private"
                                 "</LoRa_Network_Type><LoRa_Adaptive_DataRate>0</LoRa_Adaptive_DataRate>"
                                 "<LoRa_DataRate>6\t- LoRa: SF7/250kHz 11000 [bit/s]</LoRa_DataRate>"
                                 "<LoRa_Transmission_Type>Unconfirmed</LoRa_Transmission_Type>"
                                 "<LoRa_Payload_Size>230</LoRa_Payload_Size>"));
        QVERIFY(bytes.contains("<LoRa_Device_Address>1A2B</LoRa_Device_Address><LoRa_Application_Identifier/>"));
        QVERIFY(bytes.endsWith("<BACnet_Desc_Chars_Limit>0</BACnet_Desc_Chars_Limit></Par_Gen>"
                               "<!--SW_VERSION = 1.000-->"));

        Xml_Document doc;
        QCOMPARE(doc.Load(Path("save/ParGen.xml")), Xml_Document::State::Loaded);
        QStringList names;
        for (pugi::xml_node node : doc.Root().children())
            names << QString::fromLatin1(node.name());
        QStringList expected;
        for (ParGen_Key key : All_ParGen_Keys())
            expected << Key_Name(key);
        QCOMPARE(names, expected);

        // Every character comes back, and saving again gives the same bytes.
        QCOMPARE(Load_ParGen(Path("save/ParGen.xml")), values);
        QVERIFY(Save_ParGen(Load_ParGen(Path("save/ParGen.xml")), Path("save/again.xml")));
        QCOMPARE(test::Read(Path("save/again.xml")), bytes);
    }

    void window_round_trip_is_stable_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::newRow("no document") << QByteArray();
        QTest::newRow("window's own file") << Full_Document("");
        QTest::newRow("unknown key dropped") << Full_Document("<LoRa_Transmit_Interval>5</LoRa_Transmit_Interval>");
        QTest::newRow("hand-indented") << QByteArray("<?xml version=\"1.0\"?>\n<Par_Gen>\n  <LoRa_RF_Band>us915"
                                                     "</LoRa_RF_Band>\n  <BACnet_Type>1</BACnet_Type>\n</Par_Gen>\n");
        QTest::newRow("odd texts") << Document("<LoRa_RF_Band>EU 868</LoRa_RF_Band><Ethernet_IP1> 010</Ethernet_IP1>"
                                               "<BACnet_Ser_Baudrate>9</BACnet_Ser_Baudrate>"
                                               "<BACnet_NAME_STA>a_very_long_device_name</BACnet_NAME_STA>");
    }

    // Open, press OK, open again, press OK: the second file equals the first.
    void window_round_trip_is_stable()
    {
        QFETCH(QByteArray, file);
        if (!file.isEmpty())
            test::Write(Path("trip/ParGen.xml"), file);
        else
            QFile::remove(Path("trip/ParGen.xml"));
        ParGen_Form form;
        form.Load(Load_ParGen(Path("trip/ParGen.xml")));
        QVERIFY(Save_ParGen(form.Values(), Path("trip/one.xml")));
        ParGen_Form again;
        again.Load(Load_ParGen(Path("trip/one.xml")));
        QVERIFY(Save_ParGen(again.Values(), Path("trip/two.xml")));
        QCOMPARE(test::Read(Path("trip/two.xml")), test::Read(Path("trip/one.xml")));
        QVERIFY(!test::Read(Path("trip/one.xml")).contains("LoRa_Transmit_Interval"));
    }

    void failed_save_reports_the_file()
    {
        const Result<> saved = Save_ParGen(No_Document_ParGen_Values(), Path("no/such/dir/ParGen.xml"));
        QVERIFY(!saved);
        QVERIFY2(saved.Problem().contains(u"ParGen.xml"_s), qPrintable(saved.Problem()));
    }

    // Single keys of hand-edited documents: the text Load_ParGen gives.
    void load_single_keys_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<ParGen_Key>("key");
        QTest::addColumn<QString>("expected");
        using K = ParGen_Key;
        QTest::newRow("missing key: default") << QByteArray() << K::Ethernet_TCP_Port << u"10001"_s;
        QTest::newRow("missing name: default") << QByteArray() << K::BACnet_Ser_NAME_STA << u"devicename1"_s;
        QTest::newRow("empty element is empty") << QByteArray("<Ethernet_IP1/>") << K::Ethernet_IP1 << QString();
        QTest::newRow("blanks kept") << QByteArray("<Ethernet_IP1>  </Ethernet_IP1>") << K::Ethernet_IP1 << u"  "_s;
        QTest::newRow("name case differs: default")
            << QByteArray("<ethernet_ip1>7</ethernet_ip1>") << K::Ethernet_IP1 << u"192"_s;
        QTest::newRow("first of two") << QByteArray("<BACnet_PORT>1</BACnet_PORT><BACnet_PORT>2</BACnet_PORT>")
                                      << K::BACnet_PORT << u"1"_s;
        QTest::newRow("stored as typed") << QByteArray("<BACnet_PORT>0x10</BACnet_PORT>") << K::BACnet_PORT
                                         << u"0x10"_s;
        QTest::newRow("missing data rate: band's first") << QByteArray("<LoRa_RF_Band>EU868</LoRa_RF_Band>")
                                                         << K::LoRa_DataRate << u"0 -\tLoRa: SF12/125kHz 250 [bit/s]"_s;
        QTest::newRow("missing data rate and band: AS923 first")
            << QByteArray() << K::LoRa_DataRate << u"0\t- LoRa: SF12/125kHz 250 [bit/s]"_s;
        QTest::newRow("missing data rate, band in lower case")
            << QByteArray("<LoRa_RF_Band>kr920</LoRa_RF_Band>") << K::LoRa_DataRate
            << u"0 - LoRa: SF12/125kHz 250 [bit/s]"_s;
        QTest::newRow("missing data rate, unknown band")
            << QByteArray("<LoRa_RF_Band>XX</LoRa_RF_Band>") << K::LoRa_DataRate << QString();
        QTest::newRow("missing payload: computed")
            << QByteArray("<LoRa_RF_Band>au915</LoRa_RF_Band><LoRa_DataRate>8  - LoRa: SF12/500kHz 980 [bit/s]"
                          "</LoRa_DataRate>")
            << K::LoRa_Payload_Size << u"33"_s;
        QTest::newRow("stored payload kept in the values")
            << QByteArray("<LoRa_Payload_Size>99</LoRa_Payload_Size>") << K::LoRa_Payload_Size << u"99"_s;
    }

    void load_single_keys()
    {
        QFETCH(QByteArray, body);
        QFETCH(ParGen_Key, key);
        QFETCH(QString, expected);
        test::Write(Path("single/ParGen.xml"), Document(body));
        QCOMPARE(Load_ParGen(Path("single/ParGen.xml"))[key], expected);
    }
};

QTEST_GUILESS_MAIN(Test_ParGen_Document)
#include "test_pargen_document.moc"
