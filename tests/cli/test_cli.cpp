#include "cli_runner.h"
#include "test_support.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

class Test_Cli : public QObject
{
    Q_OBJECT

private slots:
    void parse_modes_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("mode");
        using M = Command_Line::Mode;
        QTest::newRow("nothing") << QStringList{} << int(M::Windows);
        QTest::newRow("workspace only") << QStringList{QStringLiteral("--workspace"), QStringLiteral("/x")}
                                        << int(M::Windows);
        QTest::newRow("command") << QStringList{QStringLiteral("list")} << int(M::Command);
        QTest::newRow("help") << QStringList{QStringLiteral("--help")} << int(M::Help);
        QTest::newRow("version") << QStringList{QStringLiteral("--version")} << int(M::Version);
        QTest::newRow("bad option") << QStringList{QStringLiteral("--bogus")} << int(M::Usage_Error);
        // Qt's own options are Qt's: the windows start with them, a command
        // passes them by.
        const auto words = [](const char *line) { return QString::fromLatin1(line).split(u' '); };
        QTest::newRow("-style Fusion") << words("-style Fusion --workspace /x") << int(M::Windows);
        QTest::newRow("-style=Fusion") << words("--workspace /x -style=Fusion") << int(M::Windows);
        QTest::newRow("-platform offscreen") << words("-platform offscreen --workspace /x") << int(M::Windows);
        QTest::newRow("--platform=offscreen -reverse") << words("--platform=offscreen -reverse") << int(M::Windows);
        QTest::newRow("Qt option before a command") << words("-style Fusion list") << int(M::Command);
        QTest::newRow("after --, no option") << words("-- -style") << int(M::Command);
    }

    void parse_modes()
    {
        QFETCH(QStringList, args);
        QFETCH(int, mode);
        const Command_Line line = Parse_Command_Line(QStringList{QStringLiteral("sw52k31")} + args);
        QCOMPARE(int(line.mode), mode);
        if (args.contains(QStringLiteral("--workspace")))
            QCOMPARE(line.workspace, QStringLiteral("/x"));
    }

    void command_passes_qt_options_by()
    {
        QTemporaryDir dir;
        const Cli_Run run = Run_Cli(dir.path(), {QStringLiteral("-platform"), QStringLiteral("offscreen"),
                                                 QStringLiteral("-style=Fusion"), QStringLiteral("list")});
        QCOMPARE(run.err, QString());
        QCOMPARE(run.code, 0);
    }

    void version()
    {
        const Cli_Run version = Run_Cli(QString(), {QStringLiteral("--version")});
        QCOMPARE(version.code, 0);
        QCOMPARE(version.out, QStringLiteral("sw52k31 1.000\n"));
    }

    // What --help prints, wherever it stands on the command line: a line for
    // each command, its usage and then what it does, and one for each option.
    void help_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("usage"); // how the line begins, after its indent
        QTest::addColumn<QString>("does");  // how it ends, after blanks
        const QStringList help{QStringLiteral("--help")};
        auto row = [](const char *tag, const QStringList &args, const char *usage, const char *does) {
            QTest::newRow(tag) << args << QString::fromUtf8(usage) << QString::fromUtf8(does);
        };
        row("list", help, "list", "Print the configuration names, one a line.");
        row("new", help, "new NAME", "Create the configuration NAME.");
        row("check", help, "check NAME [--all]", "Check the documents of NAME as the windows and the update step do.");
        row("map", help, "map NAME",
            "Print how the objects and rules of NAME lie over the data areas, and their overlaps and gaps.");
        row("ede", help, "ede NAME FILE [--layout classic|standard] [--charset utf-8|windows-1252]",
            "Write the EDE file of NAME to FILE (\".csv\" added if missing).");
        row("jobfile", help, "jobfile NAME --ip A.B.C.D [--option 0|1|2] [--no-read-back]",
            "Write the updater's job file for the configuration NAME.");
        row("update", help, "update NAME --ip A.B.C.D [--option 0|1|2] [--no-read-back]",
            "Check and compile NAME, ping the converter, write the job file and run the updater.");
        row("compile", help, "compile NAME", "Check and compile NAME into its two images.");
        row("dump", help, "dump FILE | BANK1 BANK2 | DIR | --config NAME [--format json|table]",
            "Decode a bank1.bin, a bank2.bin or both (a pair, a bin folder, or the images NAME compiles to).");
        row("diff", help, "diff A B | A1 A2 B1 B2",
            "Print what differs between two configurations (documents, then images), bin folders or image pairs.");
        row("export-objects", help, "export-objects NAME FILE",
            "Write the BACnet objects of NAME to the CSV file FILE.");
        row("import-objects", help, "import-objects NAME FILE [--append]",
            "Read the BACnet objects of NAME from the CSV file FILE.");
        row("export-rules", help, "export-rules NAME FILE", "Write the LoRaWAN rules of NAME to the CSV file FILE.");
        row("import-rules", help, "import-rules NAME FILE [--append]",
            "Read the LoRaWAN rules of NAME from the CSV file FILE.");
        row("--workspace", help, "--workspace <DIR>", "Use DIR as the workspace root.");
        row("--version", help, "--version", "Show the version.");
        row("--ip", help, "--ip <A.B.C.D>", "The converter's address, A.B.C.D.");
        row("--option", help, "--option <N>", "The update option: 0, 1 or 2.");
        row("--no-read-back", help, "--no-read-back", "Do not read the images back after writing them.");
        row("--append", help, "--append", "Append to the tables instead of replacing them.");
        row("--layout", help, "--layout <LAYOUT>", "The EDE layout: classic (default) or standard.");
        row("--format", help, "--format <FORMAT>", "The dump's format: json (default) or table.");
        row("--config", help, "--config <NAME>", "Dump the images NAME compiles to, compiled in memory.");
        row("--charset", help, "--charset <CHARSET>", "The EDE charset: windows-1252 (default) or utf-8.");
        row("after a command", {QStringLiteral("compile"), QStringLiteral("Plant"), QStringLiteral("--help")},
            "compile NAME", "Check and compile NAME into its two images.");
        row("after the workspace", {QStringLiteral("--workspace"), QStringLiteral("/x"), QStringLiteral("--help")},
            "dump FILE | BANK1 BANK2 | DIR | --config NAME [--format json|table]",
            "Decode a bank1.bin, a bank2.bin or both (a pair, a bin folder, or the images NAME compiles to).");
    }

    void help()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, usage);
        QFETCH(QString, does);
        const Cli_Run run = Run_Cli(QString(), args);
        QCOMPARE(run.code, 0);
        QCOMPARE(run.err, QString());
        const QRegularExpression line(QStringLiteral("^  ") + QRegularExpression::escape(usage) + QStringLiteral(" +") +
                                      QRegularExpression::escape(does) + u'$');
        QVERIFY2(run.out.split(u'\n').indexOf(line) >= 0, qPrintable(run.out));
    }

    void usage_errors_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("unknown command") << QStringList{QStringLiteral("frobnicate")};
        QTest::newRow("missing name") << QStringList{QStringLiteral("new")};
        QTest::newRow("extra argument") << QStringList{QStringLiteral("list"), QStringLiteral("x")};
        QTest::newRow("unknown option") << QStringList{QStringLiteral("list"), QStringLiteral("--bogus")};
        QTest::newRow("option of another command")
            << QStringList{QStringLiteral("list"), QStringLiteral("--no-read-back")};
    }

    void usage_errors()
    {
        QFETCH(QStringList, args);
        QTemporaryDir dir;
        const Cli_Run run = Run_Cli(dir.path(), args);
        QCOMPARE(run.code, 2);
        QVERIFY(!run.err.isEmpty());
    }

    void list_and_new()
    {
        QTemporaryDir dir;
        const QString ws = dir.filePath(QStringLiteral("ws"));
        Cli_Run run = Run_Cli(ws, {QStringLiteral("list")});
        QCOMPARE(run.code, 0);
        QCOMPARE(run.out, QString());
        for (const char *name : {"MASTER", "PROJECTS", "LANGUAGE"})
            QVERIFY(QFileInfo(ws + u'/' + QLatin1StringView(name)).isDir());

        QCOMPARE(Run_Cli(ws, {QStringLiteral("new"), QStringLiteral("Plant")}).code, 0);
        QVERIFY(QFileInfo(ws + QStringLiteral("/PROJECTS/Plant/bin")).isDir());
        run = Run_Cli(ws, {QStringLiteral("new"), QStringLiteral("Plant")});
        QCOMPARE(run.code, 1);
        QCOMPARE(run.err, QStringLiteral("Error! Name project is not valid because directory already exists\n"));
        run = Run_Cli(ws, {QStringLiteral("new"), QStringLiteral("../escape")});
        QCOMPARE(run.code, 1);
        QCOMPARE(run.err, QStringLiteral("Error! Name project is not valid\n"));
        QVERIFY(!QFileInfo::exists(ws + QStringLiteral("/escape")));
        QCOMPARE(Run_Cli(ws, {QStringLiteral("new"), QString()}).code, 1);
        // Refused as the new-configuration dialog refuses them.
        run = Run_Cli(ws, {QStringLiteral("new"), QStringLiteral("PLANT")});
        QCOMPARE(run.code, 1);
        QCOMPARE(run.err, QStringLiteral("Error! Name project is not valid because the configuration \"Plant\" already "
                                         "exists: names that differ only in letter case are taken for each other.\n"));
        run = Run_Cli(ws, {QStringLiteral("new"), QStringLiteral("Plant;2")});
        QCOMPARE(run.code, 1);
        QCOMPARE(run.err, QStringLiteral("Error! Name project is not valid: a name cannot hold \";\", a line break or "
                                         "another control character, which would break the EDE file and the list of "
                                         "configurations.\n"));
        QCOMPARE(Run_Cli(ws, {QStringLiteral("new"), QStringLiteral("Plant\n2")}).code, 1);

        run = Run_Cli(ws, {QStringLiteral("list")});
        QCOMPARE(run.out, QStringLiteral("Plant\n"));
        // Commands never write the settings file.
        QVERIFY(!QFileInfo::exists(ws + QStringLiteral("/Quarnel.xml")));
    }

    void messages_follow_the_language()
    {
        QTemporaryDir dir;
        test::Write(dir.filePath(QStringLiteral("LANGUAGE/English.lng")), "STR0107 = Nome non valido\n");
        const Cli_Run run = Run_Cli(dir.path(), {QStringLiteral("new"), QString()});
        QCOMPARE(run.code, 1);
        QCOMPARE(run.err, QStringLiteral("Nome non valido\n"));
    }

    void damaged_settings_are_reported_and_the_command_runs()
    {
        QTemporaryDir dir;
        test::Write(dir.filePath(QStringLiteral("Quarnel.xml")), "<Conf_Settings><oops>");
        const Cli_Run run = Run_Cli(dir.path(), {QStringLiteral("list")});
        QCOMPARE(run.code, 0);
        QVERIFY(run.err.contains(QStringLiteral("Quarnel.xml")));
    }
};

QTEST_APPLESS_MAIN(Test_Cli)
#include "test_cli.moc"
