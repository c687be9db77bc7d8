#include "compiler/bank_files.h"

#include "compiler/compile_project.h"
#include "core/file_io.h"
#include "core/messages.h"
#include "workspace/configurations.h"

#include <QDir>
#include <QFile>

QString Bank1_Path(const QString &path_project)
{
    return path_project + QStringLiteral("/bin/bank1.bin");
}

QString Bank2_Path(const QString &path_project)
{
    return path_project + QStringLiteral("/bin/bank2.bin");
}

namespace {

bool Holds(const QString &path, const QByteArray &data)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.size() == data.size() && file.readAll() == data;
}

} // namespace

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
    // Both written and on the disk before either is renamed into place: a
    // full disk leaves the old pair whole.
    const Result<> written = Write_Files_Atomic({{bank1, images.bank1}, {bank2, images.bank2}});
    if (!written) {
        // Only a rename that failed after bank1.bin's leaves a mixed pair:
        // an update now would load images that do not belong together.
        if (Holds(bank1, images.bank1) && !Holds(bank2, images.bank2))
            return Fail(Messages().Get(Msg_Bank_Pair_Broken).arg(written.Problem(), QDir::toNativeSeparators(bank1)));
        return Fail(written.Problem());
    }
    return QStringList{bank1, bank2};
}
