#include "cli_runner.h"
#include "test_support.h"

#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

namespace {

QString S(const char *text)
{
    return QString::fromUtf8(text);
}

} // namespace

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

    void name_found_as_the_open_dialog_finds_it()
    {
        const Cli_Run run = Run_Cli(ws_, {S("compile"), S("PLANT")});
        QCOMPARE(run.code, 0);
        QVERIFY(QFileInfo::exists(Project("bin/bank2.bin")));
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
                          "</LoRaWAN_Uplink></LoRaWAN_Set_Access>")
            << QByteArray()
            << S("Warning!! Max Payload Size not Set Up. Set it in \"Set Communication\" section\n"
                 "Error row 1!! [LoraWAN Uplink] Number Byte must be between 0 and -2\n"
                 "Error in configuration, Num. Byte not conformed with Max Payload Size\n");
        QTest::newRow("length not a number")
            << QStringList{S("compile"), S("Plant")} << QByteArray()
            << QByteArray("<BACnet_to_Modbus><BACnet_in_Read><row Data_Type=\"Binary Input\" Eng_Unit=\"95\" "
                          "Position=\"0\" Bit=\"1\" Length=\"\"/></BACnet_in_Read></BACnet_to_Modbus>")
            << S("Error! [BACnet in Read] row 1: Length \"\" is not an integer. The compilation stopped and no image "
                 "was written.\n");
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

private:
    int workspaces_ = 0;
};

QTEST_APPLESS_MAIN(Test_Cli_Compile)
#include "test_cli_compile.moc"
