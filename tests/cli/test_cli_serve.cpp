#include "cli_runner.h"
#include "core/messages.h"
#include "test_support.h"

#include <QNetworkDatagram>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QUdpSocket>
#include <csignal>

using namespace Qt::StringLiterals;

// `serve`: the refusals in-process, and the real program answering on
// loopback until SIGTERM ends it with 0.
class Test_Cli_Serve : public QObject
{
    Q_OBJECT

    QTemporaryDir dir_;

private slots:
    void initTestCase() { QCOMPARE(Run_Cli(dir_.path(), {u"new"_s, u"Plant"_s}).code, 0); }

    void refused_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("message");
        QTest::newRow("no such configuration") << QStringList{u"Nowhere"_s} << 1 << Messages().Get(18);
        QTest::newRow("bad port") << QStringList{u"Plant"_s, u"--port"_s, u"70000"_s} << 2
                                  << Messages().Get(1825).arg(u"70000"_s);
        QTest::newRow("bad address") << QStringList{u"Plant"_s, u"--bind"_s, u"::1"_s} << 2
                                     << Messages().Get(1824).arg(u"::1"_s);
    }
    void refused()
    {
        QFETCH(QStringList, args);
        QFETCH(int, code);
        QFETCH(QString, message);
        const Cli_Run run = Run_Cli(dir_.path(), QStringList{u"serve"_s} + args);
        QCOMPARE(run.code, code);
        QVERIFY2(run.err.contains(message), qPrintable(run.err));
        QCOMPARE(run.out, QString());
    }

    void port_in_use()
    {
        QUdpSocket taken;
        QVERIFY(taken.bind(QHostAddress::LocalHost, 0));
        const QString port = QString::number(taken.localPort());
        const Cli_Run run = Run_Cli(dir_.path(), {u"serve"_s, u"Plant"_s, u"--port"_s, port});
        QCOMPARE(run.code, 1);
        const QString opening = Messages().Get(1822).section(u'%', 0, 0);
        QVERIFY2(run.err.startsWith(opening) && run.err.contains(u"127.0.0.1:"_s + port), qPrintable(run.err));
        QCOMPARE(run.out, QString());
    }

    void answers_until_sigterm()
    {
        QProcess process;
        process.start(QStringLiteral(SW52K31_PROGRAM),
                      {u"--workspace"_s, dir_.path(), u"serve"_s, u"Plant"_s, u"--port"_s, u"0"_s});
        QVERIFY(process.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(process.canReadLine() || process.state() == QProcess::NotRunning, 60000);
        const QString first = QString::fromUtf8(process.readLine()).trimmed();
        const QRegularExpressionMatch served =
            QRegularExpression(uR"(^Serving device \d+ "[^"]*" on 127\.0\.0\.1:(\d+)$)"_s).match(first);
        QVERIFY2(served.hasMatch(), qPrintable(first + QString::fromLocal8Bit(process.readAllStandardError())));
        const quint16 port = quint16(served.captured(1).toUInt());

        QUdpSocket client;
        QVERIFY(client.bind(QHostAddress::LocalHost, 0));
        client.writeDatagram(QByteArray::fromHex("810a000601001008"), QHostAddress::LocalHost, port);
        QTRY_VERIFY_WITH_TIMEOUT(client.hasPendingDatagrams(), 30000);
        QCOMPARE(client.receiveDatagram().data().mid(6, 2).toHex(), QByteArray("1000")); // I-Am
        QTRY_VERIFY_WITH_TIMEOUT(process.canReadLine(), 30000);
        const QString line = QString::fromUtf8(process.readLine());
        QVERIFY2(line.contains(u"who-is"_s) && line.contains(QString::number(client.localPort())), qPrintable(line));

        ::kill(pid_t(process.processId()), SIGTERM);
        QVERIFY(process.waitForFinished(60000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 0);
    }
};

QTEST_GUILESS_MAIN(Test_Cli_Serve)
#include "test_cli_serve.moc"
