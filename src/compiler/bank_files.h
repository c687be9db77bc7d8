#pragma once

#include "core/result.h"

#include <QString>
#include <QStringList>

struct Bank_Images;
struct Workspace;

// "bin/bank1.bin" and "bin/bank2.bin" of a configuration folder.
QString Bank1_Path(const QString &path_project);
QString Bank2_Path(const QString &path_project);

// Writes both images, each atomically, into the configuration's "bin" folder
// (made when missing; the configuration folder itself never is: without it,
// message 18 and a line naming the folder), and gives the paths of the two files replaced. A
// failure names the file and the reason; when bank 2 fails after bank 1 was
// replaced, it also says that the pair no longer belongs together.
Result<QStringList> Write_Bank_Files(const QString &path_project, const Bank_Images &images);

// The update step up to the update window: the uplink rule check, the
// compilation of the open configuration and the writing of both images,
// whose paths it gives. Nothing is written unless a configuration is open
// and its folder is there (else message 18, followed by a line naming the
// folder when it is gone) and the check and the compilation succeed.
Result<QStringList> Build_Bank_Files(const Workspace &ws);
