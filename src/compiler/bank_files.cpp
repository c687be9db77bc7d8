#include "compiler/bank_files.h"

#include "compiler/compile_project.h"
#include "compiler/config_checks.h"
#include "core/file_io.h"
#include "core/messages.h"
#include "workspace/workspace.h"

#include <QDir>

QString Bank1_Path(const QString &path_project)
{
    return path_project + QStringLiteral("/bin/bank1.bin");
}

QString Bank2_Path(const QString &path_project)
{
    return path_project + QStringLiteral("/bin/bank2.bin");
}

bool Write_Bank_Files(const QString &path_project, const Bank_Images &images, QStringList *written, QString *problem)
{
    QDir().mkpath(path_project + QStringLiteral("/bin")); // a failure shows in the write below
    const QString bank1 = Bank1_Path(path_project);
    const QString bank2 = Bank2_Path(path_project);
    QString reason;
    if (!Write_File_Atomic(bank1, images.bank1, &reason)) {
        *problem = reason;
        return false;
    }
    if (written)
        written->append(bank1);
    if (!Write_File_Atomic(bank2, images.bank2, &reason)) {
        // bank1.bin is already the new one: an update now would load a mismatched pair.
        *problem = Messages().Get(Msg_Bank_Pair_Broken).arg(reason, QDir::toNativeSeparators(bank1));
        return false;
    }
    if (written)
        written->append(bank2);
    return true;
}

bool Build_Bank_Files(const Workspace &ws, QStringList *written, QString *problem)
{
    // Without an open configuration the images would land beside the root.
    if (!ws.Configuration_Open()) {
        *problem = Messages().Get(18);
        return false;
    }
    if (!Check_Config_LoraWAN(ws, problem))
        return false;
    const Compile_Result result = Compile_Project(ws);
    if (!result.ok) {
        *problem = result.problem;
        return false;
    }
    return Write_Bank_Files(ws.Path_Project, result.images, written, problem);
}
