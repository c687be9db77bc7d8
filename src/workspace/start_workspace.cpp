#include "workspace/start_workspace.h"

#include "core/messages.h"
#include "workspace/configurations.h"
#include "workspace/language.h"
#include "workspace/settings.h"
#include "workspace/shipped_languages.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QString Choose_Workspace_Root(const QString &program_dir, const QString &override_dir)
{
    if (!override_dir.isEmpty())
        return QDir::cleanPath(QDir(override_dir).absolutePath());
    const QFileInfo info(program_dir);
    // An installed program's folder (<prefix>/bin) is shared with other
    // programs: its workspace is the user's own, even where that folder
    // happens to be writable (run as root, or installed under the home folder).
    if (Installed_Language_Folder(program_dir).isEmpty() && info.isDir() && info.isWritable())
        return QDir::cleanPath(info.absoluteFilePath());
    return QDir::cleanPath(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
}

QStringList Start_Workspace(Workspace &ws, const QString &root)
{
    QStringList problems;
    Messages().Build_Default_Messages();

    ws.Path_Exe = root;
    // The root itself may be new (a --workspace folder or the per-user one).
    QDir().mkpath(root);
    for (auto [global, name] : {std::pair{&ws.Path_Master, "MASTER"}, std::pair{&ws.Path_Projects, "PROJECTS"},
                                std::pair{&ws.Path_Language, "LANGUAGE"}}) {
        *global = root + u'/' + QLatin1StringView(name);
        if (!QFileInfo(*global).isDir())
            QDir().mkdir(*global); // a failure shows later, where the folder is used
    }

    // A workspace without language files gets the ones that come with the
    // program, before the language of the settings is loaded.
    if (QCoreApplication::instance()) {
        const QString shipped = Shipped_Language_Folder(QCoreApplication::applicationDirPath());
        problems << Copy_Shipped_Languages(shipped, ws.Path_Language).problems;
    }

    ws.Project_Name.clear();
    ws.Path_Project.clear();
    ws.Update_Read_Back = true;

    if (const Result<> settings = Load_Settings(ws); !settings)
        problems << settings.Problem();

    Load_Language(ws, Messages());

    // Only a folder directly inside PROJECTS is a configuration: a settings
    // file naming "..", a nested or an absolute path opens none.
    const QString last = ws.Path_Projects + u'/' + ws.Project_Name;
    ws.Path_Project = (Is_Configuration_Name(ws.Project_Name) && QFileInfo(last).isDir()) ? last : QString();
    ws.Set_Files();
    ws.Row_Copy_Buffer.clear();
    return problems;
}
