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
