#pragma once

#include "core/result.h"

#include <QList>
#include <QString>
#include <QStringList>

// What the update will send, as the update window shows it before the user
// starts: each image's file name, size and CRC-32, read from the files the
// compilation has just written.
struct Image_Facts
{
    QString path;
    qint64 size = 0;
    quint32 crc32 = 0;
};

// Reads every image whole. Fails on the first one that cannot be read,
// naming it and the reason (Msg_File_Not_Read), and when there is none at all
// (Msg_No_Images): nothing that cannot be shown is sent.
Result<QList<Image_Facts>> Read_Image_Facts(const QStringList &paths);

// The texts of the summary: "Configuration: Plant"; "2048 bytes";
// "CRC-32 1A2B3C4D"; and one image's whole line, "bank1.bin   2048 bytes   CRC-32 1A2B3C4D".
QString Configuration_Line(const QString &configuration);
QString Image_Size_Text(qint64 size);
QString Image_Crc_Text(quint32 crc32);
QString Image_Line(const Image_Facts &image);
