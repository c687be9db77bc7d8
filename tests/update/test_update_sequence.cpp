#include "core/messages.h"
#include "fake_echo_client.h"
#include "test_support.h"
#include "update/sent_images.h"
#include "update/update_sequence.h"
#include "workspace/configurations.h"
#include "workspace/start_workspace.h"
#include "workspace/workspace.h"

#include <QDir>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <sys/types.h>

namespace {

constexpr int Answer = 1016;
constexpr int Lost = 0;

bool Alive(qint64 pid)
{
    return pid > 0 && ::kill(pid_t(pid), 0) == 0;
}

// The updater writes its pid and a line per run beside itself, so that a
// test sees whether and how often it ran.
QByteArray Updater(const QByteArray &body)
{
    return "#!/bin/sh\n"
           "cd \"$(dirname \"$0\")\"\n"
           "echo $$ > updater.pid\n"
           "echo run >> runs.txt\n" +
           body;
}

} // namespace

class Test_Update_Sequence : public QObject
{
    Q_OBJECT

    QTemporaryDir dir_;
    Workspace ws_;

    QString In_Root(const char *name) const { return ws_.Path_Exe + u'/' + QLatin1StringView(name); }
    int Runs() const { return int(test::Read(In_Root("runs.txt")).count('\n')); }

    void Write_Updater(const QByteArray &body)
    {
        const QString path = Updater_Path(ws_.Path_Exe);
        test::Write(path, Updater(body));
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }

    Boot_Job Job(const QString &address, int option = 2) const
    {
        IP_Octets ip;
        Split_IP_Address(address, &ip);
        return Make_Boot_Job(ws_, ip, option, true, 0);
    }

    // The configuration's images as the compilation leaves them.
    void Write_Images(const QByteArray &bank1, const QByteArray &bank2) const
    {
        test::Write(Job_Bank1_Path(ws_.Path_Project), bank1);
        test::Write(Job_Bank2_Path(ws_.Path_Project), bank2);
    }

    std::optional<Sent_Images> Kept(const QString &address) const
    {
        const auto kept = Read_Sent_Images(ws_.Path_Project, address);
        return kept.Ok() ? kept.Value() : std::nullopt;
    }

    QString Sent_Root() const { return ws_.Path_Project + QStringLiteral("/bin/sent"); }

    static Update_Limits Quick()
    {
        Update_Limits limits;
        limits.updater_ms = 60000;
        limits.grace_ms = 200;
        return limits;
    }

private slots:
    void initTestCase()
    {
        Start_Workspace(ws_, dir_.path());
        QVERIFY(Create_Configuration(ws_, QStringLiteral("Plant")).Ok());
        ws_.Open_Configuration(QStringLiteral("Plant"));
    }

    void init()
    {
        for (const char *name : {"runs.txt", "updater.pid", "Ethernet_Update.xml", "Ethernet_Update.log"})
            QFile::remove(In_Root(name));
        QFile::remove(Firmware_Path(ws_.Path_Master));
        QDir(Sent_Root()).removeRecursively();
        ws_.Last_IP_Address = QStringLiteral("192.168.2.205");
        Write_Updater("exit 0\n");
        QVERIFY(!Update_Sequence::Any_Running());
    }

    // The user cancels while the converter is asked, answering or not:
    // nothing is written, kept or started, and nothing is said later, however
    // long the ping would have gone on.
    void cancel_during_the_ping_data()
    {
        QTest::addColumn<int>("reply");
        QTest::newRow("converter answers") << Answer;
        QTest::newRow("converter silent") << Lost;
    }

    void cancel_during_the_ping()
    {
        QFETCH(int, reply);
        Fake_Ping_Clock clock;
        Fake_Echo_Client client({reply}, &clock, 100);
        Update_Sequence sequence(ws_, client, Quick(), &clock);
        QSignalSpy finished(&sequence, &Update_Sequence::Finished);
        QVERIFY(sequence.Start(Job(QStringLiteral("127.0.0.7"))).Ok());
        QCOMPARE(sequence.Current_State(), Update_Sequence::State::Pinging);
        QVERIFY(Update_Sequence::Any_Running());
        QVERIFY(sequence.Cancel());
        QCOMPARE(sequence.Current_State(), Update_Sequence::State::Idle);
        QVERIFY(!Update_Sequence::Any_Running());
        QTest::qWait(100);
        QCOMPARE(finished.count(), 0);
        QCOMPARE(client.addresses.size(), 1);
        QVERIFY(!QFileInfo::exists(In_Root("Ethernet_Update.xml")));
        QCOMPARE(Runs(), 0);
        QCOMPARE(ws_.Last_IP_Address, QStringLiteral("192.168.2.205"));
        QVERIFY(!QFileInfo::exists(Sent_Root()));
    }

    // The address is taken once: what the caller does with its own job (the
    // window's boxes) after the start changes nothing.
    void the_address_pinged_is_the_address_written()
    {
        Fake_Ping_Clock clock;
        Fake_Echo_Client client({Answer}, &clock, 100);
        Update_Sequence sequence(ws_, client, Quick(), &clock);
        QSignalSpy finished(&sequence, &Update_Sequence::Finished);
        Boot_Job job = Job(QStringLiteral("127.0.0.7"));
        QVERIFY(sequence.Start(job).Ok());
        job.IP[3] = QStringLiteral("99");
        QVERIFY(finished.wait(10000));
        const auto outcome = finished.at(0).at(0).value<Update_Outcome>();
        QVERIFY2(outcome.Ok(), qPrintable(outcome.text));
        QCOMPARE(client.addresses, (QList<quint32>{0x7F000007u, 0x7F000007u}));
        QVERIFY(test::Read(In_Root("Ethernet_Update.xml")).contains("<IP_Address_Dev>127.0.0.7</IP_Address_Dev>"));
        QCOMPARE(ws_.Last_IP_Address, QStringLiteral("127.0.0.7"));
        QCOMPARE(outcome.job_file, In_Root("Ethernet_Update.xml"));
    }

    // One update at a time in the whole process: neither the same sequence
    // nor another one starts while the ping or the updater runs, and the
    // refusal writes and starts nothing.
    void a_second_start_is_refused_while_running()
    {
        Write_Updater("sleep 0.3\n");
        Fake_Echo_Client client({Answer});
        Update_Sequence first(ws_, client, Quick());
        Update_Sequence second(ws_, client, Quick());
        QSignalSpy finished(&first, &Update_Sequence::Finished);
        QSignalSpy states(&first, &Update_Sequence::State_Changed);
        QVERIFY(first.Start(Job(QStringLiteral("127.0.0.1"))).Ok());
        const QString refusal = Messages().Get(Msg_Update_Already_Running);
        QCOMPARE(first.Start(Job(QStringLiteral("127.0.0.2"))).Problem(), refusal);
        QCOMPARE(second.Start(Job(QStringLiteral("127.0.0.3"))).Problem(), refusal);
        QTRY_COMPARE(first.Current_State(), Update_Sequence::State::Updating);
        QVERIFY(!first.Cancel()); // a running updater is never interrupted
        QCOMPARE(second.Start(Job(QStringLiteral("127.0.0.3"))).Problem(), refusal);
        QVERIFY(finished.wait(10000));
        QCOMPARE(Runs(), 1);
        QCOMPARE(states.count(), 3); // pinging, updating, idle
        QVERIFY(!Update_Sequence::Any_Running());
        QVERIFY(second.Start(Job(QStringLiteral("127.0.0.3"))).Ok());
        QSignalSpy second_finished(&second, &Update_Sequence::Finished);
        QVERIFY(second_finished.wait(10000));
        QCOMPARE(Runs(), 2);
    }

    // What the user is told of each end of the updater: the outcome, the
    // configuration, the address and the option, and for a failure the last
    // lines of its output, which go to the log, replaced at each run.
    void updater_outcomes_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("first_line");
        QTest::addColumn<QStringList>("tail");
        // ROOT stands for the workspace root, known only when the case runs.
        const QString updater = QStringLiteral("ROOT/Ethernet_Update.exe");
        QTest::newRow("code 0") << QByteArray("echo all written\nexit 0\n") << true << Messages().Get(Msg_Update_Done)
                                << QStringList();
        QTest::newRow("code 1") << QByteArray("echo erasing\necho 'no answer from boot loader' >&2\nexit 1\n") << false
                                << Messages().Get(Msg_Updater_Failed).arg(updater).arg(1)
                                << QStringList{QStringLiteral("erasing"), QStringLiteral("no answer from boot loader")};
        QTest::newRow("crash") << QByteArray("echo writing bank 1\nkill -SEGV $$\n") << false
                               << Messages().Get(Msg_Updater_Crashed).arg(updater)
                               << QStringList{QStringLiteral("writing bank 1")};
        QTest::newRow("silent failure") << QByteArray("exit 4\n") << false
                                        << Messages().Get(Msg_Updater_Failed).arg(updater).arg(4) << QStringList();
    }

    void updater_outcomes()
    {
        QFETCH(QByteArray, body);
        QFETCH(bool, ok);
        QFETCH(QString, first_line);
        QFETCH(QStringList, tail);
        first_line.replace(QStringLiteral("ROOT"), QDir::toNativeSeparators(ws_.Path_Exe));
        test::Write(In_Root("Ethernet_Update.log"), "left from the run before\n");
        Write_Updater(body);
        Fake_Echo_Client client({Answer});
        const Update_Outcome outcome = Run_Update(ws_, client, Job(QStringLiteral("127.0.0.1"), 2), Quick());
        QCOMPARE(outcome.Ok(), ok);
        const QStringList lines = outcome.text.split(u'\n');
        QCOMPARE(lines.at(0), first_line);
        QCOMPARE(lines.at(1), Messages()
                                  .Get(Msg_Update_Context)
                                  .arg(QStringLiteral("Plant"), QStringLiteral("127.0.0.1"), Messages().Get(1017)));
        const QString log = QDir::toNativeSeparators(In_Root("Ethernet_Update.log"));
        if (ok) {
            QCOMPARE(lines.size(), 2);
        } else if (tail.isEmpty()) {
            QCOMPARE(lines.mid(2), (QStringList{QString(), Messages().Get(Msg_Updater_Log_Empty).arg(log)}));
        } else {
            QCOMPARE(lines.mid(2),
                     QStringList{QString()} + QStringList{Messages().Get(Msg_Updater_Log_Tail).arg(log)} + tail);
        }
        QVERIFY(!test::Read(In_Root("Ethernet_Update.log")).contains("run before"));
        QCOMPARE(Runs(), 1);
    }

    // At the limit the updater is asked to end, then killed, with whatever it
    // started; the sequence ends only once it is gone, and says it stopped it.
    void the_updater_is_ended_at_the_limit_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::newRow("ends when asked") << QByteArray("exec sleep 600\n");
        QTest::newRow("ignores the request") << QByteArray("trap '' TERM\nwhile :; do sleep 0.05; done\n");
        QTest::newRow("leaves a child") << QByteArray("sleep 600 &\necho $! > child.pid\nwait\n");
    }

    void the_updater_is_ended_at_the_limit()
    {
        QFETCH(QByteArray, body);
        Write_Updater(body);
        Update_Limits limits = Quick();
        limits.updater_ms = 300;
        Fake_Echo_Client client({Answer});
        QFile::remove(In_Root("child.pid"));
        const Update_Outcome outcome = Run_Update(ws_, client, Job(QStringLiteral("127.0.0.1")), limits);
        QCOMPARE(outcome.kind, Update_Outcome::Kind::Updater_Failed);
        QCOMPARE(int(outcome.program.kind), int(Program_Outcome::Kind::Timed_Out));
        QCOMPARE(outcome.text.section(u'\n', 0, 0),
                 Messages().Get(Msg_Updater_Stopped).arg(QDir::toNativeSeparators(Updater_Path(ws_.Path_Exe))).arg(0));
        const qint64 pid = test::Read(In_Root("updater.pid")).trimmed().toLongLong();
        QVERIFY(pid > 0);
        QVERIFY(!Alive(pid));
        const qint64 child = test::Read(In_Root("child.pid")).trimmed().toLongLong();
        if (child > 0)
            QTRY_VERIFY(!Alive(child));
        QVERIFY(!Update_Sequence::Any_Running());
    }

    // Firmware and configuration, and firmware alone, need the firmware
    // file: without it nothing is asked, written or started.
    void missing_firmware_data()
    {
        QTest::addColumn<int>("option");
        QTest::addColumn<bool>("refused");
        QTest::newRow("firmware + configuration") << 0 << true;
        QTest::newRow("firmware") << 1 << true;
        QTest::newRow("configuration") << 2 << false;
    }

    void missing_firmware()
    {
        QFETCH(int, option);
        QFETCH(bool, refused);
        Fake_Echo_Client client({Answer});
        Update_Outcome outcome = Run_Update(ws_, client, Job(QStringLiteral("127.0.0.1"), option), Quick());
        if (refused) {
            QCOMPARE(outcome.kind, Update_Outcome::Kind::Refused);
            QCOMPARE(outcome.text,
                     Messages()
                         .Get(Msg_Firmware_Missing)
                         .arg(QDir::toNativeSeparators(Firmware_Path(ws_.Path_Master)), Messages().Get(1015 + option)));
            QVERIFY(client.addresses.isEmpty());
            QVERIFY(!QFileInfo::exists(In_Root("Ethernet_Update.xml")));
            QCOMPARE(Runs(), 0);
            // With the file in place the same job goes ahead.
            test::Write(Firmware_Path(ws_.Path_Master), "firmware");
            outcome = Run_Update(ws_, client, Job(QStringLiteral("127.0.0.1"), option), Quick());
        }
        QVERIFY2(outcome.Ok(), qPrintable(outcome.text));
        QCOMPARE(Runs(), 1);
    }

    // A converter that does not answer: the ping's own message, nothing
    // written or kept.
    void no_answer()
    {
        Fake_Ping_Clock clock;
        Fake_Echo_Client client({Lost}, &clock, 400);
        Update_Sequence sequence(ws_, client, Quick(), &clock);
        QSignalSpy finished(&sequence, &Update_Sequence::Finished);
        QVERIFY(sequence.Start(Job(QStringLiteral("127.0.0.1"))).Ok());
        QVERIFY(finished.wait(10000));
        const auto outcome = finished.at(0).at(0).value<Update_Outcome>();
        QCOMPARE(outcome.kind, Update_Outcome::Kind::Ping_Failed);
        QVERIFY(outcome.warning);
        QCOMPARE(outcome.text, Messages().Get(1036));
        QVERIFY(outcome.job_file.isEmpty());
        QVERIFY(!QFileInfo::exists(In_Root("Ethernet_Update.xml")));
        QCOMPARE(ws_.Last_IP_Address, QStringLiteral("192.168.2.205"));
        QCOMPARE(Runs(), 0);
        QVERIFY(!QFileInfo::exists(Sent_Root()));
    }

    // Only an update that ended well and sent the configuration's images
    // keeps them, for its address: the bytes the updater was given, even
    // when the files change while it runs. Any other end keeps nothing and
    // leaves the copy of the update before as it was.
    void keeps_what_was_sent_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<int>("option");
        QTest::addColumn<bool>("kept");
        QTest::newRow("configuration, code 0") << QByteArray("exit 0\n") << 2 << true;
        QTest::newRow("firmware + configuration, code 0") << QByteArray("exit 0\n") << 0 << true;
        QTest::newRow("firmware alone") << QByteArray("exit 0\n") << 1 << false;
        QTest::newRow("code 1") << QByteArray("exit 1\n") << 2 << false;
        QTest::newRow("crash") << QByteArray("kill -SEGV $$\n") << 2 << false;
    }

    void keeps_what_was_sent()
    {
        QFETCH(QByteArray, body);
        QFETCH(int, option);
        QFETCH(bool, kept);
        const QString address = QStringLiteral("127.0.0.1");
        test::Write(Firmware_Path(ws_.Path_Master), "firmware");
        QVERIFY(Keep_Sent_Images(ws_.Path_Project, address, {"earlier 1", "earlier 2", {}}).Ok());
        Write_Images("sent 1", "sent 2");
        // The updater takes the images the job names, then they are compiled
        // again before it ends.
        const QByteArray bank1 = QFile::encodeName(Job_Bank1_Path(ws_.Path_Project));
        Write_Updater("cp '" + bank1 + "' got1.bin\necho recompiled > '" + bank1 + "'\n" + body);
        Fake_Echo_Client client({Answer});
        const Update_Outcome outcome = Run_Update(ws_, client, Job(address, option), Quick());
        QCOMPARE(outcome.Ok(), body == "exit 0\n");
        QCOMPARE(outcome.keep_problem, QString());
        QCOMPARE(Runs(), 1);
        const std::optional<Sent_Images> copy = Kept(address);
        QVERIFY(copy);
        if (kept) {
            QCOMPARE(copy->bank1, test::Read(In_Root("got1.bin")));
            QCOMPARE(copy->bank1, QByteArray("sent 1"));
            QCOMPARE(copy->bank2, QByteArray("sent 2"));
        } else {
            QCOMPARE(copy->bank1, QByteArray("earlier 1"));
            QCOMPARE(copy->bank2, QByteArray("earlier 2"));
        }
    }

    // Each converter has its own copy: an update to one address leaves the
    // copy of another as it was; two spellings of one address share one.
    void addresses_are_kept_apart()
    {
        Fake_Echo_Client client({Answer});
        Write_Images("to one", "1");
        QVERIFY(Run_Update(ws_, client, Job(QStringLiteral("127.0.0.1")), Quick()).Ok());
        Write_Images("to two", "2");
        QVERIFY(Run_Update(ws_, client, Job(QStringLiteral("127.0.0.2")), Quick()).Ok());
        Write_Images("to one again", "3");
        QVERIFY(Run_Update(ws_, client, Job(QStringLiteral("127.000.0.01")), Quick()).Ok());
        QCOMPARE(Kept(QStringLiteral("127.0.0.1"))->bank1, QByteArray("to one again"));
        QCOMPARE(Kept(QStringLiteral("127.0.0.2"))->bank1, QByteArray("to two"));
        QCOMPARE(QDir(Sent_Root()).entryList(QDir::Dirs | QDir::NoDotAndDotDot),
                 (QStringList{QStringLiteral("127.0.0.1"), QStringLiteral("127.0.0.2")}));
    }

    // Images that cannot be read when the updater starts cannot be kept: the
    // update still ended well and says so, then why nothing was kept, and the
    // copy of the update before, no longer what the converter holds, goes.
    void a_copy_that_cannot_be_kept()
    {
        const QString address = QStringLiteral("127.0.0.1");
        QVERIFY(Keep_Sent_Images(ws_.Path_Project, address, {"earlier 1", "earlier 2", {}}).Ok());
        Write_Images("sent 1", "sent 2");
        QVERIFY(QFile::remove(Job_Bank2_Path(ws_.Path_Project)));
        Fake_Echo_Client client({Answer});
        const Update_Outcome outcome = Run_Update(ws_, client, Job(address), Quick());
        QVERIFY(outcome.Ok());
        QCOMPARE(outcome.text.section(u'\n', 0, 0), Messages().Get(Msg_Update_Done));
        const QStringList lines = outcome.keep_problem.split(u'\n');
        QCOMPARE(lines.size(), 2);
        QVERIFY2(lines[0].startsWith(Messages().Get(Msg_Sent_Not_Kept).section(u'%', 0, 0)), qPrintable(lines[0]));
        QVERIFY2(lines[0].contains(QDir::toNativeSeparators(Job_Bank2_Path(ws_.Path_Project))), qPrintable(lines[0]));
        QCOMPARE(lines[1], Messages()
                               .Get(Msg_Sent_Copy_Removed)
                               .arg(QDir::toNativeSeparators(Sent_Images_Folder(ws_.Path_Project, address))));
        QVERIFY(!Kept(address));
    }
};

QTEST_GUILESS_MAIN(Test_Update_Sequence)
#include "test_update_sequence.moc"
