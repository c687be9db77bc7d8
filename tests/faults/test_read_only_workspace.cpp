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
#include "workspace/start_workspace.h"
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
        QTest::addColumn<QString>("out");  // a part of stdout; empty: stdout is empty
        QTest::addColumn<QString>("err");  // a part of stderr; empty: stderr is empty
        QTest::addColumn<QString>("made"); // a file outside the workspace that must be written, or empty

        const QString plant = QStringLiteral("Plant");
        // The file that could not be written: the system's reason follows.
        auto not_written = [this](const QString &file) {
            return QStringLiteral("Error! The file %1/%2 could not be written: ").arg(ws_, file);
        };
        const QString csv = outside_.filePath(QStringLiteral("plant.csv"));
        auto row = [](const char *name, QStringList args, int code, QString out, QString err, QString made = {}) {
            QTest::newRow(name) << args << code << out << err << made;
        };
        row("list", {QStringLiteral("list")}, 0, QStringLiteral("Plant\n"), QString());
        // The sample configuration has no faults: check passes and says nothing.
        row("check", {QStringLiteral("check"), plant}, 0, QString(), QString());
        row("dump", {QStringLiteral("dump"), ws_ + QStringLiteral("/PROJECTS/Plant/bin/bank1.bin")}, 0,
            QStringLiteral("\"image\": \"bank1\""), QString());
        row("ede outside the workspace", {QStringLiteral("ede"), plant, outside_.filePath(QStringLiteral("plant"))}, 0,
            csv + u'\n', QString(), csv);
        row("new", {QStringLiteral("new"), QStringLiteral("Plant B")}, 1, QString(),
            Messages().Get(105) + u'\n' + not_written(QStringLiteral("PROJECTS/Plant B")));
        row("ede into the workspace", {QStringLiteral("ede"), plant, ws_ + QStringLiteral("/plant")}, 1, QString(),
            not_written(QStringLiteral("plant.csv")));
        row("jobfile", {QStringLiteral("jobfile"), plant, QStringLiteral("--ip"), QStringLiteral("192.168.2.205")}, 1,
            QString(), not_written(QStringLiteral("Ethernet_Update.xml")));
        row("compile", {QStringLiteral("compile"), plant}, 1, QString(),
            not_written(QStringLiteral("PROJECTS/Plant/bin/bank1.bin")));
        // The images are written before any ping: it ends there.
        row("update", {QStringLiteral("update"), plant, QStringLiteral("--ip"), QStringLiteral("127.0.0.1")}, 1,
            QString(), not_written(QStringLiteral("PROJECTS/Plant/bin/bank1.bin")));
    }

    void commands()
    {
        QFETCH(QStringList, args);
        QFETCH(int, code);
        QFETCH(QString, out);
        QFETCH(QString, err);
        QFETCH(QString, made);
        const auto before = faults::Snapshot(ws_);
        faults::Read_Only_Folder read_only(ws_);
        if (!read_only.Problem().isEmpty())
            QSKIP(qPrintable(QStringLiteral("no read-only folder here: ") + read_only.Problem()));
        if (!made.isEmpty())
            QFile::remove(made);

        const faults::Run_Result run = faults::Run_In(ws_, args);
        QVERIFY2(!run.crashed && !run.hung, qPrintable(run.Describe()));
        QVERIFY2(run.code == code, qPrintable(run.Describe()));
        QVERIFY2(out.isEmpty() ? run.out.isEmpty() : run.out.contains(out), qPrintable(run.Describe()));
        QVERIFY2(err.isEmpty() ? run.err.isEmpty() : run.err.contains(err), qPrintable(run.Describe()));
        if (code != 0) {
            // Said clearly: the file or folder, and the system's reason.
            const qsizetype at = run.err.indexOf(err);
            QVERIFY2(!run.err.mid(at + err.size()).trimmed().isEmpty(), qPrintable(run.Describe()));
        }
        if (!made.isEmpty())
            QVERIFY2(QFileInfo(made).size() > 0, qPrintable(made));
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
