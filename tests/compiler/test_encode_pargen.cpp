#include "compiler/compile_project.h"
#include "compiler/encode_pargen.h"
#include "fixtures.h"
#include "test_support.h"

#include <QTemporaryDir>
#include <QTest>

using namespace fixture;

namespace {

// A removed key (With() drops a key whose value is null).
const QString Removed;

// Bytes expected at offsets of an image.
using Patch = QList<QPair<int, QByteArray>>;

} // namespace

class Test_Encode_ParGen : public QObject
{
    Q_OBJECT

    QTemporaryDir dir_;
    QString Path(const char *name) const { return dir_.filePath(QLatin1StringView(name)); }

    // Compiles a parameter document alone (no rules, no objects).
    Result<Bank_Images> Compile(const Keys &keys)
    {
        Write_ParGen(Path("ParGen.xml"), keys);
        return Compile_Project(Path("ParGen.xml"), Path("none1.xml"), Path("none2.xml"));
    }

    Bank_Images Compiled(const Keys &keys)
    {
        const Result<Bank_Images> r = Compile(keys);
        if (!r.Ok())
            qFatal("compilation failed: %s", qPrintable(r.Problem()));
        return r.Value();
    }

    static quint32 Field(const QByteArray &b, int offset, int width)
    {
        return width == 1 ? U8(b, offset) : width == 2 ? U16(b, offset) : U32(b, offset);
    }

private slots:
    void band_code_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("code");
        QTest::newRow("AS923") << S("AS923") << 0;
        QTest::newRow("AU915") << S("AU915") << 1;
        QTest::newRow("EU868") << S("EU868") << 5;
        QTest::newRow("KR920") << S("KR920") << 6;
        QTest::newRow("IN865") << S("IN865") << 7;
        QTest::newRow("US915") << S("US915") << 8;
        QTest::newRow("US915-Hybrid") << S("US915-Hybrid") << 9;
        QTest::newRow("lower case between blanks") << S("  us915-hybrid ") << 9;
        QTest::newRow("tab and newline around") << S("\tEU868\n") << 5;
        QTest::newRow("blank inside") << S("EU 868") << 0;
        QTest::newRow("unknown") << S("CN470") << 0;
        QTest::newRow("empty") << S("") << 0;
        QTest::newRow("dotless i is no letter i") << S("\u0131n865") << 0;
    }

    void band_code()
    {
        QFETCH(QString, text);
        QFETCH(int, code);
        QCOMPARE(int(Band_Code(text)), code);
    }

    void data_rate_number_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("number");
        QTest::newRow("AS923 item 6") << S("6\t- LoRa: SF7/250kHz 11000 [bit/s]") << 6;
        QTest::newRow("AU915 two digits") << S("10 - LoRa: SF10/500kHz 3900 [bit/s]") << 10;
        QTest::newRow("US915 blanks then tab") << S("4  -\tLoRa: SF8/500kHz 12500 [bit/s]") << 4;
        QTest::newRow("EU868 dash then tab") << S("3 -\tLoRa: SF9/125kHz 1760 [bit/s]") << 3;
        QTest::newRow("bare number") << S("5") << 0;
        QTest::newRow("not a number before the dash") << S("abc - LoRa") << 0;
        QTest::newRow("dash first") << S("-5 - LoRa") << 0;
        QTest::newRow("hexadecimal") << S("0x0A - LoRa") << 10;
        QTest::newRow("empty") << S("") << 0;
    }

    void data_rate_number()
    {
        QFETCH(QString, text);
        QFETCH(int, number);
        QCOMPARE(Data_Rate_Number(text), number);
    }

    void hex_field_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("digits");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("fits");
        QTest::newRow("short address") << S("1A2B") << 8 << QByteArray::fromHex("00001A2B") << true;
        QTest::newRow("lower case") << S("1a2b") << 8 << QByteArray::fromHex("00001A2B") << true;
        QTest::newRow("empty") << S("") << 8 << QByteArray::fromHex("00000000") << true;
        QTest::newRow("odd length") << S("ABC") << 8 << QByteArray::fromHex("00000ABC") << true;
        QTest::newRow("letter beyond F") << S("G1FF") << 8 << QByteArray::fromHex("000000FF") << true;
        QTest::newRow("digit then blank") << S("1 2B") << 8 << QByteArray::fromHex("0000002B") << true;
        QTest::newRow("signs are no digits") << S("+1-1") << 8 << QByteArray::fromHex("00000000") << true;
        QTest::newRow("full key") << S("0123456789ABCDEF0123456789abcdef") << 32
                                  << QByteArray::fromHex("0123456789ABCDEF0123456789ABCDEF") << true;
        QTest::newRow("one digit too many") << S("123456789") << 8 << QByteArray::fromHex("EEEEEEEE") << false;
    }

    void hex_field()
    {
        QFETCH(QString, text);
        QFETCH(int, digits);
        QFETCH(QByteArray, bytes);
        QFETCH(bool, fits);
        QByteArray out(digits / 2, char(0xEE)); // untouched bytes show as EE
        QCOMPARE(Hex_Field(text, digits, std::span(reinterpret_cast<std::uint8_t *>(out.data()), out.size())), fits);
        QCOMPARE(out.toHex().toUpper(), bytes.toHex().toUpper());
    }

    void serial_codes()
    {
        const quint32 rates[] = {9600, 19200, 38400, 57600, 76800, 115200};
        for (int i = 0; i < 6; ++i)
            QCOMPARE(Baud_Rate_Of(i), rates[i]);
        for (int other : {-1, 6, 7, 1000})
            QCOMPARE(Baud_Rate_Of(other), 9600u);
        QCOMPARE(int(Parity_Code_Of(0)), 0); // NONE
        QCOMPARE(int(Parity_Code_Of(1)), 2); // ODD
        QCOMPARE(int(Parity_Code_Of(2)), 1); // EVEN
        QCOMPARE(int(Parity_Code_Of(3)), 0);
        QCOMPARE(int(Parity_Code_Of(-1)), 0);
    }

    // One field of the LoRa block (bank 2 from 0) or the parameter block
    // (bank 1) after compiling the window's default document with changes.
    void fields_data()
    {
        QTest::addColumn<Keys>("changes");
        QTest::addColumn<int>("bank");
        QTest::addColumn<int>("offset");
        QTest::addColumn<int>("width");
        QTest::addColumn<quint32>("value");

        QTest::newRow("window default band") << Keys{} << 2 << 0x00 << 1 << 0u;
        QTest::newRow("band KR920") << Keys{{S("LoRa_RF_Band"), S("KR920")}} << 2 << 0x00 << 1 << 6u;
        QTest::newRow("band missing") << Keys{{S("LoRa_RF_Band"), Removed}} << 2 << 0x00 << 1 << 0u;
        QTest::newRow("network public, trimmed")
            << Keys{{S("LoRa_Network_Type"), S(" public\t")}} << 2 << 0x01 << 1 << 1u;
        QTest::newRow("network other") << Keys{{S("LoRa_Network_Type"), S("Publicx")}} << 2 << 0x01 << 1 << 0u;
        QTest::newRow("OTAA any case") << Keys{{S("LoRa_Activation_Method"), S(" over-the-air activation [otaa] ")}}
                                       << 2 << 0x02 << 1 << 1u;
        QTest::newRow("activation other") << Keys{{S("LoRa_Activation_Method"), S("OTAA")}} << 2 << 0x02 << 1 << 0u;
        QTest::newRow("window data rate 6") << Keys{} << 2 << 0x03 << 1 << 6u;
        QTest::newRow("data rate missing") << Keys{{S("LoRa_DataRate"), Removed}} << 2 << 0x03 << 1 << 0u;
        QTest::newRow("data rate AU915 13")
            << Keys{{S("LoRa_DataRate"), S("13 - LoRa: SF7/500kHz 21900 [bit/s]")}} << 2 << 0x03 << 1 << 13u;
        QTest::newRow("adaptive on") << Keys{{S("LoRa_Adaptive_DataRate"), S("1")}} << 2 << 0x40 << 1 << 1u;
        QTest::newRow("adaptive not a number")
            << Keys{{S("LoRa_Adaptive_DataRate"), S("true")}} << 2 << 0x40 << 1 << 0u;
        QTest::newRow("confirmed") << Keys{{S("LoRa_Transmission_Type"), S("Confirmed")}} << 2 << 0x41 << 1 << 1u;
        QTest::newRow("confirmed lower case")
            << Keys{{S("LoRa_Transmission_Type"), S("confirmed")}} << 2 << 0x41 << 1 << 0u;
        QTest::newRow("confirmed with blank")
            << Keys{{S("LoRa_Transmission_Type"), S("Confirmed ")}} << 2 << 0x41 << 1 << 0u;
        QTest::newRow("payload 230") << Keys{} << 2 << 0x42 << 1 << 230u;
        QTest::newRow("payload low bits") << Keys{{S("LoRa_Payload_Size"), S("300")}} << 2 << 0x42 << 1 << 44u;
        QTest::newRow("payload missing") << Keys{{S("LoRa_Payload_Size"), Removed}} << 2 << 0x42 << 1 << 1u;
        QTest::newRow("interval never written") << Keys{} << 2 << 0x44 << 4 << 1u;
        QTest::newRow("interval hand-written") << Keys{{S("LoRa_Transmit_Interval"), S("15")}} << 2 << 0x44 << 4 << 15u;
        QTest::newRow("interval negative")
            << Keys{{S("LoRa_Transmit_Interval"), S("-1")}} << 2 << 0x44 << 4 << 0xFFFFFFFFu;
        QTest::newRow("reserved byte") << Keys{} << 2 << 0x43 << 1 << 0u;

        QTest::newRow("BACnet/IP address") << Keys{} << 1 << 0x028 << 4 << 0x0500A8C0u;
        QTest::newRow("BACnet/IP mask") << Keys{} << 1 << 0x02C << 4 << 0x00FFFFFFu;
        QTest::newRow("BACnet/IP no gateway") << Keys{} << 1 << 0x030 << 4 << 0xFFFFFFFFu;
        QTest::newRow("BACnet/IP gateway on") << Keys{{S("BACnet_EN_GAT"), S("1")}} << 1 << 0x030 << 4 << 0x0100A8C0u;
        QTest::newRow("BACnet/IP gateway ' 1'")
            << Keys{{S("BACnet_EN_GAT"), S(" 1")}} << 1 << 0x030 << 4 << 0xFFFFFFFFu;
        QTest::newRow("Ethernet gateway flag ignored with IP")
            << Keys{{S("Ethernet_EN_GAT"), S("1")}} << 1 << 0x030 << 4 << 0xFFFFFFFFu;
        QTest::newRow("octet low bits") << Keys{{S("BACnet_IP4"), S("300")}} << 1 << 0x02B << 1 << 44u;
        QTest::newRow("octet leading blank") << Keys{{S("BACnet_IP4"), S(" 12")}} << 1 << 0x02B << 1 << 12u;
        QTest::newRow("octet hexadecimal") << Keys{{S("BACnet_IP4"), S("0x10")}} << 1 << 0x02B << 1 << 16u;
        QTest::newRow("octet trailing blank") << Keys{{S("BACnet_IP4"), S("12 ")}} << 1 << 0x02B << 1 << 5u;
        QTest::newRow("octet negative") << Keys{{S("BACnet_IP1"), S("-1")}} << 1 << 0x028 << 1 << 255u;
        QTest::newRow("name server off") << Keys{} << 1 << 0x58C << 4 << 0xFFFFFFFFu;
        QTest::newRow("name server on") << Keys{{S("Ethernet_EN_DNS"), S("1")}} << 1 << 0x58C << 4 << 0x08080808u;
        QTest::newRow("name server fallback")
            << Keys{{S("Ethernet_EN_DNS"), S("1")}, {S("Ethernet_DNS4"), Removed}} << 1 << 0x58F << 1 << 1u;
        QTest::newRow("port") << Keys{{S("BACnet_PORT"), S("47809")}} << 1 << 0x03A << 2 << 47809u;
        QTest::newRow("port missing") << Keys{{S("BACnet_PORT"), Removed}} << 1 << 0x03A << 2 << 47808u;
        QTest::newRow("identifier") << Keys{{S("BACnet_DEV_IDE"), S("4194303")}} << 1 << 0x134 << 4 << 4194303u;
        QTest::newRow("identifier missing") << Keys{{S("BACnet_DEV_IDE"), Removed}} << 1 << 0x134 << 4 << 1u;
        QTest::newRow("MS/TP keys unused with IP") << Keys{{S("BACnet_Ser_ID"), S("9")}} << 1 << 0x100 << 1 << 0u;
        QTest::newRow("IP: no serial baud on channel 0") << Keys{} << 1 << 0x190 << 4 << 0u;
        QTest::newRow("channel 5 baud") << Keys{} << 1 << 0x1A4 << 4 << 19200u;
        QTest::newRow("channel 5 parity") << Keys{} << 1 << 0x1AD << 1 << 0u;
        QTest::newRow("channel 5 stop bits") << Keys{} << 1 << 0x1B3 << 1 << 1u;
        QTest::newRow("channel 5 data bits") << Keys{} << 1 << 0x1B9 << 1 << 8u;
        QTest::newRow("TCP port not encoded") << Keys{{S("Ethernet_TCP_Port"), S("502")}} << 1 << 0x036 << 2 << 10001u;
        QTest::newRow("UDP port not encoded") << Keys{{S("Ethernet_UDP_Port"), S("502")}} << 1 << 0x038 << 2 << 10001u;

        const Keys mstp{{S("BACnet_Type"), S("1")}};
        QTest::newRow("MS/TP Ethernet address") << mstp << 1 << 0x028 << 4 << 0x0A00A8C0u;
        QTest::newRow("MS/TP no gateway") << mstp << 1 << 0x030 << 4 << 0xFFFFFFFFu;
        QTest::newRow("MS/TP gateway on")
            << mstp + Keys{{S("Ethernet_EN_GAT"), S("1")}} << 1 << 0x030 << 4 << 0x0100A8C0u;
        QTest::newRow("MS/TP baud 57600 ch 0") << mstp << 1 << 0x190 << 4 << 57600u;
        QTest::newRow("MS/TP baud 115200 ch 3")
            << mstp + Keys{{S("BACnet_Ser_Baudrate"), S("5")}} << 1 << 0x19C << 4 << 115200u;
        QTest::newRow("MS/TP baud code 7")
            << mstp + Keys{{S("BACnet_Ser_Baudrate"), S("7")}} << 1 << 0x190 << 4 << 9600u;
        QTest::newRow("MS/TP baud missing")
            << mstp + Keys{{S("BACnet_Ser_Baudrate"), Removed}} << 1 << 0x19C << 4 << 57600u;
        QTest::newRow("MS/TP channels 1, 2, 4 untouched") << mstp << 1 << 0x194 << 4 << 0u;
        QTest::newRow("MS/TP parity ODD ch 0")
            << mstp + Keys{{S("BACnet_Ser_Parity"), S("1")}} << 1 << 0x1A8 << 1 << 2u;
        QTest::newRow("MS/TP parity ODD ch 3")
            << mstp + Keys{{S("BACnet_Ser_Parity"), S("1")}} << 1 << 0x1AB << 1 << 2u;
        QTest::newRow("MS/TP parity EVEN") << mstp + Keys{{S("BACnet_Ser_Parity"), S("2")}} << 1 << 0x1A8 << 1 << 1u;
        QTest::newRow("MS/TP MAC") << mstp + Keys{{S("BACnet_Ser_ID"), S("127")}} << 1 << 0x100 << 1 << 127u;
        QTest::newRow("MS/TP max master")
            << mstp + Keys{{S("BACnet_Ser_Max_Master"), S("127")}} << 1 << 0x101 << 1 << 127u;
        QTest::newRow("MS/TP info frames")
            << mstp + Keys{{S("BACnet_Ser_Max_Info_Frames"), S("100")}} << 1 << 0x102 << 1 << 100u;
        QTest::newRow("MS/TP network") << mstp + Keys{{S("BACnet_Ser_Network"), S("65534")}} << 1 << 0x10E << 2
                                       << 65534u;
        QTest::newRow("MS/TP instance") << mstp + Keys{{S("BACnet_Ser_DEV_IDE"), S("4194303")}} << 1 << 0x12C << 4
                                        << 4194303u;
        QTest::newRow("MS/TP instance missing gives 0")
            << mstp + Keys{{S("BACnet_Ser_DEV_IDE"), Removed}} << 1 << 0x12C << 4 << 0u;
        QTest::newRow("MS/TP keeps IP port 0") << mstp << 1 << 0x03A << 2 << 0u;
        QTest::newRow("MS/TP keeps IP identifier 0") << mstp << 1 << 0x134 << 4 << 0u;

        const Keys neither{{S("BACnet_Type"), S("2")}};
        QTest::newRow("type 2: Ethernet address") << neither << 1 << 0x028 << 4 << 0x0A00A8C0u;
        QTest::newRow("type 2: no name") << neither << 1 << 0x050 << 4 << 0u;
        QTest::newRow("type 2: no port") << neither << 1 << 0x03A << 2 << 0u;
        QTest::newRow("type 2: no baud") << neither << 1 << 0x190 << 4 << 0u;
        QTest::newRow("type not a number is IP") << Keys{{S("BACnet_Type"), S("MS/TP")}} << 1 << 0x03A << 2 << 47808u;
    }

    void fields()
    {
        QFETCH(Keys, changes);
        QFETCH(int, bank);
        QFETCH(int, offset);
        QFETCH(int, width);
        QFETCH(quint32, value);
        const Bank_Images images = Compiled(With(Window_ParGen(), changes));
        QCOMPARE(Field(bank == 1 ? images.bank1 : images.bank2, offset, width), value);
    }

    // An MS/TP document lacking one of its MS/TP keys: that key's fallback
    // reaches its field, and nothing else in the parameter block moves. The
    // other keys hold values unlike their fallbacks, so a fallback shows.
    void mstp_key_missing_data()
    {
        QTest::addColumn<QStringList>("missing");
        QTest::addColumn<Patch>("fields"); // offset and bytes the missing keys give

        const Patch baud{{0x190, QByteArray::fromHex("00E10000")}, {0x19C, QByteArray::fromHex("00E10000")}}; // 57600
        const Patch parity{{0x1A8, QByteArray::fromHex("00")}, {0x1AB, QByteArray::fromHex("00")}};           // NONE
        const Patch mac{{0x100, QByteArray::fromHex("00")}};
        const Patch name{{0x050, QByteArray("devicename1\0\0\0\0\0", 16)}};
        const Patch max_master{{0x101, QByteArray::fromHex("01")}};
        const Patch info_frames{{0x102, QByteArray::fromHex("01")}};
        const Patch instance{{0x12C, QByteArray::fromHex("00000000")}};
        const Patch network{{0x10E, QByteArray::fromHex("0100")}};

        QTest::newRow("baud rate") << QStringList{S("BACnet_Ser_Baudrate")} << baud;
        QTest::newRow("parity") << QStringList{S("BACnet_Ser_Parity")} << parity;
        QTest::newRow("MAC address") << QStringList{S("BACnet_Ser_ID")} << mac;
        QTest::newRow("device name") << QStringList{S("BACnet_Ser_NAME_STA")} << name;
        QTest::newRow("max master") << QStringList{S("BACnet_Ser_Max_Master")} << max_master;
        QTest::newRow("max info frames") << QStringList{S("BACnet_Ser_Max_Info_Frames")} << info_frames;
        QTest::newRow("device instance") << QStringList{S("BACnet_Ser_DEV_IDE")} << instance;
        QTest::newRow("network number") << QStringList{S("BACnet_Ser_Network")} << network;
        QTest::newRow("every MS/TP key") << QStringList{S("BACnet_Ser_Baudrate"),   S("BACnet_Ser_Parity"),
                                                        S("BACnet_Ser_ID"),         S("BACnet_Ser_NAME_STA"),
                                                        S("BACnet_Ser_Max_Master"), S("BACnet_Ser_Max_Info_Frames"),
                                                        S("BACnet_Ser_DEV_IDE"),    S("BACnet_Ser_Network")}
                                         << baud + parity + mac + name + max_master + info_frames + instance + network;
    }

    void mstp_key_missing()
    {
        QFETCH(QStringList, missing);
        QFETCH(Patch, fields);
        const Keys full = With(Window_ParGen(), {{S("BACnet_Type"), S("1")},
                                                 {S("BACnet_Ser_Baudrate"), S("1")},
                                                 {S("BACnet_Ser_Parity"), S("1")},
                                                 {S("BACnet_Ser_ID"), S("9")},
                                                 {S("BACnet_Ser_NAME_STA"), S("serial")},
                                                 {S("BACnet_Ser_Max_Master"), S("64")},
                                                 {S("BACnet_Ser_Max_Info_Frames"), S("50")},
                                                 {S("BACnet_Ser_DEV_IDE"), S("777")},
                                                 {S("BACnet_Ser_Network"), S("4321")}});
        Keys removed;
        for (const QString &key : missing)
            removed.append({key, Removed});
        const QByteArray with_keys = Compiled(full).bank1;
        const QByteArray without = Compiled(With(full, removed)).bank1;
        QByteArray expected = with_keys;
        for (const auto &[offset, bytes] : fields) {
            QVERIFY2(with_keys.mid(offset, bytes.size()) != bytes, "the key's value must differ from its fallback");
            expected.replace(offset, bytes.size(), bytes);
        }
        // Bytes 0 to 2043; the checksum follows them.
        QCOMPARE(without.left(2044).toHex(), expected.left(2044).toHex());
    }

    // The worked example of a document holding only its empty root.
    void empty_root()
    {
        test::Write(Path("ParGen.xml"), "<Par_Gen/><!--SW_VERSION = 1.000-->");
        const Result<Bank_Images> r = Compile_Project(Path("ParGen.xml"), Path("none1.xml"), Path("none2.xml"));
        QVERIFY(r.Ok());
        const QByteArray &b1 = r->bank1;
        const QByteArray &b2 = r->bank2;
        QCOMPARE(Bytes(b2, 0, 4), QByteArray::fromHex("00000000")); // band, network, ABP, data rate 0
        QCOMPARE(Bytes(b2, 4, 0x3C), QByteArray(0x3C, '\0'));       // all five keys zero
        QCOMPARE(U8(b2, 0x40), 0u);
        QCOMPARE(U8(b2, 0x41), 0u);
        QCOMPARE(U8(b2, 0x42), 1u);
        QCOMPARE(U32(b2, 0x44), 1u);
        QCOMPARE(U32(b1, 0x1A4), 19200u);
        QCOMPARE(U8(b1, 0x1AD), 0u);
        QCOMPARE(U8(b1, 0x1B3), 1u);
        QCOMPARE(U8(b1, 0x1B9), 8u);
        QCOMPARE(Bytes(b1, 0x028, 12), QByteArray::fromHex("C0A80005FFFFFF00FFFFFFFF"));
        QCOMPARE(Bytes(b1, 0x58C, 4), QByteArray::fromHex("FFFFFFFF"));
        QCOMPARE(U16(b1, 0x03A), 47808u);
        QCOMPARE(Bytes(b1, 0x050, 16), QByteArray("devicename1\0\0\0\0\0", 16));
        QCOMPARE(U32(b1, 0x134), 1u);
        // Desc_Limit false: the object section has 2047 records (nothing to see
        // without objects, so the geometry is checked with objects elsewhere).
    }

    void device_name_data()
    {
        QTest::addColumn<Keys>("changes");
        QTest::addColumn<QByteArray>("field");
        QTest::newRow("IP name") << Keys{{S("BACnet_NAME_STA"), S("plant7")}}
                                 << QByteArray("plant7\0\0\0\0\0\0\0\0\0\0", 16);
        QTest::newRow("empty name") << Keys{{S("BACnet_NAME_STA"), S("")}} << QByteArray(16, '\0');
        QTest::newRow("16 characters fill the field")
            << Keys{{S("BACnet_NAME_STA"), S("abcdefghijklmnop")}} << QByteArray("abcdefghijklmnop");
        QTest::newRow("low 8 bits") << Keys{{S("BACnet_NAME_STA"), S("\u00B0\u0141")}}
                                    << QByteArray("\xB0\x41\0\0\0\0\0\0\0\0\0\0\0\0\0\0", 16);
        QTest::newRow("MS/TP name") << Keys{{S("BACnet_Type"), S("1")}, {S("BACnet_Ser_NAME_STA"), S("serial")}}
                                    << QByteArray("serial\0\0\0\0\0\0\0\0\0\0", 16);
        QTest::newRow("MS/TP ignores a long IP name")
            << Keys{{S("BACnet_Type"), S("1")}, {S("BACnet_NAME_STA"), S("a name far too long for it")}}
            << QByteArray("devicename1\0\0\0\0\0", 16);
        QTest::newRow("MS/TP name missing") << Keys{{S("BACnet_Type"), S("1")}, {S("BACnet_Ser_NAME_STA"), Removed}}
                                            << QByteArray("devicename1\0\0\0\0\0", 16);
    }

    void device_name()
    {
        QFETCH(Keys, changes);
        QFETCH(QByteArray, field);
        const Bank_Images images = Compiled(With(Window_ParGen(), changes));
        QCOMPARE(Bytes(images.bank1, 0x050, 16).toHex(), field.toHex());
        QCOMPARE(U8(images.bank1, 0x060), 0u); // nothing past the field
    }

    void keys_by_activation()
    {
        const Keys keys{{S("LoRa_Device_Address"), S("1A2B")},
                        {S("LoRa_Application_Identifier"), S("0102030405060708")},
                        {S("LoRa_Network_Session_Key"), S("00112233445566778899AABBCCDDEEFF")},
                        {S("LoRa_Application_Session_Key"), S("ffeeddccbbaa99887766554433221100")},
                        {S("LoRa_Application_Key"), S("A0A1A2A3A4A5A6A7A8A9AAABACADAEAF")}};
        const QByteArray abp = Compiled(With(Window_ParGen(), keys)).bank2;
        QCOMPARE(Bytes(abp, 0x04, 4).toHex().toUpper(), QByteArray("00001A2B"));
        QCOMPARE(Bytes(abp, 0x08, 8).toHex().toUpper(), QByteArray("0102030405060708"));
        QCOMPARE(Bytes(abp, 0x10, 16).toHex().toUpper(), QByteArray("00112233445566778899AABBCCDDEEFF"));
        QCOMPARE(Bytes(abp, 0x20, 16).toHex().toUpper(), QByteArray("FFEEDDCCBBAA99887766554433221100"));
        QCOMPARE(Bytes(abp, 0x30, 16), QByteArray(16, '\0'));

        const QByteArray otaa =
            Compiled(
                With(Window_ParGen(), With(keys, {{S("LoRa_Activation_Method"), S("Over-the-Air Activation [OTAA]")}})))
                .bank2;
        QCOMPARE(U8(otaa, 0x02), 1u);
        QCOMPARE(Bytes(otaa, 0x04, 0x2C), QByteArray(0x2C, '\0'));
        QCOMPARE(Bytes(otaa, 0x30, 16).toHex().toUpper(), QByteArray("A0A1A2A3A4A5A6A7A8A9AAABACADAEAF"));
    }

    // A text longer than its field would load another key or name into the
    // converter: the compilation stops and names the key and the limit.
    void too_long_is_refused_data()
    {
        QTest::addColumn<Keys>("changes");
        QTest::addColumn<QString>("message");
        QTest::newRow("device address")
            << Keys{{S("LoRa_Device_Address"), S("123456789")}}
            << S("Error! LoRa_Device_Address holds 9 characters, but its field in the device takes at most 8. "
                 "The compilation stopped and no image was written.");
        QTest::newRow("application identifier") << Keys{{S("LoRa_Application_Identifier"), QString(17, u'1')}}
                                                << S("LoRa_Application_Identifier holds 17 characters");
        QTest::newRow("network session key")
            << Keys{{S("LoRa_Network_Session_Key"), QString(33, u'1')}} << S("LoRa_Network_Session_Key holds 33");
        QTest::newRow("application session key")
            << Keys{{S("LoRa_Application_Session_Key"), QString(31, u'1') + S("  ")}}
            << S("LoRa_Application_Session_Key holds 33");
        QTest::newRow("application key, OTAA")
            << Keys{{S("LoRa_Activation_Method"), S("Over-the-Air Activation [OTAA]")},
                    {S("LoRa_Application_Key"), QString(40, u'F')}}
            << S("LoRa_Application_Key holds 40 characters, but its field in the device takes at most 32");
        QTest::newRow("IP device name") << Keys{{S("BACnet_NAME_STA"), S("abcdefghijklmnopq")}}
                                        << S("BACnet_NAME_STA holds 17 characters, but its field in the device takes "
                                             "at most 16");
        QTest::newRow("MS/TP device name")
            << Keys{{S("BACnet_Type"), S("1")}, {S("BACnet_Ser_NAME_STA"), QString(20, u'x')}}
            << S("BACnet_Ser_NAME_STA holds 20");
    }

    void too_long_is_refused()
    {
        QFETCH(Keys, changes);
        QFETCH(QString, message);
        const Result<Bank_Images> r = Compile(With(Window_ParGen(), changes));
        QVERIFY(!r.Ok());
        QVERIFY2(r.Problem().contains(message), qPrintable(r.Problem()));
    }

    // Keys the chosen method does not use never reach the converter, so their
    // length does not matter.
    void unused_long_keys_pass()
    {
        QVERIFY(Compile(With(Window_ParGen(), {{S("LoRa_Application_Key"), QString(40, u'F')}})).Ok());
        QVERIFY(Compile(With(Window_ParGen(), {{S("LoRa_Activation_Method"), S("Over-the-Air Activation [OTAA]")},
                                               {S("LoRa_Device_Address"), QString(12, u'1')}}))
                    .Ok());
    }
};

QTEST_APPLESS_MAIN(Test_Encode_ParGen)
#include "test_encode_pargen.moc"
