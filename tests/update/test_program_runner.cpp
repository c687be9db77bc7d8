#include "test_support.h"
#include "update/program_runner.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <csignal>
#include <sys/types.h>

namespace {

void Write_Script(const QString &path, const QByteArray &text, bool executable = true)
{
    test::Write(path, text);
    QFile::Permissions permissions = QFile::ReadOwner | QFile::WriteOwner;
    if (executable)
        permissions |= QFile::ExeOwner;
    QFile::setPermissions(path, permissions);
}

// Records its arguments and its working directory beside itself, then ends
// with code 3.
const QByteArray Recorder = "#!/bin/sh\n"
                            "printf '%s\\n' \"$#\" \"$(pwd -P)\" \"$@\" > \"$(dirname \"$0\")/record.txt\"\n"
                            "exit 3\n";

const QByteArray Never_Ends = "#!/bin/sh\nexec sleep 600\n";

bool Alive(qint64 pid)
{
    return pid > 0 && ::kill(pid_t(pid), 0) == 0;
}

// Ends a program that the runner let go and waits until its reaper has run.
void Stop(qint64 pid)
{
    if (pid <= 0)
        return;
    ::kill(pid_t(pid), SIGKILL);
    QTRY_VERIFY(!Alive(pid));
}

} // namespace

class Test_Program_Runner : public QObject
{
    Q_OBJECT

private slots:
    void updater_runs_in_the_workspace_root_without_arguments()
    {
        QTemporaryDir dir;
        const QString root = QDir(dir.path()).canonicalPath();
        Write_Script(Updater_Path(root), Recorder);
        const Program_Outcome result = Start_Updater(root, 60000);
        QCOMPARE(int(result.kind), int(Program_Outcome::Kind::Ended));
        QCOMPARE(result.exit_code, 3);
        QVERIFY(!result.crashed);
        QVERIFY(result.Problem.isEmpty());
        QCOMPARE(test::Read(root + QStringLiteral("/record.txt")), QByteArray("0\n" + root.toUtf8() + "\n"));
    }

    void cannot_start_data()
    {
        QTest::addColumn<QByteArray>("script"); // empty: no file at all
        QTest::addColumn<bool>("executable");
        QTest::newRow("missing") << QByteArray() << true;
        QTest::newRow("not executable") << Recorder << false;
        QTest::newRow("bad interpreter") << QByteArray("#!/nonexistent/shell\nexit 0\n") << true;
    }

    void cannot_start()
    {
        QFETCH(QByteArray, script);
        QFETCH(bool, executable);
        QTemporaryDir dir;
        const QString program = Updater_Path(dir.path());
        if (!script.isEmpty())
            Write_Script(program, script, executable);
        Program_Runner runner;
        QSignalSpy spy(&runner, &Program_Runner::Finished);
        runner.Start(program, dir.path(), 60000);
        // Reported from the event loop, never inside Start.
        QCOMPARE(spy.count(), 0);
        QVERIFY(spy.wait());
        const auto result = spy.at(0).at(0).value<Program_Outcome>();
        QCOMPARE(int(result.kind), int(Program_Outcome::Kind::Failed_To_Start));
        QVERIFY2(
            result.Problem.startsWith(
                QStringLiteral("Error! The program %1 could not be started: ").arg(QDir::toNativeSeparators(program))),
            qPrintable(result.Problem));
        QVERIFY(!runner.Running());
        QTest::qWait(20);
        QCOMPARE(spy.count(), 1);
    }

    void a_program_that_never_ends_is_ended_at_the_limit()
    {
        QTemporaryDir dir;
        Write_Script(Updater_Path(dir.path()), Never_Ends);
        const Program_Outcome result = Start_Updater(dir.path(), 200, 200);
        QCOMPARE(int(result.kind), int(Program_Outcome::Kind::Timed_Out));
        QVERIFY(result.Problem.contains(QStringLiteral("Ethernet_Update.exe")));
        // Reported only once it is gone.
        QVERIFY(result.pid > 0);
        QVERIFY(!Alive(result.pid));
    }

    // The updater's output and errors go to the workspace's log, replaced at
    // each run; what the user is shown of it is its last lines.
    void output_goes_to_the_log()
    {
        QTemporaryDir dir;
        const QString log = Updater_Log_Path(dir.path());
        test::Write(log, "an older run\n");
        Write_Script(Updater_Path(dir.path()), "#!/bin/sh\necho out\necho err >&2\nprintf 'last\\r\\n'\n");
        const Program_Outcome result = Start_Updater(dir.path(), 60000);
        QCOMPARE(int(result.kind), int(Program_Outcome::Kind::Ended));
        QCOMPARE(test::Read(log), QByteArray("out\nerr\nlast\r\n"));
        QCOMPARE(Log_Tail(log), (QStringList{QStringLiteral("out"), QStringLiteral("err"), QStringLiteral("last")}));
    }

    void log_tail_data()
    {
        QTest::addColumn<QByteArray>("log");
        QTest::addColumn<QStringList>("tail");
        QByteArray many;
        QStringList last_ten;
        for (int i = 1; i <= 25; ++i) {
            many += "line " + QByteArray::number(i) + "\n\n";
            if (i > 15)
                last_ten << QStringLiteral("line %1").arg(i);
        }
        QTest::newRow("empty") << QByteArray() << QStringList();
        QTest::newRow("blank lines only") << QByteArray("\n  \r\n\n") << QStringList();
        QTest::newRow("last ten of many") << many << last_ten;
        QTest::newRow("long line cut") << QByteArray(300, 'x')
                                       << QStringList{QString(200, u'x') + QStringLiteral("...")};
        QByteArray huge(100000, 'y');
        huge += "\nthe end\n";
        QTest::newRow("only the end of a huge log is read") << huge << QStringList{QStringLiteral("the end")};
    }

    void log_tail()
    {
        QFETCH(QByteArray, log);
        QFETCH(QStringList, tail);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Ethernet_Update.log"));
        test::Write(path, log);
        QCOMPARE(Log_Tail(path), tail);
        QCOMPARE(Log_Tail(dir.filePath(QStringLiteral("missing.log"))), QStringList());
    }

    void the_event_loop_runs_while_waiting()
    {
        QTemporaryDir dir;
        Write_Script(Updater_Path(dir.path()), "#!/bin/sh\nsleep 0.3\n");
        int ticks = 0;
        QTimer ticker;
        connect(&ticker, &QTimer::timeout, this, [&ticks] { ++ticks; });
        ticker.start(10);
        const Program_Outcome result = Start_Updater(dir.path(), 60000);
        QCOMPARE(int(result.kind), int(Program_Outcome::Kind::Ended));
        QVERIFY(ticks > 0);
    }

    void destroying_the_runner_does_not_kill_the_program()
    {
        QTemporaryDir dir;
        Write_Script(Updater_Path(dir.path()), "#!/bin/sh\necho $$ > \"$(dirname \"$0\")/pid.txt\"\nexec sleep 600\n");
        qint64 pid = 0;
        {
            Program_Runner runner;
            runner.Start(Updater_Path(dir.path()), dir.path(), 60000);
            QVERIFY(runner.Running());
            QTRY_VERIFY((pid = test::Read(dir.filePath(QStringLiteral("pid.txt"))).trimmed().toLongLong()) > 0);
        }
        QVERIFY(Alive(pid));
        Stop(pid);
    }

    void a_second_start_while_running_is_ignored()
    {
        QTemporaryDir dir;
        Write_Script(Updater_Path(dir.path()), "#!/bin/sh\nsleep 0.2\nexit 5\n");
        Program_Runner runner;
        QSignalSpy spy(&runner, &Program_Runner::Finished);
        runner.Start(Updater_Path(dir.path()), dir.path(), 60000);
        runner.Start(dir.filePath(QStringLiteral("missing")), dir.path(), 60000);
        QVERIFY(spy.wait());
        QCOMPARE(spy.at(0).at(0).value<Program_Outcome>().exit_code, 5);
        QTest::qWait(50);
        QCOMPARE(spy.count(), 1);
    }
};

QTEST_GUILESS_MAIN(Test_Program_Runner)
#include "test_program_runner.moc"
