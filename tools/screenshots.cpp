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
#include "gate/gated_outputs.h"
#include "update/ui/boot_window.h"
#include "widgets/message_box.h"
#include "workspace/configurations.h"
#include "workspace/start_workspace.h"
#include "workspace/workspace.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QScreen>
#include <QTemporaryDir>
#include <QThread>

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
    // would send.
    if (const Result<QStringList> images = Compile_Configuration(ws); images)
        windows.FBoot->Set_Images(ws.Project_Name, images.Value());

    const QList<QPair<QWidget *, const char *>> shots = {
        {windows.FQuarneleFirmWare, "main_window.png"},
        {windows.FNew_Project, "new_configuration.png"},
        {windows.FOpenConf, "open_configuration.png"},
        {windows.FAbout, "about.png"},
        {windows.FSoftOptions, "software_options.png"},
        {windows.FBoot, "update_window.png"},
    };
    for (const auto &[window, name] : shots)
        Shoot(window, out + u'/' + QLatin1StringView(name));
    delete windows.FQuarneleFirmWare;
    return 0;
}
