#include "compiler/bank_files.h"

#include "compiler/compile_project.h"
#include "core/file_io.h"
#include "core/messages.h"
#include "workspace/configurations.h"

#include <QDir>

QString Bank1_Path(const QString &path_project)
{
    return path_project + QStringLiteral("/bin/bank1.bin");
}

QString Bank2_Path(const QString &path_project)
{
    return path_project + QStringLiteral("/bin/bank2.bin");
}

Result<QStringList> Write_Bank_Files(const QString &path_project, const Bank_Images &images)
{
    // Only "bin" may be made, inside a folder that is there: a configuration
    // folder made again here would hold images compiled from the defaults of
    // documents that are gone.
    if (const Result<> folder = Check_Configuration_Folder(path_project); !folder)
        return Fail(folder.Problem());
    QDir(path_project).mkdir(QStringLiteral("bin")); // a failure shows in the write below
    const QString bank1 = Bank1_Path(path_project);
    const QString bank2 = Bank2_Path(path_project);
    if (const Result<> written = Write_File_Atomic(bank1, images.bank1); !written)
        return Fail(written.Problem());
    if (const Result<> written = Write_File_Atomic(bank2, images.bank2); !written) {
        // bank1.bin is already the new one: an update now would load a mismatched pair.
        return Fail(Messages().Get(Msg_Bank_Pair_Broken).arg(written.Problem(), QDir::toNativeSeparators(bank1)));
    }
    return QStringList{bank1, bank2};
}
