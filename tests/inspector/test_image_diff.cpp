#include "compiler/bank_layout.h"
#include "compiler/compile_project.h"
#include "compiler/fixtures.h"
#include "core/messages.h"
#include "inspector/image_diff.h"
#include "test_support.h"

#include <QTemporaryDir>
#include <QTest>

using namespace fixture;

class Test_Image_Diff : public QObject
{
    Q_OBJECT

    QTemporaryDir dir_;
    QString Path(const char *name) const { return dir_.filePath(QLatin1StringView(name)); }

    Bank_Images Compile() const { return Compile_Folder(dir_.path()); }

    // An MS/TP converter with two uplink rules, a downlink rule and three
    // objects; `keys` changes its parameters, the rows its tables.
    void Configuration(const Keys &keys = {}, QList<Row> up = {}, QList<Row> read = {})
    {
        Write_ParGen(Path("ParGen.xml"),
                     With(With(Window_ParGen(), {{S("LoRa_RF_Band"), S("EU868")},
                                                 {S("LoRa_DataRate"), S("5 -\tLoRa: SF7/125kHz 5470 [bit/s]")},
                                                 {S("LoRa_Payload_Size"), S("222")},
                                                 {S("BACnet_Type"), S("1")},
                                                 {S("BACnet_Ser_Parity"), S("0")},
                                                 {S("BACnet_Ser_NAME_STA"), S("boiler")}}),
                          keys));
        if (up.isEmpty())
            up = {Uplink(S("Y"), S("0"), S("10"), S("Y"), S("N"), S("N"), S("")),
                  Uplink(S("Y"), S("10"), S("20"), S("N"), S("Y"), S("N"), S(""))};
        Write_Rules(Path("LoRaWAN_SetAccess.xml"), up, {Downlink(S("Y"), S("100"), S("2"))});
        if (read.isEmpty())
            read = {Object(S("Analog Input"), S("62"), S("0"), S(""), S("4"), S("t1")),
                    Object(S("Binary Input"), S("95"), S("40"), S("5"), S("1"), S("pump"))};
        Write_Objects(Path("BACnet_Slave_SetAccess.xml"), read,
                      {Object(S("Analog Input"), S("62"), S("8"), S(""), S("4"), S("set"))});
    }

private slots:
    void differences_data()
    {
        QTest::addColumn<Keys>("keys");
        QTest::addColumn<int>("variant"); // 0 the base tables, 1 one rule less, 2 one object more
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("identical") << Keys{} << 0 << QStringList();
        QTest::newRow("a changed field") << Keys{{S("BACnet_Ser_ID"), S("7")}} << 0
                                         << QStringList{S("bank1.mstp_mac_address: 0 -> 7"),
                                                        S("bank1.checksum_stored: 5499 -> 5506")};
        QTest::newRow("a code with its name, one line")
            << Keys{{S("BACnet_Ser_Parity"), S("1")}} << 0
            << QStringList{S("bank1.serial_channels[0].parity: 0 (NONE) -> 2 (ODD)"),
                           S("bank1.serial_channels[3].parity: 0 (NONE) -> 2 (ODD)"),
                           S("bank1.checksum_stored: 5499 -> 5503")};
        QTest::newRow("text in quotes") << Keys{{S("BACnet_Ser_NAME_STA"), S("boiler 2")}} << 0
                                        << QStringList{S("bank1.device_name: \"boiler\" -> \"boiler 2\""),
                                                       S("bank1.checksum_stored: 5499 -> 5581")};
        // Entries by number, in the order they lie; the one rule left
        // changed in three fields, the triggers named.
        QTest::newRow("a removed rule")
            << Keys{} << 1
            << QStringList{
                   S("bank2.lora.uplink_count: 2 -> 1"), S("bank2.uplink[0].num_bytes: 10 -> 12"),
                   S("bank2.uplink[0].triggers: 1 (change) -> 5 (change, timer)"),
                   S("bank2.uplink[0].period: 30 -> 60"),
                   S("bank2.uplink[1]: removed (start_byte 10, num_bytes 20, triggers 2 (command), period 30)")};
        // Objects by type and instance: the new read object takes instance 1
        // of its type, and the write object moves on to instance 2.
        QTest::newRow("an added record")
            << Keys{} << 2
            << QStringList{
                   S("bank1.object_counts.ANALOG INPUT: 2 -> 3"),
                   S("bank1.checksum_stored: 5499 -> 5500"),
                   S("bank2.objects[ANALOG INPUT 1].position: 8 -> 20"),
                   S("bank2.objects[ANALOG INPUT 1].eng_unit: 62 (degrees-Celsius) -> 98 (percent)"),
                   S("bank2.objects[ANALOG INPUT 1].group: 1 (Write) -> 0 (Read)"),
                   S("bank2.objects[ANALOG INPUT 1].description: \"set\" -> \"t2\""),
                   S("bank2.objects[ANALOG INPUT 2]: added (position 8, eng_unit 62 (degrees-Celsius), length 4, "
                     "group 1 (Write), row 4, start_bit 0, description \"set\")")};
    }

    // Each case against the base configuration; the change undone gives the
    // mirror lines.
    void differences()
    {
        QFETCH(Keys, keys);
        QFETCH(int, variant);
        QFETCH(QStringList, lines);
        Configuration();
        const Bank_Images before = Compile();
        Configuration(keys,
                      variant == 1 ? QList<Row>{Uplink(S("Y"), S("0"), S("12"), S("Y"), S("N"), S("Y"), S("60"))}
                                   : QList<Row>{},
                      variant == 2 ? QList<Row>{Object(S("Analog Input"), S("62"), S("0"), S(""), S("4"), S("t1")),
                                                Object(S("Binary Input"), S("95"), S("40"), S("5"), S("1"), S("pump")),
                                                Object(S("Analog Input"), S("98"), S("20"), S(""), S("4"), S("t2"))}
                                   : QList<Row>{});
        const Bank_Images after = Compile();
        const QStringList found = Image_Differences(before, after);
        QCOMPARE(found, lines);
    }

    // What makes one side unsound is a line of its own ahead of the fields;
    // what both sides share is no difference, and Compare_Images keeps it.
    void unsound_sides()
    {
        Configuration();
        const Bank_Images sound = Compile();
        Bank_Images counted = sound;
        counted.bank1[0x138] = char(3); // one analog input more than bank 2 holds
        Restamp(counted.bank1);
        const QString mismatch = Messages().Get(Msg_Dump_Count_Mismatch).arg(QStringLiteral("4"), QStringLiteral("3"));
        const QStringList lines = Image_Differences(sound, counted);
        QCOMPARE(lines.value(0), S("after: ") + mismatch);
        QVERIFY(lines.contains(S("bank1.object_counts.ANALOG INPUT: 2 -> 3")));
        QCOMPARE(Image_Differences(counted, sound).value(0), S("before: ") + mismatch);
        const Image_Comparison same = Compare_Images(counted, counted);
        QCOMPARE(same.Lines, QStringList());
        QCOMPARE(same.Problems_Before, QStringList{mismatch});
        QCOMPARE(same.Problems_After, QStringList{mismatch});
    }

    // A bank not of its size is not read field by field (nor beyond its end).
    void bank_of_another_size_data()
    {
        QTest::addColumn<int>("bank2_size");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("empty")
            << 0
            << QStringList{S("after: ") + Messages().Get(Msg_Diff_Not_An_Image).arg(S("bank2"), S("0"), S("75776")),
                           S("bank2: the bytes differ")};
        QTest::newRow("short by one")
            << 75775
            << QStringList{S("after: ") + Messages().Get(Msg_Diff_Not_An_Image).arg(S("bank2"), S("75775"), S("75776")),
                           S("bank2: the bytes differ")};
    }

    void bank_of_another_size()
    {
        QFETCH(int, bank2_size);
        QFETCH(QStringList, lines);
        Configuration();
        const Bank_Images sound = Compile();
        Bank_Images cut = sound;
        cut.bank2.truncate(bank2_size);
        QCOMPARE(Image_Differences(sound, cut), lines);
        QCOMPARE(Image_Differences(cut, cut), QStringList());
    }
};

QTEST_GUILESS_MAIN(Test_Image_Diff)
#include "test_image_diff.moc"
