#include "core/messages.h"
#include "fake_echo_client.h"
#include "gate/gated_outputs.h"
#include "gate/sent_changes.h"
#include "test_support.h"
#include "update/job_file.h"
#include "update/sent_images.h"
#include "update/ui/address_boxes.h"
#include "update/ui/boot_window.h"
#include "widgets/message_box.h"
#include "window_requirements.h"
#include "workspace/configurations.h"
#include "workspace/settings.h"
#include "workspace/start_workspace.h"
#include "workspace/workspace.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <csignal>
#include <sys/types.h>

namespace {

bool Alive(qint64 pid)
{
    return pid > 0 && ::kill(pid_t(pid), 0) == 0;
}

QStringList Box_Texts(const TFBoot &window)
{
    return {window.E_IP1->text(), window.E_IP2->text(), window.E_IP3->text(), window.E_IP4->text()};
}

// How a text reaches a box: the two paste keys, the context menu's Paste,
// or a drop.
enum class Paste_Way { Ctrl_V, Shift_Insert, Menu, Drop };

} // namespace

Q_DECLARE_METATYPE(Paste_Way)

namespace {

void Paste(QLineEdit *box, const QString &text, Paste_Way way)
{
    switch (way) {
    case Paste_Way::Ctrl_V:
        QGuiApplication::clipboard()->setText(text);
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        break;
    case Paste_Way::Shift_Insert:
        QGuiApplication::clipboard()->setText(text);
        QTest::keyClick(box, Qt::Key_Insert, Qt::ShiftModifier);
        break;
    case Paste_Way::Menu: {
        QGuiApplication::clipboard()->setText(text);
        QContextMenuEvent event(QContextMenuEvent::Keyboard, box->rect().center(),
                                box->mapToGlobal(box->rect().center()));
        QApplication::sendEvent(box, &event);
        auto *menu = box->findChild<QMenu *>();
        QVERIFY(menu);
        QAction *paste = nullptr;
        for (QAction *action : menu->actions())
            if (action->text().startsWith(QStringLiteral("&Paste")))
                paste = action;
        QVERIFY(paste);
        QVERIFY(paste->isEnabled());
        paste->trigger();
        menu->close();
        break;
    }
    case Paste_Way::Drop: {
        // The drop reaches the widget that took the drag when it entered.
        QMimeData mime;
        mime.setText(text);
        const QPoint at = box->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(box, &enter);
        QDropEvent drop(QPointF(at), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(box, &drop);
        break;
    }
    }
}

// The texts that the panel of what will be sent shows, in reading order.
QStringList Panel_Texts(const TFBoot &window)
{
    QList<QLabel *> labels;
    for (QLabel *label : window.P_Images->findChildren<QLabel *>())
        if (label->isVisible())
            labels << label;
    std::sort(labels.begin(), labels.end(),
              [](const QLabel *a, const QLabel *b) { return std::pair(a->y(), a->x()) < std::pair(b->y(), b->x()); });
    QStringList texts;
    for (const QLabel *label : labels)
        texts << label->text();
    return texts;
}

// Whether every text of the panel shows whole, within the panel.
bool Panel_Fits(const TFBoot &window)
{
    for (const QLabel *label : window.P_Images->findChildren<QLabel *>()) {
        if (!label->isVisible())
            continue;
        const int needed = label->wordWrap() ? label->heightForWidth(label->width()) : label->sizeHint().height();
        if ((!label->wordWrap() && label->sizeHint().width() > label->width()) || needed > label->height() ||
            !window.P_Images->rect().contains(label->geometry()))
            return false;
    }
    return true;
}

} // namespace

class Test_Boot_Window : public QObject
{
    Q_OBJECT

    QTemporaryDir dir_;
    Workspace ws_;
    QStringList images_; // the configuration's images, compiled once

    // Shows the window as the main window does, with the configuration's
    // images, runs `act` inside it, then closes it.
    void With_Window(TFBoot &window, const std::function<void()> &act) { With_Images(window, images_, act); }

    void With_Images(TFBoot &window, const QStringList &images, const std::function<void()> &act)
    {
        window.Set_Images(ws_.Project_Name, images);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        act();
        window.close();
    }

    // The small images of known content: "123456789" and 32 zero bytes.
    QStringList Known_Images()
    {
        const QString folder = dir_.filePath(QStringLiteral("known"));
        test::Write(folder + QStringLiteral("/bank1.bin"), "123456789");
        test::Write(folder + QStringLiteral("/bank2.bin"), QByteArray(32, '\0'));
        return {folder + QStringLiteral("/bank1.bin"), folder + QStringLiteral("/bank2.bin")};
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
        const Result<QStringList> compiled = Compile_Configuration(ws_);
        QVERIFY2(compiled.Ok(), qPrintable(compiled.Problem()));
        images_ = compiled.Value();
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
            QCOMPARE(
                (QStringList{window.E_IP1->text(), window.E_IP2->text(), window.E_IP3->text(), window.E_IP4->text()}),
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

    // Keys typed from a box whose text is selected (as Tab leaves it), then
    // perhaps a paste with Ctrl+V into the box that has the focus by then;
    // the window opens on 127.0.0.1.
    void address_typing_and_paste_data()
    {
        QTest::addColumn<int>("start");      // box 0 to 3
        QTest::addColumn<QString>("typed");  // each key to the box with the focus
        QTest::addColumn<QString>("pasted"); // null: no paste
        QTest::addColumn<QStringList>("boxes");
        QTest::addColumn<int>("focus"); // the box with the focus at the end
        const auto boxes = [](const char *a, const char *b, const char *c, const char *d) {
            return QStringList{QLatin1StringView(a), QLatin1StringView(b), QLatin1StringView(c), QLatin1StringView(d)};
        };
        QTest::newRow("typed over the address shown")
            << 0 << QStringLiteral("10.1.1.2") << QString() << boxes("10", "1", "1", "2") << 3;
        QTest::newRow("dot keeps the rest of the address")
            << 1 << QStringLiteral("5.8") << QString() << boxes("127", "5", "8", "1") << 2;
        QTest::newRow("dot in the last box swallowed")
            << 3 << QStringLiteral("9.") << QString() << boxes("127", "0", "0", "9") << 3;
        QTest::newRow("address pasted into box 3")
            << 2 << QString() << QStringLiteral("192.168.2.205") << boxes("192", "168", "2", "205") << 2;
        QTest::newRow("address with blanks pasted")
            << 0 << QString() << QStringLiteral(" 10.0.0.7 ") << boxes("10", "0", "0", "7") << 0;
        QTest::newRow("address pasted after typing")
            << 0 << QStringLiteral("10.") << QStringLiteral("192.168.2.205") << boxes("192", "168", "2", "205") << 1;
        QTest::newRow("octets as numbers")
            << 3 << QString() << QStringLiteral("010.0x0A.0.1") << boxes("10", "10", "0", "1") << 3;
        // Not an address the ping could use: an ordinary paste into the one
        // box, which the ping then refuses with message 1037.
        QTest::newRow("number pasted") << 1 << QString() << QStringLiteral("12") << boxes("127", "12", "0", "1") << 1;
        QTest::newRow("three parts pasted")
            << 3 << QString() << QStringLiteral("1.2.3") << boxes("127", "0", "0", "1.2.3") << 3;
        QTest::newRow("octet above 255 pasted")
            << 3 << QString() << QStringLiteral("1.2.3.300") << boxes("127", "0", "0", "1.2.3.300") << 3;
    }

    void address_typing_and_paste()
    {
        QFETCH(int, start);
        QFETCH(QString, typed);
        QFETCH(QString, pasted);
        QFETCH(QStringList, boxes);
        QFETCH(int, focus);
        ws_.Last_IP_Address = QStringLiteral("127.0.0.1");
        TFBoot window(ws_);
        const QList<QLineEdit *> edits{window.E_IP1, window.E_IP2, window.E_IP3, window.E_IP4};
        With_Window(window, [&] {
            QVERIFY(QTest::qWaitForWindowActive(&window));
            edits[start]->setFocus(Qt::TabFocusReason);
            edits[start]->selectAll();
            for (const QChar key : typed) {
                QWidget *target = QApplication::focusWidget();
                QVERIFY(edits.contains(target));
                QTest::keyClick(target, key.toLatin1());
            }
            if (!pasted.isNull())
                Paste(static_cast<QLineEdit *>(QApplication::focusWidget()), pasted, Paste_Way::Ctrl_V);
            QCOMPARE(Box_Texts(window), boxes);
            QCOMPARE(QApplication::focusWidget(), edits[focus]);
        });
    }

    // Every way of pasting into a box: an address fills all four boxes; any
    // other text goes into that box alone, as before.
    void paste_ways_data()
    {
        QTest::addColumn<Paste_Way>("way");
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QStringList>("boxes");
        const QStringList address{QStringLiteral("192"), QStringLiteral("168"), QStringLiteral("2"),
                                  QStringLiteral("205")};
        const QStringList one_box{QStringLiteral("127"), QStringLiteral("0"), QStringLiteral("12"),
                                  QStringLiteral("1")};
        const QString dotted = QStringLiteral("192.168.2.205");
        const QString number = QStringLiteral("12");
        QTest::newRow("Ctrl+V address") << Paste_Way::Ctrl_V << dotted << address;
        QTest::newRow("Shift+Insert address") << Paste_Way::Shift_Insert << dotted << address;
        QTest::newRow("menu address") << Paste_Way::Menu << dotted << address;
        QTest::newRow("drop address") << Paste_Way::Drop << dotted << address;
        QTest::newRow("Ctrl+V number") << Paste_Way::Ctrl_V << number << one_box;
        QTest::newRow("Shift+Insert number") << Paste_Way::Shift_Insert << number << one_box;
        QTest::newRow("menu number") << Paste_Way::Menu << number << one_box;
        QTest::newRow("drop number") << Paste_Way::Drop << number << one_box;
    }

    void paste_ways()
    {
        QFETCH(Paste_Way, way);
        QFETCH(QString, pasted);
        QFETCH(QStringList, boxes);
        ws_.Last_IP_Address = QStringLiteral("127.0.0.1");
        TFBoot window(ws_);
        With_Window(window, [&] {
            window.E_IP3->clear();
            window.E_IP3->setFocus();
            Paste(window.E_IP3, pasted, way);
            QCOMPARE(Box_Texts(window), boxes);
        });
    }

    // While an update runs the four boxes are locked together: no key, paste
    // or drop changes the address.
    void boxes_read_only_together()
    {
        ws_.Last_IP_Address = QStringLiteral("127.0.0.1");
        TFBoot window(ws_);
        const QStringList shown{QStringLiteral("127"), QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("1")};
        With_Window(window, [&] {
            window.IP_Address_Boxes->Set_Read_Only(true);
            QVERIFY(window.IP_Address_Boxes->Read_Only());
            for (QLineEdit *box : {window.E_IP1, window.E_IP2, window.E_IP3, window.E_IP4})
                QVERIFY(box->isReadOnly());
            window.E_IP2->setFocus();
            QTest::keyClicks(window.E_IP2, QStringLiteral("5"));
            Paste(window.E_IP2, QStringLiteral("192.168.2.205"), Paste_Way::Ctrl_V);
            Paste(window.E_IP2, QStringLiteral("192.168.2.205"), Paste_Way::Shift_Insert);
            Paste(window.E_IP2, QStringLiteral("192.168.2.205"), Paste_Way::Drop);
            QCOMPARE(Box_Texts(window), shown);
            window.IP_Address_Boxes->Set_Read_Only(false);
            for (QLineEdit *box : {window.E_IP1, window.E_IP2, window.E_IP3, window.E_IP4})
                QVERIFY(!box->isReadOnly());
            Paste(window.E_IP2, QStringLiteral("192.168.2.205"), Paste_Way::Ctrl_V);
            QCOMPARE(Box_Texts(window), (QStringList{QStringLiteral("192"), QStringLiteral("168"), QStringLiteral("2"),
                                                     QStringLiteral("205")}));
        });
    }

    // The caption names what the option loads, from the option remembered
    // when the window opens and as the list changes; it fits the button.
    void caption_follows_the_option_data()
    {
        QTest::addColumn<int>("remembered");
        QTest::newRow("firmware and configuration") << 0;
        QTest::newRow("firmware") << 1;
        QTest::newRow("configuration") << 2;
    }

    void caption_follows_the_option()
    {
        QFETCH(int, remembered);
        const int captions[] = {1050, 1051, 1052};
        ws_.Update_Option = remembered;
        TFBoot window(ws_);
        With_Window(window, [&] {
            QCOMPARE(window.Btn_Update->text(), Messages().Get(captions[remembered]));
            for (int option : {2, 0, 1}) {
                window.CB_Update_Options->setCurrentIndex(option);
                QCOMPARE(window.Btn_Update->text(), Messages().Get(captions[option]));
                QVERIFY(window.Btn_Update->sizeHint().width() <= window.Btn_Update->width());
                QCOMPARE(window.Btn_Update->toolTip(), Messages().Get(1035));
            }
        });
        ws_.Update_Option = 0;
    }

    // The option and read-back the user chooses are settings: the settings
    // file keeps them, and the window opens on them again.
    void choices_are_kept_in_the_settings()
    {
        {
            TFBoot window(ws_);
            With_Window(window, [&] {
                window.CB_Update_Options->setFocus();
                QTest::keyClick(window.CB_Update_Options, Qt::Key_Down);
                QTest::keyClick(window.CB_Update_Options, Qt::Key_Down);
                window.CB_Update_Option_Read_Back->click();
            });
        }
        QVERIFY(Save_Setting(ws_).Ok());
        ws_.Update_Option = 0;
        ws_.Update_Read_Back = true;
        QVERIFY(Load_Settings(ws_).Ok());
        QCOMPARE(ws_.Update_Option, 2);
        QVERIFY(!ws_.Update_Read_Back);
        TFBoot window(ws_);
        With_Window(window, [&] {
            QCOMPARE(window.CB_Update_Options->currentIndex(), 2);
            QVERIFY(!window.CB_Update_Option_Read_Back->isChecked());
        });
        ws_.Update_Option = 0;
        ws_.Update_Read_Back = true;
    }

    // A language applied while the window is open: the caption is the new
    // language's, for the option that the refilled list selects.
    void caption_after_a_language_change()
    {
        TFBoot window(ws_);
        With_Window(window, [&] {
            window.CB_Update_Options->setCurrentIndex(2);
            Messages().Set(1050, QStringLiteral("Aggiorna firmware e configurazione"));
            window.Set_Lang();
            QCOMPARE(window.CB_Update_Options->currentIndex(), 0);
            QCOMPARE(window.Btn_Update->text(), QStringLiteral("Aggiorna firmware e configurazione"));
            QVERIFY(window.Btn_Update->sizeHint().width() <= window.Btn_Update->width());
        });
        Messages().Build_Default_Messages();
    }

    // The panel between the title and the address: the configuration, then
    // each image with its size and CRC-32 as `crc32` prints it.
    void shows_what_will_be_sent()
    {
        TFBoot window(ws_);
        With_Images(window, Known_Images(), [&] {
            QCOMPARE(Panel_Texts(window), (QStringList{QStringLiteral("Configuration: Plant"),
                                                       QStringLiteral("bank1.bin"), QStringLiteral("9 bytes"),
                                                       QStringLiteral("CRC-32 CBF43926"), QStringLiteral("bank2.bin"),
                                                       QStringLiteral("32 bytes"), QStringLiteral("CRC-32 190A55AD")}));
            QVERIFY(Panel_Fits(window));
            QVERIFY(window.P_Images->geometry().bottom() < window.E_IP1->y());
            QVERIFY(window.Btn_Update->isEnabled());
            QCOMPARE(window.size(), required::Update_Window);
        });
    }

    // An image that cannot be read (or none given) is said in the panel and
    // the update cannot start; the next showing with readable images can.
    void images_that_cannot_be_read_data()
    {
        QTest::addColumn<QStringList>("images");
        QTest::addColumn<QString>("said");
        const QString gone = dir_.filePath(QStringLiteral("known/gone.bin"));
        QTest::newRow("second image missing")
            << QStringList{dir_.filePath(QStringLiteral("known/bank1.bin")), gone}
            << Messages().Get(Msg_File_Not_Read).arg(QDir::toNativeSeparators(gone), QString());
        QTest::newRow("none given") << QStringList() << Messages().Get(Msg_No_Images);
    }

    void images_that_cannot_be_read()
    {
        QFETCH(QStringList, images);
        QFETCH(QString, said);
        Known_Images();
        TFBoot window(ws_);
        window.Set_Echo_Client(std::make_unique<Fake_Echo_Client>(QList<int>{1024}));
        QSignalSpy done(&window, &TFBoot::Update_Finished);
        With_Images(window, images, [&] {
            const QStringList texts = Panel_Texts(window);
            QCOMPARE(texts.size(), 2);
            QCOMPARE(texts[0], QStringLiteral("Configuration: Plant"));
            QVERIFY2(texts[1].startsWith(said), qPrintable(texts[1]));
            QVERIFY(Panel_Fits(window));
            QVERIFY(!window.Btn_Update->isEnabled());
            QTest::mouseClick(window.Btn_Update, Qt::LeftButton);
        });
        QCOMPARE(done.count(), 0);
        With_Images(window, Known_Images(), [&] {
            QCOMPARE(Panel_Texts(window).size(), 7);
            QVERIFY(window.Btn_Update->isEnabled());
        });
    }

    // "Changes since last update" compares for the address in the boxes at
    // the click, shows the comparison's own text and sends nothing; an
    // address the ping would refuse gets the window's address message.
    void changes_since_last_update_data()
    {
        QTest::addColumn<QString>("octet");
        QTest::addColumn<bool>("listed");
        QTest::newRow("changed since the update to .5") << QStringLiteral("5") << true;
        QTest::newRow("same as the update to .6") << QStringLiteral("6") << false;
        QTest::newRow("no update to .7 kept") << QStringLiteral("7") << false;
        QTest::newRow("box holds 300") << QStringLiteral("300") << false;
    }

    void changes_since_last_update()
    {
        QFETCH(QString, octet);
        QFETCH(bool, listed);
        const Result<Sent_Images> now = Read_Job_Images(ws_.Path_Project);
        QVERIFY(now.Ok());
        Sent_Images before = now.Value();
        before.bank1[100] = char(before.bank1[100] ^ 0x5A);
        QVERIFY(Keep_Sent_Images(ws_.Path_Project, QStringLiteral("127.0.0.5"), before).Ok());
        QVERIFY(Keep_Sent_Images(ws_.Path_Project, QStringLiteral("127.0.0.6"), now.Value()).Ok());
        const QString address = QStringLiteral("127.0.0.") + octet;
        const Result<Sent_Changes> expected = Changes_Since_Last_Update(ws_.Path_Project, address);
        const QString shown = expected ? expected->Text() : Messages().Get(1037);
        QCOMPARE(expected.Ok(), octet != QStringLiteral("300"));

        ws_.Last_IP_Address = QStringLiteral("127.0.0.1");
        const QString job = ws_.Path_Exe + QStringLiteral("/Ethernet_Update.xml");
        QFile::remove(job);
        TFBoot window(ws_);
        window.Set_Echo_Client(std::make_unique<Fake_Echo_Client>(QList<int>{1024}));
        QSignalSpy done(&window, &TFBoot::Update_Finished);
        With_Window(window, [&] {
            QVERIFY(window.Btn_Changes->isEnabled());
            QCOMPARE(window.Btn_Changes->text(), Messages().Get(Msg_Changes_Button));
            QVERIFY(window.Btn_Changes->sizeHint().width() <= window.Btn_Changes->width());
            window.E_IP4->setText(octet);
            Message_Box::Queue_Answer(QMessageBox::Ok);
            QTest::mouseClick(window.Btn_Changes, Qt::LeftButton);
            QCOMPARE(Message_Box::Take_Shown(), QStringList{shown});
            QCOMPARE(window.size(), required::Update_Window);
        });
        if (listed) {
            QVERIFY2(shown.split(u'\n').size() > 1, qPrintable(shown));
            QVERIFY2(shown.contains(QStringLiteral("127.0.0.5")), qPrintable(shown));
        }
        QCOMPARE(done.count(), 0);
        QVERIFY(!QFileInfo::exists(job));
        QCOMPARE(ws_.Last_IP_Address, QStringLiteral("127.0.0.1"));
    }

    // Shown for real, the list lies open below the heading, read-only, one
    // line a difference, however long it is.
    void the_list_box_opens_with_its_list()
    {
        Message_Box::Set_Test_Mode(false);
        QStringList lines;
        for (int i = 0; i < 300; ++i)
            lines << QStringLiteral("difference %1").arg(i);
        QString heading_seen;
        QString list_seen;
        bool list_visible = false;
        bool read_only = false;
        QTimer::singleShot(0, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            heading_seen = box->text();
            if (auto *list = box->findChild<QTextEdit *>()) {
                list_seen = list->toPlainText();
                list_visible = list->isVisible();
                read_only = list->isReadOnly();
            }
            box->accept();
        });
        QWidget parent;
        Message_Box::Information_List(&parent, QStringLiteral("heading"), lines);
        Message_Box::Set_Test_Mode(true);
        QCOMPARE(heading_seen, QStringLiteral("heading"));
        QCOMPARE(list_seen, lines.join(u'\n'));
        QVERIFY(list_visible);
        QVERIFY(read_only);
    }

    // The button is there when something can be compared: readable images
    // and an option that sends them; not while an update runs.
    void changes_button_enabled()
    {
        ws_.Last_IP_Address = QStringLiteral("127.0.0.1");
        Write_Updater("sleep 0.3\n");
        TFBoot window(ws_);
        window.Set_Echo_Client(std::make_unique<Fake_Echo_Client>(QList<int>{1024}));
        With_Window(window, [&] {
            for (const auto &[option, enabled] : {std::pair{0, true}, std::pair{1, false}, std::pair{2, true}}) {
                window.CB_Update_Options->setCurrentIndex(option);
                QCOMPARE(window.Btn_Changes->isEnabled(), enabled);
            }
            QSignalSpy done(&window, &TFBoot::Update_Finished);
            QTest::mouseClick(window.Btn_Update, Qt::LeftButton);
            QVERIFY(!window.Btn_Changes->isEnabled());
            QVERIFY(done.wait(10000));
            Message_Box::Take_Shown();
            QVERIFY(window.Btn_Changes->isEnabled());
        });
        With_Images(window, {}, [&] { QVERIFY(!window.Btn_Changes->isEnabled()); });
        // The suites after this one expect no job file and no copy kept.
        QFile::remove(ws_.Path_Exe + QStringLiteral("/Ethernet_Update.xml"));
        QDir(ws_.Path_Project + QStringLiteral("/bin/sent")).removeRecursively();
        ws_.Update_Option = 0;
        ws_.Update_Read_Back = true;
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
                                 Messages()
                                     .Get(Msg_Update_Context)
                                     .arg(QStringLiteral("Plant"), QStringLiteral("10.1.2.3"), Messages().Get(1017))});
        });
        QCOMPARE(test::Read(record), ws_.Path_Exe.toUtf8() + "\n0\n");
        const QByteArray job = test::Read(ws_.Path_Exe + QStringLiteral("/Ethernet_Update.xml"));
        QVERIFY(job.contains("<IP_Address_Dev>10.1.2.3</IP_Address_Dev>"));
        QVERIFY(job.contains("<Protection>0x304</Protection>"));
        QVERIFY(!job.contains("Sim52K31.sim"));
        // What was sent is kept for that address.
        const auto kept = Read_Sent_Images(ws_.Path_Project, QStringLiteral("10.1.2.3"));
        QVERIFY(kept.Ok() && kept.Value());
        QCOMPARE(kept.Value()->bank1, test::Read(images_.at(0)));
        QCOMPARE(kept.Value()->bank2, test::Read(images_.at(1)));
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

    // An update that ended well but whose images could not be kept: a
    // warning that says both.
    void a_copy_not_kept_is_said()
    {
        Write_Updater("exit 0\n");
        ws_.Last_IP_Address = QStringLiteral("10.1.2.4");
        const QString bank2 = Job_Bank2_Path(ws_.Path_Project);
        const QByteArray compiled = test::Read(bank2);
        QVERIFY(QFile::remove(bank2));
        TFBoot window(ws_);
        window.Set_Echo_Client(std::make_unique<Fake_Echo_Client>(QList<int>{1024}));
        With_Images(window, Known_Images(), [&] {
            window.CB_Update_Options->setCurrentIndex(2);
            QSignalSpy done(&window, &TFBoot::Update_Finished);
            QTest::mouseClick(window.Btn_Update, Qt::LeftButton);
            QVERIFY(done.wait(10000));
        });
        test::Write(bank2, compiled);
        const QStringList shown = Message_Box::Take_Shown();
        QCOMPARE(shown.size(), 1);
        const QStringList parts = shown[0].split(QStringLiteral("\n\n"));
        QCOMPARE(parts.size(), 2);
        QVERIFY2(parts[0].startsWith(Messages().Get(Msg_Update_Done) + u'\n'), qPrintable(parts[0]));
        QVERIFY2(parts[1].startsWith(Messages().Get(Msg_Sent_Not_Kept).section(u'%', 0, 0)), qPrintable(parts[1]));
        QVERIFY2(parts[1].contains(QDir::toNativeSeparators(bank2)), qPrintable(parts[1]));
        QFile::remove(ws_.Path_Exe + QStringLiteral("/Ethernet_Update.xml"));
        ws_.Update_Option = 0;
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
        window.Set_Images(QStringLiteral("Plant"), images_);
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
            QVERIFY2(shown[0].endsWith(QStringLiteral("erasing bank 1\nboot loader does not answer")),
                     qPrintable(shown[0]));
        });
    }
};

QTEST_MAIN(Test_Boot_Window)
#include "test_boot_window.moc"
