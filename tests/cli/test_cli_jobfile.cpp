#include "cli_runner.h"
#include "test_support.h"
#include "update/job_file.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A workspace with the configuration "Plant".
struct Plant_Workspace
{
    QTemporaryDir dir;
    QString root = dir.path();
    QString job = root + QStringLiteral("/Ethernet_Update.xml");

    Plant_Workspace() { Run_Cli(root, {QStringLiteral("new"), QStringLiteral("Plant")}); }

    Boot_Job Expected(int option, bool read_back, int bacnet_type) const
    {
        Boot_Job job_file;
        job_file.IP = {QStringLiteral("192"), QStringLiteral("168"), QStringLiteral("2"), QStringLiteral("205")};
        job_file.Option = option;
        job_file.Read_Back = read_back;
        job_file.BACnet_Type = bacnet_type;
        job_file.Path_Exe = root;
        job_file.Path_Master = root + QStringLiteral("/MASTER");
        job_file.Path_Project = root + QStringLiteral("/PROJECTS/Plant");
        return job_file;
    }
};

QStringList Jobfile(const QString &name, const QStringList &more)
{
    return QStringList{QStringLiteral("jobfile"), name} + more;
}

} // namespace

class Test_Cli_Jobfile : public QObject
{
    Q_OBJECT

private slots:
    void writes_the_job_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QByteArray>("pargen");
        QTest::addColumn<int>("option");
        QTest::addColumn<bool>("read_back");
        QTest::addColumn<int>("bacnet_type");
        const QString ip = QStringLiteral("--ip");
        const QString address = QStringLiteral("192.168.2.205");
        QTest::newRow("defaults") << QStringList{ip, address} << QByteArray() << 0 << true << 0;
        QTest::newRow("firmware") << QStringList{ip, address, QStringLiteral("--option"), QStringLiteral("1")}
                                  << QByteArray() << 1 << true << 0;
        QTest::newRow("configuration, no read-back")
            << QStringList{ip, address, QStringLiteral("--option"), QStringLiteral("2"),
                           QStringLiteral("--no-read-back")}
            << QByteArray() << 2 << false << 0;
        QTest::newRow("blanks around the address")
            << QStringList{ip, QStringLiteral(" 192 .168.2.205 ")} << QByteArray() << 0 << true << 0;
        QTest::newRow("MS/TP configuration")
            << QStringList{ip, address} << QByteArray("<Par_Gen><BACnet_Type>1</BACnet_Type></Par_Gen>") << 0 << true
            << 1;
    }

    void writes_the_job()
    {
        QFETCH(QStringList, options);
        QFETCH(QByteArray, pargen);
        QFETCH(int, option);
        QFETCH(bool, read_back);
        QFETCH(int, bacnet_type);
        Plant_Workspace ws;
        if (!pargen.isEmpty())
            test::Write(ws.root + QStringLiteral("/PROJECTS/Plant/ParGen.xml"), pargen);
        const Cli_Run run = Run_Cli(ws.root, Jobfile(QStringLiteral("Plant"), options));
        QCOMPARE(run.code, 0);
        QCOMPARE(run.err, QString());
        QCOMPARE(run.out, QDir::toNativeSeparators(ws.job) + u'\n');
        QCOMPARE(test::Read(ws.job), Build_Job_File(ws.Expected(option, read_back, bacnet_type)));
        // Commands never write the settings file.
        QVERIFY(!QFileInfo::exists(ws.root + QStringLiteral("/Quarnel.xml")));
    }

    void refused_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("err");
        const QString ip = QStringLiteral("--ip");
        const QString good = QStringLiteral("192.168.2.205");
        const QString plant = QStringLiteral("Plant");
        const QString bad_ip = QStringLiteral("Error!!! Check the Ip Address\n");
        QTest::newRow("octet above 255") << Jobfile(plant, {ip, QStringLiteral("192.168.2.300")}) << 1 << bad_ip;
        QTest::newRow("five parts") << Jobfile(plant, {ip, QStringLiteral("1.2.3.4.5")}) << 1 << bad_ip;
        QTest::newRow("host name") << Jobfile(plant, {ip, QStringLiteral("converter")}) << 1 << bad_ip;
        QTest::newRow("no such configuration")
            << Jobfile(QStringLiteral("Other"), {ip, good}) << 1 << QStringLiteral("Error! Project not Valid\n");
        QTest::newRow("outside PROJECTS") << Jobfile(QStringLiteral("../PROJECTS/Plant"), {ip, good}) << 1
                                          << QStringLiteral("Error! Project not Valid\n");
        QTest::newRow("option 3") << Jobfile(plant, {ip, good, QStringLiteral("--option"), QStringLiteral("3")}) << 2
                                  << QStringLiteral("Error! The update option 3 is not valid: use 0, 1 or 2\n");
        QTest::newRow("option text") << Jobfile(plant, {ip, good, QStringLiteral("--option"), QStringLiteral("all")})
                                     << 2
                                     << QStringLiteral("Error! The update option all is not valid: use 0, 1 or 2\n");
        QTest::newRow("no address") << Jobfile(plant, {}) << 2
                                    << QStringLiteral("The command jobfile needs --ip A.B.C.D.\n");
    }

    void refused()
    {
        QFETCH(QStringList, args);
        QFETCH(int, code);
        QFETCH(QString, err);
        Plant_Workspace ws;
        const Cli_Run run = Run_Cli(ws.root, args);
        QCOMPARE(run.code, code);
        QCOMPARE(run.err, err);
        QCOMPARE(run.out, QString());
        QVERIFY(!QFileInfo::exists(ws.job));
    }

    void write_failure_is_reported()
    {
        Plant_Workspace ws;
        QVERIFY(QDir().mkdir(ws.job));
        const Cli_Run run =
            Run_Cli(ws.root, Jobfile(QStringLiteral("Plant"), {QStringLiteral("--ip"), QStringLiteral("10.0.0.1")}));
        QCOMPARE(run.code, 1);
        QVERIFY2(run.err.startsWith(
                     QStringLiteral("Error! The file %1 could not be written: ").arg(QDir::toNativeSeparators(ws.job))),
                 qPrintable(run.err));
    }
};

QTEST_APPLESS_MAIN(Test_Cli_Jobfile)
#include "test_cli_jobfile.moc"
