// A workspace the program may read but not write (a read-only mount, a
// folder of another user): every command either does its reading work or
// says clearly what it could not write and ends with 1, nothing in the
// workspace changes, and closing the configurator reports the settings file
// that could not be saved but closes all the same.

#include "app/app.h"
#include "app/main_window.h"
#include "app/new_project.h"
#include "core/messages.h"
#include "fault_support.h"
#include "widgets/message_box.h"
#include "workspace/workspace.h"

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

class Test_Read_Only_Workspace : public QObject
{
    Q_OBJECT

    QTemporaryDir dir_;
    QTemporaryDir outside_; // a writable folder beside the workspace
    QString ws_;

private slots:
    void initTestCase()
    {
        QVERIFY(dir_.isValid() && outside_.isValid());
        ws_ = dir_.filePath(QStringLiteral("ws"));
        faults::Make_Configuration(ws_, QStringLiteral("Plant"));
        // The images exist already, so that the dump command has one to read.
        const faults::Run_Result compiled = faults::Run_In(ws_, {QStringLiteral("compile"), QStringLiteral("Plant")});
        QVERIFY2(compiled.code == 0, qPrintable(compiled.Describe()));
        test::Write(ws_ + QStringLiteral("/Quarnel.xml"),
                    "<Conf_Settings><lastproj><projectname>Plant</projectname></lastproj></Conf_Settings>");
    }

    void commands_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("says"); // in what the command printed

        const QString not_written = QStringLiteral("could not be written");
        const QString bank1 = QStringLiteral("bank1.bin");
        auto row = [](const char *name, QStringList args, int code, QString says) {
            QTest::newRow(name) << args << code << says;
        };
        row("list", {QStringLiteral("list")}, 0, QStringLiteral("Plant"));
        row("check", {QStringLiteral("check"), QStringLiteral("Plant")}, 0, QString());
        row("dump", {QStringLiteral("dump"), ws_ + QStringLiteral("/PROJECTS/Plant/bin/bank1.bin")}, 0,
            QStringLiteral("checksum"));
        row("ede outside the workspace",
            {QStringLiteral("ede"), QStringLiteral("Plant"), outside_.filePath(QStringLiteral("plant"))}, 0,
            QStringLiteral("plant.csv"));
        row("new", {QStringLiteral("new"), QStringLiteral("Plant B")}, 1, QStringLiteral("PROJECTS/Plant B"));
        row("ede into the workspace", {QStringLiteral("ede"), QStringLiteral("Plant"), ws_ + QStringLiteral("/plant")},
            1, not_written);
        row("jobfile",
            {QStringLiteral("jobfile"), QStringLiteral("Plant"), QStringLiteral("--ip"),
             QStringLiteral("192.168.2.205")},
            1, QStringLiteral("Ethernet_Update.xml"));
        row("compile", {QStringLiteral("compile"), QStringLiteral("Plant")}, 1, bank1);
        // The images are written before any ping: it ends there.
        row("update",
            {QStringLiteral("update"), QStringLiteral("Plant"), QStringLiteral("--ip"), QStringLiteral("127.0.0.1")}, 1,
            bank1);
    }

    void commands()
    {
        QFETCH(QStringList, args);
        QFETCH(int, code);
        QFETCH(QString, says);
        const auto before = faults::Snapshot(ws_);
        faults::Read_Only_Folder read_only(ws_);
        if (!read_only.Problem().isEmpty())
            QSKIP(qPrintable(QStringLiteral("no read-only folder here: ") + read_only.Problem()));

        const faults::Run_Result run = faults::Run_In(ws_, args);
        QVERIFY2(!run.crashed && !run.hung, qPrintable(run.Describe()));
        QVERIFY2(run.code == code, qPrintable(run.Describe()));
        QVERIFY2(QString(run.out + run.err).contains(says), qPrintable(run.Describe()));
        if (code != 0) {
            // Said clearly: the file or folder, and the system's reason.
            const QString marker = QStringLiteral("could not be written: ");
            const qsizetype at = run.err.indexOf(marker);
            QVERIFY2(at > 0 && !run.err.mid(at + marker.size()).trimmed().isEmpty(), qPrintable(run.Describe()));
        }
        QCOMPARE(faults::Snapshot(ws_), before);
    }

    // The new-configuration dialog refuses the name, says why, and stays open.
    void new_configuration_dialog()
    {
        Workspace ws;
        Start_Workspace(ws, ws_);
        faults::Read_Only_Folder read_only(ws_);
        if (!read_only.Problem().isEmpty())
            QSKIP(qPrintable(QStringLiteral("no read-only folder here: ") + read_only.Problem()));

        Message_Box::Set_Test_Mode(true);
        Windows &windows = Create_Windows(ws);
        TFNew_Project *dialog = windows.FNew_Project;
        QTimer::singleShot(0, dialog, [dialog] {
            QTest::keyClicks(dialog->E_New_Proj, QStringLiteral("Plant B"));
            QTest::mouseClick(dialog->Btn_OK, Qt::LeftButton);
            QVERIFY(dialog->isVisible());
            dialog->reject();
        });
        dialog->exec();
        const QStringList shown = Message_Box::Take_Shown();
        Message_Box::Set_Test_Mode(false);
        delete windows.FQuarneleFirmWare;
        QCOMPARE(shown.size(), 1);
        QVERIFY2(shown[0].startsWith(Messages().Get(105)) && shown[0].contains(QStringLiteral("PROJECTS/Plant B")) &&
                     shown[0].contains(QStringLiteral("could not be written: ")),
                 qPrintable(shown[0]));
        QVERIFY(!QFileInfo::exists(ws_ + QStringLiteral("/PROJECTS/Plant B")));
    }

    // Closing the main window saves the settings; the failure is shown in an
    // error box, and the window closes once it is answered.
    void closing_reports_the_settings_file()
    {
        Workspace ws;
        Start_Workspace(ws, ws_);
        QVERIFY(ws.Configuration_Open());
        const auto before = faults::Snapshot(ws_);
        faults::Read_Only_Folder read_only(ws_);
        if (!read_only.Problem().isEmpty())
            QSKIP(qPrintable(QStringLiteral("no read-only folder here: ") + read_only.Problem()));

        Message_Box::Set_Test_Mode(false); // a real box, answered as a person would
        Windows &windows = Create_Windows(ws);
        windows.FQuarneleFirmWare->show();
        QVERIFY(QTest::qWaitForWindowExposed(windows.FQuarneleFirmWare));

        QString shown;
        QTimer answer;
        answer.setInterval(10);
        connect(&answer, &QTimer::timeout, this, [&] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                shown = box->text();
                answer.stop();
                box->button(QMessageBox::Ok)->click();
            }
        });
        answer.start();
        const bool closed = windows.FQuarneleFirmWare->close();
        answer.stop();

        QVERIFY(closed);
        QVERIFY(!windows.FQuarneleFirmWare->isVisible());
        QVERIFY2(shown.contains(QStringLiteral("Quarnel.xml")) &&
                     shown.contains(QStringLiteral("could not be written")),
                 qPrintable(shown));
        delete windows.FQuarneleFirmWare;
        QCOMPARE(faults::Snapshot(ws_), before);
    }
};

int main(int argc, char **argv)
{
    faults::Enter_Private_Mount_Namespace();
    QApplication app(argc, argv);
    Test_Read_Only_Workspace test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_read_only_workspace.moc"
