#include "core/file_io.h"

#include "core/messages.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>
#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

// The system's reason for the failure that set errno.
QString System_Reason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// Writes `data` through the open file's descriptor and puts it on the disk
// (fsync) before the caller renames it into place: the rename must never
// publish a file whose bytes are still only in memory. Writing past Qt's
// buffer keeps the system's reason for a failure ("No space left on
// device"), which Qt reports as "Unknown error" for a short write.
bool Write_Synced(QFileDevice &file, const QByteArray &data, QString *reason)
{
    const int fd = file.handle();
    if (fd < 0) {
        *reason = file.errorString();
        return false;
    }
    const char *at = data.constData();
    qint64 left = data.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, at, size_t(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0) {
            *reason = System_Reason(errno);
            return false;
        }
        if (written == 0) {
            *reason = System_Reason(ENOSPC);
            return false;
        }
        at += written;
        left -= written;
    }
    if (::fsync(fd) != 0) {
        *reason = System_Reason(errno);
        return false;
    }
    return true;
}

} // namespace

Result<QByteArray> Read_File_Bounded(const QString &path, qint64 limit)
{
    const auto refused = [&](const QString &reason) {
        return Fail(Messages().Get(Msg_File_Not_Read).arg(QDir::toNativeSeparators(path), reason));
    };
    // stat() does not open the file: a pipe is refused without waiting for
    // a writer. What is in place could still change before the open, so the
    // open does not wait either and the size read is bounded again.
    struct stat status;
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return refused(System_Reason(errno));
    if (!S_ISREG(status.st_mode))
        return refused(Messages().Get(Msg_File_Not_Regular));
    if (status.st_size > limit)
        return refused(Messages().Get(Msg_File_Too_Large).arg(QString::number(status.st_size), QString::number(limit)));
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return refused(System_Reason(errno));
    QByteArray data;
    data.resize(qsizetype(status.st_size));
    qint64 got = 0;
    int error = 0;
    while (true) {
        if (got == data.size()) {
            // Grown since: read one byte past the limit at most.
            if (got > limit)
                break;
            data.resize(qsizetype(std::min<qint64>(limit + 1, got + 64 * 1024)));
        }
        const ssize_t n = ::read(fd, data.data() + got, size_t(data.size() - got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            error = errno;
            break;
        }
        if (n == 0)
            break;
        got += n;
    }
    ::close(fd);
    if (error != 0)
        return refused(System_Reason(error));
    if (got > limit)
        return refused(Messages().Get(Msg_File_Too_Large).arg(QString::number(got), QString::number(limit)));
    data.resize(qsizetype(got));
    return data;
}

Result<> Write_File_Atomic(const QString &path, const QByteArray &data)
{
    QSaveFile file(path);
    QString reason;
    bool ok = file.open(QIODevice::WriteOnly);
    if (!ok)
        reason = file.errorString();
    // The bytes on the disk before commit() renames the file into place.
    if (ok)
        ok = Write_Synced(file, data, &reason);
    if (ok) {
        ok = file.commit();
        if (!ok)
            reason = file.errorString();
    }
    if (ok)
        return {};
    file.cancelWriting();
    return Fail(Messages().Get(Msg_File_Not_Written).arg(QDir::toNativeSeparators(path), reason));
}

Result<> Write_Document_Atomic(const QString &path, const QByteArray &data)
{
    if (::access(QFile::encodeName(path).constData(), R_OK) != 0 && errno != ENOENT)
        return Fail(
            Messages().Get(Msg_Document_Not_Replaced).arg(QDir::toNativeSeparators(path), System_Reason(errno)));
    return Write_File_Atomic(path, data);
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

// A test seam: SW52K31_STOP_AFTER_RENAMES=N ends the process at once after
// the Nth rename of a set of files, as a crash or a kill there would.
void Stop_After_Rename_For_Tests(qsizetype renamed)
{
    static const int stop_after = qEnvironmentVariableIntValue("SW52K31_STOP_AFTER_RENAMES");
    if (stop_after > 0 && renamed == stop_after)
        std::_Exit(9);
}

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
    if (!temp.open())
        return failed(temp.errorString());
    QString reason;
    if (!Write_Synced(temp, data, &reason))
        return failed(reason);
    if (!temp.setPermissions(target.exists() ? QFile::permissions(path) : New_File_Permissions))
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
        Stop_After_Rename_For_Tests(replaced.size());
    }
    return {};
}
