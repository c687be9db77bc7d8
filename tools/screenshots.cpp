// Shows the main window and its dialogs over a sample workspace and saves a
// picture of each into the folder given as the first argument (the step
// windows have their pictures taken by their own suites). Run it under
// a real X server (scripts/screenshots.sh uses Xvfb).

#include "app/about.h"
#include "app/app.h"
#include "app/main_window.h"
#include "app/new_project.h"
#include "app/open_conf.h"
#include "app/soft_options.h"
#include "bacnet/ui/virtual_converter_window.h"
#include "gate/gated_outputs.h"
#include "tables/points_files.h"
#include "update/sent_images.h"
#include "update/ui/boot_window.h"
#include "widgets/message_box.h"
#include "workspace/configurations.h"
#include "workspace/start_workspace.h"
#include "workspace/workspace.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

namespace {

// Shows `window` (modeless, so nothing blocks), lets it paint, saves it.
void Shoot(QWidget *window, const QString &file)
{
    window->show();
    window->raise();
    for (int i = 0; i < 20; ++i) {
        QApplication::processEvents();
        QThread::msleep(10);
    }
    window->grab().save(file);
    if (window != window->window() || qobject_cast<QDialog *>(window))
        window->hide();
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs/screenshots");
    QDir().mkpath(out);
    QTemporaryDir dir;
    Workspace ws;
    Start_Workspace(ws, dir.path());
    // The pictures show whatever was made: a refusal needs no handling here.
    (void)Create_Configuration(ws, QStringLiteral("Plant A"));
    (void)Create_Configuration(ws, QStringLiteral("Boiler room"));
    ws.Open_Configuration(QStringLiteral("Plant A"));
    Message_Box::Set_Test_Mode(true); // nothing may wait for an answer
    Windows &windows = Create_Windows(ws);
    windows.FQuarneleFirmWare->Set_Lang();
    // The update window as the update step shows it: with the images it
    // would send. An earlier update to 192.168.2.205 sent them without the
    // two objects added since, so "Changes since last update" has a list.
    if (const Result<QStringList> images = Compile_Configuration(ws); images) {
        const Result<Sent_Images> sent = Read_Job_Images(ws.Path_Project);
        if (sent)
            (void)Keep_Sent_Images(ws.Path_Project, QStringLiteral("192.168.2.205"), sent.Value());
        const QString points = dir.filePath(QStringLiteral("points.csv"));
        QFile csv(points);
        if (csv.open(QIODevice::WriteOnly))
            csv.write("Table,Data Type,Eng. Unit,Unit Name,Position,Start Bit,Length,Swap,Mnemonic\n"
                      "Read,Analog Input,62,degrees-Celsius,0,,4,N,Supply air\n"
                      "Read,Analog Input,98,percent,4,,4,N,Humidity\n");
        csv.close();
        (void)Import_Points_File(ws, Points_Document::Objects, points, Import_Mode::Replace);
    }
    if (const Result<QStringList> images = Compile_Configuration(ws); images)
        windows.FBoot->Set_Images(ws.Project_Name, images.Value());

    const QList<QPair<QWidget *, const char *>> shots = {
        {windows.FQuarneleFirmWare, "main_window.png"}, {windows.FNew_Project, "new_configuration.png"},
        {windows.FOpenConf, "open_configuration.png"},  {windows.FAbout, "about.png"},
        {windows.FSoftOptions, "software_options.png"}, {windows.FBoot, "update_window.png"},
    };
    for (const auto &[window, name] : shots)
        Shoot(window, out + u'/' + QLatin1StringView(name));
    // The list of changes, as the button shows it: a real box, taken as soon
    // as it is up and then closed.
    windows.FBoot->show();
    Message_Box::Set_Test_Mode(false);
    QTimer::singleShot(300, [&] {
        if (QWidget *box = QApplication::activeModalWidget()) {
            box->grab().save(out + QStringLiteral("/update_window_changes.png"));
            box->close();
        }
    });
    windows.FBoot->Btn_Changes->click();
    Message_Box::Set_Test_Mode(true);
    windows.FBoot->hide();
    // The virtual converter serving the same configuration on a free port.
    windows.FVirtual_Converter->FormShow();
    windows.FVirtual_Converter->E_Port->setText(QStringLiteral("0"));
    windows.FVirtual_Converter->Btn_Start->click();
    Shoot(windows.FVirtual_Converter, out + QStringLiteral("/virtual_converter.png"));
    windows.FVirtual_Converter->Btn_Stop->click();
    delete windows.FQuarneleFirmWare;
    return 0;
}
