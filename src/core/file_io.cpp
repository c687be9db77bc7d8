#include "core/file_io.h"

#include "core/messages.h"

#include <QDir>
#include <QSaveFile>

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
    const QString problem = Messages().Get(Msg_File_Not_Written).arg(QDir::toNativeSeparators(path), file.errorString());
    file.cancelWriting();
    return Fail(problem);
}
