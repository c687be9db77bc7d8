#include "params/param_messages.h"
#include "params/pargen_check.h"
#include "params/ui/category_panel.h"
#include "pargen_window_fixture.h"
#include "tables/table_messages.h"
#include "widgets/problems_bar.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

using namespace test;

// What OK refuses in the parameter window, and the way out it offers for a
// value the window does not show.
class Test_ParGen_Window_Checks : public ParGen_Window_Fixture
{
    Q_OBJECT

    // The question OK asks about `key`, failing with `message`, holding `value`.
    QString Question(int message, K key, const QString &value) const
    {
        return Msg(Msg_Hidden_Value_Reset)
            .arg(Msg(message), value, Key_Name(key), QDir::toNativeSeparators(ws_.File_ParGen),
                 QString::fromUtf16(Key_Info(key).Default));
    }

private slots:
    void init() { Set_Up(); }
    void cleanup() { Tear_Down(); }

    // The window-free visibility agrees with the widgets for every key, in
    // each layout of activation method and BACnet link.
    void shown_keys_match_the_window_data()
    {
        QTest::addColumn<int>("method");
        QTest::addColumn<int>("type");
        QTest::newRow("ABP, BACnet/IP") << 0 << 0;
        QTest::newRow("ABP, MS/TP") << 0 << 1;
        QTest::newRow("OTAA, BACnet/IP") << 1 << 0;
        QTest::newRow("OTAA, MS/TP") << 1 << 1;
    }

    void shown_keys_match_the_window()
    {
        QFETCH(int, method);
        QFETCH(int, type);
        w_->show();
        Combo(K::LoRa_Activation_Method)->setCurrentIndex(method);
        Combo(K::BACnet_Type)->setCurrentIndex(type);
        int hidden = 0;
        for (K key : All_ParGen_Keys()) {
            QVERIFY2(w_->Input(key)->isVisibleTo(w_.get()) == w_->Form().Shown(key), Key_Info(key).Name);
            hidden += w_->Form().Shown(key) ? 0 : 1;
        }
        // Under BACnet/IP the whole Ethernet group (20 keys) is hidden.
        QCOMPARE(hidden, (method == 0 ? 1 : 4) + (type == 0 ? 20 + 8 : 2 + 16));
    }

    void short_key_is_refused()
    {
        Write_Doc("<LoRa_RF_Band>EU868</LoRa_RF_Band>");
        const QByteArray stored = test::Read(ws_.File_ParGen);
        When_Shown(w_.get(), [&] {
            // "AE" would reach the device as 000000AE.
            QTest::keyClicks(Edit(K::LoRa_Device_Address), u"ae"_s);
            QTest::mouseClick(Btn_OK(), Qt::LeftButton);
            QCOMPARE(Message_Box::Take_Shown(), QStringList{Msg(500)});
            QVERIFY(w_->isVisible());
            QCOMPARE(Edit(K::LoRa_Device_Address)->text(), u"AE"_s);
            QCOMPARE(test::Read(ws_.File_ParGen), stored);

            // With OTAA the ABP keys are not the device's: only the
            // application key counts.
            Combo(K::LoRa_Activation_Method)->setCurrentIndex(1);
            QTest::keyClicks(Edit(K::LoRa_Application_Key), u"0123456789abcdef0123456789abcde"_s);
            QTest::mouseClick(Btn_OK(), Qt::LeftButton);
            QCOMPARE(Message_Box::Take_Shown(), QStringList{Msg(504)});
            QCOMPARE(test::Read(ws_.File_ParGen), stored);

            QTest::keyClicks(Edit(K::LoRa_Application_Key), u"f"_s);
            QTest::mouseClick(Btn_OK(), Qt::LeftButton);
        });
        QCOMPARE(w_->exec(), int(QDialog::Accepted));
        QCOMPARE(Message_Box::Take_Shown(), QStringList());
        const ParGen_Values saved = Saved();
        QCOMPARE(saved[K::LoRa_Application_Key], u"0123456789ABCDEF0123456789ABCDEF"_s);
        QCOMPARE(saved[K::LoRa_Device_Address], u"AE"_s);
    }

    // A field whose value fails a rule is tinted, with the rule's message as
    // its tip, as the user types; the fix, and its undo, follow at once.
    void fields_are_marked_while_typing()
    {
        Write_Doc("<BACnet_Type>1</BACnet_Type><Ethernet_IP1>256</Ethernet_IP1><BACnet_Ser_ID>500</BACnet_Ser_ID>");
        Show_Active();
        const auto base = [](QWidget *w) { return w->palette().color(QPalette::Base); };
        const QColor plain = base(Edit(K::Ethernet_IP2));
        QCOMPARE(Edit(K::Ethernet_IP1)->toolTip(), Msg(465));
        QCOMPARE(Edit(K::BACnet_Ser_ID)->toolTip(), Msg(626));
        QVERIFY(base(Edit(K::Ethernet_IP1)) != plain);
        QVERIFY(base(Edit(K::BACnet_Ser_ID)) != plain);
        QCOMPARE(Edit(K::Ethernet_IP2)->toolTip(), Msg(439));
        QCOMPARE(P_Problems()->L_Problems->text(), Msg(Msg_Errors_Count).arg(2));

        Edit(K::Ethernet_IP1)->setFocus();
        Edit(K::Ethernet_IP1)->selectAll();
        QTest::keyClicks(Edit(K::Ethernet_IP1), u"10"_s);
        QTRY_COMPARE(Edit(K::Ethernet_IP1)->toolTip(), Msg(438));
        QCOMPARE(base(Edit(K::Ethernet_IP1)), plain);
        QCOMPARE(P_Problems()->L_Problems->text(), Msg(Msg_Errors_Count).arg(1));

        // Undo puts the bad value back, and its mark with it.
        QTest::keyClick(Edit(K::Ethernet_IP1), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(Edit(K::Ethernet_IP1)->text(), u"256"_s);
        QTRY_COMPARE(Edit(K::Ethernet_IP1)->toolTip(), Msg(465));
        QVERIFY(base(Edit(K::Ethernet_IP1)) != plain);
        // A gateway octet counts only with its box on.
        Edit(K::Ethernet_GAT1)->setText(u"300"_s);
        QTRY_COMPARE(w_->Problems().size(), 2);
        Box(K::Ethernet_EN_GAT)->setChecked(true);
        QTRY_COMPARE(Edit(K::Ethernet_GAT1)->toolTip(), Msg(473));
        QCOMPARE(P_Problems()->L_Problems->text(), Msg(Msg_Errors_Count).arg(3));
    }

    // F8 and the button go through the failing fields the window shows, in
    // the order of the check and round to the first, opening a collapsed
    // group; a value it does not show (the TCP port) is counted only.
    void next_problem_visits_the_shown_fields()
    {
        Write_Doc("<BACnet_Type>1</BACnet_Type><Ethernet_IP1>256</Ethernet_IP1><BACnet_Ser_ID>500</BACnet_Ser_ID>"
                  "<Ethernet_TCP_Port></Ethernet_TCP_Port>");
        Show_Active();
        QCOMPARE(P_Problems()->L_Problems->text(), Msg(Msg_Errors_Count).arg(3));
        Combo(K::LoRa_RF_Band)->setFocus();
        QStringList visited;
        for (int i = 0; i < 3; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_F8);
            visited << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(visited, (QStringList{u"Ethernet_IP1"_s, u"BACnet_Ser_ID"_s, u"Ethernet_IP1"_s}));
        QTest::mouseClick(P_Problems()->Btn_Next_Problem, Qt::LeftButton);
        QCOMPARE(QApplication::focusWidget(), Edit(K::BACnet_Ser_ID));
        CP_Ethernet()->Set_Collapsed(true);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F8);
        QCOMPARE(QApplication::focusWidget(), Edit(K::Ethernet_IP1));
        QVERIFY(!CP_Ethernet()->Collapsed());
    }

    // An empty TCP port and a bad Ethernet octet under BACnet/IP: neither
    // is shown. Yes puts each back to its default, and OK goes on to save.
    void hidden_value_yes_resets_and_saves()
    {
        Write_Doc("<Ethernet_IP1>256</Ethernet_IP1><Ethernet_TCP_Port></Ethernet_TCP_Port>"
                  "<BACnet_PORT>47900</BACnet_PORT>");
        When_Shown(w_.get(), [&] {
            Message_Box::Queue_Answer(QMessageBox::Yes);
            Message_Box::Queue_Answer(QMessageBox::Yes);
            QTest::mouseClick(Btn_OK(), Qt::LeftButton);
        });
        QCOMPARE(w_->exec(), int(QDialog::Accepted));
        QCOMPARE(Message_Box::Take_Shown(), (QStringList{Question(465, K::Ethernet_IP1, u"256"_s),
                                                         Question(481, K::Ethernet_TCP_Port, QString())}));
        QCOMPARE(Edit(K::Ethernet_IP1)->text(), u"192"_s);
        const ParGen_Values saved = Saved();
        QCOMPARE(saved[K::Ethernet_IP1], u"192"_s);
        QCOMPARE(saved[K::Ethernet_TCP_Port], u"10001"_s);
        QCOMPARE(saved[K::BACnet_PORT], u"47900"_s);
        QVERIFY(Controllo_Dati(saved, 0).Ok());
    }

    // No leaves the window open and writes nothing; once the value is shown
    // (MS/TP shows the Ethernet group) OK refuses it with the plain message.
    void hidden_value_no_writes_nothing()
    {
        Write_Doc("<Ethernet_IP1>256</Ethernet_IP1>");
        const QByteArray stored = test::Read(ws_.File_ParGen);
        When_Shown(w_.get(), [&] {
            Message_Box::Queue_Answer(QMessageBox::No);
            QTest::mouseClick(Btn_OK(), Qt::LeftButton);
            QCOMPARE(Message_Box::Take_Shown(), QStringList{Question(465, K::Ethernet_IP1, u"256"_s)});
            QVERIFY(w_->isVisible());
            QCOMPARE(Edit(K::Ethernet_IP1)->text(), u"256"_s);
            QCOMPARE(test::Read(ws_.File_ParGen), stored);

            Combo(K::BACnet_Type)->setCurrentIndex(1);
            QTest::mouseClick(Btn_OK(), Qt::LeftButton);
            QCOMPARE(Message_Box::Take_Shown(), QStringList{Msg(465)});
            QVERIFY(w_->isVisible());
            QCOMPARE(test::Read(ws_.File_ParGen), stored);
        });
        QCOMPARE(w_->exec(), int(QDialog::Rejected));
        QCOMPARE(test::Read(ws_.File_ParGen), stored);
    }

    // OK says at once what the new values break: a saved uplink rule too
    // long for the payload chosen, a gateway outside its network. No stays
    // with the values and writes nothing; Yes keeps them.
    void ok_warns_of_what_the_values_break()
    {
        Write_Doc("<LoRa_RF_Band>EU868</LoRa_RF_Band><LoRa_DataRate>4 -\tLoRa: SF8/125kHz 3125 [bit/s]</LoRa_DataRate>"
                  "<BACnet_Type>0</BACnet_Type><BACnet_EN_GAT>1</BACnet_EN_GAT>");
        test::Write(ws_.File_LoRaWAN_Access,
                    "<LoRaWAN_Set_Access><LoRaWAN_Uplink><row Enable=\"Y\" StartByte=\"0\" NumByte=\"100\" "
                    "OnChange=\"Y\" OnCMD=\"N\" OnTimer=\"N\" Time=\"\" Mnemonic=\"u\"/></LoRaWAN_Uplink>"
                    "<LoRaWAN_Downlink/></LoRaWAN_Set_Access>");
        const QByteArray stored = test::Read(ws_.File_ParGen);
        const auto set_address = [this](K first, const char *dotted) {
            for (int k = 0; k < 4; ++k)
                Edit(K(int(first) + k))->setText(QString::fromLatin1(dotted).section(u'.', k, k));
        };
        When_Shown(w_.get(), [&] {
            QCOMPARE(Edit(K::LoRa_Payload_Size)->text(), u"222"_s);
            Combo(K::LoRa_DataRate)->setCurrentIndex(0);
            QCOMPARE(Edit(K::LoRa_Payload_Size)->text(), u"51"_s);
            set_address(K::BACnet_IP1, "192.168.2.10");
            set_address(K::BACnet_SM1, "255.255.255.0");
            set_address(K::BACnet_GAT1, "10.0.0.1");
            Message_Box::Queue_Answer(QMessageBox::No);
            QTest::mouseClick(Btn_OK(), Qt::LeftButton);
            const QString payload = Msg(Msg_Payload_Shrinks).arg(49).arg(51).arg(2).arg(1).arg(100);
            const QString gateway =
                Msg(Msg_Gateway_Outside).arg(u"10.0.0.1"_s, u"192.168.2.10"_s, u"255.255.255.0"_s, Msg(546));
            QCOMPARE(Message_Box::Take_Shown(),
                     QStringList{payload + u"\n\n"_s + gateway + u"\n\n"_s + Msg(Msg_Keep_Parameters)});
            QVERIFY(w_->isVisible());
            QCOMPARE(test::Read(ws_.File_ParGen), stored);

            Message_Box::Queue_Answer(QMessageBox::Yes);
            QTest::mouseClick(Btn_OK(), Qt::LeftButton);
        });
        QCOMPARE(w_->exec(), int(QDialog::Accepted));
        QCOMPARE(Message_Box::Take_Shown().size(), 1);
        QCOMPARE(Saved()[K::LoRa_Payload_Size], u"51"_s);
        QCOMPARE(Saved()[K::BACnet_GAT1], u"10"_s);
    }

    // A hand-edited payload is refused by the document check; the window
    // shows and saves the one band and data rate give.
    void ok_stores_the_right_payload()
    {
        Write_Doc("<LoRa_RF_Band>EU868</LoRa_RF_Band><LoRa_Payload_Size>300</LoRa_Payload_Size>");
        QCOMPARE(Check_Stored_Payload(Read_ParGen_Document(ws_.File_ParGen)).First().Message,
                 int(Msg_Payload_Mismatch));
        When_Shown(w_.get(), [&] {
            QCOMPARE(Edit(K::LoRa_Payload_Size)->text(), u"51"_s);
            QTest::mouseClick(Btn_OK(), Qt::LeftButton);
        });
        QCOMPARE(w_->exec(), int(QDialog::Accepted));
        QCOMPARE(Message_Box::Take_Shown(), QStringList());
        QCOMPARE(Saved()[K::LoRa_Payload_Size], u"51"_s);
        QVERIFY(Check_Stored_Payload(Read_ParGen_Document(ws_.File_ParGen)).Ok());
    }
};

QTEST_MAIN(Test_ParGen_Window_Checks)
#include "test_pargen_window_checks.moc"
