#include "app/app.h"

#include "app/about.h"
#include "app/main_window.h"
#include "app/new_project.h"
#include "app/open_conf.h"
#include "app/soft_options.h"
#include "bacnet/ui/virtual_converter_window.h"
#include "params/ui/par_gen.h"
#include "tables/ui/bacnet_eng_unit.h"
#include "tables/ui/bacnet_slave_set_access.h"
#include "tables/ui/lora_set_access.h"
#include "update/ui/boot_window.h"
#include "widgets/message_box.h"
#include "widgets/window_place.h"
#include "workspace/start_workspace.h"
#include "workspace/version_check.h"
#include "workspace/window_places.h"
#include "workspace/workspace.h"

#include <QApplication>

namespace {

void Start_Version_Check(QObject *context, std::function<void(const Version_Result &)> done)
{
    auto *check = new Version_Check(context);
    QObject::connect(check, &Version_Check::Finished, context, [check, done](const Version_Result &result) {
        check->deleteLater();
        done(result);
    });
    check->Start();
}

} // namespace

Windows &Create_Windows(Workspace &ws)
{
    // The windows struct must outlive the main window, which keeps a
    // reference to it; it lives as long as the process.
    static Windows windows;
    windows = Windows{};
    auto *main = new TFQuarneleFirmWare(ws, windows);
    main->setAttribute(Qt::WA_DeleteOnClose, false);
    windows.FQuarneleFirmWare = main;
    windows.FNew_Project = new TFNew_Project(ws, main);
    windows.FOpenConf = new TFOpenConf(ws, main);
    windows.FAbout = new TFAbout(ws, main);
    auto *options = new TFSoftOptions(
        ws, [main] { main->Change_Language(); }, main);
    options->Set_Version_Checker(Start_Version_Check);
    main->Set_Version_Checker(Start_Version_Check);
    windows.FSoftOptions = options;
    windows.FParGen = new TFParGen(ws, main);
    windows.FBoot = new TFBoot(ws, main);
    windows.FLoRa_Set_Access = new TFLoRa_Set_Access(ws, main);
    auto *picker = new TFBACnet_Eng_Unit(ws, main);
    windows.FBACnet_Eng_Unit = picker;
    windows.FBACnetSlaveSetAccess = new TFBACnetSlaveSetAccess(ws, picker, main);
    windows.FVirtual_Converter = new TFVirtual_Converter(ws, main);
    QObject::connect(main, &TFQuarneleFirmWare::Documents_Saved, windows.FVirtual_Converter,
                     &TFVirtual_Converter::Images_Changed);

    // Every window opens where it last closed, or centred; the places live
    // as long as the windows that keep them.
    static Window_Places places;
    places = Window_Places::Read(Window_Places::File_In(ws.Path_Exe));
    for (QWidget *window : std::initializer_list<QWidget *>{
             main, windows.FNew_Project, windows.FOpenConf, windows.FAbout, windows.FSoftOptions, windows.FParGen,
             windows.FBoot, windows.FLoRa_Set_Access, windows.FBACnet_Eng_Unit, windows.FBACnetSlaveSetAccess,
             windows.FVirtual_Converter})
        Keep_Window_Place(window, places);
    return windows;
}

int Run_Configurator(QApplication &app, const QString &workspace)
{
    Workspace ws;
    const QStringList problems = Start_Workspace(ws, Choose_Workspace_Root(app.applicationDirPath(), workspace));
    Windows &windows = Create_Windows(ws);
    windows.FQuarneleFirmWare->show();
    for (const QString &problem : problems)
        Message_Box::Warning(windows.FQuarneleFirmWare, problem);
    const int code = app.exec();
    delete windows.FQuarneleFirmWare;
    return code;
}
