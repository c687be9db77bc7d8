#include "app/soft_options.h"
#include "core/messages.h"
#include "test_support.h"
#include "widgets/message_box.h"
#include "window_support.h"
#include "workspace/language_list.h"
#include "workspace/start_workspace.h"
#include "workspace/workspace.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Clicks a check box on its indicator.
void Tick(QCheckBox *box)
{
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
}

} // namespace

class Test_Soft_Options : public QObject
{
    Q_OBJECT

    void Make_Languages(const QString &dir, const QStringList &names)
    {
        for (const QString &name : names)
            test::Write(dir + u'/' + name, "STR0302 = " + name.toUtf8() + "\n");
    }

private slots:
    void init() { Message_Box::Set_Test_Mode(true); }
    void cleanup()
    {
        Message_Box::Set_Test_Mode(false);
        Messages().Build_Default_Messages();
    }

    void listing_and_pages()
    {
        QTemporaryDir dir;
        Make_Languages(dir.path(), {QStringLiteral("german.lng"), QStringLiteral("English.lng"),
                                    QStringLiteral("b.lng"), QStringLiteral("c.lng"), QStringLiteral("d.lng"),
                                    QStringLiteral("e.lng"), QStringLiteral("f.lng"), QStringLiteral("readonly.lng")});
        QFile::setPermissions(dir.filePath(QStringLiteral("readonly.lng")), QFileDevice::ReadOwner);
        QDir().mkdir(dir.filePath(QStringLiteral("folder.lng")));
        test::Write(dir.filePath(QStringLiteral("notes.txt")), "x");

        const QStringList list = Create_Lang_List(dir.path());
        QCOMPARE(list, (QStringList{QStringLiteral("b.lng"), QStringLiteral("c.lng"), QStringLiteral("d.lng"),
                                    QStringLiteral("e.lng"), QStringLiteral("English.lng"), QStringLiteral("f.lng"),
                                    QStringLiteral("german.lng")}));
        Lang_Page one = Update_Lang_Page(list, 1);
        QCOMPARE(one.pages, 2);
        QCOMPARE(one.shown, 6);
        QVERIFY(!one.prev_visible && one.next_visible);
        QCOMPARE(one.names.at(4), QStringLiteral("English"));
        Lang_Page two = Update_Lang_Page(list, 2);
        QCOMPARE(two.shown, 1);
        QCOMPARE(two.names, QStringList{QStringLiteral("german")});
        QVERIFY(two.prev_visible && !two.next_visible);

        Lang_Page six = Update_Lang_Page(list.mid(0, 6), 1);
        QCOMPARE(six.pages, 1);
        QVERIFY(!six.prev_visible && !six.next_visible);
        Lang_Page none = Update_Lang_Page({}, 1);
        QCOMPARE(none.pages, 0);
        QCOMPARE(none.shown, 0);
        QVERIFY(none.next_visible);
        QCOMPARE(Lang_In_Slot({}, 1, 1), QString());
    }

    void flags()
    {
        QTemporaryDir dir;
        QCOMPARE(Flag_File(dir.path(), QStringLiteral("Italiano")), QString());
        test::Write(dir.filePath(QStringLiteral("DefaultFlag.bmp")), "x");
        QCOMPARE(Flag_File(dir.path(), QStringLiteral("Italiano")), dir.filePath(QStringLiteral("DefaultFlag.bmp")));
        test::Write(dir.filePath(QStringLiteral("Italiano.bmp")), "x");
        QCOMPARE(Flag_File(dir.path(), QStringLiteral("Italiano")), dir.filePath(QStringLiteral("Italiano.bmp")));
    }

    void dialog_ok_cancel_and_language()
    {
        QTemporaryDir dir;
        Workspace ws;
        Start_Workspace(ws, dir.path());
        Make_Languages(ws.Path_Language, {QStringLiteral("English.lng"), QStringLiteral("Italiano.lng")});
        test::Write(ws.Path_Language + QStringLiteral("/Italiano.lng"), "STR0312 = Conferma\n");
        int changes = 0;
        TFSoftOptions dialog(ws, [&] { ++changes; });

        // Cancel commits nothing.
        test::When_Shown(&dialog, [&] {
            QVERIFY(!dialog.CB_Update->isEnabled());
            QVERIFY(!dialog.Btn_Check_Update->isEnabled());
            Tick(dialog.CB_En_Con);
            QVERIFY(dialog.CB_Update->isEnabled());
            QTest::mouseClick(dialog.Btn_Cancel, Qt::LeftButton);
        });
        QCOMPARE(dialog.exec(), int(QDialog::Rejected));
        QVERIFY(!ws.Enable_Internet);

        // Picking a language asks, loads it at once; OK keeps it.
        test::When_Shown(&dialog, [&] {
            QCOMPARE(dialog.L_L[1]->text(), QStringLiteral("Italiano"));
            Message_Box::Queue_Answer(QMessageBox::Yes);
            dialog.LangClick(2);
            QCOMPARE(Message_Box::Take_Shown(),
                     QStringList{QStringLiteral("Do you want to change the Language from English to Italiano?")});
            QCOMPARE(Messages().Get(312), QStringLiteral("Conferma"));
            QCOMPARE(changes, 1);
            QCOMPARE(ws.Language_Name, QStringLiteral("English"));
            Tick(dialog.CB_En_Con);
            Tick(dialog.CB_Update);
            QVERIFY(dialog.Btn_Check_Update->isEnabled());
            // Clearing the connection keeps the update tick but disables it.
            Tick(dialog.CB_En_Con);
            QVERIFY(!dialog.CB_Update->isEnabled() && dialog.CB_Update->isChecked());
            QTest::mouseClick(dialog.Btn_OK, Qt::LeftButton);
        });
        QCOMPARE(dialog.exec(), int(QDialog::Accepted));
        QCOMPARE(ws.Language_Name, QStringLiteral("Italiano"));
        QVERIFY(!ws.Enable_Internet);
        QVERIFY(ws.Enable_Update);
        QVERIFY(!ws.Version_Check_Wanted());

        // A "No" leaves the language alone.
        test::When_Shown(&dialog, [&] {
            Message_Box::Queue_Answer(QMessageBox::No);
            dialog.LangClick(1);
            QCOMPARE(dialog.Language_In_Use, QStringLiteral("Italiano"));
            dialog.LangClick(6); // an empty slot does nothing
            QTest::mouseClick(dialog.Btn_Cancel, Qt::LeftButton);
        });
        dialog.exec();
        QCOMPARE(changes, 1);
    }

    void version_check_result()
    {
        QTemporaryDir dir;
        Workspace ws;
        Start_Workspace(ws, dir.path());
        ws.Enable_Internet = ws.Enable_Update = true;
        TFSoftOptions dialog(ws, {});
        Version_Result answer;
        answer.answer = Version_Answer::Newer;
        dialog.Set_Version_Checker([&](QObject *, std::function<void(const Version_Result &)> done) { done(answer); });
        test::When_Shown(&dialog, [&] {
            dialog.PC_Options->setCurrentIndex(1);
            QVERIFY(!dialog.LL_Check_Update->isVisible());
            QTest::mouseClick(dialog.Btn_Check_Update, Qt::LeftButton);
            QVERIFY(dialog.LL_Check_Update->isVisible());
            QVERIFY(dialog.LL_Check_Update->text().contains(QStringLiteral("New Version Available")));
            answer.answer = Version_Answer::Not_Newer;
            QTest::mouseClick(dialog.Btn_Check_Update, Qt::LeftButton);
            QCOMPARE(dialog.LL_Check_Update->text(), QStringLiteral("No Update Available"));
            // A server not reached is never "No Update Available": the
            // label says so and why, as plain text, whole.
            answer.answer = Version_Answer::Not_Reached;
            answer.Problem = QStringLiteral("Could not reach the update server www.tavelin.com: status 302, "
                                            "redirected to https://www.tavelin.com/<new>");
            QTest::mouseClick(dialog.Btn_Check_Update, Qt::LeftButton);
            QCOMPARE(dialog.LL_Check_Update->text(), answer.Problem.toHtmlEscaped());
            QVERIFY(dialog.LL_Check_Update->isVisible());
            QVERIFY(dialog.LL_Check_Update->heightForWidth(dialog.LL_Check_Update->width()) <=
                    dialog.LL_Check_Update->height());
            QVERIFY(dialog.Btn_Check_Update->isEnabled());
            dialog.reject();
        });
        dialog.exec();
    }
};

QTEST_MAIN(Test_Soft_Options)
#include "test_soft_options.moc"
