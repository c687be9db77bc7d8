#include "cli_runner.h"
#include "compiler/compile_project.h"
#include "compiler/fixtures.h"
#include "core/messages.h"
#include "test_support.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray Objects(const QByteArray &rows)
{
    return "<BACnet_to_Modbus><BACnet_in_Read>" + rows + "</BACnet_in_Read><BACnet_in_Write/></BACnet_to_Modbus>";
}

QByteArray Object(const char *type, const char *unit, int position, const char *mnemonic)
{
    return QByteArray("<row Data_Type=\"") + type + "\" Eng_Unit=\"" + unit + "\" Position=\"" +
           QByteArray::number(position) + "\" Bit=\"\" Length=\"4\" Swap=\"N\" Mnemonic=\"" + mnemonic + "\"/>";
}

} // namespace

class Test_Cli_Diff : public QObject
{
    Q_OBJECT

    QTemporaryDir dir_;
    QString Project(const char *name) const { return dir_.path() + S("/PROJECTS/") + QLatin1StringView(name); }
    // A file of the workspace; "@" stands for the workspace's configurations.
    QString Path(QString arg) const { return arg.replace(u'@', dir_.path() + S("/PROJECTS/")); }

    // A configuration with the parameters the window saves by default,
    // changed by `keys`, and these objects.
    void Make(const char *name, const QByteArray &objects, const fixture::Keys &keys = {})
    {
        QCOMPARE(Run_Cli(dir_.path(), {S("new"), QLatin1StringView(name)}).code, 0);
        test::Write(Project(name) + S("/BACnet_Slave_SetAccess.xml"), objects);
        fixture::Write_ParGen(Project(name) + S("/ParGen.xml"), fixture::With(fixture::Window_ParGen(), keys));
    }

private slots:
    void initTestCase()
    {
        const QByteArray two = Objects(Object("Analog Input", "62", 0, "t1") + Object("Analog Input", "62", 4, "t2"));
        Make("Base", two);
        Make("Same", two);
        Make("Param", two, {{S("BACnet_DEV_IDE"), S("9")}});
        Make("Rows", Objects(Object("Analog Input", "62", 0, "t1") + Object("Binary Input", "95", 8, "b") +
                             Object("Analog Input", "98", 4, "t2")));
        // The bin folders as a past compile left them (`compile` would first
        // refuse these small configurations on its checks).
        for (const char *name : {"Base", "Param"}) {
            const QString p = Project(name);
            const Result<Bank_Images> images = Compile_Project(p + S("/ParGen.xml"), p + S("/LoRaWAN_SetAccess.xml"),
                                                               p + S("/BACnet_Slave_SetAccess.xml"));
            QVERIFY2(images.Ok(), qPrintable(images.Problem()));
            test::Write(p + S("/bin/bank1.bin"), images.Value().bank1);
            test::Write(p + S("/bin/bank2.bin"), images.Value().bank2);
        }
        // Base's images with a byte set where bank 1 keeps zeros.
        QByteArray bank1 = test::Read(Project("Base") + S("/bin/bank1.bin"));
        bank1[0x10] = char(1);
        test::Write(Project("Unsound") + S("/bank1.bin"), bank1);
        test::Write(Project("Unsound") + S("/bank2.bin"), test::Read(Project("Base") + S("/bin/bank2.bin")));
        // A file that is no image, and a bin folder with one image only.
        test::Write(Project("Odd") + S("/bank1.bin"), "short");
        test::Write(Project("Half") + S("/bank1.bin"), test::Read(Project("Base") + S("/bin/bank1.bin")));
    }

    // The arguments ("@" the configurations' folder), the exit code and the
    // lines on stdout.
    void compare_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("code");
        QTest::addColumn<QStringList>("lines");
        const QStringList param_images{S("bank1.bacnet_ip_device_identifier: 1 -> 9"),
                                       S("bank1.checksum_stored: 5871 -> 5879")};
        QTest::newRow("identical configurations") << QStringList{S("Base"), S("Same")} << 0 << QStringList();
        QTest::newRow("a changed parameter")
            << QStringList{S("Base"), S("Param")} << 1
            << QStringList{S("[BACnet Slave] Device Identifier: 1 -> 9")} + param_images;
        QTest::newRow("an inserted row and a changed unit")
            << QStringList{S("Base"), S("Rows")} << 1
            << QStringList{
                   Messages()
                       .Get(Msg_Diff_Row_Inserted)
                       .arg(S("[BACnet in Read] row 2"), S("Data Type: Binary Input; Eng. Unit: 95  no-units; "
                                                           "Position: 8; Start Bit: (empty); Length: 4; Mnemonic: b")),
                   Messages().Get(Msg_Diff_Row_Was).arg(S("[BACnet in Read] row 3"), S("2")) +
                       S(", Eng. Unit: 62  degrees-Celsius -> 98  percent"),
                   S("bank1.object_counts.BINARY INPUT: 0 -> 1"),
                   S("bank1.checksum_stored: 5871 -> 5872"),
                   S("bank2.objects[ANALOG INPUT 1].eng_unit: 62 (degrees-Celsius) -> 98 (percent)"),
                   S("bank2.objects[ANALOG INPUT 1].row: 2 -> 3"),
                   S("bank2.objects[BINARY INPUT 0]: added (position 8, eng_unit 95 (no-units), length 4, group 0 "
                     "(Read), row 2, start_bit 0, description \"b\")")};
        // Anything with images is compared as images, a configuration
        // compiled in memory.
        QTest::newRow("bin folder and its configuration")
            << QStringList{S("@Base/bin"), S("Base")} << 0 << QStringList();
        QTest::newRow("bin folders") << QStringList{S("@Base/bin"), S("@Param/bin")} << 1 << param_images;
        QTest::newRow("configuration and bin folder") << QStringList{S("Base"), S("@Param/bin")} << 1 << param_images;
        QTest::newRow("image pairs, either order") << QStringList{S("@Base/bin/bank2.bin"), S("@Base/bin/bank1.bin"),
                                                                  S("@Param/bin/bank1.bin"), S("@Param/bin/bank2.bin")}
                                                   << 1 << param_images;
        QTest::newRow("the same pair") << QStringList{S("@Param/bin/bank1.bin"), S("@Param/bin/bank2.bin"),
                                                      S("@Param/bin/bank2.bin"), S("@Param/bin/bank1.bin")}
                                       << 0 << QStringList();
    }

    void compare()
    {
        QFETCH(QStringList, args);
        QFETCH(int, code);
        QFETCH(QStringList, lines);
        for (QString &arg : args)
            arg = Path(arg);
        const Cli_Run run = Run_Cli(dir_.path(), QStringList{S("diff")} + args);
        QCOMPARE(run.err, QString());
        QCOMPARE(run.out, lines.isEmpty() ? QString() : lines.join(u'\n') + u'\n');
        QCOMPARE(run.code, code);
    }

    // Exit 2, as diff(1), with a message on stderr and nothing on stdout.
    void usage_errors_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("message"); // part of stderr
        const QString usage = S("Usage: sw52k31 [--workspace DIR] diff A B | A1 A2 B1 B2");
        QTest::newRow("one argument") << QStringList{S("Base")} << usage;
        QTest::newRow("three arguments") << QStringList{S("Base"), S("Same"), S("Rows")} << usage;
        QTest::newRow("five arguments") << QStringList{S("a"), S("b"), S("c"), S("d"), S("e")} << usage;
        QTest::newRow("no such configuration")
            << QStringList{S("Base"), S("Nowhere")} << Messages().Get(Msg_Diff_No_Side).arg(S("Nowhere"));
        QTest::newRow("a bin folder with one image")
            << QStringList{S("@Half"), S("Base")} << Messages().Get(Msg_Diff_No_Side).arg(S("@Half"));
        QTest::newRow("not a pair") << QStringList{S("@Base/bin/bank1.bin"), S("@Param/bin/bank1.bin"),
                                                   S("@Base/bin/bank2.bin"), S("@Param/bin/bank2.bin")}
                                    << S("are not a pair");
        QTest::newRow("not an image") << QStringList{S("@Odd/bank1.bin"), S("@Base/bin/bank2.bin"),
                                                     S("@Base/bin/bank1.bin"), S("@Base/bin/bank2.bin")}
                                      << S("holds 5 bytes");
        QTest::newRow("missing file") << QStringList{S("@Base/bin/bank1.bin"), S("@Base/bin/none.bin"),
                                                     S("@Base/bin/bank1.bin"), S("@Base/bin/bank2.bin")}
                                      << S("could not be read");
    }

    void usage_errors()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, message);
        for (QString &arg : args)
            arg = Path(arg);
        const Cli_Run run = Run_Cli(dir_.path(), QStringList{S("diff")} + args);
        QCOMPARE(run.code, 2);
        QCOMPARE(run.out, QString());
        QVERIFY2(run.err.contains(Path(message)), qPrintable(run.err));
    }

    // What makes one side unsound is a difference; what both share is said
    // on stderr and is none.
    void unsound_images()
    {
        const Cli_Run one = Run_Cli(dir_.path(), {S("diff"), Project("Base") + S("/bin"), Project("Unsound")});
        QCOMPARE(one.code, 1);
        QCOMPARE(one.err, QString());
        const QStringList lines = one.out.split(u'\n');
        QVERIFY2(lines.value(0).startsWith(S("after: Error!")) && lines.value(1).startsWith(S("after: Error!")),
                 qPrintable(one.out));
        QCOMPARE(lines.value(2), S("bank1.nonzero_reserved_bytes: none -> 0x010"));
        const Cli_Run both = Run_Cli(dir_.path(), {S("diff"), Project("Unsound"), Project("Unsound")});
        QCOMPARE(both.code, 0);
        QCOMPARE(both.out, QString());
        QCOMPARE(both.err.count(Messages().Get(Msg_Diff_Both_Unsound).arg(S("Error!"))), 2);
    }

    // A configuration that does not compile is a line, against images too.
    void not_compiled()
    {
        Make("Broken", "<BACnet_to_Modbus><BACnet_in_Read>");
        const Cli_Run run = Run_Cli(dir_.path(), {S("diff"), S("Broken"), Project("Base") + S("/bin")});
        QCOMPARE(run.code, 1);
        QVERIFY2(run.out.startsWith(Messages().Get(Msg_Diff_Not_Compiled).arg(S("Broken"), S("Error!"))),
                 qPrintable(run.out));
        QCOMPARE(run.out.count(u'\n'), 1);
    }
};

QTEST_GUILESS_MAIN(Test_Cli_Diff)
#include "test_cli_diff.moc"
