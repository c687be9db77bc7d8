#pragma once

#include "core/result.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <optional>

// The two images of an update as bytes ("bank1.bin", "bank2.bin").
struct Sent_Images
{
    QByteArray bank1;
    QByteArray bank2;
    QDateTime kept_at; // when a kept copy was written (its bank1.bin's time); invalid otherwise
};

// After each successful update that sent the configuration's images, a copy
// of exactly what was sent is kept per converter address inside the
// configuration's "bin" folder:
//
//   bin/sent/<address>/bank1.bin
//   bin/sent/<address>/bank2.bin
//
// <address> is the dotted address with each octet as its decimal number
// ("192.168.002.205" and "192.168.2.205" are one converter). The folder
// "sent" lies beside the images that the compilation writes, so a new
// compilation never replaces a kept copy. "Changes since last update"
// compares the images about to be sent with this copy.

// The folder of the copy for `address`; empty when the address is not one
// the ping could use.
QString Sent_Images_Folder(const QString &path_project, const QString &address);

// Reads the two images that an update of the configuration sends (the files
// the job document names), whole. Fails naming the file that cannot be read.
Result<Sent_Images> Read_Job_Images(const QString &path_project);

// Keeps `images` as the copy for `address`, both files atomically as a pair
// (core's Write_Files_Atomic); only "bin/sent/<address>" is made, never the
// configuration folder. On a failure the earlier copy for that address is
// removed as well, since after a successful update it no longer shows what
// the converter holds; the problem says so.
Result<> Keep_Sent_Images(const QString &path_project, const QString &address, const Sent_Images &images);

// Removes the copy kept for `address`, after a successful update whose
// images could not be kept. Empty when there was none, else the message that
// says it was removed (Msg_Sent_Copy_Removed) or could not be
// (Msg_Sent_Copy_Not_Removed).
QString Forget_Sent_Images(const QString &path_project, const QString &address);

// The copy kept for `address`: nothing when no update to it was kept (or
// the address cannot be used); a failure naming the file when only one of
// the pair is there or one cannot be read.
Result<std::optional<Sent_Images>> Read_Sent_Images(const QString &path_project, const QString &address);
