#include "cli_runner.h"
#include "test_support.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

class Test_Cli_Compile : public QObject
{
    Q_OBJECT

    QTemporaryDir dir_;
    QString ws_;

    QString Project(const char *file) const { return ws_ + S("/PROJECTS/Plant/") + QLatin1StringView(file); }

private slots:
    void init()
    {
        ws_ = dir_.filePath(QStringLiteral("ws%1").arg(workspaces_++));
        QCOMPARE(Run_Cli(ws_, {S("new"), S("Plant")}).code, 0);
    }

    void compiles_and_prints_the_paths()
    {
        const Cli_Run run = Run_Cli(ws_, {S("compile"), S("Plant")});
        QCOMPARE(run.err, QString());
        QCOMPARE(run.code, 0);
        QCOMPARE(run.out, Project("bin/bank1.bin") + u'\n' + Project("bin/bank2.bin") + u'\n');
        QCOMPARE(QFileInfo(Project("bin/bank1.bin")).size(), 2048);
        QCOMPARE(QFileInfo(Project("bin/bank2.bin")).size(), 75776);
        // A command never writes the settings file.
        QVERIFY(!QFileInfo::exists(ws_ + S("/Quarnel.xml")));
    }

    // As the open dialog finds it: the name itself, else one differing only
    // in letter case.
    void name_found_as_the_open_dialog_finds_it_data()
    {
        QTest::addColumn<QStringList>("others"); // made beside "Plant"
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("compiled");
        QTest::newRow("case variant") << QStringList{} << S("PLANT") << S("Plant");
        QTest::newRow("exact beside a case variant") << QStringList{S("PLANT")} << S("PLANT") << S("PLANT");
        QTest::newRow("exact, a case variant beside") << QStringList{S("PLANT")} << S("Plant") << S("Plant");
    }

    void name_found_as_the_open_dialog_finds_it()
    {
        QFETCH(QStringList, others);
        QFETCH(QString, name);
        QFETCH(QString, compiled);
        for (const QString &other : others)
            QVERIFY(QDir().mkpath(ws_ + S("/PROJECTS/") + other + S("/bin")));
        const Cli_Run run = Run_Cli(ws_, {S("compile"), name});
        QCOMPARE(run.code, 0);
        for (const QString &folder : QStringList{S("Plant")} + others)
            QCOMPARE(QFileInfo::exists(ws_ + S("/PROJECTS/") + folder + S("/bin/bank2.bin")), folder == compiled);
    }

    void refusals_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QByteArray>("rules");   // written to the rule document when not empty
        QTest::addColumn<QByteArray>("objects"); // written to the object document when not empty
        QTest::addColumn<QString>("message");
        const QString not_valid = S("Error! Project not Valid\n");
        QTest::newRow("unknown configuration")
            << QStringList{S("compile"), S("Other")} << QByteArray() << QByteArray() << not_valid;
        QTest::newRow("path outside PROJECTS")
            << QStringList{S("compile"), S("../PROJECTS/Plant")} << QByteArray() << QByteArray() << not_valid;
        QTest::newRow("empty name") << QStringList{S("compile"), QString()} << QByteArray() << QByteArray()
                                    << not_valid;
        QTest::newRow("uplink longer than the payload")
            << QStringList{S("compile"), S("Plant")}
            << QByteArray("<LoRaWAN_Set_Access><LoRaWAN_Uplink><row Enable=\"Y\" StartByte=\"0\" NumByte=\"1\"/>"
                          "</LoRaWAN_Uplink><LoRaWAN_Downlink/></LoRaWAN_Set_Access>")
            << QByteArray()
            << S("Warning!! Max Payload Size not Set Up. Set it in \"Set Communication\" section\n"
                 "Error row 1!! [LoraWAN Uplink] Number Byte must be between 0 and -2\n"
                 "Error in configuration, Num. Byte not conformed with Max Payload Size\n");
        QTest::newRow("length not a number")
            << QStringList{S("compile"), S("Plant")} << QByteArray()
            << QByteArray(
                   "<BACnet_to_Modbus><BACnet_in_Read><row Data_Type=\"Binary Input\" Eng_Unit=\"95\" "
                   "Position=\"0\" Bit=\"1\" Length=\"\"/></BACnet_in_Read><BACnet_in_Write/></BACnet_to_Modbus>")
            << S("Error row 1!! [BACnet in Read] Length with variable \"Binary Input\" must be an integer\n");
    }

    void refusals()
    {
        QFETCH(QStringList, args);
        QFETCH(QByteArray, rules);
        QFETCH(QByteArray, objects);
        QFETCH(QString, message);
        if (!rules.isEmpty())
            test::Write(Project("LoRaWAN_SetAccess.xml"), rules);
        if (!objects.isEmpty())
            test::Write(Project("BACnet_Slave_SetAccess.xml"), objects);
        const Cli_Run run = Run_Cli(ws_, args);
        QCOMPARE(run.code, 1);
        QCOMPARE(run.err, message);
        QCOMPARE(run.out, QString());
        QVERIFY(!QFileInfo::exists(Project("bin/bank1.bin")));
        QVERIFY(!QFileInfo::exists(Project("bin/bank2.bin")));
    }

    void dumps_both_images()
    {
        QCOMPARE(Run_Cli(ws_, {S("compile"), S("Plant")}).code, 0);
        for (const char *name : {"bank1", "bank2"}) {
            const Cli_Run run = Run_Cli(ws_, {S("dump"), Project("bin/") + QLatin1StringView(name) + S(".bin")});
            QCOMPARE(run.code, 0);
            QJsonParseError error;
            const QJsonObject j = QJsonDocument::fromJson(run.out.toUtf8(), &error).object();
            QCOMPARE(error.error, QJsonParseError::NoError);
            QCOMPARE(j[S("image")].toString(), QLatin1StringView(name));
        }
    }

    void dump_refusals()
    {
        test::Write(Project("odd.bin"), QByteArray(100, 'x'));
        Cli_Run run = Run_Cli(ws_, {S("dump"), Project("odd.bin")});
        QCOMPARE(run.code, 1);
        QCOMPARE(
            run.err,
            S("Error! %1 holds 100 bytes: a bank1.bin holds 2048 and a bank2.bin 75776.\n").arg(Project("odd.bin")));
        run = Run_Cli(ws_, {S("dump"), Project("missing.bin")});
        QCOMPARE(run.code, 1);
        QVERIFY2(run.err.startsWith(S("Error! The file %1 could not be read: ").arg(Project("missing.bin"))),
                 qPrintable(run.err));
        QCOMPARE(Run_Cli(ws_, {S("dump")}).code, 2);
    }

    // The pair, however it is named: two files in either order, the bin
    // folder, or the configuration compiled in memory; JSON or the table.
    void dumps_the_pair_data()
    {
        QTest::addColumn<QStringList>("args"); // after "dump"; "@" stands for the configuration's folder
        QTest::addColumn<QString>("starts");   // how stdout begins
        QTest::newRow("bank1 bank2") << QStringList{S("@/bin/bank1.bin"), S("@/bin/bank2.bin")} << S("{");
        QTest::newRow("bank2 bank1") << QStringList{S("@/bin/bank2.bin"), S("@/bin/bank1.bin")} << S("{");
        QTest::newRow("bin folder") << QStringList{S("@/bin")} << S("{");
        QTest::newRow("configuration") << QStringList{S("--config"), S("plant")} << S("{");
        QTest::newRow("table") << QStringList{S("@/bin"), S("--format"), S("table")}
                               << S("Bank 1: parameter block\n=======================\n");
        QTest::newRow("configuration as a table")
            << QStringList{S("--format"), S("table"), S("--config"), S("Plant")} << S("Bank 1: parameter block\n");
    }

    void dumps_the_pair()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, starts);
        test::Write(Project("BACnet_Slave_SetAccess.xml"),
                    "<BACnet_to_Modbus><BACnet_in_Read><row Data_Type=\"Analog Input\" Eng_Unit=\"62\" "
                    "Position=\"0\" Bit=\"\" Length=\"4\" Mnemonic=\"t\"/></BACnet_in_Read><BACnet_in_Write/>"
                    "</BACnet_to_Modbus>");
        QCOMPARE(Run_Cli(ws_, {S("compile"), S("Plant")}).code, 0);
        args.replaceInStrings(S("@"), ws_ + S("/PROJECTS/Plant"));
        const Cli_Run run = Run_Cli(ws_, QStringList{S("dump")} + args);
        QCOMPARE(run.err, QString());
        QCOMPARE(run.code, 0);
        QVERIFY2(run.out.startsWith(starts), qPrintable(run.out));
        if (starts == u"{") {
            const QJsonObject j = QJsonDocument::fromJson(run.out.toUtf8()).object();
            QCOMPARE(j[S("image")].toString(), S("pair"));
            QCOMPARE(j[S("bank1")].toObject()[S("image")].toString(), S("bank1"));
            const QJsonObject o = j[S("bank2")].toObject()[S("objects")].toArray().at(0).toObject();
            QCOMPARE(o[S("object_type")].toString(), S("ANALOG INPUT"));
            QCOMPARE(o[S("eng_unit_name")].toString(), S("degrees-Celsius"));
        } else {
            QVERIFY2(run.out.contains(S("ANALOG INPUT")), qPrintable(run.out));
        }
    }

    // What makes a pair unsound fails the command after the dump.
    void dump_of_a_pair_whose_counts_disagree()
    {
        QCOMPARE(Run_Cli(ws_, {S("compile"), S("Plant")}).code, 0);
        const QString path = Project("bin/bank1.bin");
        QByteArray data = test::Read(path);
        data[0x138] = 1; // one analog input counted, none recorded
        quint32 sum = 0;
        for (int i = 0; i < 2044; ++i)
            sum += quint8(data[i]);
        for (int i = 0; i < 4; ++i)
            data[0x7FC + i] = char((sum >> (8 * i)) & 0xFF);
        test::Write(path, data);
        const Cli_Run run = Run_Cli(ws_, {S("dump"), Project("bin")});
        QCOMPARE(run.code, 1);
        QCOMPARE(run.err, S("Error! Bank 1 counts 1 objects, but bank 2 holds 0 object records: the two images do not "
                            "belong together or one was changed after it was compiled.\n"));
        QCOMPARE(QJsonDocument::fromJson(run.out.toUtf8()).object()[S("image")].toString(), S("pair"));
        // The single image alone has nothing to compare with.
        QCOMPARE(Run_Cli(ws_, {S("dump"), path}).code, 0);
    }

    void pair_refusals_data()
    {
        QTest::addColumn<QStringList>("args"); // after "dump"; "@" stands for the configuration's folder
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("err"); // how it begins; "@" as above
        QTest::newRow("two bank1") << QStringList{S("@/bin/bank1.bin"), S("@/bin/bank1.bin")} << 1
                                   << S("Error! @/bin/bank1.bin and @/bin/bank1.bin are not a pair: one must be a "
                                        "bank1.bin and the other a bank2.bin.\n");
        QTest::newRow("folder without images")
            << QStringList{S("@")} << 1 << S("Error! The file @/bank1.bin could not be read: ");
        QTest::newRow("unknown configuration")
            << QStringList{S("--config"), S("Other")} << 1 << S("Error! Project not Valid\n");
        QTest::newRow("configuration and a file")
            << QStringList{S("--config"), S("Plant"), S("@/bin")} << 2 << S("Usage: sw52k31 [--workspace DIR] dump ");
        QTest::newRow("unknown format") << QStringList{S("@/bin"), S("--format"), S("xml")} << 2
                                        << S("Usage: sw52k31 [--workspace DIR] dump ");
        QTest::newRow("three files") << QStringList{S("a"), S("b"), S("c")} << 2
                                     << S("Usage: sw52k31 [--workspace DIR] dump ");
    }

    void pair_refusals()
    {
        QFETCH(QStringList, args);
        QFETCH(int, code);
        QFETCH(QString, err);
        QCOMPARE(Run_Cli(ws_, {S("compile"), S("Plant")}).code, 0);
        const QString folder = ws_ + S("/PROJECTS/Plant");
        args.replaceInStrings(S("@"), folder);
        const Cli_Run run = Run_Cli(ws_, QStringList{S("dump")} + args);
        QCOMPARE(run.code, code);
        QVERIFY2(run.err.startsWith(err.replace(u'@', folder)), qPrintable(run.err));
        QCOMPARE(run.out, QString());
    }

    // An image changed after compiling: what could be decoded on stdout, as
    // JSON; what is wrong on stderr; exit 1.
    void dump_of_a_damaged_image_data()
    {
        QTest::addColumn<QString>("image");
        QTest::addColumn<int>("offset");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("restamp");
        QTest::addColumn<QString>("err");
        QTest::newRow("checksum byte changed")
            << S("bank1") << 0x7FF << QByteArray::fromHex("80") << false
            << S("Error! The checksum at 0x7FC is %1, but bytes 0 to 2043 add up to %2: the image was changed after it "
                 "was compiled.\n");
        QTest::newRow("object count beyond the object section")
            << S("bank1") << 0x138 << QByteArray::fromHex("0010") << true
            << S("Error! object_counts (sum) is 4096, but it must lie between 0 and 2047.\n");
        // Without objects the first record is empty; one byte makes it an
        // object whose description lies in neither text area.
        QTest::newRow("object geometry unreadable")
            << S("bank2") << 0x2009 << QByteArray::fromHex("01") << false
            << S("Error! The first object record's description address 0x00000100 fits neither layout of the object "
                 "section (text area at 0x00085FF0 or 0x00089FF0): no object could be decoded.\n");
    }

    void dump_of_a_damaged_image()
    {
        QFETCH(QString, image);
        QFETCH(int, offset);
        QFETCH(QByteArray, bytes);
        QFETCH(bool, restamp);
        QFETCH(QString, err);
        QCOMPARE(Run_Cli(ws_, {S("compile"), S("Plant")}).code, 0);
        const QString path = Project("bin/") + image + S(".bin");
        QByteArray data = test::Read(path);
        data.replace(offset, bytes.size(), bytes);
        quint32 sum = 0;
        for (int i = 0; image == u"bank1" && i < 2044; ++i)
            sum += quint8(data[i]);
        if (restamp)
            for (int i = 0; i < 4; ++i)
                data[0x7FC + i] = char((sum >> (8 * i)) & 0xFF);
        test::Write(path, data);
        const Cli_Run run = Run_Cli(ws_, {S("dump"), path});
        QCOMPARE(run.code, 1);
        if (err.contains(u"%1")) {
            const quint32 stored = quint8(data[0x7FC]) | quint8(data[0x7FD]) << 8 | quint8(data[0x7FE]) << 16 |
                                   quint32(quint8(data[0x7FF])) << 24;
            err = err.arg(stored).arg(sum);
        }
        QCOMPARE(run.err, err);
        QJsonParseError error;
        const QJsonObject j = QJsonDocument::fromJson(run.out.toUtf8(), &error).object();
        QCOMPARE(error.error, QJsonParseError::NoError);
        QCOMPARE(j[S("image")].toString(), image);
    }

private:
    int workspaces_ = 0;
};

QTEST_APPLESS_MAIN(Test_Cli_Compile)
#include "test_cli_compile.moc"
