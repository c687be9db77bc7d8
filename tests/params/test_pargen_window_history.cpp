#include "params/ui/category_panel.h"
#include "pargen_window_fixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

using namespace test;

namespace {

// What the window shows for every key (the control's value, whether it is
// shown) and what its form holds, with the data-rate list and the groups:
// an undo that forgot a list, a layout or the form shows up here.
QStringList Shown_State(const TFParGen &w)
{
    QStringList state;
    for (K key : All_ParGen_Keys()) {
        QWidget *input = w.Input(key);
        QString value;
        if (auto *combo = qobject_cast<QComboBox *>(input))
            value = QString::number(combo->currentIndex()) + u' ' + combo->currentText();
        else if (auto *box = qobject_cast<QCheckBox *>(input))
            value = box->isChecked() ? u"on"_s : u"off"_s;
        else
            value = static_cast<QLineEdit *>(input)->text();
        state << u"%1: '%2' form '%3' %4"_s.arg(Key_Name(key), value, w.Form().Values()[key],
                                                input->isVisibleTo(&w) ? u"shown"_s : u"hidden"_s);
    }
    QStringList rates;
    for (int i = 0; i < static_cast<QComboBox *>(w.Input(K::LoRa_DataRate))->count(); ++i)
        rates << static_cast<QComboBox *>(w.Input(K::LoRa_DataRate))->itemText(i);
    state << u"data rates: "_s + rates.join(u'|');
    state << u"Ethernet group: "_s + (test::Group_Panel(w, 2)->isVisibleTo(&w) ? u"shown"_s : u"hidden"_s);
    return state;
}

enum class Close_Way { Cancel, Escape, Close_Box };
enum class Before_Closing { Nothing, Edit, Edit_Undone, Typed_Back };

} // namespace

Q_DECLARE_METATYPE(Close_Way)
Q_DECLARE_METATYPE(Before_Closing)

class Test_ParGen_Window_History : public ParGen_Window_Fixture
{
    Q_OBJECT

    void Close(Close_Way way)
    {
        switch (way) {
        case Close_Way::Cancel:
            QTest::mouseClick(Btn_Cancel(), Qt::LeftButton);
            break;
        case Close_Way::Escape:
            QTest::keyClick(Edit(K::BACnet_PORT), Qt::Key_Escape);
            break;
        case Close_Way::Close_Box:
            w_->close();
            break;
        }
    }

private slots:
    void init() { Set_Up(); }
    void cleanup() { Tear_Down(); }

    // Four steps (a typing burst, a band with its data-rate list and
    // payload, a check box, a BACnet type with its rows and the Ethernet
    // group) go back to the loaded window and forward again, whichever
    // control has the keys: an edit, whose own undo must not take them, a
    // drop-down, or the window.
    void undo_and_redo_walk_the_steps_data()
    {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<QKeyCombination>("redo");
        QTest::newRow("edit, Ctrl+Shift+Z")
            << u"BACnet_NAME_STA"_s << (Qt::ControlModifier | Qt::ShiftModifier | Qt::Key_Z);
        QTest::newRow("drop-down, Ctrl+Y") << u"LoRa_RF_Band"_s << (Qt::ControlModifier | Qt::Key_Y);
        QTest::newRow("window, Ctrl+Y") << u"FParGen"_s << (Qt::ControlModifier | Qt::Key_Y);
    }

    void undo_and_redo_walk_the_steps()
    {
        QFETCH(QString, focus);
        QFETCH(QKeyCombination, redo);
        Write_Doc("<LoRa_RF_Band>KR920</LoRa_RF_Band><BACnet_NAME_STA>plant</BACnet_NAME_STA>");
        w_->show();
        QWidget *keys = focus == w_->objectName() ? w_.get() : w_->findChild<QWidget *>(focus);
        QVERIFY(keys);
        const auto undo = [&] { QTest::keyClick(keys, Qt::Key_Z, Qt::ControlModifier); };
        const auto again = [&] { QTest::keyClick(keys, redo.key(), redo.keyboardModifiers()); };

        QList<QStringList> states{Shown_State(*w_)};
        // Typed letters are turned into lower case: the typing rule's own
        // change of the text is part of the same step.
        QTest::keyClicks(Edit(K::BACnet_NAME_STA), u"North2"_s);
        QCOMPARE(Edit(K::BACnet_NAME_STA)->text(), u"plantnorth2"_s);
        states << Shown_State(*w_);
        Combo(K::LoRa_RF_Band)->setCurrentText(u"EU868"_s);
        QCOMPARE(Edit(K::LoRa_Payload_Size)->text(), u"51"_s);
        states << Shown_State(*w_);
        QTest::mouseClick(Box(K::BACnet_Desc_Chars_Limit), Qt::LeftButton);
        QVERIFY(Box(K::BACnet_Desc_Chars_Limit)->isChecked());
        states << Shown_State(*w_);
        Combo(K::BACnet_Type)->setCurrentIndex(1);
        QVERIFY(CP_Ethernet()->isVisible());
        states << Shown_State(*w_);
        QCOMPARE(w_->History().count(), 4);

        for (int i = 3; i >= 0; --i) {
            undo();
            QCOMPARE(Shown_State(*w_), states[i]);
        }
        QVERIFY(!w_->Changed());
        undo(); // nothing left to undo
        QCOMPARE(Shown_State(*w_), states[0]);
        for (int i = 1; i <= 4; ++i) {
            again();
            QCOMPARE(Shown_State(*w_), states[i]);
        }
        again();
        QCOMPARE(Shown_State(*w_), states[4]);

        // A change after an undo replaces what could be redone.
        undo();
        undo();
        Edit(K::Ethernet_IP4)->setText(u"77"_s);
        again();
        QCOMPARE(w_->History().count(), 3);
        QCOMPARE(Edit(K::Ethernet_IP4)->text(), u"77"_s);
        QVERIFY(!Box(K::BACnet_Desc_Chars_Limit)->isChecked());
        undo();
        QCOMPARE(Shown_State(*w_), states[2]);
    }

    // Typing is one step per burst: it ends when the edit loses the focus
    // or another field changes.
    void typing_is_one_step_per_burst()
    {
        Show_Active();
        QLineEdit *port = Edit(K::BACnet_PORT);
        QLineEdit *mac = Edit(K::BACnet_Ser_ID);
        port->setFocus();
        QTest::keyClick(port, Qt::Key_Backspace);
        QTest::keyClicks(port, u"9"_s);
        QCOMPARE(port->text(), u"47809"_s);
        QCOMPARE(w_->History().count(), 1);

        Edit(K::BACnet_DEV_IDE)->setFocus();
        port->setFocus();
        QTest::keyClicks(port, u"1"_s);
        QCOMPARE(w_->History().count(), 2);

        // A change elsewhere, without the focus moving, ends the burst too.
        Box(K::LoRa_Adaptive_DataRate)->setChecked(true);
        QTest::keyClicks(port, u"2"_s);
        mac->setText(u"5"_s); // set by hand: its own step
        mac->setText(u"6"_s); // the same burst
        QCOMPARE(w_->History().count(), 5);

        const QStringList undone = {u"4780912:0"_s, u"478091:0"_s, u"478091:0"_s, u"47809:0"_s, u"47808:0"_s};
        for (const QString &expected : undone) {
            QTest::keyClick(port, Qt::Key_Z, Qt::ControlModifier);
            QCOMPARE(port->text() + u':' + mac->text(), expected);
        }
        QVERIFY(!Box(K::LoRa_Adaptive_DataRate)->isChecked());
        QVERIFY(!w_->Changed());
    }

    // Return on the real question keeps the window and what was typed.
    void return_on_the_question_keeps_the_edits()
    {
        Show_Active();
        QTest::keyClicks(Edit(K::BACnet_PORT), u"1"_s);
        const QString typed = Edit(K::BACnet_PORT)->text();
        Message_Box::Set_Test_Mode(false);
        QString asked;
        auto *poll = new QTimer(w_.get());
        connect(poll, &QTimer::timeout, this, [&asked, poll] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            poll->stop();
            asked = box->text();
            QTest::keyClick(box, Qt::Key_Return);
        });
        poll->start(10);
        QTest::mouseClick(Btn_Cancel(), Qt::LeftButton);
        Message_Box::Set_Test_Mode(true);
        QCOMPARE(asked, Msg(Msg_Discard_Changes));
        QVERIFY(w_->isVisible());
        QCOMPARE(Edit(K::BACnet_PORT)->text(), typed);
    }

    // The question comes only when a value differs from the opening's; No
    // keeps the window and the values, Yes closes it with the document
    // untouched, and the next opening starts a new history.
    void closing_asks_only_after_a_change_data()
    {
        QTest::addColumn<Close_Way>("way");
        QTest::addColumn<Before_Closing>("before");
        QTest::addColumn<bool>("asks");
        const std::pair<const char *, Close_Way> ways[] = {
            {"Cancel", Close_Way::Cancel}, {"Escape", Close_Way::Escape}, {"close box", Close_Way::Close_Box}};
        for (const auto &[name, way] : ways) {
            QTest::addRow("%s, nothing changed", name) << way << Before_Closing::Nothing << false;
            QTest::addRow("%s, after an edit", name) << way << Before_Closing::Edit << true;
            QTest::addRow("%s, edit undone", name) << way << Before_Closing::Edit_Undone << false;
            QTest::addRow("%s, typed back", name) << way << Before_Closing::Typed_Back << false;
        }
    }

    void closing_asks_only_after_a_change()
    {
        QFETCH(Close_Way, way);
        QFETCH(Before_Closing, before);
        QFETCH(bool, asks);
        Write_Doc("<LoRa_RF_Band>KR920</LoRa_RF_Band><BACnet_PORT>47900</BACnet_PORT>");
        const QByteArray stored = test::Read(ws_.File_ParGen);
        Show_Active();
        Edit(K::BACnet_PORT)->setFocus();
        switch (before) {
        case Before_Closing::Nothing:
            break;
        case Before_Closing::Edit:
            Combo(K::LoRa_RF_Band)->setCurrentText(u"AS923"_s);
            QTest::keyClicks(Edit(K::BACnet_PORT), u"1"_s);
            break;
        case Before_Closing::Edit_Undone:
            Combo(K::LoRa_RF_Band)->setCurrentText(u"AS923"_s);
            QTest::keyClick(w_.get(), Qt::Key_Z, Qt::ControlModifier);
            break;
        case Before_Closing::Typed_Back:
            QTest::keyClicks(Edit(K::BACnet_PORT), u"1"_s);
            QTest::keyClick(Edit(K::BACnet_PORT), Qt::Key_Backspace);
            break;
        }
        QCOMPARE(w_->Changed(), asks);

        if (asks) {
            Message_Box::Queue_Answer(QMessageBox::No);
            Close(way);
            QCOMPARE(Message_Box::Take_Shown(), QStringList{Msg(Msg_Discard_Changes)});
            QVERIFY(w_->isVisible());
            QCOMPARE(Edit(K::BACnet_PORT)->text(), u"479001"_s);
            QCOMPARE(Combo(K::LoRa_RF_Band)->currentText(), u"AS923"_s);
            Message_Box::Queue_Answer(QMessageBox::Yes);
        }
        Close(way);
        QCOMPARE(Message_Box::Take_Shown(), asks ? QStringList{Msg(Msg_Discard_Changes)} : QStringList());
        QVERIFY(!w_->isVisible());
        QCOMPARE(w_->result(), int(QDialog::Rejected));
        QCOMPARE(test::Read(ws_.File_ParGen), stored);

        // The next opening shows the document, with nothing to undo.
        w_->show();
        QCOMPARE(Edit(K::BACnet_PORT)->text(), u"47900"_s);
        QCOMPARE(Combo(K::LoRa_RF_Band)->currentText(), u"KR920"_s);
        QCOMPARE(w_->History().count(), 0);
        QTest::keyClick(w_.get(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(Combo(K::LoRa_RF_Band)->currentText(), u"KR920"_s);
        QVERIFY(!w_->Changed());
    }

    void ok_saves_without_asking()
    {
        w_->show();
        Edit(K::BACnet_PORT)->setText(u"47809"_s);
        QTest::mouseClick(Btn_OK(), Qt::LeftButton);
        QCOMPARE(Message_Box::Take_Shown(), QStringList());
        QCOMPARE(w_->result(), int(QDialog::Accepted));
        QCOMPARE(Saved()[K::BACnet_PORT], u"47809"_s);
    }
};

QTEST_MAIN(Test_ParGen_Window_History)
#include "test_pargen_window_history.moc"
