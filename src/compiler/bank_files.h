#pragma once

#include "core/result.h"

#include <QString>
#include <QStringList>

struct Bank_Images;

// "bin/bank1.bin" and "bin/bank2.bin" of a configuration folder.
QString Bank1_Path(const QString &path_project);
QString Bank2_Path(const QString &path_project);

// Writes both images, as a pair, into the configuration's "bin" folder
// (made when missing; the configuration folder itself never is: without it,
// message 18 and a line naming the folder), and gives the paths of the two files replaced.
// Both go to temporary files, on the disk, before either is renamed into
// place, so a failure while writing (a full disk) leaves the old pair whole.
// A failure names the file and the system's reason; when the rename of bank 2
// fails after bank 1's, it also says that the pair no longer belongs together.
Result<QStringList> Write_Bank_Files(const QString &path_project, const Bank_Images &images);
