#include "update/image_summary.h"

#include "core/crc32.h"
#include "core/messages.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

Failure Not_Read(const QString &path, const QString &reason)
{
    return Fail(Messages().Get(Msg_File_Not_Read).arg(QDir::toNativeSeparators(path), reason));
}

} // namespace

Result<QList<Image_Facts>> Read_Image_Facts(const QStringList &paths)
{
    if (paths.isEmpty())
        return Fail(Messages().Get(Msg_No_Images));
    QList<Image_Facts> images;
    for (const QString &path : paths) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return Not_Read(path, file.errorString());
        Image_Facts image{path, 0, 0};
        // In pieces, so that the size and the CRC are those of the bytes read.
        QByteArray piece;
        while (!(piece = file.read(1 << 16)).isEmpty()) {
            image.size += piece.size();
            image.crc32 = Crc32(piece, image.crc32);
        }
        if (file.error() != QFileDevice::NoError)
            return Not_Read(path, file.errorString());
        images << image;
    }
    return images;
}

QString Configuration_Line(const QString &configuration)
{
    return Messages().Get(Msg_Images_Configuration).arg(configuration);
}

QString Image_Size_Text(qint64 size)
{
    return Messages().Get(Msg_Image_Bytes).arg(size);
}

QString Image_Crc_Text(quint32 crc32)
{
    return Messages().Get(Msg_Image_Crc).arg(Crc32_Hex(crc32));
}

QString Image_Line(const Image_Facts &image)
{
    return QFileInfo(image.path).fileName() + QStringLiteral("   ") + Image_Size_Text(image.size) +
           QStringLiteral("   ") + Image_Crc_Text(image.crc32);
}
