#include "cli_runner.h"
#include "core/messages.h"
#include "test_support.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

// The ede command over a small workspace with the configuration "Plant".
class Test_Cli_Ede : public QObject
{
    Q_OBJECT

    QTemporaryDir dir_;
    QString Ws() const { return dir_.filePath(QStringLiteral("ws")); }
    QString Project() const { return Ws() + QStringLiteral("/PROJECTS/Plant"); }
    QString Out(const char *name) const { return dir_.filePath(QLatin1StringView(name)); }

    void Write_Objects(const char *mnemonic)
    {
        test::Write(Project() + QStringLiteral("/BACnet_Slave_SetAccess.xml"),
                    QByteArray("<BACnet_to_Modbus><BACnet_in_Read><row Data_Type=\"Analog Input\" Eng_Unit=\"62\" "
                               "Position=\"0\" Bit=\"\" Length=\"4\" Swap=\"N\" Mnemonic=\"") +
                        mnemonic +
                        "\"/></BACnet_in_Read><BACnet_in_Write/></BACnet_to_Modbus><!--SW_VERSION = 1.000-->");
    }

private slots:
    void initTestCase()
    {
        QCOMPARE(Run_Cli(Ws(), {QStringLiteral("new"), QStringLiteral("Plant")}).code, 0);
        test::Write(Project() + QStringLiteral("/ParGen.xml"),
                    "<Par_Gen><BACnet_Type>0</BACnet_Type><BACnet_DEV_IDE>7</BACnet_DEV_IDE></Par_Gen>"
                    "<!--SW_VERSION = 1.000-->");
    }

    void init() { Write_Objects("Room"); }

    void file_name_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("written");
        QTest::newRow("csv appended") << QStringLiteral("list") << QStringLiteral("list.csv");
        QTest::newRow("upper case kept") << QStringLiteral("LIST.CSV") << QStringLiteral("LIST.CSV");
        QTest::newRow("csv not last") << QStringLiteral("list.csv.txt") << QStringLiteral("list.csv.txt.csv");
    }

    void file_name()
    {
        QFETCH(QString, typed);
        QFETCH(QString, written);
        const QString target = dir_.filePath(written);
        QFile::remove(target);
        const Cli_Run run = Run_Cli(Ws(), {QStringLiteral("ede"), QStringLiteral("Plant"), dir_.filePath(typed)});
        QCOMPARE(run.code, 0);
        QCOMPARE(run.err, QString());
        // The name actually written is printed, since it may differ from FILE.
        QCOMPARE(run.out, target + u'\n');
        const QByteArray bytes = test::Read(target);
        QVERIFY(bytes.startsWith("PROJECT_NAME; Tavelin--Plant;;;;;;\r\nVERSION_OF_REFERENCEFILE;1.0;;;;;;\r\n"));
        QVERIFY(bytes.endsWith("\r\n7_Room_0;7;Room;0;0;Room;62;\r\n"));
    }

    void replaces_file_and_opens_by_letter_case()
    {
        test::Write(Out("old.csv"), "old content that is longer than the export");
        const Cli_Run run = Run_Cli(Ws(), {QStringLiteral("ede"), QStringLiteral("PLANT"), Out("old.csv")});
        QCOMPARE(run.code, 0);
        const QByteArray bytes = test::Read(Out("old.csv"));
        // The configuration's own name goes into the header, not the typed one.
        QVERIFY(bytes.startsWith("PROJECT_NAME; Tavelin--Plant;;;;;;\r\n"));
        QVERIFY(!bytes.contains("old content"));
        // A command opens the configuration for itself: the settings stay as they were.
        QVERIFY(!QFileInfo::exists(Ws() + QStringLiteral("/Quarnel.xml")));
    }

    void refused_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("err");
        const QString not_valid = QStringLiteral("Error! Project not Valid\n");
        QTest::newRow("unknown configuration")
            << QStringList{QStringLiteral("Other"), QStringLiteral("x")} << 1 << not_valid;
        QTest::newRow("empty name") << QStringList{QString(), QStringLiteral("x")} << 1 << not_valid;
        QTest::newRow("outside PROJECTS") << QStringList{QStringLiteral(".."), QStringLiteral("x")} << 1 << not_valid;
        QTest::newRow("empty file") << QStringList{QStringLiteral("Plant"), QString()} << 2 << QString();
    }

    void refused()
    {
        QFETCH(QStringList, args);
        QFETCH(int, code);
        QFETCH(QString, err);
        const QDir here = QDir::current();
        QDir::setCurrent(dir_.path());
        const Cli_Run run = Run_Cli(Ws(), QStringList{QStringLiteral("ede")} + args);
        QDir::setCurrent(here.path());
        QCOMPARE(run.code, code);
        if (!err.isEmpty())
            QCOMPARE(run.err, err);
        QVERIFY(!run.err.isEmpty());
        QCOMPARE(run.out, QString());
        QVERIFY(!QFileInfo::exists(Out("x.csv")));
        QVERIFY(!QFileInfo::exists(Out(".csv")));
    }

    void usage_errors_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("no file") << QStringList{QStringLiteral("ede"), QStringLiteral("Plant")};
        QTest::newRow("extra argument") << QStringList{QStringLiteral("ede"), QStringLiteral("Plant"),
                                                       QStringLiteral("a"), QStringLiteral("b")};
        QTest::newRow("option of another command")
            << QStringList{QStringLiteral("ede"), QStringLiteral("Plant"), QStringLiteral("a"), QStringLiteral("--ip"),
                           QStringLiteral("1.2.3.4")};
    }

    void usage_errors()
    {
        QFETCH(QStringList, args);
        QCOMPARE(Run_Cli(Ws(), args).code, 2);
    }

    void export_refusal_writes_nothing()
    {
        Write_Objects("a;b");
        test::Write(Out("kept.csv"), "kept");
        const Cli_Run run = Run_Cli(Ws(), {QStringLiteral("ede"), QStringLiteral("Plant"), Out("kept.csv")});
        QCOMPARE(run.code, 1);
        QCOMPARE(run.err,
                 Messages()
                         .Get(Msg_EDE_Cell_Breaks_Columns)
                         .arg(QStringLiteral("1"), QStringLiteral("BACnet in Read"), QStringLiteral("Mnemonic")) +
                     u'\n');
        QCOMPARE(test::Read(Out("kept.csv")), QByteArray("kept"));
    }

    // The standard layout's file set, as the options choose it; the classic
    // writes the one file.
    void layouts_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<bool>("standard");
        QTest::addColumn<QByteArray>("room"); // how the object line starts
        const QString layout = QStringLiteral("--layout");
        const QString charset = QStringLiteral("--charset");
        QTest::newRow("default") << QStringList() << false << QByteArray("7_Room_0;7;Room;0;0;Room;62;");
        QTest::newRow("classic") << QStringList{layout, QStringLiteral("classic")} << false
                                 << QByteArray("7_Room_0;7;Room;0;0;Room;62;");
        QTest::newRow("standard") << QStringList{layout, QStringLiteral("standard")} << true
                                  << QByteArray("7_Room_AI_0;7;Room;0;0;Room;;;;N;;;;;62;R:0/4;");
        QTest::newRow("standard utf-8") << QStringList{layout, QStringLiteral("standard"), charset,
                                                       QStringLiteral("utf-8")}
                                        << true << QByteArray("7_Room_AI_0;7;Room;0;0;Room;;;;N;;;;;62;R:0/4;");
        QTest::newRow("classic utf-8") << QStringList{charset, QStringLiteral("utf-8")} << false
                                       << QByteArray("7_Room_0;7;Room;0;0;Room;62;");
    }

    void layouts()
    {
        QFETCH(QStringList, options);
        QFETCH(bool, standard);
        QFETCH(QByteArray, room);
        QTemporaryDir out;
        const QString file = out.filePath(QStringLiteral("Plant_EDE.csv"));
        const Cli_Run run = Run_Cli(Ws(), QStringList{QStringLiteral("ede"), QStringLiteral("Plant"), file} + options);
        QCOMPARE(run.code, 0);
        QCOMPARE(run.out, file + u'\n');
        QVERIFY(test::Read(file).contains(QByteArray("\r\n" + room + "\r\n")));
        QStringList expected{QStringLiteral("Plant_EDE.csv")};
        if (standard)
            expected << QStringLiteral("Plant_ObjTypes.csv") << QStringLiteral("Plant_StateTexts.csv")
                     << QStringLiteral("Plant_Units.csv");
        QCOMPARE(QDir(out.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name), expected);
    }

    void bad_options_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::newRow("unknown layout") << QStringList{QStringLiteral("--layout"), QStringLiteral("2.3")};
        QTest::newRow("layout in capitals") << QStringList{QStringLiteral("--layout"), QStringLiteral("STANDARD")};
        QTest::newRow("empty layout") << QStringList{QStringLiteral("--layout"), QString()};
        QTest::newRow("unknown charset") << QStringList{QStringLiteral("--charset"), QStringLiteral("latin1")};
        QTest::newRow("no value") << QStringList{QStringLiteral("--charset")};
    }

    void bad_options()
    {
        QFETCH(QStringList, options);
        QTemporaryDir out;
        const Cli_Run run = Run_Cli(
            Ws(),
            QStringList{QStringLiteral("ede"), QStringLiteral("Plant"), out.filePath(QStringLiteral("x"))} + options);
        QCOMPARE(run.code, 2);
        QVERIFY(!run.err.isEmpty());
        QCOMPARE(QDir(out.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList());
    }

    // What `check` refuses, and what the export itself refuses, writes no
    // file of the standard layout's set either.
    void refused_standard_writes_nothing_data()
    {
        QTest::addColumn<QByteArray>("row");
        QTest::addColumn<QString>("says");
        QTest::newRow("check refuses a length")
            << QByteArray("<row Data_Type=\"Analog Input\" Eng_Unit=\"62\" Position=\"0\" Bit=\"\" Length=\"9\" "
                          "Swap=\"N\" Mnemonic=\"Room\"/>")
            << QStringLiteral("Length");
        QTest::newRow("export refuses a semicolon")
            << QByteArray("<row Data_Type=\"Analog Input\" Eng_Unit=\"62\" Position=\"0\" Bit=\"\" Length=\"4\" "
                          "Swap=\"N\" Mnemonic=\"a;b\"/>")
            << QStringLiteral("Mnemonic");
    }

    void refused_standard_writes_nothing()
    {
        QFETCH(QByteArray, row);
        QFETCH(QString, says);
        test::Write(Project() + QStringLiteral("/BACnet_Slave_SetAccess.xml"),
                    "<BACnet_to_Modbus><BACnet_in_Read>" + row +
                        "</BACnet_in_Read><BACnet_in_Write/></BACnet_to_Modbus><!--SW_VERSION = 1.000-->");
        QTemporaryDir out;
        const Cli_Run run = Run_Cli(Ws(), {QStringLiteral("ede"), QStringLiteral("Plant"),
                                           out.filePath(QStringLiteral("Plant_EDE.csv")), QStringLiteral("--layout"),
                                           QStringLiteral("standard")});
        QCOMPARE(run.code, 1);
        QVERIFY2(run.err.contains(says), qPrintable(run.err));
        QCOMPARE(run.out, QString());
        QCOMPARE(QDir(out.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList());
    }

    void write_error_is_reported()
    {
        const QString target = Out("missing/folder/out.csv");
        const Cli_Run run = Run_Cli(Ws(), {QStringLiteral("ede"), QStringLiteral("Plant"), target});
        QCOMPARE(run.code, 1);
        QVERIFY2(run.err.contains(QDir::toNativeSeparators(target)), qPrintable(run.err));
        QCOMPARE(run.out, QString());
    }
};

QTEST_APPLESS_MAIN(Test_Cli_Ede)
#include "test_cli_ede.moc"
