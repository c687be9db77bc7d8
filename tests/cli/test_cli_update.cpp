#include "cli_runner.h"
#include "core/messages.h"
#include "platform/icmp_echo_client.h"
#include "test_support.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

class Test_Cli_Update : public QObject
{
    Q_OBJECT

    QTemporaryDir dir_;
    QString ws_;

    void Write_Updater(const QByteArray &body)
    {
        const QString path = ws_ + QStringLiteral("/Ethernet_Update.exe");
        test::Write(path, "#!/bin/sh\n" + body);
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }

    static QStringList Update(const QString &ip, QStringList more = {})
    {
        return QStringList{QStringLiteral("update"), QStringLiteral("Plant"), QStringLiteral("--ip"), ip} + more;
    }

    QString Bank1() const { return ws_ + QStringLiteral("/PROJECTS/Plant/bin/bank1.bin"); }
    QString Job() const { return ws_ + QStringLiteral("/Ethernet_Update.xml"); }

private slots:
    void initTestCase()
    {
        ws_ = dir_.path();
        QCOMPARE(Run_Cli(ws_, {QStringLiteral("new"), QStringLiteral("Plant")}).code, 0);
    }

    void init()
    {
        QDir(ws_ + QStringLiteral("/PROJECTS/Plant/bin/sent")).removeRecursively();
        QFile::remove(Bank1());
        QFile::remove(Job());
    }

    void refusals_before_anything_is_written()
    {
        Cli_Run run = Run_Cli(ws_, Update(QStringLiteral("127.0.0.300")));
        QCOMPARE(run.code, 1);
        QCOMPARE(run.err, Messages().Get(1037) + u'\n');
        run = Run_Cli(ws_, {QStringLiteral("update"), QStringLiteral("Plant")});
        QCOMPARE(run.code, 2);

        test::Write(ws_ + QStringLiteral("/PROJECTS/Plant/LoRaWAN_SetAccess.xml"),
                    "<LoRaWAN_Set_Access><LoRaWAN_Uplink><row Enable=\"Y\" NumByte=\"4\"/></LoRaWAN_Uplink>"
                    "<LoRaWAN_Downlink/></LoRaWAN_Set_Access>");
        run = Run_Cli(ws_, Update(QStringLiteral("127.0.0.1")));
        const Cli_Run check = Run_Cli(ws_, {QStringLiteral("check"), QStringLiteral("Plant")});
        QFile::remove(ws_ + QStringLiteral("/PROJECTS/Plant/LoRaWAN_SetAccess.xml"));
        QCOMPARE(run.code, 1);
        // The lines `check` prints for the same documents, the uplink check last.
        QCOMPARE(run.err, check.err);
        QVERIFY2(run.err.endsWith(Messages().Get(30) + u'\n'), qPrintable(run.err));
        QVERIFY(!QFileInfo::exists(Bank1()));
        QVERIFY(!QFileInfo::exists(Job()));

        // Firmware and configuration (the default option) without the
        // firmware file: refused before the converter is asked.
        QFile::remove(ws_ + QStringLiteral("/MASTER/Sim52K31.sim"));
        run = Run_Cli(ws_, Update(QStringLiteral("127.0.0.1")));
        QCOMPARE(run.code, 1);
        QVERIFY2(run.err.contains(QStringLiteral("Sim52K31.sim")), qPrintable(run.err));
        QVERIFY(!QFileInfo::exists(Job()));
    }

    void updater_outcomes_data()
    {
        QTest::addColumn<QByteArray>("updater");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("message");
        QTest::newRow("ends well") << QByteArray("echo ran > ran.txt\n") << 0 << QString();
        QTest::newRow("ends with 3") << QByteArray("echo no answer from the boot loader\nexit 3\n") << 1
                                     << QStringLiteral("ended with code 3");
        QTest::newRow("missing") << QByteArray() << 1 << QStringLiteral("Ethernet_Update.exe");
    }

    void updater_outcomes()
    {
        QFETCH(QByteArray, updater);
        QFETCH(int, code);
        QFETCH(QString, message);
        Icmp_Echo_Client probe;
        if (const Echo_Status opened = probe.Open(); !opened.Ok())
            QSKIP(qPrintable(QStringLiteral("this system lets the test send no ping: ") + opened.system_error));
        QFile::remove(ws_ + QStringLiteral("/Ethernet_Update.exe"));
        if (!updater.isEmpty())
            Write_Updater(updater);

        const Cli_Run run =
            Run_Cli(ws_, Update(QStringLiteral("127.0.0.1"), {QStringLiteral("--option"), QStringLiteral("2")}));
        QCOMPARE(run.code, code);
        QVERIFY2(message.isEmpty() ? run.err.isEmpty() : run.err.contains(message), qPrintable(run.err));
        QCOMPARE(QFileInfo(Bank1()).size(), 2048);
        QVERIFY(test::Read(Job()).contains("<IP_Address_Dev>127.0.0.1</IP_Address_Dev>"));
        QVERIFY(run.out.contains(QStringLiteral("bank2.bin")));
        // The update that ended well keeps what it sent for the address; no other does.
        const QString kept = ws_ + QStringLiteral("/PROJECTS/Plant/bin/sent/127.0.0.1/bank1.bin");
        QCOMPARE(QFileInfo::exists(kept), code == 0);
        if (code == 0) {
            QCOMPARE(test::Read(kept), test::Read(Bank1()));
            QCOMPARE(test::Read(ws_ + QStringLiteral("/ran.txt")), QByteArray("ran\n"));
            QVERIFY2(run.out.contains(Messages().Get(Msg_Update_Done)), qPrintable(run.out));
        } else if (!updater.isEmpty()) {
            // A failure names the log and ends with the updater's last words.
            QVERIFY2(run.err.contains(QStringLiteral("Ethernet_Update.log")), qPrintable(run.err));
            QVERIFY2(run.err.endsWith(QStringLiteral("no answer from the boot loader\n")), qPrintable(run.err));
        }
    }
};

QTEST_GUILESS_MAIN(Test_Cli_Update)
#include "test_cli_update.moc"
