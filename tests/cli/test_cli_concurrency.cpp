// Many programs on one workspace at once: the real program, run as children.
// Two writers of one configuration never lose a change without a word, and
// only one update at a time runs in a workspace; an update asked to end
// ends its updater too.

#include "core/messages.h"
#include "platform/icmp_echo_client.h"
#include "test_support.h"
#include "update/update_messages.h"
#include "workspace/workspace_messages.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QByteArray Objects_Header = "Table,Data Type,Eng. Unit,Unit Name,Position,Start Bit,Length,Swap,Mnemonic\r\n";

// The program with `args` on the workspace `ws`, started.
std::unique_ptr<QProcess> Start(const QString &ws, const QStringList &args)
{
    auto process = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
    env.insert(u"SW52K31_WEB_HOST"_s, u"127.0.0.1:9"_s);
    process->setProcessEnvironment(env);
    process->start(QStringLiteral(SW52K31_PROGRAM), QStringList{u"--workspace"_s, ws} + args);
    return process;
}

struct Ended
{
    int code = -1;
    QString err;
};

// Waits for a started program; a guard against a hang, not a measure.
Ended Wait(QProcess &process)
{
    Ended ended;
    if (!process.waitForFinished(300000)) {
        process.kill();
        process.waitForFinished();
        ended.err = u"hung"_s;
        return ended;
    }
    ended.code = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    ended.err = QString::fromLocal8Bit(process.readAllStandardError());
    return ended;
}

// A message's text up to its first piece: what every filling of it starts with.
QString Opening(int n)
{
    return Messages().Get(n).section(u"%1"_s, 0, 0);
}

// Whether the process `pid` still runs (a zombie waiting to be reaped has ended).
bool Runs(qint64 pid)
{
    const QByteArray stat = test::Read(u"/proc/%1/stat"_s.arg(pid));
    if (stat.isEmpty())
        return false;
    const qsizetype after_name = stat.lastIndexOf(')');
    return after_name < 0 || stat.mid(after_name + 2, 1) != "Z";
}

} // namespace

class Test_Cli_Concurrency : public QObject
{
    Q_OBJECT

    QTemporaryDir dir_;
    QString Ws() const { return dir_.filePath(u"ws"_s); }
    QString Objects() const { return Ws() + u"/PROJECTS/Plant/BACnet_Slave_SetAccess.xml"_s; }

    bool Can_Ping()
    {
        Icmp_Echo_Client probe;
        return probe.Open().Ok();
    }

    // An updater that says it runs (its process id in updater.pid) and then
    // waits until the test lets it end (a file "release").
    void Write_Waiting_Updater()
    {
        const QString path = Ws() + u"/Ethernet_Update.exe"_s;
        test::Write(path, "#!/bin/sh\necho $$ > updater.pid\nwhile [ ! -f release ]; do sleep 0.05; done\n");
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        QFile::remove(Ws() + u"/updater.pid"_s);
        QFile::remove(Ws() + u"/release"_s);
    }

    qint64 Updater_Pid() const { return test::Read(Ws() + u"/updater.pid"_s).trimmed().toLongLong(); }

private slots:
    void initTestCase()
    {
        QVERIFY(dir_.isValid());
        auto made = Start(Ws(), {u"new"_s, u"Plant"_s});
        const Ended ended = Wait(*made);
        QVERIFY2(ended.code == 0, qPrintable(ended.err));
    }

    // Two appends at once, several times over: each one's row is in the
    // document, or that one was refused with exit 1 naming the lock.
    void appends_at_once_lose_nothing()
    {
        for (int round = 0; round < 4; ++round) {
            std::unique_ptr<QProcess> runs[2];
            QString names[2];
            for (int i = 0; i < 2; ++i) {
                names[i] = u"Point_%1_%2"_s.arg(round).arg(i);
                const QString csv = dir_.filePath(names[i] + u".csv"_s);
                test::Write(csv, Objects_Header + "Write,Binary Out,,no-units," +
                                     QByteArray::number(10 + 2 * round + i) + ",1,1,," + names[i].toUtf8() + "\r\n");
                runs[i] = Start(Ws(), {u"import-objects"_s, u"Plant"_s, csv, u"--append"_s});
            }
            Ended ended[2];
            for (int i = 0; i < 2; ++i)
                ended[i] = Wait(*runs[i]);
            const QByteArray document = test::Read(Objects());
            for (int i = 0; i < 2; ++i) {
                const bool kept = document.contains(QByteArray("Mnemonic=\"" + names[i].toUtf8() + '"'));
                if (ended[i].code == 0) {
                    QVERIFY2(kept, qPrintable(names[i] + u" lost: "_s + QString::fromUtf8(document)));
                } else {
                    QCOMPARE(ended[i].code, 1);
                    QVERIFY2(ended[i].err.startsWith(Opening(Msg_Configuration_Locked)), qPrintable(ended[i].err));
                    QVERIFY(!kept);
                }
            }
        }
    }

    // While an update of 127.0.0.1 runs, an update of 127.0.0.2 on the same
    // workspace is refused at once, naming 127.0.0.1; the first then ends
    // well and keeps its images for its own address alone.
    void second_update_refused()
    {
        if (!Can_Ping())
            QSKIP("this system lets the test send no ping");
        Write_Waiting_Updater();
        auto first = Start(Ws(), {u"update"_s, u"Plant"_s, u"--ip"_s, u"127.0.0.1"_s, u"--option"_s, u"2"_s});
        QTRY_VERIFY_WITH_TIMEOUT(Updater_Pid() > 0 || first->state() == QProcess::NotRunning, 120000);
        QVERIFY2(first->state() != QProcess::NotRunning, first->readAllStandardError().constData());

        auto second = Start(Ws(), {u"update"_s, u"Plant"_s, u"--ip"_s, u"127.0.0.2"_s, u"--option"_s, u"2"_s});
        const Ended refused = Wait(*second);
        QCOMPARE(refused.code, 1);
        QVERIFY2(refused.err.startsWith(Messages().Get(Msg_Update_Locked).section(u"%2"_s, 0, 0).arg(u"127.0.0.1"_s)),
                 qPrintable(refused.err));

        test::Write(Ws() + u"/release"_s, "");
        const Ended done = Wait(*first);
        QVERIFY2(done.code == 0, qPrintable(done.err));
        QVERIFY(test::Read(Ws() + u"/Ethernet_Update.xml"_s).contains("<IP_Address_Dev>127.0.0.1</IP_Address_Dev>"));
        const QString sent = Ws() + u"/PROJECTS/Plant/bin/sent/"_s;
        QVERIFY(QFileInfo::exists(sent + u"127.0.0.1/bank1.bin"_s));
        QVERIFY(!QFileInfo::exists(sent + u"127.0.0.2"_s));
    }

    // SIGTERM or SIGINT to `update` while its updater runs: the updater
    // ends with it, and the command says the update was stopped.
    void stopped_update_ends_updater_data()
    {
        QTest::addColumn<int>("signal_number");
        QTest::newRow("SIGTERM") << int(SIGTERM);
        QTest::newRow("SIGINT") << int(SIGINT);
    }

    void stopped_update_ends_updater()
    {
        QFETCH(int, signal_number);
        if (!Can_Ping())
            QSKIP("this system lets the test send no ping");
        Write_Waiting_Updater();
        auto update = Start(Ws(), {u"update"_s, u"Plant"_s, u"--ip"_s, u"127.0.0.1"_s, u"--option"_s, u"2"_s});
        QTRY_VERIFY_WITH_TIMEOUT(Updater_Pid() > 0 || update->state() == QProcess::NotRunning, 120000);
        const qint64 updater = Updater_Pid();
        QVERIFY2(updater > 0, update->readAllStandardError().constData());

        ::kill(pid_t(update->processId()), signal_number);
        const Ended stopped = Wait(*update);
        QVERIFY(stopped.code != 0);
        QVERIFY2(stopped.err.startsWith(Opening(Msg_Update_Interrupted)), qPrintable(stopped.err));
        QVERIFY(!Runs(updater));
        // The lock went with it: the next update is not refused.
        QVERIFY(!QFileInfo::exists(Ws() + u"/Ethernet_Update.lock"_s));
    }
};

QTEST_GUILESS_MAIN(Test_Cli_Concurrency)
#include "test_cli_concurrency.moc"
