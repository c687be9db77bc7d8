#include "core/messages.h"
#include "fake_echo_client.h"
#include "test_support.h"
#include "update/ui/boot_window.h"
#include "widgets/message_box.h"
#include "window_requirements.h"
#include "workspace/configurations.h"
#include "workspace/start_workspace.h"
#include "workspace/workspace.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <sys/types.h>

namespace {

bool Alive(qint64 pid)
{
    return pid > 0 && ::kill(pid_t(pid), 0) == 0;
}

} // namespace

class Test_Boot_Window : public QObject
{
    Q_OBJECT

    QTemporaryDir dir_;
    Workspace ws_;

    // Shows the window, runs `act` inside it, then closes it.
    void With_Window(TFBoot &window, const std::function<void()> &act)
    {
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        act();
        window.close();
    }

    void Write_Updater(const QByteArray &body)
    {
        const QString path = ws_.Path_Exe + QStringLiteral("/Ethernet_Update.exe");
        test::Write(path, "#!/bin/sh\n" + body);
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }

private slots:
    void initTestCase()
    {
        Start_Workspace(ws_, dir_.path());
        QVERIFY(Create_Configuration(ws_, QStringLiteral("Plant")).Ok());
        // The firmware that the installation supplies.
        test::Write(ws_.Path_Master + QStringLiteral("/Sim52K31.sim"), "firmware");
    }

    void init() { Message_Box::Set_Test_Mode(true); }
    void cleanup() { Message_Box::Set_Test_Mode(false); }

    void shows_the_last_address_data()
    {
        QTest::addColumn<QString>("last");
        QTest::addColumn<QStringList>("boxes");
        QTest::newRow("usable") << QStringLiteral("192.168.2.205")
                                << QStringList{QStringLiteral("192"), QStringLiteral("168"), QStringLiteral("2"),
                                               QStringLiteral("205")};
        const QStringList zeros{QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0")};
        QTest::newRow("five parts") << QStringLiteral("1.2.3.4.5") << zeros;
        QTest::newRow("over 255") << QStringLiteral("1.2.3.256") << zeros;
        QTest::newRow("not a number") << QStringLiteral("a.b.c.d") << zeros;
    }

    void shows_the_last_address()
    {
        QFETCH(QString, last);
        QFETCH(QStringList, boxes);
        ws_.Last_IP_Address = last;
        TFBoot window(ws_);
        With_Window(window, [&] {
            QCOMPARE((QStringList{window.E_IP1->text(), window.E_IP2->text(), window.E_IP3->text(),
                                  window.E_IP4->text()}),
                     boxes);
            QCOMPARE(window.size(), required::Update_Window);
            QCOMPARE(window.CB_Update_Options->count(), required::Update_Options);
        });
    }

    void dot_moves_on()
    {
        TFBoot window(ws_);
        With_Window(window, [&] {
            window.E_IP2->setFocus();
            window.E_IP2->clear();
            QTest::keyClicks(window.E_IP2, QStringLiteral("16."));
            QCOMPARE(window.E_IP2->text(), QStringLiteral("16"));
            QCOMPARE(QApplication::focusWidget(), window.E_IP3);
            window.E_IP4->setFocus();
            window.E_IP4->clear();
            QTest::keyClicks(window.E_IP4, QStringLiteral("7."));
            QCOMPARE(window.E_IP4->text(), QStringLiteral("7"));
            QCOMPARE(QApplication::focusWidget(), window.E_IP4);
        });
    }

    void ping_outcomes_data()
    {
        QTest::addColumn<QList<int>>("script");
        QTest::addColumn<QString>("octet");
        QTest::addColumn<int>("message");
        QTest::newRow("no answer") << QList<int>{0} << QStringLiteral("1") << 1036;
        QTest::newRow("box holds 300") << QList<int>{1024} << QStringLiteral("300") << 1037;
    }

    void ping_outcomes()
    {
        QFETCH(QList<int>, script);
        QFETCH(QString, octet);
        QFETCH(int, message);
        ws_.Last_IP_Address = QStringLiteral("127.0.0.1");
        TFBoot window(ws_);
        window.Set_Echo_Client(std::make_unique<Fake_Echo_Client>(script));
        window.Set_Wait_Limits(300, 2000);
        With_Window(window, [&] {
            window.E_IP4->setText(octet);
            QSignalSpy done(&window, &TFBoot::Update_Finished);
            QTest::mouseClick(window.Btn_Update, Qt::LeftButton);
            QVERIFY(!window.Btn_Update->isEnabled());
            QVERIFY(done.wait(5000));
            QCOMPARE(Message_Box::Take_Shown(), QStringList{Messages().Get(message)});
            QVERIFY(window.Btn_Update->isEnabled());
        });
        QCOMPARE(ws_.Last_IP_Address, QStringLiteral("127.0.0.1"));
        QVERIFY(!QFileInfo::exists(ws_.Path_Exe + QStringLiteral("/Ethernet_Update.xml")));
    }

    void update_end_to_end()
    {
        const QString record = ws_.Path_Exe + QStringLiteral("/record.txt");
        Write_Updater("pwd > '" + record.toUtf8() + "'\necho \"$#\" >> '" + record.toUtf8() + "'\n");
        ws_.Last_IP_Address = QStringLiteral("10.1.2.3");
        TFBoot window(ws_);
        window.BACnetType = 1;
        window.Set_Echo_Client(std::make_unique<Fake_Echo_Client>(QList<int>{1024}));
        With_Window(window, [&] {
            window.CB_Update_Options->setCurrentIndex(2);
            window.CB_Update_Option_Read_Back->setChecked(false);
            QSignalSpy done(&window, &TFBoot::Update_Finished);
            QTest::mouseClick(window.Btn_Update, Qt::LeftButton);
            QVERIFY(done.wait(10000));
            // The outcome names the configuration, the address and the option.
            QCOMPARE(Message_Box::Take_Shown(),
                     QStringList{Messages().Get(Msg_Update_Done) + u'\n' +
                                 Messages().Get(Msg_Update_Context)
                                     .arg(QStringLiteral("Plant"), QStringLiteral("10.1.2.3"), Messages().Get(1017))});
        });
        QCOMPARE(test::Read(record), ws_.Path_Exe.toUtf8() + "\n0\n");
        const QByteArray job = test::Read(ws_.Path_Exe + QStringLiteral("/Ethernet_Update.xml"));
        QVERIFY(job.contains("<IP_Address_Dev>10.1.2.3</IP_Address_Dev>"));
        QVERIFY(job.contains("<Protection>0x304</Protection>"));
        QVERIFY(!job.contains("Sim52K31.sim"));
        // The choices are remembered for the next showing.
        QCOMPARE(ws_.Update_Option, 2);
        QVERIFY(!ws_.Update_Read_Back);
        TFBoot again(ws_);
        With_Window(again, [&] {
            QCOMPARE(again.CB_Update_Options->currentIndex(), 2);
            QVERIFY(!again.CB_Update_Option_Read_Back->isChecked());
        });
        ws_.Update_Option = 0;
        ws_.Update_Read_Back = true;
    }

    void updater_that_cannot_start()
    {
        QFile::remove(ws_.Path_Exe + QStringLiteral("/Ethernet_Update.exe"));
        ws_.Last_IP_Address = QStringLiteral("10.1.2.3");
        TFBoot window(ws_);
        window.Set_Echo_Client(std::make_unique<Fake_Echo_Client>(QList<int>{1024}));
        With_Window(window, [&] {
            QSignalSpy done(&window, &TFBoot::Update_Finished);
            QTest::mouseClick(window.Btn_Update, Qt::LeftButton);
            QVERIFY(done.wait(10000));
            const QStringList shown = Message_Box::Take_Shown();
            QCOMPARE(shown.size(), 1);
            QVERIFY2(shown[0].contains(QStringLiteral("Ethernet_Update.exe")), qPrintable(shown[0]));
        });
    }

    // While the updater runs nothing can start a second one or hide it:
    // the progress window cannot be escaped or closed, Cancel and Escape in
    // the update window do nothing, and the inputs are locked. At the limit
    // the updater is ended, and the user is told so, with its last output.
    void updater_that_never_ends()
    {
        const QString pid_file = ws_.Path_Exe + QStringLiteral("/updater.pid");
        Write_Updater("echo $$ > '" + pid_file.toUtf8() + "'\necho flashing\nexec sleep 600\n");
        QFile::remove(pid_file);
        ws_.Last_IP_Address = QStringLiteral("10.1.2.3");
        TFBoot window(ws_);
        window.Set_Echo_Client(std::make_unique<Fake_Echo_Client>(QList<int>{1024}));
        window.Set_Wait_Limits(5000, 1000, 200);
        With_Window(window, [&] {
            window.CB_Update_Options->setCurrentIndex(2);
            QSignalSpy done(&window, &TFBoot::Update_Finished);
            QTest::mouseClick(window.Btn_Update, Qt::LeftButton);
            QTRY_VERIFY(QFileInfo::exists(pid_file));
            QWidget *progress = QApplication::activeModalWidget();
            QTRY_VERIFY((progress = QApplication::activeModalWidget()) && progress != &window);
            QTest::keyClick(progress, Qt::Key_Escape);
            progress->close();
            window.reject();
            QTest::mouseClick(window.Btn_Cancel, Qt::LeftButton);
            QVERIFY(progress->isVisible());
            QVERIFY(window.isVisible());
            QVERIFY(window.Update_Running());
            QVERIFY(!window.Btn_Update->isEnabled());
            QVERIFY(window.E_IP1->isReadOnly());
            QVERIFY(done.wait(10000));
            const QString updater = QDir::toNativeSeparators(ws_.Path_Exe + QStringLiteral("/Ethernet_Update.exe"));
            const QStringList shown = Message_Box::Take_Shown();
            QCOMPARE(shown.size(), 1);
            const QStringList lines = shown[0].split(u'\n');
            QCOMPARE(lines.at(0), Messages().Get(Msg_Updater_Stopped).arg(updater).arg(1));
            QCOMPARE(lines.last(), QStringLiteral("flashing"));
            QVERIFY(window.Btn_Update->isEnabled());
            QVERIFY(!window.E_IP1->isReadOnly());
        });
        const qint64 pid = test::Read(pid_file).trimmed().toLongLong();
        QVERIFY(pid > 0);
        QVERIFY(!Alive(pid));
    }

    // Cancel, Escape or the close box while the converter is asked ends the
    // update: the window closes, and nothing is written, started or said,
    // then or later. The address boxes cannot be changed meanwhile.
    void cancel_during_the_ping_data()
    {
        QTest::addColumn<int>("how");
        QTest::newRow("Cancel") << 0;
        QTest::newRow("Escape") << 1;
        QTest::newRow("close box") << 2;
    }

    void cancel_during_the_ping()
    {
        QFETCH(int, how);
        Write_Updater("echo ran > '" + ws_.Path_Exe.toUtf8() + "/ran.txt'\n");
        QFile::remove(ws_.Path_Exe + QStringLiteral("/Ethernet_Update.xml"));
        ws_.Last_IP_Address = QStringLiteral("10.1.2.3");
        TFBoot window(ws_);
        // Silent: every request ends without data, so the ping would go on.
        window.Set_Echo_Client(std::make_unique<Fake_Echo_Client>(QList<int>{0}));
        window.Set_Wait_Limits(600, 2000);
        window.CB_Update_Options->setCurrentIndex(2);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QSignalSpy done(&window, &TFBoot::Update_Finished);
        QTest::mouseClick(window.Btn_Update, Qt::LeftButton);
        QVERIFY(window.Update_Running());
        window.E_IP4->setFocus();
        QTest::keyClicks(window.E_IP4, QStringLiteral("9"));
        QCOMPARE(window.E_IP4->text(), QStringLiteral("3"));
        if (how == 0)
            QTest::mouseClick(window.Btn_Cancel, Qt::LeftButton);
        else if (how == 1)
            QTest::keyClick(&window, Qt::Key_Escape);
        else
            window.close();
        QVERIFY(!window.isVisible());
        QVERIFY(!window.Update_Running());
        QTest::qWait(1000);
        QCOMPARE(done.count(), 0);
        QCOMPARE(Message_Box::Take_Shown(), QStringList());
        QVERIFY(!QFileInfo::exists(ws_.Path_Exe + QStringLiteral("/Ethernet_Update.xml")));
        QVERIFY(!QFileInfo::exists(ws_.Path_Exe + QStringLiteral("/ran.txt")));
        // Shown again, it is ready for a new update.
        window.show();
        QVERIFY(window.Btn_Update->isEnabled());
        QVERIFY(!window.E_IP4->isReadOnly());
        window.close();
    }

    // A failed updater: an error box with the code and its last output.
    void failed_updater_is_told()
    {
        Write_Updater("echo 'erasing bank 1'\necho 'boot loader does not answer' >&2\nexit 1\n");
        ws_.Last_IP_Address = QStringLiteral("10.1.2.3");
        TFBoot window(ws_);
        window.Set_Echo_Client(std::make_unique<Fake_Echo_Client>(QList<int>{1024}));
        With_Window(window, [&] {
            window.CB_Update_Options->setCurrentIndex(2);
            QSignalSpy done(&window, &TFBoot::Update_Finished);
            QTest::mouseClick(window.Btn_Update, Qt::LeftButton);
            QVERIFY(done.wait(10000));
            const QStringList shown = Message_Box::Take_Shown();
            QCOMPARE(shown.size(), 1);
            const QString updater = QDir::toNativeSeparators(ws_.Path_Exe + QStringLiteral("/Ethernet_Update.exe"));
            QVERIFY2(shown[0].startsWith(Messages().Get(Msg_Updater_Failed).arg(updater).arg(1)), qPrintable(shown[0]));
            QVERIFY2(shown[0].endsWith(QStringLiteral("erasing bank 1\nboot loader does not answer")), qPrintable(shown[0]));
        });
    }
};

QTEST_MAIN(Test_Boot_Window)
#include "test_boot_window.moc"
