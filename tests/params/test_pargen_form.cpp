#include "params/lora_tables.h"
#include "params/pargen_document.h"
#include "params/pargen_fields.h"
#include "params/pargen_form.h"
#include "test_support.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using K = ParGen_Key;

Q_DECLARE_METATYPE(ParGen_Key)

namespace {

// The form as the window opens it on a document holding `body`.
ParGen_Form Open(const QString &path, const QByteArray &body)
{
    test::Write(path, "<Par_Gen>" + body + "</Par_Gen><!--SW_VERSION = 1.000-->");
    ParGen_Form form;
    form.Load(Load_ParGen(path));
    return form;
}

// Every state the form keeps for each key: the chosen item and the list, the
// text, the box and whether the window shows it.
QStringList Everything(const ParGen_Form &form)
{
    QStringList state;
    for (K key : All_ParGen_Keys())
        state << u"%1: %2 of [%3] text '%4' %5 %6"_s.arg(Key_Name(key))
                     .arg(form.Chosen(key))
                     .arg(form.Items(key).join(u'|'), form.Text(key), form.Checked(key) ? u"on"_s : u"off"_s,
                          form.Shown(key) ? u"shown"_s : u"hidden"_s);
    return state;
}

} // namespace

class Test_ParGen_Form : public QObject
{
    Q_OBJECT

    QTemporaryDir dir_;
    QString Path(const char *name) const { return dir_.filePath(QLatin1StringView(name)); }

private slots:
    void opens_with_defaults_without_document()
    {
        ParGen_Form form;
        form.Load(Load_ParGen(Path("none/ParGen.xml")));
        QCOMPARE(form.Chosen_Text(K::LoRa_RF_Band), u"AS923"_s);
        QCOMPARE(form.Chosen_Text(K::LoRa_Network_Type), u"Private"_s);
        QVERIFY(!form.Checked(K::LoRa_Adaptive_DataRate));
        QCOMPARE(form.Items(K::LoRa_DataRate).size(), 8);
        QCOMPARE(form.Chosen(K::LoRa_DataRate), 6);
        QCOMPARE(form.Chosen_Text(K::LoRa_Transmission_Type), u"Unconfirmed"_s);
        QCOMPARE(form.Text(K::LoRa_Payload_Size), u"230"_s);
        QCOMPARE(form.Chosen(K::LoRa_Activation_Method), 0);
        for (K key : {K::LoRa_Device_Address, K::LoRa_Application_Identifier, K::LoRa_Network_Session_Key,
                      K::LoRa_Application_Session_Key, K::LoRa_Application_Key})
            QVERIFY(form.Text(key).isEmpty());
        const auto dotted = [&](K first) {
            QStringList octets;
            for (int i = 0; i < 4; ++i)
                octets << form.Text(K(int(first) + i));
            return octets.join(u'.');
        };
        QCOMPARE(dotted(K::Ethernet_IP1), u"192.168.0.10"_s);
        QCOMPARE(dotted(K::Ethernet_SM1), u"255.255.255.0"_s);
        QCOMPARE(dotted(K::Ethernet_GAT1), u"192.168.0.1"_s);
        QCOMPARE(dotted(K::Ethernet_DNS1), u"8.8.8.8"_s);
        QVERIFY(!form.Checked(K::Ethernet_EN_GAT));
        QVERIFY(!form.Checked(K::Ethernet_EN_DNS));
        QCOMPARE(form.Text(K::Ethernet_TCP_Port), u"10001"_s);
        QCOMPARE(form.Text(K::Ethernet_UDP_Port), u"10001"_s);
        QCOMPARE(form.Chosen_Text(K::BACnet_Type), u"BACnet/IP"_s);
        QCOMPARE(dotted(K::BACnet_IP1), u"192.168.0.5"_s);
        QCOMPARE(dotted(K::BACnet_SM1), u"255.255.255.0"_s);
        QCOMPARE(dotted(K::BACnet_GAT1), u"192.168.0.1"_s);
        QVERIFY(!form.Checked(K::BACnet_EN_GAT));
        QCOMPARE(form.Text(K::BACnet_PORT), u"47808"_s);
        QCOMPARE(form.Text(K::BACnet_NAME_STA), u"devicename1"_s);
        QCOMPARE(form.Text(K::BACnet_DEV_IDE), u"1"_s);
        QCOMPARE(form.Chosen_Text(K::BACnet_Ser_Baudrate), u"57600"_s);
        QCOMPARE(form.Chosen_Text(K::BACnet_Ser_Parity), u"NONE"_s);
        QCOMPARE(form.Text(K::BACnet_Ser_ID), u"0"_s);
        QCOMPARE(form.Text(K::BACnet_Ser_NAME_STA), u"devicename1"_s);
        QCOMPARE(form.Text(K::BACnet_Ser_Max_Master), u"1"_s);
        QCOMPARE(form.Text(K::BACnet_Ser_Max_Info_Frames), u"1"_s);
        QCOMPARE(form.Text(K::BACnet_Ser_DEV_IDE), u"1"_s);
        QCOMPARE(form.Text(K::BACnet_Ser_Network), u"1"_s);
        QVERIFY(!form.Checked(K::BACnet_Desc_Chars_Limit));
        QVERIFY(form.ABP_Rows_Shown());
        QVERIFY(form.BACnet_IP_Rows_Shown());
        QVERIFY(!form.Ethernet_Group_Shown());
    }

    // Hand-edited documents: what the window shows, as the text OK writes.
    void opens_hand_edited_values_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<ParGen_Key>("key");
        QTest::addColumn<QString>("written");
        const QString eu0 = u"0 -\tLoRa: SF12/125kHz 250 [bit/s]"_s;
        QTest::newRow("band in lower case")
            << QByteArray("<LoRa_RF_Band>eu868</LoRa_RF_Band>") << K::LoRa_RF_Band << u"EU868"_s;
        QTest::newRow("band with a blank inside")
            << QByteArray("<LoRa_RF_Band>EU 868</LoRa_RF_Band>") << K::LoRa_RF_Band << QString();
        QTest::newRow("band with a trailing blank")
            << QByteArray("<LoRa_RF_Band>EU868 </LoRa_RF_Band>") << K::LoRa_RF_Band << QString();
        QTest::newRow("no band: no data rate")
            << QByteArray("<LoRa_RF_Band>EU 868</LoRa_RF_Band>") << K::LoRa_DataRate << QString();
        QTest::newRow("no band: payload 0")
            << QByteArray("<LoRa_RF_Band>EU 868</LoRa_RF_Band>") << K::LoRa_Payload_Size << u"0"_s;
        QTest::newRow("data rate only missing: band's first")
            << QByteArray("<LoRa_RF_Band>EU868</LoRa_RF_Band>") << K::LoRa_DataRate << eu0;
        QTest::newRow("data rate in other letter case")
            << QByteArray("<LoRa_RF_Band>EU868</LoRa_RF_Band><LoRa_DataRate>3 -\tlora: sf9/125KHZ 1760 [BIT/S]"
                          "</LoRa_DataRate>")
            << K::LoRa_DataRate << u"3 -\tLoRa: SF9/125kHz 1760 [bit/s]"_s;
        QTest::newRow("data rate with a blank for the tab: first")
            << QByteArray("<LoRa_RF_Band>EU868</LoRa_RF_Band><LoRa_DataRate>3 - LoRa: SF9/125kHz 1760 [bit/s]"
                          "</LoRa_DataRate>")
            << K::LoRa_DataRate << eu0;
        QTest::newRow("data rate of another band: first")
            << QByteArray("<LoRa_RF_Band>US915-Hybrid</LoRa_RF_Band><LoRa_DataRate>8  -\tLoRa: SF12/500kHz 980 "
                          "[bit/s]</LoRa_DataRate>")
            << K::LoRa_DataRate << u"0  - LoRa: SF10/125kHz 980 [bit/s]"_s;
        QTest::newRow("stored payload replaced")
            << QByteArray("<LoRa_RF_Band>EU868</LoRa_RF_Band><LoRa_DataRate>0 -\tLoRa: SF12/125kHz 250 [bit/s]"
                          "</LoRa_DataRate><LoRa_Payload_Size>200</LoRa_Payload_Size>")
            << K::LoRa_Payload_Size << u"51"_s;
        QTest::newRow("network in upper case")
            << QByteArray("<LoRa_Network_Type>PUBLIC</LoRa_Network_Type>") << K::LoRa_Network_Type << u"Public"_s;
        QTest::newRow("unknown network") << QByteArray("<LoRa_Network_Type>Hybrid</LoRa_Network_Type>")
                                         << K::LoRa_Network_Type << QString();
        QTest::newRow("transmission with a blank")
            << QByteArray("<LoRa_Transmission_Type>Confirmed </LoRa_Transmission_Type>") << K::LoRa_Transmission_Type
            << QString();
        QTest::newRow("activation in lower case")
            << QByteArray("<LoRa_Activation_Method>over-the-air activation [otaa]</LoRa_Activation_Method>")
            << K::LoRa_Activation_Method << u"Over-the-Air Activation [OTAA]"_s;
        QTest::newRow("flag 1") << QByteArray("<Ethernet_EN_DNS>1</Ethernet_EN_DNS>") << K::Ethernet_EN_DNS << u"1"_s;
        QTest::newRow("flag true") << QByteArray("<Ethernet_EN_DNS>true</Ethernet_EN_DNS>") << K::Ethernet_EN_DNS
                                   << u"0"_s;
        QTest::newRow("flag Y") << QByteArray("<BACnet_EN_GAT>Y</BACnet_EN_GAT>") << K::BACnet_EN_GAT << u"0"_s;
        QTest::newRow("flag blank 1") << QByteArray("<LoRa_Adaptive_DataRate> 1</LoRa_Adaptive_DataRate>")
                                      << K::LoRa_Adaptive_DataRate << u"0"_s;
        QTest::newRow("baud rate missing") << QByteArray() << K::BACnet_Ser_Baudrate << u"3"_s;
        QTest::newRow("baud rate not a number")
            << QByteArray("<BACnet_Ser_Baudrate>fast</BACnet_Ser_Baudrate>") << K::BACnet_Ser_Baudrate << u"3"_s;
        QTest::newRow("baud rate with a trailing blank")
            << QByteArray("<BACnet_Ser_Baudrate>1 </BACnet_Ser_Baudrate>") << K::BACnet_Ser_Baudrate << u"3"_s;
        QTest::newRow("baud rate blank 0x5")
            << QByteArray("<BACnet_Ser_Baudrate> 0x5</BACnet_Ser_Baudrate>") << K::BACnet_Ser_Baudrate << u"5"_s;
        QTest::newRow("baud rate past the list")
            << QByteArray("<BACnet_Ser_Baudrate>6</BACnet_Ser_Baudrate>") << K::BACnet_Ser_Baudrate << u"3"_s;
        QTest::newRow("baud rate -1") << QByteArray("<BACnet_Ser_Baudrate>-1</BACnet_Ser_Baudrate>")
                                      << K::BACnet_Ser_Baudrate << u"3"_s;
        QTest::newRow("parity EVEN") << QByteArray("<BACnet_Ser_Parity>2</BACnet_Ser_Parity>") << K::BACnet_Ser_Parity
                                     << u"2"_s;
        QTest::newRow("parity past the list")
            << QByteArray("<BACnet_Ser_Parity>3</BACnet_Ser_Parity>") << K::BACnet_Ser_Parity << u"0"_s;
        QTest::newRow("type MS/TP") << QByteArray("<BACnet_Type>1</BACnet_Type>") << K::BACnet_Type << u"1"_s;
        QTest::newRow("type past the list") << QByteArray("<BACnet_Type>2</BACnet_Type>") << K::BACnet_Type << u"0"_s;
        QTest::newRow("long name kept") << QByteArray("<BACnet_NAME_STA>abcdefghijklmnopqrst</BACnet_NAME_STA>")
                                        << K::BACnet_NAME_STA << u"abcdefghijklmnopqrst"_s;
        QTest::newRow("number kept as typed")
            << QByteArray("<BACnet_Ser_ID>010</BACnet_Ser_ID>") << K::BACnet_Ser_ID << u"010"_s;
        QTest::newRow("key kept as typed") << QByteArray("<LoRa_Application_Key>ab 12</LoRa_Application_Key>")
                                           << K::LoRa_Application_Key << u"ab 12"_s;
    }

    void opens_hand_edited_values()
    {
        QFETCH(QByteArray, body);
        QFETCH(ParGen_Key, key);
        QFETCH(QString, written);
        const ParGen_Form form = Open(Path("edited/ParGen.xml"), body);
        QCOMPARE(form.Values()[key], written);
    }

    void damaged_document_opens_like_a_missing_one()
    {
        test::Write(Path("bad/ParGen.xml"), "<Par_Gen><LoRa_RF_Band>EU868</LoRa_RF_Band>");
        const ParGen_Document document = Read_ParGen_Document(Path("bad/ParGen.xml"));
        ParGen_Form form;
        form.Load(Load_ParGen(document));
        QVERIFY(!document.Problem().isEmpty());
        ParGen_Form fresh;
        fresh.Load(No_Document_ParGen_Values());
        QCOMPARE(form.Values(), fresh.Values());
        QCOMPARE(form.Chosen(K::LoRa_DataRate), 6);
    }

    void band_change_resets_the_data_rate()
    {
        ParGen_Form form;
        form.Load(No_Document_ParGen_Values());
        form.Choose(K::LoRa_DataRate, 3);
        QCOMPARE(form.Text(K::LoRa_Payload_Size), u"123"_s);

        form.Choose(K::LoRa_RF_Band, int(LoRa_Band_Texts().indexOf(u"US915"_s)));
        QCOMPARE(form.Items(K::LoRa_DataRate), Change_LoRa_DataRate(u"US915"));
        QCOMPARE(form.Chosen(K::LoRa_DataRate), 0);
        QCOMPARE(form.Text(K::LoRa_Payload_Size), u"11"_s);

        // Choosing the same band again still starts at its first data rate.
        form.Choose(K::LoRa_DataRate, 4);
        QCOMPARE(form.Text(K::LoRa_Payload_Size), u"242"_s);
        form.Choose(K::LoRa_RF_Band, int(LoRa_Band_Texts().indexOf(u"US915"_s)));
        QCOMPARE(form.Chosen(K::LoRa_DataRate), 0);

        form.Choose(K::LoRa_RF_Band, int(LoRa_Band_Texts().indexOf(u"AS923"_s)));
        QCOMPARE(form.Text(K::LoRa_Payload_Size), u"59"_s);

        form.Choose(K::LoRa_RF_Band, -1);
        QVERIFY(form.Items(K::LoRa_DataRate).isEmpty());
        QCOMPARE(form.Chosen(K::LoRa_DataRate), -1);
        QCOMPARE(form.Text(K::LoRa_Payload_Size), u"0"_s);

        // An index outside the list chooses nothing.
        form.Choose(K::LoRa_RF_Band, 2);
        form.Choose(K::LoRa_DataRate, 8);
        QCOMPARE(form.Chosen(K::LoRa_DataRate), -1);
        QCOMPARE(form.Text(K::LoRa_Payload_Size), u"0"_s);
    }

    void layout_follows_the_choices()
    {
        ParGen_Form form;
        form.Load(No_Document_ParGen_Values());
        form.Set_Text(K::LoRa_Device_Address, u"1A2B"_s);
        form.Set_Text(K::BACnet_Ser_ID, u"9"_s);

        form.Choose(K::LoRa_Activation_Method, 1);
        QVERIFY(!form.ABP_Rows_Shown());
        form.Choose(K::BACnet_Type, 1);
        QVERIFY(!form.BACnet_IP_Rows_Shown());
        QVERIFY(form.Ethernet_Group_Shown());
        form.Choose(K::BACnet_Type, -1);
        QVERIFY(!form.BACnet_IP_Rows_Shown());
        QVERIFY(form.Ethernet_Group_Shown());

        // Back again: the values typed in hidden rows are still there and saved.
        form.Choose(K::LoRa_Activation_Method, 0);
        form.Choose(K::BACnet_Type, 0);
        QVERIFY(form.ABP_Rows_Shown());
        QVERIFY(form.BACnet_IP_Rows_Shown());
        QVERIFY(!form.Ethernet_Group_Shown());
        QCOMPARE(form.Values()[K::LoRa_Device_Address], u"1A2B"_s);
        QCOMPARE(form.Values()[K::BACnet_Ser_ID], u"9"_s);
    }

    // The rows of each group stack without gaps: with OTAA the application
    // key takes the device address's row, the MS/TP rows start below the
    // type, and the 32-character box follows the last row shown.
    void rows_stack_by_the_choices()
    {
        ParGen_Form form;
        form.Load(No_Document_ParGen_Values());
        const auto row_of = [&form](K key) {
            const QList<ParGen_Field> &fields = ParGen_Fields();
            const QList<ParGen_Row_Place> places = ParGen_Row_Places(form);
            for (qsizetype i = 0; i < fields.size(); ++i)
                if (fields[i].key == key)
                    return places[i].Shown ? places[i].Row : -1;
            return -2;
        };
        QCOMPARE(row_of(K::LoRa_Application_Session_Key), 10);
        QCOMPARE(row_of(K::LoRa_Application_Key), -1);
        QCOMPARE(row_of(K::BACnet_EN_GAT), 3);
        QCOMPARE(row_of(K::BACnet_GAT1), 3);
        QCOMPARE(row_of(K::BACnet_Desc_Chars_Limit), 7);
        QCOMPARE(row_of(K::Ethernet_DNS1), 3);
        QCOMPARE(row_of(K::Ethernet_TCP_Port), -1);
        form.Choose(K::LoRa_Activation_Method, 1);
        form.Choose(K::BACnet_Type, 1);
        QCOMPARE(row_of(K::LoRa_Application_Key), 7);
        QCOMPARE(row_of(K::LoRa_Device_Address), -1);
        QCOMPARE(row_of(K::BACnet_Ser_Baudrate), 1);
        QCOMPARE(row_of(K::BACnet_Desc_Chars_Limit), 9);
        QVERIFY(ParGen_Group_Shown(form, ParGen_Fields().back().group_message));
        form.Choose(K::BACnet_Type, 0);
        QVERIFY(!ParGen_Group_Shown(form, ParGen_Fields().back().group_message));
    }

    // The table's rows show exactly the keys the form says are shown, with
    // every choice of BACnet type and activation method.
    void rows_show_what_the_form_shows()
    {
        ParGen_Form form;
        form.Load(No_Document_ParGen_Values());
        for (int choice : {0, 1}) {
            form.Choose(K::LoRa_Activation_Method, choice);
            form.Choose(K::BACnet_Type, choice);
            const QList<ParGen_Field> &fields = ParGen_Fields();
            const QList<ParGen_Row_Place> places = ParGen_Row_Places(form);
            for (qsizetype i = 0; i < fields.size(); ++i)
                for (int k = 0; k < fields[i].keys; ++k) {
                    const K key = K(int(fields[i].key) + k);
                    QCOMPARE(places[i].Shown && ParGen_Group_Shown(form, fields[i].group_message), form.Shown(key));
                }
        }
    }

    // Every key is reached once, the rows from the top down.
    void tab_order_holds_every_key_once()
    {
        const QList<K> order = ParGen_Tab_Order();
        QCOMPARE(order.size(), ParGen_Key_Count);
        for (K key : All_ParGen_Keys())
            QCOMPARE(order.count(key), 1);
        QCOMPARE(order.indexOf(K::LoRa_Adaptive_DataRate), order.indexOf(K::LoRa_Network_Type) + 1);
        QCOMPARE(order.indexOf(K::LoRa_Activation_Method), order.indexOf(K::LoRa_Payload_Size) + 1);
        QCOMPARE(order.indexOf(K::LoRa_Device_Address), order.indexOf(K::LoRa_Activation_Method) + 1);
        QCOMPARE(order.indexOf(K::BACnet_GAT1), order.indexOf(K::BACnet_EN_GAT) + 1);
    }

    void controls_take_only_their_kind()
    {
        ParGen_Form form;
        form.Set_Text(K::LoRa_RF_Band, u"EU868"_s);
        QCOMPARE(form.Chosen(K::LoRa_RF_Band), -1);
        form.Set_Checked(K::Ethernet_IP1, true);
        QVERIFY(!form.Checked(K::Ethernet_IP1));
        form.Choose(K::Ethernet_IP1, 0);
        QCOMPARE(form.Chosen(K::Ethernet_IP1), -1);
        QVERIFY(form.Items(K::Ethernet_IP1).isEmpty());
    }

    void every_key_reaches_a_control_and_back()
    {
        // Whatever control each key has, opening then saving gives back the
        // texts a window writes.
        ParGen_Values values = No_Document_ParGen_Values();
        int n = 0;
        for (K key : All_ParGen_Keys()) {
            if (Key_Info(key).Kind == ParGen_Kind::Edit)
                values[key] = QString::number(++n);
        }
        values[K::BACnet_Type] = u"1"_s;
        values[K::BACnet_Ser_Baudrate] = u"5"_s;
        values[K::BACnet_Ser_Parity] = u"1"_s;
        values[K::Ethernet_EN_GAT] = u"1"_s;
        values[K::LoRa_Transmission_Type] = u"Confirmed"_s;
        ParGen_Form form;
        form.Load(values);
        QCOMPARE(form.Values(), values);
    }

    // Undo puts a snapshot back after the user changed the choices that
    // others follow (band, activation, BACnet type), texts and boxes.
    void snapshot_restores_every_value_as_loaded_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::newRow("defaults") << QByteArray();
        QTest::newRow("hand-edited") << QByteArray(
            "<LoRa_RF_Band>eu868</LoRa_RF_Band><LoRa_DataRate>3 -\tLoRa: SF9/125kHz 1760 [bit/s]"
            "</LoRa_DataRate><LoRa_Payload_Size>7</LoRa_Payload_Size>"
            "<LoRa_Activation_Method>Over-the-Air Activation [OTAA]</LoRa_Activation_Method>"
            "<LoRa_Application_Key>ab 12</LoRa_Application_Key><BACnet_Type>1</BACnet_Type>"
            "<BACnet_Ser_Parity>2</BACnet_Ser_Parity><Ethernet_EN_DNS>1</Ethernet_EN_DNS>"
            "<BACnet_Ser_ID>010</BACnet_Ser_ID><Ethernet_IP1>256</Ethernet_IP1>");
        QTest::newRow("band and network matching nothing")
            << QByteArray("<LoRa_RF_Band>EU 868</LoRa_RF_Band><LoRa_Network_Type>Hybrid</LoRa_Network_Type>"
                          "<BACnet_Ser_Baudrate>9</BACnet_Ser_Baudrate>");
    }

    void snapshot_restores_every_value_as_loaded()
    {
        QFETCH(QByteArray, body);
        ParGen_Form form = Open(Path("undo/ParGen.xml"), body);
        const QStringList loaded = Everything(form);
        const ParGen_Values snapshot = form.Snapshot();

        form.Choose(K::LoRa_RF_Band, int(LoRa_Band_Texts().indexOf(u"US915"_s)));
        form.Choose(K::LoRa_DataRate, 4);
        form.Choose(K::LoRa_Network_Type, 1);
        form.Choose(K::LoRa_Activation_Method, form.Chosen(K::LoRa_Activation_Method) == 0 ? 1 : 0);
        form.Choose(K::BACnet_Type, form.Chosen(K::BACnet_Type) == 0 ? 1 : 0);
        form.Choose(K::BACnet_Ser_Baudrate, 0);
        form.Set_Checked(K::Ethernet_EN_DNS, !form.Checked(K::Ethernet_EN_DNS));
        form.Set_Checked(K::BACnet_Desc_Chars_Limit, true);
        form.Set_Text(K::BACnet_Ser_ID, u"99"_s);
        form.Set_Text(K::LoRa_Device_Address, QString());
        QVERIFY(Everything(form) != loaded);
        QVERIFY(form.Snapshot() != snapshot);

        form.Restore(snapshot);
        QCOMPARE(Everything(form), loaded);
        QCOMPARE(form.Snapshot(), snapshot);
    }

    void hex_key_filter_data()
    {
        QTest::addColumn<QChar>("typed");
        QTest::addColumn<bool>("passes");
        QTest::addColumn<QChar>("entered");
        QTest::newRow("digit") << QChar(u'7') << true << QChar(u'7');
        QTest::newRow("A") << QChar(u'A') << true << QChar(u'A');
        QTest::newRow("a to A") << QChar(u'a') << true << QChar(u'A');
        QTest::newRow("f to F") << QChar(u'f') << true << QChar(u'F');
        QTest::newRow("blank") << QChar(u' ') << true << QChar(u' ');
        QTest::newRow("backspace") << QChar(u'\b') << true << QChar(u'\b');
        QTest::newRow("g") << QChar(u'g') << false << QChar();
        QTest::newRow("G") << QChar(u'G') << false << QChar();
        QTest::newRow("minus") << QChar(u'-') << false << QChar();
        QTest::newRow("accented") << QChar(u'\u00E9') << false << QChar();
    }

    void hex_key_filter()
    {
        QFETCH(QChar, typed);
        QFETCH(bool, passes);
        QFETCH(QChar, entered);
        QChar out;
        QCOMPARE(Hex_Key_Filter(typed, &out), passes);
        if (passes)
            QCOMPARE(out, entered);
    }
};

QTEST_GUILESS_MAIN(Test_ParGen_Form)
#include "test_pargen_form.moc"
