#include "core/messages.h"
#include "params/pargen_check.h"
#include "params/pargen_document.h"
#include "params/pargen_form.h"

#include <QTest>

using namespace Qt::StringLiterals;
using K = ParGen_Key;

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

        // Keys of the activation method in use.
        QTest::newRow("ABP, all keys empty") << QString() << 0 << 0;
        QTest::newRow("ABP, short and lower-case keys")
            << u"LoRa_Device_Address=1a2b|LoRa_Network_Session_Key=00ff"_s << 0 << 0;
        QTest::newRow("ABP, full keys") << u"LoRa_Device_Address=0123ABCD|LoRa_Application_Identifier=0123456789ABCDEF|"
                                           "LoRa_Network_Session_Key=0123456789ABCDEF0123456789ABCDEF|"
                                           "LoRa_Application_Session_Key=FEDCBA9876543210FEDCBA9876543210"_s
                                        << 0 << 0;
        QTest::newRow("ABP, blank in a key") << u"LoRa_Device_Address=1A 2B"_s << 0 << 0;
        QTest::newRow("ABP, key too long") << u"LoRa_Device_Address=123456789"_s << 0 << 0;
        QTest::newRow("ABP, letter past F") << u"LoRa_Application_Session_Key=G"_s << 0 << 0;
        QTest::newRow("ABP ignores the application key") << u"LoRa_Application_Key=xyz"_s << 0 << 0;
        QTest::newRow("OTAA ignores the ABP keys")
            << u"LoRa_Activation_Method=Over-the-Air Activation [OTAA]|LoRa_Device_Address=xyz"_s << 0 << 0;
        QTest::newRow("OTAA, bad application key")
            << u"LoRa_Activation_Method=Over-the-Air Activation [OTAA]|LoRa_Application_Key=12-34"_s << 0
            << 0;
        QTest::newRow("keys are not checked")
            << u"LoRa_Device_Address=1A 2B|Ethernet_IP1=256"_s << 0 << 465;

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
        QTest::newRow("MS/TP name of 17")
            << u"BACnet_Ser_NAME_STA=abcdefghijklmnopq"_s << 1 << 0;
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
        const ParGen_Check check = Controllo_Dati(Values_With(changes), type);
        QCOMPARE(check.Message(), message);
        QCOMPARE(check.Ok(), message == 0);
        if (message != 0)
            QVERIFY(!check.Problem().trimmed().isEmpty());
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
        QCOMPARE(Controllo_Dati(Values_With(changes), 0).Problem(), text);
    }

    void texts_follow_the_language()
    {
        Messages().Set(497, u"Carico utile tra 1 e %d"_s);
        QCOMPARE(Controllo_Dati(Values_With(u"LoRa_Payload_Size=0"_s), 0).Problem(), u"Carico utile tra 1 e 230"_s);
        Messages().Build_Default_Messages();
    }

    void form_supplies_its_type()
    {
        ParGen_Form form;
        form.Load(No_Document_ParGen_Values());
        form.Set_Text(K::BACnet_Ser_ID, u"500"_s);
        QVERIFY(Controllo_Dati(form).Ok());
        form.Choose(K::BACnet_Type, 1);
        QCOMPARE(Controllo_Dati(form).Message(), 626);

        // A band that matched nothing on opening leaves band and data rate
        // empty: the band's message comes first.
        form.Choose(K::LoRa_RF_Band, -1);
        QCOMPARE(Controllo_Dati(form).Message(), 493);
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
