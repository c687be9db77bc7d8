#pragma once

#include "core/result.h"

#include <QByteArray>
#include <QString>

// Writes a whole file atomically: the data goes to a temporary file beside the
// target, which replaces the target only once everything was written. A crash
// or a full disk mid-write leaves the old file whole. A failure carries the
// composed message (file and reason).
Result<> Write_File_Atomic(const QString &path, const QByteArray &data);
