// The update window's "Verify over BACnet": the converter read over
// BACnet/IP, here a virtual converter on loopback given the device to serve,
// and what differs from the configured device shown in the list box.

#include "bacnet/served_device.h"
#include "bacnet/verify_messages.h"
#include "bacnet/virtual_converter.h"
#include "compiler/fixtures.h"
#include "core/messages.h"
#include "fake_echo_client.h"
#include "gate/gated_outputs.h"
#include "snapshot/configuration_snapshot.h"
#include "test_support.h"
#include "update/ui/boot_window.h"
#include "update/update_messages.h"
#include "widgets/message_box.h"
#include "workspace/configurations.h"
#include "workspace/start_workspace.h"
#include "workspace/workspace.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class Test_Boot_Verify : public QObject
{
    Q_OBJECT

    QTemporaryDir dir_;
    Workspace ws_;
    QStringList images_;
    Served_Device device_; // the device the configuration describes

    // The converter, serving `device` on loopback.
    std::unique_ptr<Virtual_Converter> Serve(const Served_Device &device)
    {
        auto converter = std::make_unique<Virtual_Converter>(device);
        const Result<> started = converter->Start(QHostAddress::LocalHost, 0);
        if (!started)
            qWarning("%s", qPrintable(started.Problem()));
        return converter;
    }

    QString Source() const { return Messages().Get(Msg_Verify_Against_Configuration).arg(S("Plant")); }

private slots:
    void initTestCase()
    {
        Start_Workspace(ws_, dir_.path());
        QVERIFY(Create_Configuration(ws_, S("Plant")).Ok());
        fixture::Write_Objects(ws_.File_BACnet_Slave_Access,
                               {fixture::Object(S("Analog Input"), S("62"), S("0"), S(""), S("4"), S("Room")),
                                fixture::Object(S("Binary Input"), S("95"), S("4"), S("0"), S("1"), S("Door"))});
        test::Write(ws_.Path_Master + S("/Sim52K31.sim"), "firmware");
        const Result<QStringList> compiled = Compile_Configuration(ws_);
        QVERIFY2(compiled.Ok(), qPrintable(compiled.Problem()));
        images_ = compiled.Value();
        const Result<Served_Device> device = Load_Served_Device(Read_Configuration(ws_, Output::Images));
        QVERIFY2(device.Ok(), qPrintable(device.Problem()));
        device_ = device.Value();
        QCOMPARE(device_.objects.size(), 2);
    }

    void init()
    {
        Message_Box::Set_Test_Mode(true);
        ws_.Last_IP_Address = S("127.0.0.1");
    }
    void cleanup() { Message_Box::Set_Test_Mode(false); }

    // The button: a converter that lists another name and one more object.
    void button_shows_the_comparison()
    {
        Served_Device served = device_;
        served.name = S("elsewhere");
        Served_Object extra = served.objects[0];
        extra.instance = 1;
        extra.name = S("Extra");
        served.objects.append(extra);
        const auto converter = Serve(served);
        TFBoot window(ws_);
        window.Set_Verify_Target(converter->Port(), 300, 3000);
        window.Set_Images(ws_.Project_Name, images_);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(window.Btn_Verify->isEnabled());
        QSignalSpy done(&window, &TFBoot::Verify_Finished);
        QTest::mouseClick(window.Btn_Verify, Qt::LeftButton);
        QVERIFY(done.wait(20000));
        const QStringList expected{
            Messages().Get(Msg_Verify_Differs).arg(S("127.0.0.1")), Source(),
            S("device.name: \"%1\" -> \"elsewhere\"").arg(device_.name),
            S("objects[ANALOG INPUT 1]: added (object_type 0, name \"Extra\", units 62 (degrees-Celsius))")};
        QCOMPARE(Message_Box::Take_Shown(), QStringList{expected.join(u'\n')});
        QVERIFY(window.Btn_Verify->isEnabled());
        window.close();
    }

    // With the option on, a successful update is followed by the verification.
    void after_a_successful_update()
    {
        const QString updater = ws_.Path_Exe + S("/Ethernet_Update.exe");
        test::Write(updater, "#!/bin/sh\nexit 0\n");
        QFile::setPermissions(updater, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        const auto converter = Serve(device_);
        TFBoot window(ws_);
        window.Set_Echo_Client(std::make_unique<Fake_Echo_Client>(QList<int>{1024}));
        window.Set_Verify_Target(converter->Port(), 300, 3000);
        window.Set_Images(ws_.Project_Name, images_);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.CB_Update_Options->setCurrentIndex(2);
        window.CB_Verify_After->setChecked(true);
        QSignalSpy done(&window, &TFBoot::Verify_Finished);
        QTest::mouseClick(window.Btn_Update, Qt::LeftButton);
        QVERIFY(done.wait(20000));
        const QStringList shown = Message_Box::Take_Shown();
        QCOMPARE(shown.size(), 2);
        QVERIFY(shown[0].startsWith(Messages().Get(Msg_Update_Done)));
        QCOMPARE(shown[1], Messages().Get(Msg_Verify_Agrees).arg(S("127.0.0.1")) + u'\n' + Source());
        window.close();
    }

    // Cancel ends the wait for a converter that does not answer, and nothing is said.
    void cancel_while_waiting()
    {
        TFBoot window(ws_);
        window.Set_Verify_Target(9, 200, 60000); // discard: nothing answers there
        window.Set_Images(ws_.Project_Name, images_);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QSignalSpy done(&window, &TFBoot::Verify_Finished);
        QTest::mouseClick(window.Btn_Verify, Qt::LeftButton);
        QVERIFY(window.Verify_Running());
        QVERIFY(!window.Btn_Verify->isEnabled());
        auto *progress = window.findChild<QProgressDialog *>();
        QVERIFY(progress);
        QTRY_VERIFY(progress->isVisible());
        QTest::mouseClick(progress->findChild<QPushButton *>(), Qt::LeftButton);
        QVERIFY(done.wait(5000));
        QVERIFY(Message_Box::Take_Shown().isEmpty());
        QVERIFY(!window.Verify_Running());
        window.close();
    }
};

QTEST_MAIN(Test_Boot_Verify)
#include "test_boot_verify.moc"
