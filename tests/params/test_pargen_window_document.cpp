#include "app/app.h"
#include "app/main_window.h"
#include "params/lora_tables.h"
#include "params/ui/category_panel.h"
#include "pargen_window_fixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

using namespace test;

class Test_ParGen_Window_Document : public ParGen_Window_Fixture
{
    Q_OBJECT

private slots:
    void init() { Set_Up(); }
    void cleanup() { Tear_Down(); }

    void mstp_shows_the_ethernet_group_and_hidden_values_are_saved()
    {
        w_->show();
        const QRect ip_label = Label(K::BACnet_IP1)->geometry();
        const QRect ip_octet = Edit(K::BACnet_IP1)->geometry();
        Edit(K::BACnet_PORT)->setText(u"47809"_s);

        Combo(K::BACnet_Type)->setCurrentIndex(1);
        QVERIFY(CP_Ethernet()->isVisible());
        QCOMPARE(CP_Ethernet()->y(), CP_BACnet_Slave()->y() + CP_BACnet_Slave()->height());
        QVERIFY(Edit(K::Ethernet_DNS4)->isVisible());
        QVERIFY(Box(K::Ethernet_EN_DNS)->isVisible());
        QVERIFY(!Edit(K::Ethernet_TCP_Port)->isVisible() && !Edit(K::Ethernet_UDP_Port)->isVisible());
        QVERIFY(!Edit(K::BACnet_IP1)->isVisible() && !Edit(K::BACnet_PORT)->isVisible());
        QVERIFY(Edit(K::BACnet_Ser_Network)->isVisible());
        QCOMPARE(Label(K::BACnet_Ser_Baudrate)->y(), ip_label.y());
        QCOMPARE(Combo(K::BACnet_Ser_Baudrate)->y(), ip_octet.y());
        QCOMPARE(Label(K::BACnet_Ser_Network)->y(), ip_label.y() + 7 * 28);
        QCOMPARE(CP_BACnet_Slave()->height(),
                 Category_Panel::Header_Height() + Box(K::BACnet_Desc_Chars_Limit)->geometry().bottom() + 1 + 12);
        QCOMPARE(CP_Ethernet()->height(),
                 Category_Panel::Header_Height() + Edit(K::Ethernet_DNS4)->geometry().bottom() + 1 + 12);
        Edit(K::BACnet_Ser_ID)->setText(u"12"_s);
        Edit(K::Ethernet_IP4)->setText(u"20"_s);

        Combo(K::BACnet_Type)->setCurrentIndex(0);
        QVERIFY(!CP_Ethernet()->isVisible());
        QVERIFY(Edit(K::BACnet_IP1)->isVisible());
        QVERIFY(!Edit(K::BACnet_Ser_ID)->isVisible());
        QCOMPARE(Edit(K::BACnet_PORT)->text(), u"47809"_s);
        QCOMPARE(Edit(K::BACnet_Ser_ID)->text(), u"12"_s);

        QTest::mouseClick(Btn_OK(), Qt::LeftButton);
        QCOMPARE(Message_Box::Take_Shown(), QStringList());
        QCOMPARE(w_->result(), int(QDialog::Accepted));
        QVERIFY(!w_->isVisible());
        const ParGen_Values saved = Saved();
        QCOMPARE(saved[K::BACnet_Type], u"0"_s);
        QCOMPARE(saved[K::BACnet_PORT], u"47809"_s);
        QCOMPARE(saved[K::BACnet_Ser_ID], u"12"_s);
        QCOMPARE(saved[K::Ethernet_IP4], u"20"_s);
        QCOMPARE(saved[K::Ethernet_TCP_Port], u"10001"_s);
    }

    void unknown_band_is_refused_on_ok()
    {
        Write_Doc("<LoRa_RF_Band>EU 868</LoRa_RF_Band><LoRa_Payload_Size>51</LoRa_Payload_Size>");
        w_->show();
        QCOMPARE(Combo(K::LoRa_RF_Band)->currentIndex(), -1);
        QCOMPARE(Combo(K::LoRa_DataRate)->count(), 0);
        QCOMPARE(Edit(K::LoRa_Payload_Size)->text(), u"0"_s);
        QTest::mouseClick(Btn_OK(), Qt::LeftButton);
        QCOMPARE(Message_Box::Take_Shown(), QStringList{Msg(493)});
        QVERIFY(w_->isVisible());
    }

    void validation_failure_keeps_the_window_open()
    {
        Write_Doc("<BACnet_Type>1</BACnet_Type><BACnet_Ser_Network>3</BACnet_Ser_Network>");
        const QByteArray stored = test::Read(ws_.File_ParGen);
        When_Shown(w_.get(), [&] {
            Edit(K::Ethernet_IP1)->setText(u"256"_s);
            Edit(K::BACnet_Ser_Network)->setText(u"7"_s);
            Box(K::Ethernet_EN_DNS)->setChecked(true);
            QTest::mouseClick(Btn_OK(), Qt::LeftButton);
            QCOMPARE(Message_Box::Take_Shown(), QStringList{Msg(465)});
            QVERIFY(w_->isVisible());
            QCOMPARE(Edit(K::Ethernet_IP1)->text(), u"256"_s);
            QCOMPARE(Edit(K::BACnet_Ser_Network)->text(), u"7"_s);
            QVERIFY(Box(K::Ethernet_EN_DNS)->isChecked());
            QCOMPARE(Combo(K::BACnet_Type)->currentIndex(), 1);
            QCOMPARE(test::Read(ws_.File_ParGen), stored);

            // The MS/TP rules run after the Ethernet ones.
            Edit(K::Ethernet_IP1)->setText(u"10"_s);
            Edit(K::BACnet_Ser_Max_Master)->setText(u"0"_s);
            QTest::mouseClick(Btn_OK(), Qt::LeftButton);
            QCOMPARE(Message_Box::Take_Shown(), QStringList{Msg(627)});
            QVERIFY(w_->isVisible());

            Edit(K::BACnet_Ser_Max_Master)->setText(u"127"_s);
            QTest::mouseClick(Btn_OK(), Qt::LeftButton);
        });
        QCOMPARE(w_->exec(), int(QDialog::Accepted));
        QCOMPARE(Message_Box::Take_Shown(), QStringList());
        const ParGen_Values saved = Saved();
        QCOMPARE(saved[K::Ethernet_IP1], u"10"_s);
        QCOMPARE(saved[K::BACnet_Ser_Network], u"7"_s);
        QCOMPARE(saved[K::BACnet_Ser_Max_Master], u"127"_s);
        QCOMPARE(saved[K::Ethernet_EN_DNS], u"1"_s);
    }

    void cancel_leaves_the_document_untouched()
    {
        Write_Doc("<LoRa_RF_Band>KR920</LoRa_RF_Band><BACnet_PORT>47900</BACnet_PORT>");
        const QByteArray stored = test::Read(ws_.File_ParGen);
        When_Shown(w_.get(), [&] {
            Edit(K::BACnet_PORT)->setText(u"1"_s);
            Combo(K::LoRa_RF_Band)->setCurrentIndex(0);
            Message_Box::Queue_Answer(QMessageBox::Yes);
            QTest::mouseClick(Btn_Cancel(), Qt::LeftButton);
        });
        QCOMPARE(w_->exec(), int(QDialog::Rejected));
        QCOMPARE(Message_Box::Take_Shown(), QStringList{Msg(Msg_Discard_Changes)});
        QCOMPARE(test::Read(ws_.File_ParGen), stored);

        // The next opening shows the document again, not the cancelled values.
        w_->show();
        QCOMPARE(Edit(K::BACnet_PORT)->text(), u"47900"_s);
        QCOMPARE(Combo(K::LoRa_RF_Band)->currentText(), u"KR920"_s);
        QCOMPARE(Edit(K::LoRa_Payload_Size)->text(), u"51"_s);
        w_->close();
        QCOMPARE(test::Read(ws_.File_ParGen), stored);
        QCOMPARE(Message_Box::Take_Shown(), QStringList());
    }

    void damaged_document_is_reported_before_the_defaults()
    {
        test::Write(ws_.File_ParGen, "<Par_Gen><LoRa_RF_Band>EU868</LoRa_RF_Band>\n<BACnet_Type>1</Par_Gen>");
        const QString problem = Read_ParGen_Document(ws_.File_ParGen).Problem();
        QVERIFY(problem.contains(QDir::toNativeSeparators(ws_.File_ParGen)));
        QVERIFY(problem.contains(u"line 2"_s));
        w_->show();
        QCOMPARE(Message_Box::Take_Shown(), QStringList{problem});
        QCOMPARE(Combo(K::LoRa_RF_Band)->currentText(), u"AS923"_s);
        QCOMPARE(Combo(K::LoRa_DataRate)->currentText(), No_Document_DataRate());
        QCOMPARE(Combo(K::BACnet_Type)->currentIndex(), 0);
    }

    void damaged_document_warning_with_a_real_box()
    {
        // The box comes up while the window is still hidden; the window
        // shows the defaults once the box is answered.
        Message_Box::Set_Test_Mode(false);
        test::Write(ws_.File_ParGen, "<Par_Gen><BACnet_Type>1</BACnet_Type");
        QStringList seen;
        auto *timer = new QTimer(w_.get());
        timer->setInterval(10);
        connect(timer, &QTimer::timeout, w_.get(), [&, timer] {
            QWidget *modal = QApplication::activeModalWidget();
            if (auto *box = qobject_cast<QMessageBox *>(modal)) {
                seen << u"box"_s + (w_->isVisible() ? u" over the window"_s : QString());
                QVERIFY(box->text().contains(QDir::toNativeSeparators(ws_.File_ParGen)));
                box->button(QMessageBox::Ok)->click();
            } else if (modal == w_.get()) {
                timer->stop();
                seen << Combo(K::BACnet_Type)->currentText();
                w_->reject();
            }
        });
        timer->start();
        QCOMPARE(w_->exec(), int(QDialog::Rejected));
        QCOMPARE(seen, (QStringList{u"box"_s, u"BACnet/IP"_s}));
    }

    void write_failure_keeps_the_window_open()
    {
        ws_.File_ParGen = dir_->filePath(u"gone/ParGen.xml"_s);
        When_Shown(w_.get(), [&] {
            Edit(K::BACnet_PORT)->setText(u"47809"_s);
            QTest::mouseClick(Btn_OK(), Qt::LeftButton);
            const QStringList shown = Message_Box::Take_Shown();
            QCOMPARE(shown.size(), 1);
            QVERIFY(shown[0].startsWith(Msg(Msg_File_Not_Written).section(u'%', 0, 0)));
            QVERIFY(shown[0].contains(QDir::toNativeSeparators(ws_.File_ParGen)));
            QVERIFY(w_->isVisible());
            QCOMPARE(Edit(K::BACnet_PORT)->text(), u"47809"_s);
        });
        QCOMPARE(w_->exec(), int(QDialog::Rejected));
    }

    void enter_neither_moves_nor_presses_ok()
    {
        When_Shown(w_.get(), [&] {
            Edit(K::BACnet_PORT)->setFocus();
            QTest::keyClick(Edit(K::BACnet_PORT), Qt::Key_Return);
            QTest::keyClick(Edit(K::BACnet_PORT), Qt::Key_Enter, Qt::KeypadModifier);
            QVERIFY(w_->isVisible());
            QCOMPARE(QApplication::focusWidget(), Edit(K::BACnet_PORT));
            QVERIFY(!QFile::exists(ws_.File_ParGen));
        });
        QCOMPARE(w_->exec(), int(QDialog::Rejected));
    }

    void main_window_step_opens_the_window()
    {
        Workspace ws;
        ws = ws_;
        Windows &windows = Create_Windows(ws);
        auto *window = qobject_cast<TFParGen *>(windows.FParGen);
        QVERIFY(window);
        When_Shown(window, [window] {
            QCOMPARE(test::Find<QComboBox>(*window, Key_Name(K::LoRa_RF_Band))->currentText(), u"AS923"_s);
            QTest::mouseClick(test::Find<QPushButton>(*window, u"Btn_OK"_s), Qt::LeftButton);
        });
        QTest::mouseClick(windows.FQuarneleFirmWare->Btn_Prm_Gen, Qt::LeftButton);
        QCOMPARE(Saved()[K::LoRa_DataRate], No_Document_DataRate());
        delete windows.FQuarneleFirmWare;
    }
};

QTEST_MAIN(Test_ParGen_Window_Document)
#include "test_pargen_window_document.moc"
