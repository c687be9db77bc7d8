#include "core/file_io.h"

#include "core/messages.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>
#include <filesystem>
#include <memory>
#include <vector>

Result<> Write_File_Atomic(const QString &path, const QByteArray &data)
{
    QSaveFile file(path);
    bool ok = file.open(QIODevice::WriteOnly);
    if (ok)
        ok = file.write(data) == data.size();
    // The buffered tail reaches the disk here. commit() flushes as well, but
    // this Qt ignores a failure there (a full disk, a file-size limit) and
    // would put the truncated file in place of the old one.
    if (ok)
        ok = file.flush();
    if (ok)
        ok = file.commit();
    if (ok)
        return {};
    const QString problem =
        Messages().Get(Msg_File_Not_Written).arg(QDir::toNativeSeparators(path), file.errorString());
    file.cancelWriting();
    return Fail(problem);
}

namespace {

QString Native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

// The file's permissions for a new file: what a file the program creates
// otherwise gets (a temporary file starts readable by its owner only).
constexpr QFile::Permissions New_File_Permissions =
    QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser | QFile::ReadGroup | QFile::ReadOther;

// Writes `data` into a temporary file beside `path`, or fails with the
// message of Write_File_Atomic.
Result<> Write_Temporary(QTemporaryFile &temp, const QString &path, const QByteArray &data)
{
    const QFileInfo target(path);
    auto failed = [&](const QString &reason) {
        return Fail(Messages().Get(Msg_File_Not_Written).arg(Native(path), reason));
    };
    // A rename onto a folder fails only after the other files are in place.
    if (target.isDir())
        return failed(Messages().Get(Msg_File_Is_Folder));
    temp.setFileTemplate(path + QStringLiteral(".XXXXXX"));
    bool ok = temp.open() && temp.write(data) == data.size() && temp.flush();
    if (ok)
        ok = temp.setPermissions(target.exists() ? QFile::permissions(path) : New_File_Permissions);
    if (!ok)
        return failed(temp.errorString());
    // Closed, so that the rename also works where an open file cannot be moved.
    temp.close();
    return {};
}

} // namespace

Result<> Write_Files_Atomic(const QList<File_Content> &files)
{
    // Removed when they go out of scope, unless renamed.
    std::vector<std::unique_ptr<QTemporaryFile>> temps;
    for (const File_Content &file : files) {
        temps.push_back(std::make_unique<QTemporaryFile>());
        if (Result<> written = Write_Temporary(*temps.back(), file.path, file.data); !written)
            return written;
    }
    QStringList replaced;
    for (qsizetype i = 0; i < files.size(); ++i) {
        QTemporaryFile &temp = *temps[size_t(i)];
        std::error_code error;
        // Replaces an existing target in one step (QFile::rename would not).
        std::filesystem::rename(temp.fileName().toStdU16String(), files[i].path.toStdU16String(), error);
        if (error) {
            QStringList left;
            for (qsizetype j = i; j < files.size(); ++j)
                left.append(Native(files[j].path));
            return Fail(Messages()
                            .Get(Msg_Files_Partly_Replaced)
                            .arg(Native(files[i].path), QString::fromStdString(error.message()),
                                 replaced.isEmpty() ? QStringLiteral("-") : replaced.join(QStringLiteral(", ")),
                                 left.join(QStringLiteral(", "))));
        }
        temp.setAutoRemove(false);
        replaced.append(Native(files[i].path));
    }
    return {};
}
