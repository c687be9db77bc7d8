#include "core/messages.h"
#include "params/pargen_check.h"
#include "params/pargen_document.h"
#include "params/pargen_form.h"
#include "test_support.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using K = ParGen_Key;

Q_DECLARE_METATYPE(ParGen_Key)

namespace {

// The values a window holds after opening without a document, changed by
// "Key=text" pairs separated by "|" ("Key=" for an empty text).
ParGen_Values Values_With(const QString &changes)
{
    ParGen_Values values = No_Document_ParGen_Values();
    for (const QString &change : changes.split(u'|', Qt::SkipEmptyParts)) {
        const qsizetype eq = change.indexOf(u'=');
        ParGen_Key key;
        if (eq < 0 || !Find_ParGen_Key(QStringView(change).left(eq), &key))
            qFatal("bad change %s", qPrintable(change));
        values[key] = change.mid(eq + 1);
    }
    return values;
}

} // namespace

// The message number of a check's first failure; 0 when it passed.
int Message_Of(const Problem_List &check)
{
    return check.Ok() ? 0 : check.First().Message;
}

class Test_ParGen_Check : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { Messages().Build_Default_Messages(); }

    // The first failing rule in step order, for a BACnet type index.
    void rules_data()
    {
        QTest::addColumn<QString>("changes");
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("message");

        QTest::newRow("defaults, BACnet/IP") << QString() << 0 << 0;
        QTest::newRow("defaults, MS/TP") << QString() << 1 << 0;

        // LoRaWAN choices and payload.
        QTest::newRow("empty band") << u"LoRa_RF_Band="_s << 0 << 493;
        QTest::newRow("blank band") << u"LoRa_RF_Band=  "_s << 0 << 493;
        QTest::newRow("empty band hides a bad octet") << u"LoRa_RF_Band=|Ethernet_IP1=256"_s << 0 << 493;
        QTest::newRow("empty network") << u"LoRa_Network_Type="_s << 0 << 494;
        QTest::newRow("empty data rate") << u"LoRa_DataRate="_s << 0 << 495;
        QTest::newRow("empty transmission") << u"LoRa_Transmission_Type="_s << 0 << 496;
        QTest::newRow("empty transmission before payload")
            << u"LoRa_Transmission_Type=|LoRa_Payload_Size=0"_s << 0 << 496;
        QTest::newRow("payload at maximum") << u"LoRa_Payload_Size=230"_s << 0 << 0;
        QTest::newRow("payload 1") << u"LoRa_Payload_Size=1"_s << 0 << 0;
        QTest::newRow("payload over maximum") << u"LoRa_Payload_Size=231"_s << 0 << 497;
        QTest::newRow("payload 0") << u"LoRa_Payload_Size=0"_s << 0 << 497;
        QTest::newRow("payload empty") << u"LoRa_Payload_Size="_s << 0 << 497;
        QTest::newRow("band and data rate no pair") << u"LoRa_RF_Band=EU868"_s << 0 << 497;
        QTest::newRow("empty activation") << u"LoRa_Activation_Method="_s << 0 << 499;

        // The keys come after the activation method and before Ethernet
        // (their lengths in key_lengths).
        QTest::newRow("ABP, all keys empty") << QString() << 0 << 0;
        QTest::newRow("empty activation before a short key")
            << u"LoRa_Activation_Method=|LoRa_Device_Address=AE"_s << 0 << 499;
        QTest::newRow("payload before a short key") << u"LoRa_Payload_Size=0|LoRa_Device_Address=AE"_s << 0 << 497;
        QTest::newRow("short key before a bad octet") << u"LoRa_Device_Address=AE|Ethernet_IP1=256"_s << 0 << 500;
        QTest::newRow("keys in row order")
            << u"LoRa_Application_Session_Key=1|LoRa_Application_Identifier=1"_s << 0 << 501;

        // Ethernet, whatever the BACnet type.
        QTest::newRow("octet 256") << u"Ethernet_IP1=256"_s << 0 << 465;
        QTest::newRow("octet -1") << u"Ethernet_IP2=-1"_s << 0 << 466;
        QTest::newRow("octet 1a") << u"Ethernet_IP3=1a"_s << 0 << 467;
        QTest::newRow("octet empty") << u"Ethernet_IP4="_s << 0 << 468;
        QTest::newRow("octet blank 7") << u"Ethernet_IP1= 7"_s << 0 << 0;
        QTest::newRow("octet 007") << u"Ethernet_IP1=007"_s << 0 << 0;
        QTest::newRow("octet 7 blank") << u"Ethernet_IP1=7 "_s << 0 << 465;
        QTest::newRow("octet $FF") << u"Ethernet_IP1=$FF"_s << 0 << 0;
        QTest::newRow("mask octet 1") << u"Ethernet_SM1=300"_s << 0 << 469;
        QTest::newRow("mask octet 4") << u"Ethernet_SM4=300"_s << 1 << 472;
        QTest::newRow("gateway off") << u"Ethernet_GAT1=300|Ethernet_GAT4=x"_s << 0 << 0;
        QTest::newRow("gateway on, octet 1") << u"Ethernet_EN_GAT=1|Ethernet_GAT1=300"_s << 0 << 473;
        QTest::newRow("gateway on, octet 4") << u"Ethernet_EN_GAT=1|Ethernet_GAT4=300"_s << 0 << 476;
        QTest::newRow("gateway flag not 1") << u"Ethernet_EN_GAT=Y|Ethernet_GAT1=300"_s << 0 << 0;
        QTest::newRow("name server off") << u"Ethernet_DNS2=300"_s << 0 << 0;
        QTest::newRow("name server on, octet 1") << u"Ethernet_EN_DNS=1|Ethernet_DNS1=300"_s << 0 << 477;
        QTest::newRow("name server on, octet 4") << u"Ethernet_EN_DNS=1|Ethernet_DNS4="_s << 0 << 480;
        QTest::newRow("TCP 10001") << u"Ethernet_TCP_Port=10001"_s << 0 << 0;
        QTest::newRow("TCP 10000") << u"Ethernet_TCP_Port=10000"_s << 0 << 481;
        QTest::newRow("TCP 0") << u"Ethernet_TCP_Port=0"_s << 0 << 0;
        QTest::newRow("TCP 65535") << u"Ethernet_TCP_Port=65535"_s << 0 << 0;
        QTest::newRow("TCP 65536") << u"Ethernet_TCP_Port=65536"_s << 0 << 481;
        QTest::newRow("UDP 10000") << u"Ethernet_UDP_Port=10000"_s << 1 << 482;
        QTest::newRow("UDP empty") << u"Ethernet_UDP_Port="_s << 0 << 482;

        // BACnet/IP.
        QTest::newRow("IP octet 1") << u"BACnet_IP1=256"_s << 0 << 610;
        QTest::newRow("IP octet 4") << u"BACnet_IP4=-1"_s << 0 << 613;
        QTest::newRow("IP mask octet 1") << u"BACnet_SM1="_s << 0 << 614;
        QTest::newRow("IP mask octet 4") << u"BACnet_SM4=1.5"_s << 0 << 617;
        QTest::newRow("IP gateway off") << u"BACnet_GAT1=300"_s << 0 << 0;
        QTest::newRow("IP gateway on, octet 1") << u"BACnet_EN_GAT=1|BACnet_GAT1=300"_s << 0 << 618;
        QTest::newRow("IP gateway on, octet 4") << u"BACnet_EN_GAT=1|BACnet_GAT4=300"_s << 0 << 621;
        QTest::newRow("port 47808") << u"BACnet_PORT=47808"_s << 0 << 0;
        QTest::newRow("port 10001") << u"BACnet_PORT=10001"_s << 0 << 622;
        QTest::newRow("port 10000") << u"BACnet_PORT=10000"_s << 0 << 622;
        QTest::newRow("port 65536") << u"BACnet_PORT=65536"_s << 0 << 622;
        QTest::newRow("name with capitals") << u"BACnet_NAME_STA=DeviceName1"_s << 0 << 0;
        QTest::newRow("name empty") << u"BACnet_NAME_STA="_s << 0 << 0;
        QTest::newRow("name with underscore") << u"BACnet_NAME_STA=dev_1"_s << 0 << 623;
        QTest::newRow("name with blank") << u"BACnet_NAME_STA=dev 1"_s << 0 << 623;
        QTest::newRow("name with accent") << u"BACnet_NAME_STA=d\u00E9v"_s << 0 << 623;
        QTest::newRow("name of 16") << u"BACnet_NAME_STA=abcdefghijklmnop"_s << 0 << 0;
        QTest::newRow("name of 17") << u"BACnet_NAME_STA=abcdefghijklmnopq"_s << 0 << 0;
        QTest::newRow("identifier 4194303") << u"BACnet_DEV_IDE=4194303"_s << 0 << 0;
        QTest::newRow("identifier 0x3FFFFF") << u"BACnet_DEV_IDE=0x3FFFFF"_s << 0 << 0;
        QTest::newRow("identifier 4194304") << u"BACnet_DEV_IDE=4194304"_s << 0 << 624;
        QTest::newRow("IP ignores MS/TP") << u"BACnet_Ser_ID=500|BACnet_Ser_NAME_STA=a b"_s << 0 << 0;
        QTest::newRow("Ethernet checked under IP") << u"Ethernet_SM2=x"_s << 0 << 470;

        // MS/TP.
        QTest::newRow("MS/TP ignores IP") << u"BACnet_IP1=999|BACnet_PORT=10001|BACnet_NAME_STA=a b"_s << 1 << 0;
        QTest::newRow("MS/TP name") << u"BACnet_Ser_NAME_STA=a-b"_s << 1 << 625;
        QTest::newRow("MS/TP name of 17") << u"BACnet_Ser_NAME_STA=abcdefghijklmnopq"_s << 1 << 0;
        QTest::newRow("MAC 500") << u"BACnet_Ser_ID=500"_s << 1 << 626;
        QTest::newRow("MAC 127") << u"BACnet_Ser_ID=127"_s << 1 << 0;
        QTest::newRow("no type counts as MS/TP") << u"BACnet_Ser_ID=500"_s << -1 << 626;
        QTest::newRow("Max Master 0") << u"BACnet_Ser_Max_Master=0"_s << 1 << 627;
        QTest::newRow("Max Master 127") << u"BACnet_Ser_Max_Master=127"_s << 1 << 0;
        QTest::newRow("Max Master 128") << u"BACnet_Ser_Max_Master=128"_s << 1 << 627;
        QTest::newRow("Max Info Frames 100") << u"BACnet_Ser_Max_Info_Frames=100"_s << 1 << 0;
        QTest::newRow("Max Info Frames 101") << u"BACnet_Ser_Max_Info_Frames=101"_s << 1 << 628;
        QTest::newRow("instance 4194304") << u"BACnet_Ser_DEV_IDE=4194304"_s << 1 << 629;
        QTest::newRow("instance 0") << u"BACnet_Ser_DEV_IDE=0"_s << 1 << 0;
        QTest::newRow("network 65534") << u"BACnet_Ser_Network=65534"_s << 1 << 0;
        QTest::newRow("network 65535") << u"BACnet_Ser_Network=65535"_s << 1 << 630;
        QTest::newRow("network 0") << u"BACnet_Ser_Network=0"_s << 1 << 630;
        QTest::newRow("MS/TP first fault only") << u"BACnet_Ser_ID=500|BACnet_Ser_Network=0"_s << 1 << 626;
    }

    void rules()
    {
        QFETCH(QString, changes);
        QFETCH(int, type);
        QFETCH(int, message);
        const Problem_List check = Controllo_Dati(Values_With(changes), type);
        QCOMPARE(Message_Of(check), message);
        QCOMPARE(check.Ok(), message == 0);
        if (message != 0)
            QVERIFY(!check.Problem_Text().trimmed().isEmpty());
    }

    // The list of every failure starts with the failure OK shows, over the
    // whole table of first failures above.
    void all_problems_start_with_the_first_data() { rules_data(); }

    void all_problems_start_with_the_first()
    {
        QFETCH(QString, changes);
        QFETCH(int, type);
        QFETCH(int, message);
        const ParGen_Values values = Values_With(changes);
        const Problem_List all = All_ParGen_Problems(values, type);
        QCOMPARE(all.isEmpty(), message == 0);
        if (message == 0)
            return;
        const Problem_List first = Controllo_Dati(values, type);
        QCOMPARE(all.First().Message, message);
        QCOMPARE(all.First().Text, first.Problem_Text());
        QCOMPARE(Failing_Key(all.First()), Failing_Key(first.First()));
    }

    // Every failing rule, in step order; a rule that needs a failed one is
    // left out.
    void all_problems_data()
    {
        QTest::addColumn<QString>("changes");
        QTest::addColumn<int>("type");
        QTest::addColumn<QList<int>>("messages");

        QTest::newRow("band, then octets")
            << u"LoRa_RF_Band=|Ethernet_IP1=256|Ethernet_SM4=x"_s << 0 << QList<int>{493, 465, 472};
        QTest::newRow("no band nor data rate: no payload")
            << u"LoRa_RF_Band=|LoRa_DataRate=|LoRa_Payload_Size=0"_s << 0 << QList<int>{493, 495};
        QTest::newRow("no method: no keys")
            << u"LoRa_Activation_Method=|LoRa_Device_Address=AE"_s << 0 << QList<int>{499};
        QTest::newRow("every ABP key")
            << u"LoRa_Device_Address=AE|LoRa_Application_Identifier=1|LoRa_Network_Session_Key=1|"
               "LoRa_Application_Session_Key=1|LoRa_Transmission_Type="_s
            << 0 << QList<int>{496, 500, 501, 502, 503};
        QTest::newRow("gateway and name server")
            << u"Ethernet_EN_GAT=1|Ethernet_GAT2=x|Ethernet_EN_DNS=1|Ethernet_DNS1=300|Ethernet_DNS4="_s << 1
            << QList<int>{474, 477, 480};
        QTest::newRow("boxes off") << u"Ethernet_GAT2=x|Ethernet_DNS1=300|Ethernet_UDP_Port="_s << 1 << QList<int>{482};
        QTest::newRow("both ports") << u"Ethernet_TCP_Port=10000|Ethernet_UDP_Port=65536"_s << 0
                                    << QList<int>{481, 482};
        QTest::newRow("BACnet/IP")
            << u"BACnet_IP1=256|BACnet_SM4=x|BACnet_EN_GAT=1|BACnet_GAT3=-1|BACnet_PORT=10001|BACnet_NAME_STA=a b|"
               "BACnet_DEV_IDE=-1|BACnet_Ser_ID=500"_s
            << 0 << QList<int>{610, 617, 620, 622, 623, 624};
        QTest::newRow("MS/TP")
            << u"BACnet_IP1=999|BACnet_Ser_NAME_STA=a-b|BACnet_Ser_ID=500|BACnet_Ser_Max_Master=0|"
               "BACnet_Ser_Max_Info_Frames=101|BACnet_Ser_DEV_IDE=4194304|BACnet_Ser_Network=0|Ethernet_IP2=x"_s
            << 1 << QList<int>{466, 625, 626, 627, 628, 629, 630};
    }

    void all_problems()
    {
        QFETCH(QString, changes);
        QFETCH(int, type);
        QFETCH(QList<int>, messages);
        QList<int> found;
        for (const Problem &p : All_ParGen_Problems(Values_With(changes), type)) {
            found << p.Message;
            QCOMPARE(p.Text, Messages().Get(p.Message));
        }
        QCOMPARE(found, messages);
    }

    // Each key of each method: empty, short, full and too long. Only the
    // method's own keys are looked at; each must be empty or full.
    void key_lengths_data()
    {
        QTest::addColumn<QString>("method");
        QTest::addColumn<ParGen_Key>("key");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("message");

        const QString abp = u"Activation by Personalization [ABP]"_s;
        const QString otaa = u"Over-the-Air Activation [OTAA]"_s;
        struct Lora_Key
        {
            ParGen_Key key;
            int digits;
            int message;
            bool otaa;
        };
        const Lora_Key keys[] = {
            {K::LoRa_Device_Address, 8, 500, false},       {K::LoRa_Application_Identifier, 16, 501, false},
            {K::LoRa_Network_Session_Key, 32, 502, false}, {K::LoRa_Application_Session_Key, 32, 503, false},
            {K::LoRa_Application_Key, 32, 504, true},
        };
        const QString digits = u"0123456789ABCDEF0123456789ABCDEF0"_s;
        for (const Lora_Key &k : keys) {
            for (const bool otaa_chosen : {false, true}) {
                const int refused = k.otaa == otaa_chosen ? k.message : 0;
                const QString method = otaa_chosen ? otaa : abp;
                const QString name = Key_Name(k.key) + (otaa_chosen ? u", OTAA, "_s : u", ABP, "_s);
                QTest::newRow(qPrintable(name + u"empty"_s)) << method << k.key << QString() << 0;
                QTest::newRow(qPrintable(name + u"short"_s)) << method << k.key << digits.left(k.digits - 1) << refused;
                QTest::newRow(qPrintable(name + u"full"_s)) << method << k.key << digits.left(k.digits) << 0;
                QTest::newRow(qPrintable(name + u"too long"_s))
                    << method << k.key << digits.left(k.digits + 1) << refused;
            }
        }

        // What counts as empty and as full.
        QTest::newRow("the issue's \"AE\"") << abp << K::LoRa_Device_Address << u"AE"_s << 500;
        QTest::newRow("blanks only") << abp << K::LoRa_Device_Address << u"   "_s << 0;
        QTest::newRow("blanks only, full length") << abp << K::LoRa_Device_Address << u"        "_s << 0;
        QTest::newRow("blanks only, too long") << abp << K::LoRa_Device_Address << u"         "_s << 500;
        QTest::newRow("full with a blank inside") << abp << K::LoRa_Device_Address << u"0123 567"_s << 500;
        QTest::newRow("full with a blank in front")
            << otaa << K::LoRa_Application_Key << u" 123456789ABCDEF0123456789ABCDEF"_s << 504;
        QTest::newRow("full in lower case") << abp << K::LoRa_Device_Address << u"01abcdef"_s << 0;
        QTest::newRow("full with a letter past F") << abp << K::LoRa_Device_Address << u"0123456G"_s << 500;
        QTest::newRow("full with a minus")
            << otaa << K::LoRa_Application_Key << u"-123456789ABCDEF0123456789ABCDEF"_s << 504;
        // The method is read as the compiler reads it.
        QTest::newRow("OTAA in other letter case")
            << u" over-the-air activation [otaa] "_s << K::LoRa_Application_Key << u"AE"_s << 504;
        QTest::newRow("unknown method counts as ABP") << u"OTAA"_s << K::LoRa_Device_Address << u"AE"_s << 500;
    }

    void key_lengths()
    {
        QFETCH(QString, method);
        QFETCH(ParGen_Key, key);
        QFETCH(QString, text);
        QFETCH(int, message);
        ParGen_Values values = No_Document_ParGen_Values();
        values[K::LoRa_Activation_Method] = method;
        values[key] = text;
        const Problem_List check = Controllo_Dati(values, 0);
        QCOMPARE(Message_Of(check), message);
        if (message != 0) {
            QCOMPARE(check.Problem_Text(), Messages().Get(message));
            QCOMPARE(Failing_Key(check.First()), std::optional<ParGen_Key>(key));
        }
    }

    // Every failure names the key whose value failed, so that the window can
    // tell whether the user can see it.
    void failing_key_data()
    {
        QTest::addColumn<QString>("changes");
        QTest::addColumn<int>("type");
        QTest::addColumn<ParGen_Key>("key");
        QTest::newRow("band") << u"LoRa_RF_Band="_s << 0 << K::LoRa_RF_Band;
        QTest::newRow("payload") << u"LoRa_Payload_Size=0"_s << 0 << K::LoRa_Payload_Size;
        QTest::newRow("activation") << u"LoRa_Activation_Method="_s << 0 << K::LoRa_Activation_Method;
        QTest::newRow("mask octet 3") << u"Ethernet_SM3=x"_s << 0 << K::Ethernet_SM3;
        QTest::newRow("name server octet 2") << u"Ethernet_EN_DNS=1|Ethernet_DNS2=x"_s << 0 << K::Ethernet_DNS2;
        QTest::newRow("TCP port") << u"Ethernet_TCP_Port="_s << 0 << K::Ethernet_TCP_Port;
        QTest::newRow("UDP port") << u"Ethernet_UDP_Port=10000"_s << 1 << K::Ethernet_UDP_Port;
        QTest::newRow("BACnet gateway octet 4") << u"BACnet_EN_GAT=1|BACnet_GAT4=x"_s << 0 << K::BACnet_GAT4;
        QTest::newRow("BACnet/IP port") << u"BACnet_PORT=10001"_s << 0 << K::BACnet_PORT;
        QTest::newRow("BACnet/IP name") << u"BACnet_NAME_STA=a b"_s << 0 << K::BACnet_NAME_STA;
        QTest::newRow("BACnet/IP identifier") << u"BACnet_DEV_IDE=-1"_s << 0 << K::BACnet_DEV_IDE;
        QTest::newRow("MS/TP name") << u"BACnet_Ser_NAME_STA=a b"_s << 1 << K::BACnet_Ser_NAME_STA;
        QTest::newRow("MS/TP network") << u"BACnet_Ser_Network=0"_s << 1 << K::BACnet_Ser_Network;
    }

    void failing_key()
    {
        QFETCH(QString, changes);
        QFETCH(int, type);
        QFETCH(ParGen_Key, key);
        QCOMPARE(Failing_Key(Controllo_Dati(Values_With(changes), type).First()), std::optional<ParGen_Key>(key));
        QCOMPARE(Failing_Key(Controllo_Dati(Values_With(QString()), type).First()), std::nullopt);
    }

    // The stored payload against the one band and data rate give, as the
    // window resolves them on opening.
    void stored_payload_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<int>("message");
        const QByteArray eu = "<LoRa_RF_Band>EU868</LoRa_RF_Band>";
        const QByteArray dr0 = "<LoRa_DataRate>0 -\tLoRa: SF12/125kHz 250 [bit/s]</LoRa_DataRate>";
        const QByteArray dr3 = "<LoRa_DataRate>3 -\tLoRa: SF9/125kHz 1760 [bit/s]</LoRa_DataRate>";
        auto payload = [](const QByteArray &text) -> QByteArray {
            return "<LoRa_Payload_Size>" + text + "</LoRa_Payload_Size>";
        };

        QTest::newRow("as the window writes it") << eu + dr0 + payload("51") << 0;
        QTest::newRow("hand-edited 300") << eu + dr0 + payload("300") << int(Msg_Payload_Mismatch);
        QTest::newRow("smaller than allowed") << eu + dr3 + payload("51") << int(Msg_Payload_Mismatch);
        QTest::newRow("other data rate") << eu + dr3 + payload("115") << 0;
        QTest::newRow("blank in front reads as 51") << eu + dr0 + payload(" 51") << 0;
        QTest::newRow("hexadecimal 51") << eu + dr0 + payload("0x33") << 0;
        QTest::newRow("blank behind is no number") << eu + dr0 + payload("51 ") << int(Msg_Payload_Mismatch);
        QTest::newRow("empty") << eu + dr0 + payload("") << int(Msg_Payload_Mismatch);
        QTest::newRow("missing") << eu + dr0 << int(Msg_Payload_Missing);
        QTest::newRow("band in lower case") << "<LoRa_RF_Band>eu868</LoRa_RF_Band>" + dr0 + payload("51") << 0;
        QTest::newRow("data rate missing: the band's first") << eu + payload("51") << 0;
        QTest::newRow("data rate missing, other payload") << eu + payload("115") << int(Msg_Payload_Mismatch);
        QTest::newRow("band missing: AS923") << payload("59") << 0;
        // No pair: Controllo_Dati refuses the band first.
        QTest::newRow("unknown band") << "<LoRa_RF_Band>EU 868</LoRa_RF_Band>" + payload("300") << 0;
    }

    void stored_payload()
    {
        QFETCH(QByteArray, body);
        QFETCH(int, message);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"ParGen.xml"_s);
        test::Write(path, "<Par_Gen>" + body + "</Par_Gen><!--SW_VERSION = 1.000-->");
        const Problem_List check = Check_Stored_Payload(Read_ParGen_Document(path));
        QCOMPARE(Message_Of(check), message);
        if (message != 0) {
            QCOMPARE(Failing_Key(check.First()), std::optional<ParGen_Key>(K::LoRa_Payload_Size));
            QVERIFY(check.Problem_Text().contains(u"LoRa_Payload_Size"_s));
            QVERIFY(check.Problem_Text().contains(QDir::toNativeSeparators(path)));
        }
    }

    void stored_payload_texts()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"ParGen.xml"_s);
        const QString file = QDir::toNativeSeparators(path);
        const QByteArray band = "<LoRa_RF_Band>EU868</LoRa_RF_Band>";
        test::Write(path, "<Par_Gen>" + band + "<LoRa_Payload_Size>300</LoRa_Payload_Size></Par_Gen>");
        QCOMPARE(Check_Stored_Payload(Read_ParGen_Document(path)).Problem_Text(),
                 u"Error LoRa!! LoRa_Payload_Size in the file "_s + file +
                     u" holds \"300\", but the band EU868 with the data rate \"0 -\tLoRa: SF12/125kHz 250 [bit/s]\" "
                     u"gives 51. Open the communication parameters and press OK: the window stores the right value."_s);
        test::Write(path, "<Par_Gen>" + band + "</Par_Gen>");
        QCOMPARE(Check_Stored_Payload(Read_ParGen_Document(path)).Problem_Text(),
                 u"Error LoRa!! The file "_s + file +
                     u" holds no LoRa_Payload_Size, but the band EU868 with the data rate \"0 -\tLoRa: SF12/125kHz 250 "
                     u"[bit/s]\" gives 51. Open the communication parameters and press OK: the window stores the right "
                     u"value."_s);

        // Nothing is stored in a missing or damaged file.
        QVERIFY(Check_Stored_Payload(Read_ParGen_Document(dir.filePath(u"none.xml"_s))).Ok());
        test::Write(path, "<Par_Gen>" + band + "<LoRa_Payload_Size>300</LoRa_Payload_Size>");
        QVERIFY(Check_Stored_Payload(Read_ParGen_Document(path)).Ok());
    }

    // The offer OK makes for a value the window does not show.
    void hidden_failing_key_data()
    {
        QTest::addColumn<QString>("changes");
        QTest::addColumn<int>("type");
        QTest::addColumn<bool>("hidden");
        QTest::newRow("TCP port, BACnet/IP") << u"Ethernet_TCP_Port="_s << 0 << true;
        QTest::newRow("UDP port, MS/TP") << u"Ethernet_UDP_Port=10000"_s << 1 << true;
        QTest::newRow("Ethernet octet, BACnet/IP") << u"Ethernet_IP2=x"_s << 0 << true;
        QTest::newRow("Ethernet octet, MS/TP") << u"Ethernet_IP2=x"_s << 1 << false;
        QTest::newRow("BACnet/IP port") << u"BACnet_PORT=10001"_s << 0 << false;
        QTest::newRow("MS/TP network") << u"BACnet_Ser_Network=0"_s << 1 << false;
        QTest::newRow("ABP key") << u"LoRa_Device_Address=AE"_s << 0 << false;
        QTest::newRow("band") << u"LoRa_RF_Band="_s << 0 << false;
    }

    void hidden_failing_key()
    {
        QFETCH(QString, changes);
        QFETCH(int, type);
        QFETCH(bool, hidden);
        ParGen_Values values = Values_With(changes);
        values[K::BACnet_Type] = QString::number(type);
        ParGen_Form form;
        form.Load(values);
        for (const QString &change : changes.split(u'|')) {
            ParGen_Key key;
            QVERIFY(Find_ParGen_Key(change.section(u'=', 0, 0), &key));
            if (Key_Info(key).Kind == ParGen_Kind::Edit)
                form.Set_Text(key, change.section(u'=', 1));
        }
        const Problem_List check = Controllo_Dati(form);
        QVERIFY(!check.Ok());
        QCOMPARE(Hidden_Failing_Key(form, check).has_value(), hidden);
        QVERIFY(!Hidden_Failing_Key(form, Problem_List()).has_value());
    }

    // A gateway outside the network of its address and mask is a warning,
    // only for the group shown and with its box on.
    void gateway_warnings_data()
    {
        QTest::addColumn<QString>("changes");
        QTest::addColumn<QStringList>("warnings");
        // An address, mask and gateway of a group, dotted.
        const auto group = [](const QString &prefix, const QString &ip, const QString &mask, const QString &gateway) {
            QStringList changes;
            for (const auto &[key, dotted] : {std::pair{u"IP"_s, ip}, {u"SM"_s, mask}, {u"GAT"_s, gateway}})
                for (int k = 0; k < 4; ++k)
                    changes << u"%1_%2%3=%4"_s.arg(prefix, key).arg(k + 1).arg(dotted.section(u'.', k, k));
            return changes.join(u'|');
        };
        const QString inside = group(u"BACnet"_s, u"192.168.2.10"_s, u"255.255.255.0"_s, u"192.168.2.1"_s);
        const QString outside = group(u"BACnet"_s, u"192.168.2.10"_s, u"255.255.255.0"_s, u"192.168.3.1"_s);
        const QString ethernet = group(u"Ethernet"_s, u"10.0.0.5"_s, u"255.255.0.0"_s, u"10.1.0.1"_s);
        const QString warning =
            Messages().Get(1781).arg(u"192.168.3.1"_s, u"192.168.2.10"_s, u"255.255.255.0"_s, Messages().Get(546));
        QTest::newRow("inside") << u"BACnet_Type=0|BACnet_EN_GAT=1|"_s + inside << QStringList();
        QTest::newRow("outside") << u"BACnet_Type=0|BACnet_EN_GAT=1|"_s + outside << QStringList{warning};
        QTest::newRow("outside, box off") << u"BACnet_Type=0|BACnet_EN_GAT=0|"_s + outside << QStringList();
        QTest::newRow("outside, MS/TP") << u"BACnet_Type=1|BACnet_EN_GAT=1|"_s + outside << QStringList();
        QTest::newRow("no number") << u"BACnet_Type=0|BACnet_EN_GAT=1|"_s + outside + u"|BACnet_GAT4=x"_s
                                   << QStringList();
        QTest::newRow("Ethernet, MS/TP") << u"BACnet_Type=1|Ethernet_EN_GAT=1|"_s + ethernet
                                         << QStringList{Messages().Get(1781).arg(
                                                u"10.1.0.1"_s, u"10.0.0.5"_s, u"255.255.0.0"_s, Messages().Get(436))};
        QTest::newRow("Ethernet, BACnet/IP") << u"BACnet_Type=0|Ethernet_EN_GAT=1|"_s + ethernet << QStringList();
    }

    void gateway_warnings()
    {
        QFETCH(QString, changes);
        QFETCH(QStringList, warnings);
        ParGen_Form form;
        form.Load(Values_With(changes));
        QCOMPARE(Gateway_Warnings(form), warnings);
    }

    void reset_question()
    {
        ParGen_Form form;
        form.Load(Values_With(u"Ethernet_TCP_Port=10000"_s));
        const Problem_List check = Controllo_Dati(form);
        QCOMPARE(Hidden_Failing_Key(form, check), std::optional<ParGen_Key>(K::Ethernet_TCP_Port));
        QCOMPARE(Reset_Question(form, check, u"/w/PROJECTS/Plant/ParGen.xml"_s),
                 u"Error Ethernet!! TCP Port must be between 0 and 65535 and different from 10000. The value of "
                 u"Ethernet_TCP_Port (\"10000\", file "_s +
                     QDir::toNativeSeparators(u"/w/PROJECTS/Plant/ParGen.xml"_s) +
                     u") is not shown in this window. Reset Ethernet_TCP_Port to its default \"10001\"?"_s);
    }

    void message_texts_data()
    {
        QTest::addColumn<QString>("changes");
        QTest::addColumn<QString>("text");
        QTest::newRow("plain message") << u"Ethernet_IP1=256"_s
                                       << u"Error Ethernet!! IP Address 1 must be between 0 and 255"_s;
        QTest::newRow("payload maximum") << u"LoRa_Payload_Size=231"_s
                                         << u"Error LoRa!! Payload Size must be between 1 and 230"_s;
        QTest::newRow("no pair: maximum 0")
            << u"LoRa_RF_Band=EU868"_s << u"Error LoRa!! Payload Size must be between 1 and 0"_s;
    }

    void message_texts()
    {
        QFETCH(QString, changes);
        QFETCH(QString, text);
        QCOMPARE(Controllo_Dati(Values_With(changes), 0).Problem_Text(), text);
    }

    void texts_follow_the_language()
    {
        Messages().Set(497, u"Carico utile tra 1 e %d"_s);
        QCOMPARE(Controllo_Dati(Values_With(u"LoRa_Payload_Size=0"_s), 0).Problem_Text(),
                 u"Carico utile tra 1 e 230"_s);
        Messages().Build_Default_Messages();
    }

    void form_supplies_its_type()
    {
        ParGen_Form form;
        form.Load(No_Document_ParGen_Values());
        form.Set_Text(K::BACnet_Ser_ID, u"500"_s);
        QVERIFY(Controllo_Dati(form).Ok());
        form.Choose(K::BACnet_Type, 1);
        QCOMPARE(Message_Of(Controllo_Dati(form)), 626);

        // A band that matched nothing on opening leaves band and data rate
        // empty: the band's message comes first.
        form.Choose(K::LoRa_RF_Band, -1);
        QCOMPARE(Message_Of(Controllo_Dati(form)), 493);
    }

    void device_names_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("invalid");
        QTest::newRow("empty") << QString() << false;
        QTest::newRow("letters and digits") << u"Abc09xyzXYZ"_s << false;
        QTest::newRow("underscore") << u"a_b"_s << true;
        QTest::newRow("blank") << u"a b"_s << true;
        QTest::newRow("accented") << u"\u00E0"_s << true;
        QTest::newRow("fullwidth digit") << u"\uFF11"_s << true;
        QTest::newRow("tab") << u"a\tb"_s << true;
    }

    void device_names()
    {
        QFETCH(QString, name);
        QFETCH(bool, invalid);
        QCOMPARE(Invalid_Device_Name(name), invalid);
    }
};

QTEST_GUILESS_MAIN(Test_ParGen_Check)
#include "test_pargen_check.moc"
