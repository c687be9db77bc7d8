#include "compiler/compile_project.h"
#include "compiler/fixtures.h"
#include "core/messages.h"
#include "inspector/bank_dump.h"
#include "inspector/dump_table.h"
#include "inspector/json_writer.h"
#include "test_support.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace fixture;

namespace {

// Message `n` with its pieces.
QString Msg(int n, const QStringList &pieces)
{
    QString text = Messages().Get(n);
    for (const QString &piece : pieces)
        text = text.arg(piece);
    return text;
}

QJsonObject Parse(const QByteArray &json)
{
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError)
        qFatal("not JSON: %s", qPrintable(error.errorString()));
    return doc.object();
}

// The value at a dotted path such as "bank2.objects.2.group_name".
QJsonValue At(const QJsonObject &top, const QString &path)
{
    QJsonValue v = top;
    for (const QString &step : path.split(u'.')) {
        bool index = false;
        const int i = step.toInt(&index);
        v = index ? v.toArray().at(i) : v.toObject().value(step);
    }
    return v;
}

} // namespace

class Test_Bank_Dump : public QObject
{
    Q_OBJECT

    QTemporaryDir dir_;
    QString Path(const char *name) const { return dir_.filePath(QLatin1StringView(name)); }

    Bank_Images Compile() const { return Compile_Folder(dir_.path()); }

    void Configuration(bool long_descriptions)
    {
        Write_ParGen(Path("ParGen.xml"),
                     With(Window_ParGen(), {{S("LoRa_RF_Band"), S("EU868")},
                                            {S("LoRa_DataRate"), S("5 -\tLoRa: SF7/125kHz 5470 [bit/s]")},
                                            {S("LoRa_Payload_Size"), S("222")},
                                            {S("LoRa_Activation_Method"), S("Over-the-Air Activation [OTAA]")},
                                            {S("LoRa_Application_Key"), S("000102030405060708090a0b0c0d0e0f")},
                                            {S("BACnet_Type"), S("1")},
                                            {S("BACnet_Ser_Baudrate"), S("1")},
                                            {S("BACnet_Ser_Parity"), S("2")},
                                            {S("BACnet_Ser_ID"), S("12")},
                                            {S("BACnet_Ser_NAME_STA"), S("boiler")},
                                            {S("BACnet_Ser_DEV_IDE"), S("1234")},
                                            {S("Ethernet_EN_DNS"), S("1")},
                                            {S("BACnet_Desc_Chars_Limit"), long_descriptions ? S("1") : S("0")}}));
        Write_Rules(Path("LoRaWAN_SetAccess.xml"),
                    {Uplink(S("Y"), S("0"), S("10"), S("Y"), S("N"), S("Y"), S("600")),
                     Uplink(S("Y"), S("10"), S("20"), S("N"), S("Y"), S("N"), S(""))},
                    {Downlink(S("Y"), S("100"), S("2"))});
        Write_Objects(Path("BACnet_Slave_SetAccess.xml"),
                      {Object(S("Binary Input"), S("95"), S("40"), S("5"), S("1"), S("Pump \"A\" \u00B0")),
                       Object(S("Analog Input"), S("62"), S("0"), S(""), S("4"), S(""))},
                      {Object(S("Octet String"), S("95"), S("50"), S(""), S("8"), S("Blob"))});
    }

private slots:
    void told_apart_by_size()
    {
        QCOMPARE(Bank_Kind_Of(2048), Bank_Kind::Bank1);
        QCOMPARE(Bank_Kind_Of(75776), Bank_Kind::Bank2);
        QCOMPARE(Bank_Kind_Of(0), Bank_Kind::Unknown);
        QCOMPARE(Bank_Kind_Of(75775), Bank_Kind::Unknown);
    }

    void quoting()
    {
        QCOMPARE(Json_Writer::Quote(S("a\"b\\c\td\u00B0")), QByteArray("\"a\\\"b\\\\c\\u0009d\xC2\xB0\""));
    }

    void bank1_round_trip()
    {
        Configuration(false);
        const QJsonObject j = Parse(Dump_Bank1(Compile().bank1));
        QCOMPARE(j[S("image")].toString(), S("bank1"));
        QCOMPARE(j[S("fixed_0x000")].toInt(), 250000);
        QCOMPARE(j[S("fixed_0x00C")].toInt(), 9600);
        QCOMPARE(j[S("ip_address")].toString(), S("192.168.0.10")); // MS/TP: the Ethernet address
        QCOMPARE(j[S("gateway")].toString(), S("255.255.255.255"));
        QCOMPARE(j[S("dns_server")].toString(), S("8.8.8.8"));
        QCOMPARE(j[S("fixed_0x036")].toInt(), 10001);
        QCOMPARE(j[S("bacnet_ip_port")].toInt(), 0);
        QCOMPARE(j[S("device_name")].toString(), S("boiler"));
        QCOMPARE(j[S("device_name_bytes")].toString(), S("626F696C657200000000000000000000"));
        QCOMPARE(j[S("object_section_address")].toString(), S("0x00082000"));
        QCOMPARE(j[S("lorawan_section_address")].toString(), S("0x00080000"));
        QCOMPARE(j[S("mstp_mac_address")].toInt(), 12);
        QCOMPARE(j[S("mstp_device_instance")].toInt(), 1234);
        QCOMPARE(j[S("mstp_network")].toInt(), 1);
        const QJsonArray channels = j[S("serial_channels")].toArray();
        QCOMPARE(channels.size(), 6);
        QCOMPARE(channels[0].toObject()[S("baud_rate")].toInt(), 19200);
        QCOMPARE(channels[3].toObject()[S("parity")].toInt(), 1);
        QCOMPARE(channels[5].toObject()[S("stop_bits")].toInt(), 1);
        const QJsonObject counts = j[S("object_counts")].toObject();
        QCOMPARE(counts.size(), 19);
        QCOMPARE(counts[S("BINARY INPUT")].toInt(), 1);
        QCOMPARE(counts[S("ANALOG INPUT")].toInt(), 1);
        QCOMPARE(counts[S("OCTET STRING")].toInt(), 1);
        QCOMPARE(j[S("nonzero_reserved_bytes")].toArray().size(), 0);
        QVERIFY(j[S("checksum_ok")].toBool());
        QCOMPARE(j[S("checksum_stored")].toInteger(), j[S("checksum_computed")].toInteger());
    }

    // A changed byte shows: a reserved one is listed and the checksum no longer holds.
    void bank1_damage_shows()
    {
        Configuration(false);
        QByteArray bank1 = Compile().bank1;
        bank1[0x700 + 4] = 7;
        const QJsonObject j = Parse(Dump_Bank1(bank1));
        QCOMPARE(j[S("nonzero_reserved_bytes")].toArray(), QJsonArray{S("0x704")});
        QVERIFY(!j[S("checksum_ok")].toBool());
        QCOMPARE(j[S("checksum_computed")].toInteger() - j[S("checksum_stored")].toInteger(), 7);
    }

    // The dump's checksum fields against the test's own sum. A compiled block
    // holds 0 at 2043, so the changed blocks set that byte and the first one.
    void bank1_checksum_data()
    {
        QTest::addColumn<int>("offset"); // -1: the block as compiled
        QTest::addColumn<int>("value");
        QTest::addColumn<bool>("restamp"); // store the test's own sum at 2044
        QTest::addColumn<bool>("ok");
        QTest::newRow("as compiled") << -1 << 0 << false << true;
        QTest::newRow("last summed byte, stamped again") << 0x7FB << 0x5A << true << true;
        QTest::newRow("last summed byte, stale checksum") << 0x7FB << 0x5A << false << false;
        QTest::newRow("first byte, stamped again") << 0x000 << 0x01 << true << true;
        QTest::newRow("first byte, stale checksum") << 0x000 << 0x01 << false << false;
        QTest::newRow("checksum byte changed") << 0x7FF << 0x80 << false << false;
    }

    void bank1_checksum()
    {
        QFETCH(int, offset);
        QFETCH(int, value);
        QFETCH(bool, restamp);
        QFETCH(bool, ok);
        Configuration(false);
        QByteArray bank1 = Compile().bank1;
        QCOMPARE(U32(bank1, 0x7FC), Own_Sum(bank1));
        if (offset >= 0)
            bank1[offset] = char(value);
        if (restamp) {
            const quint32 sum = Own_Sum(bank1);
            for (int i = 0; i < 4; ++i)
                bank1[0x7FC + i] = char((sum >> (8 * i)) & 0xFF);
        }
        const QJsonObject j = Parse(Dump_Bank1(bank1));
        QCOMPARE(j[S("checksum_computed")].toInteger(), qint64(Own_Sum(bank1)));
        QCOMPARE(j[S("checksum_stored")].toInteger(), qint64(U32(bank1, 0x7FC)));
        QCOMPARE(j[S("checksum_ok")].toBool(), ok);
    }

    void bank2_round_trip_data()
    {
        QTest::addColumn<bool>("long_descriptions");
        QTest::newRow("2047 records") << false;
        QTest::newRow("1023 records") << true;
    }

    void bank2_round_trip()
    {
        QFETCH(bool, long_descriptions);
        Configuration(long_descriptions);
        const QJsonObject j = Parse(Dump_Bank2(Compile().bank2));
        const QJsonObject lora = j[S("lora")].toObject();
        QCOMPARE(lora[S("band_code")].toInt(), 5);
        QCOMPARE(lora[S("data_rate")].toInt(), 5);
        QCOMPARE(lora[S("activation_method")].toInt(), 1);
        QCOMPARE(lora[S("device_address")].toString(), S("00000000"));
        QCOMPARE(lora[S("application_key")].toString(), S("000102030405060708090A0B0C0D0E0F"));
        QCOMPARE(lora[S("max_payload_size")].toInt(), 222);
        QCOMPARE(lora[S("transmit_interval")].toInt(), 1);
        QCOMPARE(lora[S("uplink_table_address")].toString(), S("0x00080400"));
        QCOMPARE(lora[S("downlink_table_address")].toString(), S("0x00081000"));
        QCOMPARE(lora[S("uplink_count")].toInt(), 2);
        QCOMPARE(lora[S("downlink_count")].toInt(), 1);

        const QJsonArray up = j[S("uplink")].toArray();
        QCOMPARE(up.size(), 2);
        QCOMPARE(up[0].toObject()[S("triggers")].toInt(), 5);
        QCOMPARE(up[0].toObject()[S("period")].toInt(), 600);
        QCOMPARE(up[1].toObject()[S("start_byte")].toInt(), 10);
        QCOMPARE(up[1].toObject()[S("num_bytes")].toInt(), 20);
        QVERIFY(up[1].toObject()[S("on_cmd")].toBool());
        QCOMPARE(up[1].toObject()[S("period")].toInt(), 30);
        const QJsonArray down = j[S("downlink")].toArray();
        QCOMPARE(down.size(), 1);
        QCOMPARE(down[0].toObject()[S("start_byte")].toInt(), 100);

        const QJsonObject geometry = j[S("geometry")].toObject();
        QCOMPARE(geometry[S("records")].toInt(), long_descriptions ? 1023 : 2047);
        QCOMPARE(geometry[S("text_area_address")].toString(), long_descriptions ? S("0x00085FF0") : S("0x00089FF0"));
        const QJsonArray objects = j[S("objects")].toArray();
        QCOMPARE(objects.size(), 3);
        const QJsonObject ai = objects[0].toObject();
        QCOMPARE(ai[S("eng_unit")].toInt(), 62);
        QCOMPARE(ai[S("row")].toInt(), 2);
        QCOMPARE(ai[S("description")].toString(), QString());
        const QJsonObject bi = objects[1].toObject();
        QCOMPARE(bi[S("position")].toInt(), 40);
        QCOMPARE(bi[S("start_bit")].toInt(), 5);
        QCOMPARE(bi[S("description")].toString(), S("Pump \"A\" \u00B0"));
        const QJsonObject octets = objects[2].toObject();
        QCOMPARE(octets[S("group")].toInt(), 1);
        QCOMPARE(octets[S("row")].toInt(), 3);
        QCOMPARE(octets[S("length")].toInt(), 8);
        QCOMPARE(octets[S("description")].toString(), S("Blob"));
        QCOMPARE(j[S("stray_nonzero_bytes")].toInt(), 0);
    }

    void bank2_without_objects()
    {
        QFile::remove(Path("ParGen.xml"));
        QFile::remove(Path("LoRaWAN_SetAccess.xml"));
        QFile::remove(Path("BACnet_Slave_SetAccess.xml"));
        const QJsonObject j = Parse(Dump_Bank2(Compile().bank2));
        QVERIFY(j[S("geometry")].isNull()); // both geometries give these bytes
        QCOMPARE(j[S("objects")].toArray().size(), 0);
        QCOMPARE(j[S("uplink")].toArray().size(), 0);
        QCOMPARE(j[S("lora")].toObject()[S("data_rate")].toInt(), 6);
        QCOMPARE(j[S("stray_nonzero_bytes")].toInt(), 0);
    }

    // An image the compiler would not have written is still decoded, and
    // each fault is named. Bank 1 rows that do not stamp the checksum again
    // also expect the checksum message, found by the test's own sum.
    void damaged_images_data()
    {
        QTest::addColumn<bool>("bank2");
        QTest::addColumn<bool>("long_descriptions");
        QTest::addColumn<int>("offset");       // -1: as compiled
        QTest::addColumn<QByteArray>("bytes"); // laid over the image at `offset`
        QTest::addColumn<bool>("restamp");     // bank 1: store the test's own sum again
        QTest::addColumn<QStringList>("problems");
        const auto b = [](const char *hex) { return QByteArray::fromHex(hex); };

        QTest::newRow("bank1 as compiled") << false << false << -1 << QByteArray() << false << QStringList{};
        QTest::newRow("bank1 checksum byte changed") << false << false << 0x7FF << b("80") << false << QStringList{};
        QTest::newRow("bank1 address byte changed") << false << false << 0x028 << b("0A") << false << QStringList{};
        QTest::newRow("bank1 reserved byte, stamped again")
            << false << false << 0x704 << b("07") << true
            << QStringList{Msg(Msg_Dump_Stray_Bytes, {S("1"), S("0x704")})};
        QTest::newRow("bank1 fixed word, stamped again")
            << false << false << 0x00C << b("81") << true
            << QStringList{Msg(Msg_Dump_Fixed_Field, {S("fixed_0x00C"), S("9601"), S("9600")})};
        QTest::newRow("bank1 object section address, stamped again")
            << false << false << 0x0FA << b("09") << true
            << QStringList{Msg(Msg_Dump_Fixed_Field, {S("object_section_address"), S("0x00092000"), S("0x00082000")})};
        // Analog inputs 3000, the binary input and the octet string 1 each.
        QTest::newRow("bank1 object count beyond the section, stamped again")
            << false << false << 0x138 << b("B80B") << true
            << QStringList{Msg(Msg_Dump_Out_Of_Range, {S("object_counts (sum)"), S("3002"), S("0"), S("2047")})};

        // Records: 0 the analog input (empty description, the text base
        // 0x89FF0), 1 the binary input (10 characters at base + 1), 2 the
        // octet string (at base + 12).
        QTest::newRow("bank2 as compiled") << true << false << -1 << QByteArray() << false << QStringList{};
        QTest::newRow("bank2 as compiled, 1023 records")
            << true << true << -1 << QByteArray() << false << QStringList{};
        QTest::newRow("bank2 first description address unreadable")
            << true << false << 0x200A << b("0A") << false
            << QStringList{Msg(Msg_Dump_No_Geometry, {S("0x000A9FF0"), S("0x00085FF0"), S("0x00089FF0")})};
        QTest::newRow("bank2 first description moved onto the second")
            << true << false << 0x2008 << b("F1") << false
            << QStringList{Msg(Msg_Dump_Description_Lost, {S("1"), S("0x00089FF1")})};
        QTest::newRow("bank2 description beyond the text area")
            << true << false << 0x202B << b("01") << false
            << QStringList{Msg(Msg_Dump_Description_Lost, {S("2"), S("0x01089FFC")})};
        QTest::newRow("bank2 description inside another")
            << true << false << 0x2028 << b("FE") << false
            << QStringList{Msg(Msg_Dump_Description_Lost, {S("2"), S("0x00089FFE")})};
        QTest::newRow("bank2 group beyond Write")
            << true << false << 0x2017 << b("02") << false
            << QStringList{Msg(Msg_Dump_Out_Of_Range, {S("objects[1].group"), S("2"), S("0"), S("1")})};
        QTest::newRow("bank2 record after the last one")
            << true << false << 0x2030 << b("01") << false
            << QStringList{Msg(Msg_Dump_Stray_Bytes, {S("1"), S("0x2030")})};
        QTest::newRow("bank2 uplink count beyond its table")
            << true << false << 0x50 << b("0101") << false
            << QStringList{Msg(Msg_Dump_Out_Of_Range, {S("lora.uplink_count"), S("257"), S("0"), S("256")})};
        QTest::newRow("bank2 uplink entry beyond its count")
            << true << false << 0x400 + 12 * 2 << b("01") << false
            << QStringList{Msg(Msg_Dump_Stray_Bytes, {S("1"), S("0x418")})};
        QTest::newRow("bank2 uplink table address")
            << true << false << 0x49 << b("05") << false
            << QStringList{
                   Msg(Msg_Dump_Fixed_Field, {S("lora.uplink_table_address"), S("0x00080500"), S("0x00080400")})};
        QTest::newRow("bank2 trigger bit beyond the three")
            << true << false << 0x404 << b("0D") << false
            << QStringList{Msg(Msg_Dump_Out_Of_Range, {S("uplink[0].triggers"), S("13"), S("0"), S("7")})};
        QTest::newRow("bank2 bytes after the text area")
            << true << false << 0x127FE << b("0101") << false
            << QStringList{Msg(Msg_Dump_Stray_Bytes, {S("2"), S("0x127FE")})};
    }

    void damaged_images()
    {
        QFETCH(bool, bank2);
        QFETCH(bool, long_descriptions);
        QFETCH(int, offset);
        QFETCH(QByteArray, bytes);
        QFETCH(bool, restamp);
        QFETCH(QStringList, problems);
        Configuration(long_descriptions);
        const Bank_Images images = Compile();
        QByteArray image = bank2 ? images.bank2 : images.bank1;
        if (offset >= 0) {
            QVERIFY(image.mid(offset, bytes.size()) != bytes); // the row changes something
            image.replace(offset, bytes.size(), bytes);
        }
        if (restamp) {
            const quint32 sum = Own_Sum(image);
            for (int i = 0; i < 4; ++i)
                image[0x7FC + i] = char((sum >> (8 * i)) & 0xFF);
        }
        if (!bank2 && U32(image, 0x7FC) != Own_Sum(image))
            problems << Msg(Msg_Dump_Checksum, {QString::number(U32(image, 0x7FC)), QString::number(Own_Sum(image))});
        QStringList found;
        const QJsonObject j = Parse(bank2 ? Dump_Bank2(image, found) : Dump_Bank1(image, found));
        QCOMPARE(found, problems);
        QCOMPARE(j[S("image")].toString(), bank2 ? S("bank2") : S("bank1"));
    }

    void bank2_stray_bytes_show()
    {
        Configuration(false);
        QByteArray bank2 = Compile().bank2;
        bank2[0x100] = 1;            // between the LoRa block and the uplink table
        bank2[0x400 + 12 * 5] = 1;   // an unfilled uplink entry
        bank2[bank2.size() - 1] = 1; // after the text area
        QCOMPARE(Parse(Dump_Bank2(bank2))[S("stray_nonzero_bytes")].toInt(), 3);
    }

    // The records lie sorted by type, Read before Write within a type; bank
    // 1's counts tell where each type begins, and instances count from 0
    // within a type across both groups.
    void pair_names_each_object_data()
    {
        QTest::addColumn<int>("record");
        QTest::addColumn<QString>("type");
        QTest::addColumn<int>("bacnet_type");
        QTest::addColumn<int>("instance");
        QTest::addColumn<QString>("group");
        QTest::addColumn<QString>("unit");
        QTest::addColumn<QString>("description");
        QTest::newRow("first analog input")
            << 0 << S("ANALOG INPUT") << 0 << 0 << S("Read") << S("degrees-Celsius") << S("t1");
        QTest::newRow("second analog input, read")
            << 1 << S("ANALOG INPUT") << 0 << 1 << S("Read") << S("percent") << S("t2");
        QTest::newRow("third analog input, write")
            << 2 << S("ANALOG INPUT") << 0 << 2 << S("Write") << S("degrees-Celsius") << S("set");
        QTest::newRow("binary input after them")
            << 3 << S("BINARY INPUT") << 3 << 0 << S("Read") << S("no-units") << S("pump");
        QTest::newRow("octet string last")
            << 4 << S("OCTET STRING") << 47 << 0 << S("Write") << S("no-units") << S("blob");
    }

    void pair_names_each_object()
    {
        QFETCH(int, record);
        QFETCH(QString, type);
        QFETCH(int, bacnet_type);
        QFETCH(int, instance);
        QFETCH(QString, group);
        QFETCH(QString, unit);
        QFETCH(QString, description);
        Configuration(false);
        Write_Objects(Path("BACnet_Slave_SetAccess.xml"),
                      {Object(S("Binary Input"), S("95"), S("40"), S("5"), S("1"), S("pump")),
                       Object(S("Analog Input"), S("62"), S("0"), S(""), S("4"), S("t1")),
                       Object(S("Analog Input"), S("98"), S("4"), S(""), S("4"), S("t2"))},
                      {Object(S("Octet String"), S("95"), S("50"), S(""), S("8"), S("blob")),
                       Object(S("Analog Input"), S("62"), S("0"), S(""), S("4"), S("set"))});
        const Bank_Images images = Compile();
        QStringList problems;
        const QJsonObject j = Parse(Dump_Pair(images.bank1, images.bank2, problems));
        QCOMPARE(problems, QStringList());
        QCOMPARE(j[S("image")].toString(), S("pair"));
        QCOMPARE(At(j, S("bank2.objects")).toArray().size(), 5);
        const QJsonObject o = At(j, S("bank2.objects.%1").arg(record)).toObject();
        QCOMPARE(o[S("record")].toInt(), record);
        QCOMPARE(o[S("object_type")].toString(), type);
        QCOMPARE(o[S("bacnet_type")].toInt(), bacnet_type);
        QCOMPARE(o[S("instance")].toInt(), instance);
        QCOMPARE(o[S("group_name")].toString(), group);
        QCOMPARE(o[S("eng_unit_name")].toString(), unit);
        QCOMPARE(o[S("description")].toString(), description);
        // The pair holds each dump whole, and the single dumps carry no
        // object type, which only bank 1 can tell.
        QCOMPARE(At(j, S("bank1")).toObject(), Parse(Dump_Bank1(images.bank1)));
        QVERIFY(!Parse(Dump_Bank2(images.bank2))[S("objects")].toArray().at(record).toObject().contains(S("instance")));
    }

    // Counts changed in bank 1 (checksum made right again): the records that
    // the counts do not reach name no type, and the disagreement is reported.
    void pair_whose_counts_disagree_data()
    {
        QTest::addColumn<bool>("objects"); // the configuration has its three objects
        QTest::addColumn<int>("offset");   // of the count changed
        QTest::addColumn<int>("count");    // its new value
        QTest::addColumn<int>("counted");
        QTest::addColumn<int>("records");
        QTest::addColumn<int>("untyped"); // records without a type, from the end
        QTest::newRow("one more analog input") << true << 0x138 << 2 << 4 << 3 << 0;
        QTest::newRow("octet string not counted") << true << 0x700 << 0 << 2 << 3 << 1;
        QTest::newRow("counted, but no records") << false << 0x17C << 1 << 1 << 0 << 0;
    }

    void pair_whose_counts_disagree()
    {
        QFETCH(bool, objects);
        QFETCH(int, offset);
        QFETCH(int, count);
        QFETCH(int, counted);
        QFETCH(int, records);
        QFETCH(int, untyped);
        Configuration(false);
        if (!objects)
            QVERIFY(QFile::remove(Path("BACnet_Slave_SetAccess.xml")));
        Bank_Images images = Compile();
        images.bank1.replace(offset, 4, QByteArray(4, 0));
        images.bank1[offset] = char(count);
        Restamp(images.bank1);
        QStringList problems;
        const QJsonObject j = Parse(Dump_Pair(images.bank1, images.bank2, problems));
        QCOMPARE(problems,
                 QStringList{Msg(Msg_Dump_Count_Mismatch, {QString::number(counted), QString::number(records)})});
        const QJsonArray list = At(j, S("bank2.objects")).toArray();
        QCOMPARE(list.size(), records);
        for (int i = 0; i < records; ++i)
            QCOMPARE(list[i].toObject()[S("object_type")].isNull(), i >= records - untyped);
    }

    // Codes with their names; a code without one gives null.
    void names_beside_codes_data()
    {
        QTest::addColumn<bool>("ip");         // BACnet/IP instead of MS/TP
        QTest::addColumn<QByteArray>("bank"); // "bank1" or "bank2"
        QTest::addColumn<int>("offset");      // a byte set before dumping, or -1
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QJsonValue>("name");
        auto row = [](const char *tag, bool ip, const char *bank, int offset, int value, const char *path,
                      const QJsonValue &name) {
            QTest::newRow(tag) << ip << QByteArray(bank) << offset << value << S(path) << name;
        };
        row("band", false, "bank2", -1, 0, "lora.band", S("EU868"));
        row("band with no name", false, "bank2", 0x00, 3, "lora.band", QJsonValue::Null);
        row("US915 hybrid", false, "bank2", 0x00, 9, "lora.band", S("US915-HYBRID"));
        row("network type", false, "bank2", 0x01, 1, "lora.network_type_name", S("public"));
        row("activation", false, "bank2", -1, 0, "lora.activation_method_name", S("OTAA"));
        row("data rate of the band", false, "bank2", -1, 0, "lora.data_rate_name",
            S("5 -\tLoRa: SF7/125kHz 5470 [bit/s]"));
        row("data rate the band lacks", false, "bank2", 0x03, 13, "lora.data_rate_name", QJsonValue::Null);
        row("transmission type", false, "bank2", -1, 0, "lora.transmission_type_name", S("unconfirmed"));
        row("confirmed", false, "bank2", 0x41, 1, "lora.transmission_type_name", S("confirmed"));
        row("MS/TP", false, "bank1", -1, 0, "bacnet_link", S("BACnet MS/TP"));
        row("BACnet/IP", true, "bank1", -1, 0, "bacnet_link", S("BACnet/IP"));
        row("parity EVEN", false, "bank1", -1, 0, "serial_channels.0.parity_name", S("EVEN"));
        row("parity ODD", false, "bank1", 0x1A8, 2, "serial_channels.0.parity_name", S("ODD"));
        row("parity code unknown", false, "bank1", 0x1A8, 7, "serial_channels.0.parity_name", QJsonValue::Null);
        row("engineering unit", false, "bank2", -1, 0, "objects.0.eng_unit_name", S("degrees-Celsius"));
        row("unit beyond the catalogue", false, "bank2", 0x2004, 250, "objects.0.eng_unit_name", S("unknown"));
        row("write group", false, "bank2", -1, 0, "objects.2.group_name", S("Write"));
        row("read group", false, "bank2", -1, 0, "objects.0.group_name", S("Read"));
    }

    void names_beside_codes()
    {
        QFETCH(bool, ip);
        QFETCH(QByteArray, bank);
        QFETCH(int, offset);
        QFETCH(int, value);
        QFETCH(QString, path);
        QFETCH(QJsonValue, name);
        Configuration(false);
        if (ip)
            Write_ParGen(Path("ParGen.xml"), With(Window_ParGen(), {{S("BACnet_Type"), S("0")}}));
        Bank_Images images = Compile();
        QByteArray &image = bank == "bank1" ? images.bank1 : images.bank2;
        if (offset >= 0)
            image[offset] = char(value);
        const QJsonObject j = Parse(bank == "bank1" ? Dump_Bank1(images.bank1) : Dump_Bank2(images.bank2));
        QCOMPARE(At(j, path), name);
    }

    // The report for people: a section per part, every field's value in one
    // column, every table's columns aligned, names beside codes.
    void table_format()
    {
        Configuration(false);
        const Bank_Images images = Compile();
        QStringList problems;
        const QString table = Dump_Table(Decode_Pair(images.bank1, images.bank2, problems));
        const QStringList lines = table.split(u'\n');
        for (const char *section :
             {"Bank 1: parameter block", "Bank 1: object counts", "Bank 1: serial channels", "Bank 2: LoRaWAN",
              "Bank 2: uplink rules", "Bank 2: downlink rules", "Bank 2: BACnet objects"})
            QVERIFY2(lines.contains(S(section)), section);
        QVERIFY2(lines.contains(S("band                    5 (EU868)")), qPrintable(table));
        QVERIFY2(lines.contains(S("activation_method       1 (OTAA)")), qPrintable(table));
        QVERIFY2(lines.contains(S("data_rate               5 (5 - LoRa: SF7/125kHz 5470 [bit/s])")), qPrintable(table));
        // The counts in the order the records lie, not by name.
        const qsizetype counts = lines.indexOf(S("Bank 1: object counts"));
        QCOMPARE(lines.mid(counts + 2, 4),
                 (QStringList{S("ANALOG INPUT  1"), S("BINARY INPUT  1"), S("OCTET STRING  1"), QString()}));
        // The object table: a header and three rows whose cells start where
        // the header's do.
        const qsizetype header = lines.indexOf(QRegularExpression(S("Record  Type +Instance .*")));
        QVERIFY2(header >= 0, qPrintable(table));
        const QStringList columns{S("Type"), S("Instance"), S("Group"), S("Unit"), S("Description")};
        for (qsizetype r = header + 1; r <= header + 3; ++r)
            for (const QString &column : columns) {
                const qsizetype at = lines[header].indexOf(column);
                if (column == u"Description" && lines[r].size() == at - 2)
                    continue; // an empty description, nothing after the unit
                QVERIFY2(lines[r].at(at - 1) == u' ' && lines[r].at(at) != u' ', qPrintable(lines[r]));
            }
        QVERIFY2(lines[header + 1].contains(S("ANALOG INPUT")) && lines[header + 1].contains(S("62 (degrees-Celsius)")),
                 qPrintable(lines[header + 1]));
        QVERIFY2(lines[header + 3].contains(S("OCTET STRING")) && lines[header + 3].contains(S("Write")),
                 qPrintable(lines[header + 3]));
        QCOMPARE(lines[header + 4], QString());
        for (const QString &line : lines)
            QVERIFY2(!line.endsWith(u' '), qPrintable(line));
        // Empty values (a blank device name, no objects at all) leave no
        // blanks behind either.
        const Bank_Images initial = Compile_Project(Path("none.xml"), Path("none.xml"), Path("none.xml")).Value();
        const QString blank = Dump_Table(Decode_Pair(initial.bank1, initial.bank2, problems));
        for (const QString &line : blank.split(u'\n'))
            QVERIFY2(!line.endsWith(u' '), qPrintable(line));
        QVERIFY2(blank.contains(S("\n(none)\n")), qPrintable(blank));
        // A single image gives its own sections only.
        const QString one = Dump_Table(Decode_Bank1(images.bank1, problems));
        QVERIFY(one.contains(S("Bank 1: parameter block")) && !one.contains(S("Bank 2")));
    }
};

QTEST_APPLESS_MAIN(Test_Bank_Dump)
#include "test_bank_dump.moc"
