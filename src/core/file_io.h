#pragma once

#include "core/result.h"

#include <QByteArray>
#include <QList>
#include <QString>

// Writes a whole file atomically: the data goes to a temporary file beside the
// target, which replaces the target only once everything was written. A crash
// or a full disk mid-write leaves the old file whole. A failure carries the
// composed message (file and reason).
Result<> Write_File_Atomic(const QString &path, const QByteArray &data);

// Reads a whole file of at most `limit` bytes (what such a file can hold).
// Refused at once, before the file is opened, when something other than a
// regular file is in its place (a pipe would block the read forever, a device
// such as /dev/zero never end) or when it is larger than `limit`. A failure
// carries message 1115: the file and the reason, the system's when it cannot
// be opened or read ("Permission denied").
Result<QByteArray> Read_File_Bounded(const QString &path, qint64 limit);

// A document saved by a window or a command: Write_File_Atomic, but a file
// that is there and cannot be read is not replaced (message 1683 with the
// system's reason). Nobody saw what it holds, so what a window shows in its
// place must not silently take it.
Result<> Write_Document_Atomic(const QString &path, const QByteArray &data);

struct File_Content
{
    QString path;
    QByteArray data;
};

// Writes several files that belong together, all or none: each goes to a
// temporary file beside its target first; a failure there (a folder in the
// way, a full disk, no right to write) removes the temporaries and leaves
// every target as it was. Only then are the targets replaced, one rename
// each. A rename that fails after others succeeded cannot be undone: the
// message then names the files replaced and those left as they were.
Result<> Write_Files_Atomic(const QList<File_Content> &files);
