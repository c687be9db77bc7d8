#include "params/lora_tables.h"
#include "params/pargen_fields.h"
#include "params/ui/category_panel.h"
#include "pargen_window_fixture.h"
#include "window_requirements.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>

using namespace test;

class Test_ParGen_Window : public ParGen_Window_Fixture
{
    Q_OBJECT

private slots:
    void init() { Set_Up(); }
    void cleanup() { Tear_Down(); }

    // `diff` names each parameter by the group and caption that the window
    // shows it under: its table of fields must say what the window does, in
    // both BACnet types and both activation methods (each shows other rows).
    void comparison_names_inputs_as_the_window_does()
    {
        w_->show();
        for (int type : {0, 1}) {
            Combo(K::BACnet_Type)->setCurrentIndex(type);
            Combo(K::LoRa_Activation_Method)->setCurrentIndex(type);
            for (const ParGen_Field &field : ParGen_Fields()) {
                const QString where =
                    QStringLiteral("key %1, caption %2").arg(int(field.key)).arg(field.caption_message);
                QWidget *input = w_->Input(field.key);
                QVERIFY2(input, qPrintable(where));
                const Category_Panel *panel = nullptr;
                for (const Category_Panel *p : {CP_LoRa(), CP_BACnet_Slave(), CP_Ethernet()})
                    if (input->parentWidget() == p->Client())
                        panel = p;
                QVERIFY2(panel, qPrintable(where));
                QVERIFY2(panel->Caption().endsWith(Messages().Get(field.group_message)), qPrintable(where));
                const QString caption = Messages().Get(field.caption_message);
                if (auto *box = qobject_cast<QCheckBox *>(input)) {
                    QCOMPARE(box->text(), caption);
                    continue;
                }
                // The caption is a label or a check box on the input's row.
                bool found = false;
                for (QWidget *c : panel->Client()->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
                    auto *label = qobject_cast<QLabel *>(c);
                    auto *box = qobject_cast<QCheckBox *>(c);
                    const QString text = label ? label->text() : box ? box->text() : QString();
                    if (text != caption)
                        continue;
                    found = found || !input->isVisible() ||
                            (c->geometry().top() <= input->geometry().bottom() &&
                             c->geometry().bottom() >= input->geometry().top());
                }
                QVERIFY2(found, qPrintable(where));
            }
        }
    }

    void opens_with_the_defaults()
    {
        w_->show();
        QCOMPARE(Message_Box::Take_Shown(), QStringList());
        QCOMPARE(w_->windowTitle(), u"Set Communication"_s);
        QCOMPARE(w_->size(), QSize(required::Parameter_Width, required::Parameter_Height));
        QCOMPARE(Combo(K::LoRa_RF_Band)->currentText(), u"AS923"_s);
        QCOMPARE(Combo(K::LoRa_RF_Band)->count(), required::RF_Bands);
        QCOMPARE(Combo(K::LoRa_DataRate)->currentText(), No_Document_DataRate());
        QCOMPARE(Combo(K::LoRa_DataRate)->maxVisibleItems(), required::Data_Rate_Visible_Items);
        QCOMPARE(Edit(K::LoRa_Payload_Size)->text(), u"230"_s);
        QVERIFY(Edit(K::LoRa_Payload_Size)->isReadOnly());
        QCOMPARE(Combo(K::LoRa_Activation_Method)->currentIndex(), 0);
        QCOMPARE(Combo(K::BACnet_Type)->currentText(), u"BACnet/IP"_s);
        QCOMPARE(Combo(K::BACnet_Ser_Baudrate)->currentText(), u"57600"_s);
        QCOMPARE(Edit(K::BACnet_NAME_STA)->text(), u"devicename1"_s);
        QCOMPARE(Edit(K::Ethernet_IP4)->text(), u"10"_s);
        QVERIFY(!Box(K::Ethernet_EN_DNS)->isChecked());

        // Groups: LoRaWAN then BACnet Slave; Ethernet only for MS/TP.
        QCOMPARE(CP_LoRa()->Caption(), u"1. LoRaWAN"_s);
        QCOMPARE(CP_BACnet_Slave()->Caption(), u"2. BACnet Slave"_s);
        QCOMPARE(CP_Ethernet()->Caption(), u"3. Ethernet"_s);
        QVERIFY(CP_LoRa()->isVisible() && CP_BACnet_Slave()->isVisible());
        QVERIFY(!CP_Ethernet()->isVisible());
        QCOMPARE(CP_LoRa()->y(), 0);
        QCOMPARE(CP_BACnet_Slave()->y(), CP_LoRa()->height());

        // Rows, captions and hints.
        QCOMPARE(Label(K::LoRa_RF_Band)->geometry().topLeft(),
                 QPoint(required::Parameter_Label_Left, required::Parameter_Row1_Label_Top));
        const QRect band = Combo(K::LoRa_RF_Band)->geometry();
        QCOMPARE(band.topLeft(), QPoint(required::Parameter_Input_Left, required::Parameter_Row1_Input_Top));
        QCOMPARE(band.width(), required::Parameter_Input_Width);
        // Network type is row 2, data rate row 4.
        QCOMPARE(Label(K::LoRa_DataRate)->y() - Label(K::LoRa_Network_Type)->y(), 2 * required::Parameter_Row_Pitch);
        QCOMPARE(Edit(K::BACnet_IP1)->width(), required::Parameter_Octet_Width);
        QCOMPARE(Edit(K::BACnet_IP1)->x(), required::Parameter_Input_Left);
        // A dotted address ends where a single input does.
        QCOMPARE(Edit(K::BACnet_IP4)->geometry().right() + 1,
                 required::Parameter_Input_Left + required::Parameter_Input_Width);
        QCOMPARE(Label(K::LoRa_RF_Band)->text(), u"RF Band"_s);
        QCOMPARE(Box(K::LoRa_Adaptive_DataRate)->text(), u"&Adaptive DataRate"_s);
        QCOMPARE(Combo(K::LoRa_RF_Band)->toolTip(), Msg(408));
        QCOMPARE(Edit(K::Ethernet_IP4)->toolTip(), u"Insert Fourth byte of IP Address"_s);
        QCOMPARE(Edit(K::BACnet_GAT3)->toolTip(), Msg(563));
        QCOMPARE(Box(K::Ethernet_EN_GAT)->toolTip(), Msg(448));
        QCOMPARE(Btn_OK()->text(), u"&OK"_s);
        QCOMPARE(Btn_Cancel()->toolTip(), Msg(405));
        QCOMPARE(Btn_OK()->width(), required::Parameter_Button_Width);
        QCOMPARE(Btn_Cancel()->width(), required::Parameter_Button_Width);
        QVERIFY(Btn_OK()->x() < Btn_Cancel()->x());
    }

    void otaa_moves_the_application_key_row()
    {
        w_->show();
        Edit(K::LoRa_Device_Address)->setText(u"0A0B"_s);
        const QString app_key = u"FFEEDDCCBBAA99887766554433221100"_s;
        Edit(K::LoRa_Application_Key)->setText(app_key);
        QVERIFY(!Edit(K::LoRa_Application_Key)->isVisible());
        const int abp_height = CP_LoRa()->height();
        QCOMPARE(abp_height, Category_Panel::Header_Height() +
                                 Edit(K::LoRa_Application_Session_Key)->geometry().bottom() + 1 +
                                 required::Parameter_Group_Margin);

        Combo(K::LoRa_Activation_Method)->setCurrentIndex(1);
        QVERIFY(Edit(K::LoRa_Application_Key)->isVisible());
        QCOMPARE(Label(K::LoRa_Application_Key)->y(), required::Parameter_Row8_Label_Top);
        QCOMPARE(Edit(K::LoRa_Application_Key)->y(), required::Parameter_Row8_Input_Top);
        for (QWidget *abp : {static_cast<QWidget *>(Edit(K::LoRa_Device_Address)),
                             static_cast<QWidget *>(Label(K::LoRa_Application_Identifier)),
                             static_cast<QWidget *>(Edit(K::LoRa_Network_Session_Key)),
                             static_cast<QWidget *>(Edit(K::LoRa_Application_Session_Key))})
            QVERIFY(!abp->isVisible());
        QCOMPARE(CP_LoRa()->height(), Category_Panel::Header_Height() +
                                          Edit(K::LoRa_Application_Key)->geometry().bottom() + 1 +
                                          required::Parameter_Group_Margin);
        QCOMPARE(CP_BACnet_Slave()->y(), CP_LoRa()->height());

        Combo(K::LoRa_Activation_Method)->setCurrentIndex(0);
        QVERIFY(Edit(K::LoRa_Device_Address)->isVisible());
        QVERIFY(!Edit(K::LoRa_Application_Key)->isVisible());
        QCOMPARE(Edit(K::LoRa_Device_Address)->text(), u"0A0B"_s);
        QCOMPARE(CP_LoRa()->height(), abp_height);
        QCOMPARE(w_->Form().Text(K::LoRa_Application_Key), app_key);

        // Saved under OTAA, the hidden ABP keys keep their values, a short
        // one too: only the method's own keys are checked.
        Combo(K::LoRa_Activation_Method)->setCurrentIndex(1);
        QTest::mouseClick(Btn_OK(), Qt::LeftButton);
        QVERIFY(!w_->isVisible());
        const ParGen_Values saved = Saved();
        QCOMPARE(saved[K::LoRa_Activation_Method], u"Over-the-Air Activation [OTAA]"_s);
        QCOMPARE(saved[K::LoRa_Device_Address], u"0A0B"_s);
        QCOMPARE(saved[K::LoRa_Application_Key], app_key);
    }

    void hexadecimal_fields_filter_and_limit_typing()
    {
        Write_Doc("<LoRa_Application_Identifier>0123456789abcdef012</LoRa_Application_Identifier>");
        w_->show();
        QLineEdit *address = Edit(K::LoRa_Device_Address);
        QTest::keyClicks(address, u"ag- b"_s);
        QCOMPARE(address->text(), u"A B"_s);
        address->clear();
        QTest::keyClicks(address, u"123456789"_s);
        QCOMPARE(address->text(), u"12345678"_s);
        // A refused key leaves even the selection as it was.
        address->selectAll();
        QTest::keyClick(address, 'g');
        QCOMPARE(address->text(), u"12345678"_s);
        QVERIFY(address->hasSelectedText());
        QTest::keyClick(address, 'e');
        QCOMPARE(address->text(), u"E"_s);
        QCOMPARE(w_->Form().Text(K::LoRa_Device_Address), u"E"_s);

        // A longer stored value is shown whole; typing adds nothing to it.
        QLineEdit *identifier = Edit(K::LoRa_Application_Identifier);
        QCOMPARE(identifier->text(), u"0123456789abcdef012"_s);
        identifier->end(false);
        QTest::keyClick(identifier, 'a');
        QCOMPARE(identifier->text(), u"0123456789abcdef012"_s);
        QTest::keyClick(identifier, Qt::Key_Backspace);
        QCOMPARE(identifier->text(), u"0123456789abcdef01"_s);

        // Device names: lower case, up to 15 typed characters.
        QLineEdit *name = Edit(K::BACnet_NAME_STA);
        name->clear();
        QTest::keyClicks(name, u"Boiler_Room7ABCDEFG"_s);
        QCOMPARE(name->text(), u"boiler_room7abc"_s);
        QLineEdit *master = Edit(K::BACnet_Ser_Max_Master);
        master->clear();
        QTest::keyClicks(master, u"0X7F"_s);
        QCOMPARE(master->text(), u"0x7f"_s);
        // Octets and ports take any key: validation judges them.
        QTest::keyClicks(Edit(K::BACnet_PORT), u"x-"_s);
        QCOMPARE(Edit(K::BACnet_PORT)->text(), u"47808x-"_s);
    }

    void dot_moves_along_the_octets_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::newRow("Ethernet address to mask") << 1 << int(K::Ethernet_IP4) << int(K::Ethernet_SM1);
        QTest::newRow("Ethernet octet to octet") << 1 << int(K::Ethernet_IP1) << int(K::Ethernet_IP2);
        QTest::newRow("Ethernet gateway to name server") << 1 << int(K::Ethernet_GAT4) << int(K::Ethernet_DNS1);
        QTest::newRow("Ethernet last name-server octet") << 1 << int(K::Ethernet_DNS4) << int(K::Ethernet_DNS4);
        QTest::newRow("BACnet mask to gateway") << 0 << int(K::BACnet_SM4) << int(K::BACnet_GAT1);
        QTest::newRow("BACnet last gateway octet") << 0 << int(K::BACnet_GAT4) << int(K::BACnet_GAT4);
    }

    void dot_moves_along_the_octets()
    {
        QFETCH(int, type);
        QFETCH(int, from);
        QFETCH(int, to);
        Show_Active();
        Combo(K::BACnet_Type)->setCurrentIndex(type);
        auto *field = static_cast<QLineEdit *>(w_->Input(ParGen_Key(from)));
        field->setFocus();
        QCOMPARE(QApplication::focusWidget(), field);
        // No digit filter: other keys reach the field.
        field->clear();
        QTest::keyClicks(field, u"1a"_s);
        QCOMPARE(field->text(), u"1a"_s);
        QTest::keyClick(field, '.');
        QCOMPARE(QApplication::focusWidget(), w_->Input(ParGen_Key(to)));
        QCOMPARE(field->text(), u"1a"_s);
    }

    void band_change_resets_data_rate_and_payload()
    {
        w_->show();
        Combo(K::LoRa_DataRate)->setCurrentIndex(3);
        QCOMPARE(Edit(K::LoRa_Payload_Size)->text(), u"123"_s);
        Combo(K::LoRa_RF_Band)->setCurrentText(u"EU868"_s);
        QCOMPARE(Combo(K::LoRa_DataRate)->count(), 8);
        QCOMPARE(Combo(K::LoRa_DataRate)->currentIndex(), 0);
        QCOMPARE(Combo(K::LoRa_DataRate)->currentText(), u"0 -\tLoRa: SF12/125kHz 250 [bit/s]"_s);
        QCOMPARE(Edit(K::LoRa_Payload_Size)->text(), u"51"_s);
        Combo(K::LoRa_RF_Band)->setCurrentText(u"US915"_s);
        QCOMPARE(Edit(K::LoRa_Payload_Size)->text(), u"11"_s);
        Combo(K::LoRa_DataRate)->setCurrentIndex(3);
        QCOMPARE(Edit(K::LoRa_Payload_Size)->text(), u"242"_s);
        QCOMPARE(w_->Form().Text(K::LoRa_Payload_Size), u"242"_s);
    }

    void width_snaps_back()
    {
        w_->show();
        w_->resize(700, 500);
        QCOMPARE(w_->size(), QSize(required::Parameter_Width, 500));
        w_->resize(300, 650);
        QCOMPARE(w_->size(), QSize(required::Parameter_Width, 650));
        QCOMPARE(Btn_Cancel()->geometry().bottom() < 650, true);
        QCOMPARE(CPG()->geometry().bottom() < Btn_OK()->y(), true);
        QCOMPARE(CPG()->width(), required::Parameter_Width);
    }

    void wheel_scrolls_only_over_the_group_area()
    {
        w_->show();
        w_->resize(required::Parameter_Width, 320);
        QScrollBar *bar = CPG()->verticalScrollBar();
        QVERIFY(bar->maximum() > 3 * QApplication::wheelScrollLines() * bar->singleStep());
        const int band = Combo(K::LoRa_RF_Band)->currentIndex();

        Wheel(Combo(K::LoRa_RF_Band), -120);
        QCOMPARE(bar->value(), QApplication::wheelScrollLines() * bar->singleStep());
        QCOMPARE(Combo(K::LoRa_RF_Band)->currentIndex(), band);
        Wheel(CPG()->viewport(), -240);
        QCOMPARE(bar->value(), 3 * QApplication::wheelScrollLines() * bar->singleStep());
        // Small steps of a touchpad add up to a notch.
        Wheel(CPG()->viewport(), 60);
        QCOMPARE(bar->value(), 3 * QApplication::wheelScrollLines() * bar->singleStep());
        Wheel(CPG()->viewport(), 60);
        QCOMPARE(bar->value(), 2 * QApplication::wheelScrollLines() * bar->singleStep());

        const int value = bar->value();
        Wheel(Btn_OK(), 120);
        Wheel(L_SW_Desc(), -120);
        QCOMPARE(bar->value(), value);
    }

    void groups_collapse_and_restack()
    {
        w_->show();
        const int expanded = CP_LoRa()->height();
        QTest::mouseClick(CP_LoRa()->Header(), Qt::LeftButton);
        QVERIFY(CP_LoRa()->Collapsed());
        QCOMPARE(CP_LoRa()->height(), Category_Panel::Header_Height());
        QCOMPARE(CP_BACnet_Slave()->y(), Category_Panel::Header_Height());
        QVERIFY(!Combo(K::LoRa_RF_Band)->isVisible());
        QTest::mouseClick(CP_LoRa()->Header(), Qt::LeftButton);
        QCOMPARE(CP_LoRa()->height(), expanded);
        QCOMPARE(CP_BACnet_Slave()->y(), expanded);
        QVERIFY(Combo(K::LoRa_RF_Band)->isVisible());
    }

    void tab_order_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("method");
        QTest::newRow("BACnet/IP, ABP") << 0 << 0;
        QTest::newRow("MS/TP, OTAA") << 1 << 1;
    }

    // Tab walks the fields as they read on screen: the rows from the top
    // down, each row from the left, group after group.
    void tab_order()
    {
        QFETCH(int, type);
        QFETCH(int, method);
        Show_Active();
        Combo(K::BACnet_Type)->setCurrentIndex(type);
        Combo(K::LoRa_Activation_Method)->setCurrentIndex(method);

        QList<QWidget *> fields;
        for (QWidget *widget : CPG()->findChildren<QWidget *>())
            if (widget->isVisible() && (widget->focusPolicy() & Qt::TabFocus) && !widget->focusProxy() &&
                (qobject_cast<QLineEdit *>(widget) || qobject_cast<QComboBox *>(widget) ||
                 qobject_cast<QCheckBox *>(widget)))
                fields << widget;
        // A check box and the octets it enables share a row, a few pixels apart.
        const auto centre = [this](const QWidget *widget) { return widget->mapTo(w_.get(), widget->rect().center()); };
        std::sort(fields.begin(), fields.end(), [&](const QWidget *a, const QWidget *b) {
            const QPoint pa = centre(a);
            const QPoint pb = centre(b);
            if (std::abs(pa.y() - pb.y()) > required::Parameter_Row_Pitch / 2)
                return pa.y() < pb.y();
            return pa.x() < pb.x();
        });
        QStringList on_screen;
        for (const QWidget *widget : fields)
            on_screen << widget->objectName();

        fields.first()->setFocus();
        QStringList walked;
        for (QWidget *focus = QApplication::focusWidget(); focus && CPG()->isAncestorOf(focus) && walked.size() < 100;
             focus = QApplication::focusWidget()) {
            walked << focus->objectName();
            QTest::keyClick(focus, Qt::Key_Tab);
        }
        QCOMPARE(walked, on_screen);
        // The field order starts with the band and leaves the group area for OK.
        QCOMPARE(walked.first(), Key_Name(K::LoRa_RF_Band));
        QCOMPARE(QApplication::focusWidget(), Btn_OK());
    }

    void language_change_keeps_group_numbers()
    {
        Messages().Set(406, u"LoRa Funk"_s);
        Messages().Set(436, u"Netzwerk"_s);
        Messages().Set(437, u"IP-Adresse"_s);
        Messages().Set(441, u"Viertes Byte"_s);
        w_->Set_Lang();
        QCOMPARE(CP_LoRa()->Caption(), u"1. LoRa Funk"_s);
        QCOMPARE(CP_Ethernet()->Caption(), u"3. Netzwerk"_s);
        QCOMPARE(Label(K::Ethernet_IP1)->text(), u"IP-Adresse"_s);
        QCOMPARE(Edit(K::Ethernet_IP4)->toolTip(), u"Viertes Byte"_s);
        // Item lists are the stored values and stay as they are.
        QCOMPARE(Combo(K::LoRa_Network_Type)->itemText(1), u"Public"_s);
    }
};

QTEST_MAIN(Test_ParGen_Window)
#include "test_pargen_window.moc"
