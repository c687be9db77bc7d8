#include "update/sent_images.h"

#include "core/file_io.h"
#include "core/messages.h"
#include "update/ip_address.h"
#include "update/job_file.h"
#include "update/update_messages.h"
#include "workspace/configurations.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

Failure Not_Read(const QString &path, const QString &reason)
{
    return Fail(Messages().Get(Msg_File_Not_Read).arg(QDir::toNativeSeparators(path), reason));
}

Result<QByteArray> Read_Whole(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Not_Read(path, file.errorString());
    QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return Not_Read(path, file.errorString());
    return data;
}

QString Kept_Bank1(const QString &folder)
{
    return folder + QStringLiteral("/bank1.bin");
}

QString Kept_Bank2(const QString &folder)
{
    return folder + QStringLiteral("/bank2.bin");
}

} // namespace

QString Sent_Images_Folder(const QString &path_project, const QString &address)
{
    quint32 value = 0;
    if (!IPv4_From_Text(address, &value))
        return QString();
    return path_project + QStringLiteral("/bin/sent/%1.%2.%3.%4")
                              .arg(value >> 24)
                              .arg((value >> 16) & 0xFF)
                              .arg((value >> 8) & 0xFF)
                              .arg(value & 0xFF);
}

namespace {

// Both files of a pair, or the problem of the first that cannot be read.
Result<Sent_Images> Read_Pair(const QString &file_bank1, const QString &file_bank2)
{
    Sent_Images images;
    const Result<QByteArray> bank1 = Read_Whole(file_bank1);
    if (!bank1)
        return Fail(bank1.Problem());
    const Result<QByteArray> bank2 = Read_Whole(file_bank2);
    if (!bank2)
        return Fail(bank2.Problem());
    images.bank1 = bank1.Value();
    images.bank2 = bank2.Value();
    return images;
}

} // namespace

Result<Sent_Images> Read_Job_Images(const QString &path_project)
{
    return Read_Pair(Job_Bank1_Path(path_project), Job_Bank2_Path(path_project));
}

Result<> Keep_Sent_Images(const QString &path_project, const QString &address, const Sent_Images &images)
{
    const QString folder = Sent_Images_Folder(path_project, address);
    if (folder.isEmpty())
        return Fail(Messages().Get(Msg_Check_IP_Address));
    // The configuration folder itself is never made: a copy beside nothing
    // would compare with a configuration that is gone.
    if (const Result<> there = Check_Configuration_Folder(path_project); !there)
        return Fail(there.Problem());
    QDir(path_project).mkpath(QDir(path_project).relativeFilePath(folder)); // a failure shows in the write
    const Result<> written =
        Write_Files_Atomic({{Kept_Bank1(folder), images.bank1}, {Kept_Bank2(folder), images.bank2}});
    if (written)
        return {};
    QString problem = written.Problem();
    if (const QString removed = Forget_Sent_Images(path_project, address); !removed.isEmpty())
        problem += u'\n' + removed;
    return Fail(problem);
}

QString Forget_Sent_Images(const QString &path_project, const QString &address)
{
    const QString folder = Sent_Images_Folder(path_project, address);
    if (folder.isEmpty() || (!QFileInfo::exists(Kept_Bank1(folder)) && !QFileInfo::exists(Kept_Bank2(folder))))
        return QString();
    const QString native = QDir::toNativeSeparators(folder);
    for (const QString &path : {Kept_Bank1(folder), Kept_Bank2(folder)}) {
        QFile file(path);
        if (file.exists() && !file.remove())
            return Messages().Get(Msg_Sent_Copy_Not_Removed).arg(native, file.errorString());
    }
    return Messages().Get(Msg_Sent_Copy_Removed).arg(native);
}

Result<std::optional<Sent_Images>> Read_Sent_Images(const QString &path_project, const QString &address)
{
    const QString folder = Sent_Images_Folder(path_project, address);
    if (folder.isEmpty() || (!QFileInfo::exists(Kept_Bank1(folder)) && !QFileInfo::exists(Kept_Bank2(folder))))
        return std::optional<Sent_Images>();
    Result<Sent_Images> read = Read_Pair(Kept_Bank1(folder), Kept_Bank2(folder));
    if (!read)
        return Fail(read.Problem());
    Sent_Images images = read.Value();
    images.kept_at = QFileInfo(Kept_Bank1(folder)).lastModified();
    return std::optional<Sent_Images>(images);
}
