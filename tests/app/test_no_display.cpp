// Without a display the program says that its windows need a graphical
// session (and how to get one) instead of Qt's abort; commands still run.

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class Test_No_Display : public QObject
{
    Q_OBJECT

private slots:
    void start_without_display_data()
    {
        QTest::addColumn<QString>("platform"); // QT_QPA_PLATFORM, empty for none
        QTest::addColumn<QStringList>("command");
        QTest::addColumn<int>("code");
        QTest::addColumn<bool>("told");

        QTest::newRow("windows, no display") << QString() << QStringList() << 1 << true;
        QTest::newRow("windows, a platform that needs a display")
            << QStringLiteral("xcb;wayland") << QStringList() << 1 << true;
        QTest::newRow("a command") << QString() << QStringList{QStringLiteral("list")} << 0 << false;
    }

    void start_without_display()
    {
        QFETCH(QString, platform);
        QFETCH(QStringList, command);
        QFETCH(int, code);
        QFETCH(bool, told);

        QTemporaryDir workspace;
        QVERIFY(workspace.isValid());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("DISPLAY"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        if (!platform.isEmpty())
            env.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);

        QProcess process;
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(SW_PROGRAM),
                      QStringList{QStringLiteral("--workspace"), workspace.path()} + command);
        QVERIFY(process.waitForFinished(60000));
        const QString err = QString::fromLocal8Bit(process.readAllStandardError());
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), code);
        QCOMPARE(err.contains(QStringLiteral("need a graphical session")), told);
        QCOMPARE(err.contains(QStringLiteral("xvfb-run -a sw52k31")), told);
    }
};

QTEST_GUILESS_MAIN(Test_No_Display)
#include "test_no_display.moc"
