#include "cli/cli_runner.h"
#include "compiler/fixtures.h"
#include "core/messages.h"
#include "test_support.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

// Hand-edited documents, each one edit away from a configuration that
// passes, run through `check`, `compile`, `ede` and `update` as a user would:
// they all pass, or they all refuse with the same lines and write nothing.
class Test_Gate_Agreement : public QObject
{
    Q_OBJECT

    QTemporaryDir dir_;

    QString Project(const QString &name, const QString &file = QString()) const
    {
        return dir_.path() + S("/PROJECTS/") + name + (file.isEmpty() ? QString() : u'/' + file);
    }

    // A configuration as the windows save it: EU868 at data rate 0 (a
    // payload of 51 bytes), ABP with every key of its full length, one rule
    // each way, two Read objects and one Write object.
    void Write_Valid(const QString &name) const
    {
        fixture::Write_ParGen(
            Project(name, S("ParGen.xml")),
            fixture::With(fixture::Window_ParGen(),
                          {{S("LoRa_RF_Band"), S("EU868")},
                           {S("LoRa_DataRate"), S("0 -\tLoRa: SF12/125kHz 250 [bit/s]")},
                           {S("LoRa_Payload_Size"), S("51")},
                           {S("LoRa_Device_Address"), S("26011F2A")},
                           {S("LoRa_Application_Identifier"), S("70B3D57ED0001234")},
                           {S("LoRa_Network_Session_Key"), S("0123456789ABCDEF0123456789ABCDEF")},
                           {S("LoRa_Application_Session_Key"), S("FEDCBA9876543210FEDCBA9876543210")}}));
        fixture::Write_Rules(Project(name, S("LoRaWAN_SetAccess.xml")),
                             {fixture::Uplink(S("Y"), S("0"), S("4"), S("Y"), S("N"), S("Y"), S("600"), S("Boiler"))},
                             {fixture::Downlink(S("Y"), S("0"), S("2"), S("Setpoint"))});
        fixture::Write_Objects(Project(name, S("BACnet_Slave_SetAccess.xml")),
                               {fixture::Object(S("Analog Input"), S("62"), S("0"), QString(), S("4"), S("Room Temp")),
                                fixture::Object(S("Binary Input"), S("95"), S("4"), S("0"), S("1"), S("Pump Run"))},
                               {fixture::Object(S("Analog Out"), S("98"), S("0"), QString(), S("4"), S("Valve"))});
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir_.isValid());
        QCOMPARE(Run_Cli(dir_.path(), {S("list")}).code, 0);
    }

    void outputs_agree_data()
    {
        QTest::addColumn<QString>("file");    // the document edited by hand, empty for none
        QTest::addColumn<QByteArray>("from"); // a text of the saved document ...
        QTest::addColumn<QByteArray>("to");   // ... and what the hand put in its place
        QTest::addColumn<bool>("images_refused");
        QTest::addColumn<bool>("ede_refused");
        QTest::addColumn<QString>("refusal"); // a piece of the refusal, empty when the wording is not at stake

        const QString pargen = S("ParGen.xml");
        const QString rules = S("LoRaWAN_SetAccess.xml");
        const QString objects = S("BACnet_Slave_SetAccess.xml");
        QTest::newRow("valid configuration")
            << QString() << QByteArray() << QByteArray() << false << false << QString();
        QTest::newRow("BACnet_IP1 300") << pargen << QByteArray("<BACnet_IP1>192<") << QByteArray("<BACnet_IP1>300<")
                                        << true << true << Messages().Get(610);
        QTest::newRow("BACnet_PORT 70000") << pargen << QByteArray("<BACnet_PORT>47808<")
                                           << QByteArray("<BACnet_PORT>70000<") << true << true << Messages().Get(622);
        QTest::newRow("BACnet_DEV_IDE -5") << pargen << QByteArray("<BACnet_DEV_IDE>1<")
                                           << QByteArray("<BACnet_DEV_IDE>-5<") << true << true << Messages().Get(624);
        QTest::newRow("device address longer than its field")
            << pargen << QByteArray(">26011F2A<") << QByteArray(">26011F2A00<") << true << true << QString();
        QTest::newRow("device name longer than its field")
            << pargen << QByteArray(">devicename1</BACnet_NAME_STA>")
            << QByteArray(">devicename1234567</BACnet_NAME_STA>") << true << true << S("BACnet_NAME_STA");
        QTest::newRow("parameters not well-formed")
            << pargen << QByteArray("</Par_Gen>") << QByteArray() << true << true << S("ParGen.xml");
        QTest::newRow("Read Eng_Unit 70000")
            << objects << QByteArray("Eng_Unit=\"62\"") << QByteArray("Eng_Unit=\"70000\"") << true << true
            << Messages().Get(1533);
        QTest::newRow("Read Length 300") << objects << QByteArray("Length=\"4\" Swap=\"\" Mnemonic=\"Room Temp\"")
                                         << QByteArray("Length=\"300\" Swap=\"\" Mnemonic=\"Room Temp\"") << true
                                         << true << Messages().Get(1535);
        QTest::newRow("Binary Input with an empty Length")
            << objects << QByteArray("Length=\"1\" Swap=\"\" Mnemonic=\"Pump Run\"")
            << QByteArray("Length=\"\" Swap=\"\" Mnemonic=\"Pump Run\"") << true << true << S("must be an integer");
        // A type the Read table does not offer would reach the images and the
        // EDE file as different objects, or as none.
        QTest::newRow("Read type with a trailing blank")
            << objects << QByteArray("Data_Type=\"Binary Input\"") << QByteArray("Data_Type=\"Binary Value \"") << true
            << true << S("\"Binary Value \" is not one of the types");
        QTest::newRow("Read type of no table")
            << objects << QByteArray("Data_Type=\"Analog Input\"") << QByteArray("Data_Type=\"Octet String\"") << true
            << true << S("\"Octet String\" is not one of the types");
        QTest::newRow("Write type in the Read table")
            << objects << QByteArray("Data_Type=\"Analog Input\"") << QByteArray("Data_Type=\"Analog Out\"") << true
            << true << S("\"Analog Out\" is not one of the types");
        QTest::newRow("objects not well-formed")
            << objects << QByteArray("</BACnet_in_Write>") << QByteArray("</BACnet_in_Writ>") << true << true
            << S("BACnet_Slave_SetAccess.xml");
        // Saved by an editor in Latin-1, without a declaration: the bytes are
        // not UTF-8, so the document is damaged, not read as "K?che".
        QTest::newRow("objects in Latin-1") << objects << QByteArray("Mnemonic=\"Room Temp\"")
                                            << QByteArray("Mnemonic=\"K\xFC"
                                                          "che\"")
                                            << true << true << S("BACnet_Slave_SetAccess.xml");
        QTest::newRow("attribute given twice")
            << objects << QByteArray("Length=\"4\" Swap=\"\" Mnemonic=\"Room Temp\"")
            << QByteArray("Length=\"4\" Length=\"40\" Swap=\"\" Mnemonic=\"Room Temp\"") << true << true
            << S("BACnet_Slave_SetAccess.xml");
        // The images carry the stored payload, which no window shows: one the
        // band and data rate do not allow stops them. The EDE file does not
        // carry it.
        QTest::newRow("payload 230 for EU868 DR0")
            << pargen << QByteArray("<LoRa_Payload_Size>51<") << QByteArray("<LoRa_Payload_Size>230<") << true << false
            << S("LoRa_Payload_Size");
        // A key typed short would be padded with zeros: the converter never joins.
        QTest::newRow("device address short")
            << pargen << QByteArray(">26011F2A<") << QByteArray(">AE<") << true << true << QString();
        // The EDE file reads no rules: a fault there stops the images only.
        QTest::newRow("rules not well-formed")
            << rules << QByteArray("</LoRaWAN_Uplink>") << QByteArray("</LoRaWAN_Uplin>") << true << false
            << S("LoRaWAN_SetAccess.xml");
        QTest::newRow("uplink longer than the payload")
            << rules << QByteArray("NumByte=\"4\"") << QByteArray("NumByte=\"229\"") << true << false
            << Messages().Get(30);
    }

    void outputs_agree()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, from);
        QFETCH(QByteArray, to);
        QFETCH(bool, images_refused);
        QFETCH(bool, ede_refused);
        QFETCH(QString, refusal);

        const QString name = QString::fromLatin1(QTest::currentDataTag()).remove(u' ');
        QCOMPARE(Run_Cli(dir_.path(), {S("new"), name}).code, 0);
        Write_Valid(name);
        if (!file.isEmpty()) {
            const QByteArray saved = test::Read(Project(name, file));
            QVERIFY2(saved.count(from) == 1, saved.constData());
            test::Write(Project(name, file), QByteArray(saved).replace(from, to));
        }
        // An image of an earlier compilation, which a refusal must keep.
        const QString bank1 = Project(name, S("bin/bank1.bin"));
        const QString bank2 = Project(name, S("bin/bank2.bin"));
        test::Write(bank1, "old image");
        const QString csv = dir_.path() + u'/' + name + S(".csv");

        const Cli_Run check = Run_Cli(dir_.path(), {S("check"), name});
        const Cli_Run compile = Run_Cli(dir_.path(), {S("compile"), name});
        const Cli_Run ede = Run_Cli(dir_.path(), {S("ede"), name, csv});

        if (!images_refused) {
            QCOMPARE(check.code, 0);
            QCOMPARE(check.err, QString());
            QCOMPARE(compile.code, 0);
            QCOMPARE(compile.err, QString());
            QCOMPARE(QFileInfo(bank1).size(), 2048);
            QCOMPARE(QFileInfo(bank2).size(), 75776);
        } else {
            QCOMPARE(check.code, 1);
            QVERIFY2(check.err.contains(refusal), qPrintable(check.err));
            QCOMPARE(compile.code, 1);
            QCOMPARE(compile.err, check.err);
            QCOMPARE(compile.out, QString());
            QCOMPARE(test::Read(bank1), QByteArray("old image"));
            QVERIFY(!QFileInfo::exists(bank2));
            // The update step stops at the same place, before any ping.
            const Cli_Run update = Run_Cli(dir_.path(), {S("update"), name, S("--ip"), S("127.0.0.1")});
            QCOMPARE(update.code, 1);
            QCOMPARE(update.err, check.err);
            QCOMPARE(update.out, QString());
            QCOMPARE(test::Read(bank1), QByteArray("old image"));
        }

        if (!ede_refused) {
            QCOMPARE(ede.code, 0);
            QCOMPARE(ede.err, QString());
            QVERIFY(test::Read(csv).startsWith("PROJECT_NAME"));
        } else {
            QCOMPARE(ede.code, 1);
            QCOMPARE(ede.err, check.err);
            QCOMPARE(ede.out, QString());
            QVERIFY(!QFileInfo::exists(csv));
        }
    }
};

QTEST_APPLESS_MAIN(Test_Gate_Agreement)
#include "test_gate_agreement.moc"
