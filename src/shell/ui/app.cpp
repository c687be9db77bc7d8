#include "shell/ui/app.h"

#include "shell/ui/main_window.h"
#include "shell/workspace.h"

#include <QApplication>
#include <QMessageBox>

int Run_Configurator(QApplication &app, const QString &workspace)
{
    Workspace &ws = Globals();
    const QStringList problems = Start_Workspace(ws, Choose_Workspace_Root(app.applicationDirPath(), workspace));
    TFQuarneleFirmWare main_window(ws);
    main_window.show();
    for (const QString &problem : problems)
        QMessageBox::warning(&main_window, ws.SW_Code, problem);
    return app.exec();
}
