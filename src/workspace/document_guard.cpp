#include "workspace/document_guard.h"

#include "core/crc32.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

File_Stamp Stamp_File(const QString &path)
{
    File_Stamp stamp;
    const QFileInfo info(path);
    if (!info.exists())
        return stamp;
    stamp.exists = true;
    stamp.size = info.size();
    stamp.modified_ms = info.lastModified().toMSecsSinceEpoch();
    // Only a regular file is read: anything else is told by its size and time.
    QFile file(path);
    if (info.isFile() && file.open(QIODevice::ReadOnly)) {
        quint32 crc = 0;
        while (!file.atEnd()) {
            const QByteArray block = file.read(64 * 1024);
            if (block.isEmpty())
                break;
            crc = Crc32(block, crc);
        }
        stamp.crc = crc;
    }
    return stamp;
}

void Document_Guard::Loaded(const QString &path)
{
    path_ = path;
    stamp_ = Stamp_File(path);
}

bool Document_Guard::Changed_Since() const
{
    return !path_.isEmpty() && Stamp_File(path_) != stamp_;
}

void Document_Guard::Accept_Current()
{
    stamp_ = Stamp_File(path_);
}
