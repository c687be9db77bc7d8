#include "core/messages.h"
#include "test_support.h"
#include "workspace/configurations.h"
#include "workspace/settings.h"
#include "workspace/start_workspace.h"
#include "workspace/workspace.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class Test_Workspace : public QObject
{
    Q_OBJECT

    QString Settings(const QString &root) const { return root + QStringLiteral("/Quarnel.xml"); }

private slots:
    void first_start_and_first_save()
    {
        QTemporaryDir dir;
        Workspace ws;
        QVERIFY(Start_Workspace(ws, dir.path()).isEmpty());
        for (const char *name : {"MASTER", "PROJECTS", "LANGUAGE"})
            QVERIFY(QFileInfo(dir.filePath(QLatin1StringView(name))).isDir());
        QCOMPARE(ws.Path_Projects, dir.path() + QStringLiteral("/PROJECTS"));
        QCOMPARE(ws.Language_Name, QStringLiteral("English"));
        QCOMPARE(ws.Last_IP_Address, QStringLiteral("192.168.2.205"));
        QVERIFY(!ws.Enable_Internet && !ws.Enable_Update && !ws.Enable_Jump_Field_Tables && !ws.Double_Click_Auto_Size);
        QVERIFY(!ws.Version_Check_Wanted());
        QVERIFY(!ws.Configuration_Open());
        QCOMPARE(ws.File_ParGen, QStringLiteral("/ParGen.xml"));
        QVERIFY(!QFileInfo::exists(Settings(dir.path())));

        QVERIFY(Save_Setting(ws).Ok());
        QCOMPARE(test::Read(Settings(dir.path())),
                 QByteArray("<Conf_Settings><lastproj><projectname/></lastproj><lastipadd><ipaddress>"
                            "192.168.2.205</ipaddress></lastipadd><lastlang><language>English</language>"
                            "</lastlang><lastinternet><enable_internet>0</enable_internet><enable_update>0"
                            "</enable_update><enable_jump_field_tables>0</enable_jump_field_tables>"
                            "<Double_Click_Auto_Size>0</Double_Click_Auto_Size></lastinternet><lastupdate>"
                            "<option>0</option><read_back>1</read_back></lastupdate></Conf_Settings>"));
    }

    void workspace_root()
    {
        QTemporaryDir dir;
        QCOMPARE(Choose_Workspace_Root(dir.path(), QString()), dir.path());
        QCOMPARE(Choose_Workspace_Root(dir.path(), dir.path() + QStringLiteral("/other/")),
                 dir.path() + QStringLiteral("/other"));
        // No usable program folder: the per-user data folder.
        const QString fallback = Choose_Workspace_Root(QStringLiteral("/nonexistent/folder"), QString());
        QVERIFY(!fallback.isEmpty());
        QVERIFY(fallback != QStringLiteral("/nonexistent/folder"));
    }

    void settings_round_trip()
    {
        QTemporaryDir dir;
        Workspace ws;
        Start_Workspace(ws, dir.path());
        QVERIFY(Create_Configuration(ws, QStringLiteral("Plant A")).Ok());
        ws.Last_IP_Address = QStringLiteral("10.0.0.7");
        ws.Enable_Internet = ws.Double_Click_Auto_Size = true;
        ws.Update_Option = 2;
        ws.Update_Read_Back = false;
        QVERIFY(Save_Setting(ws).Ok());

        Workspace again;
        Start_Workspace(again, dir.path());
        QCOMPARE(again.Project_Name, QStringLiteral("Plant A"));
        QCOMPARE(again.Path_Project, dir.path() + QStringLiteral("/PROJECTS/Plant A"));
        QCOMPARE(again.File_ParGen, again.Path_Project + QStringLiteral("/ParGen.xml"));
        QCOMPARE(again.Last_IP_Address, QStringLiteral("10.0.0.7"));
        QVERIFY(again.Enable_Internet && !again.Enable_Update && !again.Enable_Jump_Field_Tables);
        QVERIFY(again.Double_Click_Auto_Size);
        QCOMPARE(again.Update_Option, 2);
        QVERIFY(!again.Update_Read_Back);
    }

    // An update option that is none of the three, or none at all, is the first.
    void update_option_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("option");
        QTest::newRow("1") << QByteArray("<option>1</option>") << 1;
        QTest::newRow("3") << QByteArray("<option>3</option>") << 0;
        QTest::newRow("-1") << QByteArray("<option>-1</option>") << 0;
        QTest::newRow("text") << QByteArray("<option>two</option>") << 0;
        QTest::newRow("missing") << QByteArray() << 0;
    }

    void update_option()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, option);
        QTemporaryDir dir;
        test::Write(Settings(dir.path()), "<Conf_Settings><lastupdate>" + text + "</lastupdate></Conf_Settings>");
        Workspace ws;
        Start_Workspace(ws, dir.path());
        QCOMPARE(ws.Update_Option, option);
        QVERIFY(ws.Update_Read_Back);
    }

    void flags_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("on");
        QTest::newRow("1") << QByteArray("1") << true;
        QTest::newRow("0") << QByteArray("0") << false;
        QTest::newRow("true") << QByteArray("true") << false;
        QTest::newRow("Y") << QByteArray("Y") << false;
        QTest::newRow("01") << QByteArray("01") << false;
        QTest::newRow("blank 1") << QByteArray(" 1") << false;
        QTest::newRow("empty") << QByteArray("") << false;
    }

    void flags()
    {
        QFETCH(QByteArray, text);
        QFETCH(bool, on);
        QTemporaryDir dir;
        test::Write(Settings(dir.path()), "<Conf_Settings><lastinternet><enable_internet>1</enable_internet>"
                                          "<enable_update>" +
                                              text + "</enable_update></lastinternet></Conf_Settings>");
        Workspace ws;
        Start_Workspace(ws, dir.path());
        QVERIFY(ws.Enable_Internet);
        QCOMPARE(ws.Enable_Update, on);
        QCOMPARE(ws.Version_Check_Wanted(), on);
    }

    void each_setting_by_itself()
    {
        QTemporaryDir dir;
        // No lastinternet group, a misspelt lastlang key: the rest still reads.
        test::Write(Settings(dir.path()), "<Conf_Settings><lastproj><projectname>Gone</projectname></lastproj>"
                                          "<lastipadd><ipaddress>1.2.3.4</ipaddress></lastipadd>"
                                          "<lastlang><Language>Italiano</Language></lastlang></Conf_Settings>");
        Workspace ws;
        Start_Workspace(ws, dir.path());
        QCOMPARE(ws.Last_IP_Address, QStringLiteral("1.2.3.4"));
        QCOMPARE(ws.Language_Name, QStringLiteral("English"));
        QVERIFY(!ws.Enable_Internet && !ws.Enable_Update);
        // The configuration was deleted: its name stays, none is open.
        QCOMPARE(ws.Project_Name, QStringLiteral("Gone"));
        QVERIFY(!ws.Configuration_Open());
    }

    // A hand-edited settings file may name something that is no
    // configuration folder; nothing outside PROJECTS/NAME may be opened
    // (the windows and the compiler would write their files there).
    void last_configuration_outside_projects_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("parent") << QStringLiteral("..");
        QTest::newRow("PROJECTS itself") << QStringLiteral(".");
        QTest::newRow("nested") << QStringLiteral("Plant A/bin");
        QTest::newRow("backslash") << QStringLiteral("Plant A\\..\\..");
        QTest::newRow("absolute") << QStringLiteral("/tmp");
    }

    void last_configuration_outside_projects()
    {
        QFETCH(QString, name);
        QTemporaryDir dir;
        QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("PROJECTS/Plant A/bin"))));
        test::Write(Settings(dir.path()), "<Conf_Settings><lastproj><projectname>" + name.toUtf8() +
                                              "</projectname></lastproj></Conf_Settings>");
        Workspace ws;
        Start_Workspace(ws, dir.path());
        QVERIFY2(!ws.Configuration_Open(), qPrintable(ws.Path_Project));
        QCOMPARE(ws.Project_Name, name); // shown, and written back, as a deleted one would be
    }

    void damaged_settings_file()
    {
        QTemporaryDir dir;
        test::Write(Settings(dir.path()), "<Conf_Settings><lastipadd><ipaddress>1.2.3.4</ipaddress>");
        test::Write(dir.filePath(QStringLiteral("LANGUAGE/English.lng")), "STR0015 = Nuova\n");
        Workspace ws;
        const QStringList problems = Start_Workspace(ws, dir.path());
        QCOMPARE(problems.size(), 1);
        QVERIFY2(problems[0].contains(QStringLiteral("Quarnel.xml")) && problems[0].contains(QStringLiteral("line 1")),
                 qPrintable(problems[0]));
        // Start-up went on: defaults, the language applied, the paths set.
        QCOMPARE(ws.Last_IP_Address, QStringLiteral("192.168.2.205"));
        QCOMPARE(Messages().Get(15), QStringLiteral("Nuova"));
        QCOMPARE(ws.File_ParGen, QStringLiteral("/ParGen.xml"));
    }

    void configuration_names_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("refused");
        QTest::newRow("plain") << QStringLiteral("Plant") << 0;
        QTest::newRow("leading blank kept") << QStringLiteral(" Plant") << 0;
        QTest::newRow("empty") << QString() << 107;
        QTest::newRow("exists") << QStringLiteral("Existing") << 106;
        QTest::newRow("dot") << QStringLiteral(".") << 105;
        QTest::newRow("dot dot") << QStringLiteral("..") << 105;
        QTest::newRow("slash") << QStringLiteral("a/b") << 105;
        QTest::newRow("backslash") << QStringLiteral("a\\b") << 105;
        QTest::newRow("absolute") << QStringLiteral("/tmp/x") << 105;
        QTest::newRow("escape") << QStringLiteral("../../x") << 105;
        QTest::newRow("nul") << QStringLiteral("a") + QChar(0) + QStringLiteral("b") << 105;
        // A ";" or a line break would add a column to the EDE file and a line
        // to "list"; no other control character belongs in a name either.
        QTest::newRow("semicolon") << QStringLiteral("Plant;2") << int(Msg_Name_Breaks_Lists);
        QTest::newRow("line feed") << QStringLiteral("Plant\n2") << int(Msg_Name_Breaks_Lists);
        QTest::newRow("carriage return") << QStringLiteral("Plant\r") << int(Msg_Name_Breaks_Lists);
        QTest::newRow("tab") << QStringLiteral("\tPlant") << int(Msg_Name_Breaks_Lists);
        QTest::newRow("delete") << QStringLiteral("Plant\x7F") << int(Msg_Name_Breaks_Lists);
        QTest::newRow("C1 next line") << QStringLiteral("Plant\u0085") << int(Msg_Name_Breaks_Lists);
        QTest::newRow("line separator") << QStringLiteral("Plant\u2028") << int(Msg_Name_Breaks_Lists);
        QTest::newRow("letters beyond ASCII") << QStringLiteral("K\u00FCche \u00B0C") << 0;
        // Beside "Existing": one folder on some file systems, one name to a user.
        QTest::newRow("lower case of an existing one") << QStringLiteral("existing") << int(Msg_Name_Differs_In_Case);
        QTest::newRow("upper case of an existing one") << QStringLiteral("EXISTING") << int(Msg_Name_Differs_In_Case);
        QTest::newRow("longer than an existing one") << QStringLiteral("Existing 2") << 0;
    }

    void configuration_names()
    {
        QFETCH(QString, name);
        QFETCH(int, refused);
        QTemporaryDir dir;
        Workspace ws;
        Start_Workspace(ws, dir.path());
        QVERIFY(QDir().mkdir(ws.Path_Projects + QStringLiteral("/Existing")));
        ws.Open_Configuration(QStringLiteral("Existing"));
        const QStringList before = QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);

        const Result<> created = Create_Configuration(ws, name);
        const QString message = refused == 0                          ? QString()
                                : refused == Msg_Name_Differs_In_Case ? Messages().Get(refused).arg(u"Existing"_s)
                                                                      : Messages().Get(refused);
        QCOMPARE(created.Problem(), message);
        QCOMPARE(created.Ok(), refused == 0);
        if (refused == 0) {
            QCOMPARE(ws.Project_Name, name);
            QCOMPARE(ws.Path_Project, ws.Path_Projects + u'/' + name);
            QVERIFY(QFileInfo(ws.Path_Project + QStringLiteral("/bin")).isDir());
            QCOMPARE(ws.File_LoRaWAN_Access, ws.Path_Project + QStringLiteral("/LoRaWAN_SetAccess.xml"));
        } else {
            // Refused: the open configuration stays, nothing new appears.
            QCOMPARE(ws.Project_Name, QStringLiteral("Existing"));
            QCOMPARE(Load_Existing_Configuration(ws), QStringList{QStringLiteral("Existing")});
            QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
        }
    }

    void listing_and_search()
    {
        QTemporaryDir dir;
        Workspace ws;
        Start_Workspace(ws, dir.path());
        QVERIFY(Create_Configuration(ws, QStringLiteral("Alpha")).Ok());
        QVERIFY(Create_Configuration(ws, QStringLiteral("beta")).Ok());
        test::Write(ws.Path_Projects + QStringLiteral("/file.txt"), "x");
        QStringList names = Load_Existing_Configuration(ws);
        names.sort();
        QCOMPARE(names, (QStringList{QStringLiteral("Alpha"), QStringLiteral("beta")}));
        QCOMPARE(Current_Configuration(ws), QStringLiteral("beta"));
    }

    // The open dialog's preselection and every command find a name so: the
    // name itself wherever it is listed, else the first differing only in
    // letter case.
    void search_by_name_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("index");
        QTest::newRow("exact after a case variant") << QStringList{u"ok"_s, u"OK"_s} << u"OK"_s << 1;
        QTest::newRow("exact before a case variant") << QStringList{u"OK"_s, u"ok"_s} << u"OK"_s << 0;
        QTest::newRow("lower-case exact after upper") << QStringList{u"OK"_s, u"ok"_s} << u"ok"_s << 1;
        QTest::newRow("first case variant") << QStringList{u"Alpha"_s, u"beta"_s, u"BETA"_s} << u"BeTa"_s << 1;
        QTest::newRow("case variant only") << QStringList{u"Alpha"_s} << u"alpha"_s << 0;
        QTest::newRow("none") << QStringList{u"Alpha"_s} << u"gamma"_s << -1;
        QTest::newRow("empty name") << QStringList{u"Alpha"_s} << QString() << -1;
        QTest::newRow("empty list") << QStringList{} << u"Alpha"_s << -1;
    }

    void search_by_name()
    {
        QFETCH(QStringList, names);
        QFETCH(QString, name);
        QFETCH(int, index);
        QCOMPARE(Search_Open_Conf(names, name), index);
    }
};

QTEST_APPLESS_MAIN(Test_Workspace)
#include "test_workspace.moc"
