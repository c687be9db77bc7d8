#pragma once

#include "core/result.h"
#include "ede/ede_format.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

struct Configuration_Snapshot;
struct Workspace;

// The outputs of a configuration, each made only when Check_Configuration
// lets it through; a refusal fails with the report's Problem() (what `check`
// prints) and writes nothing. The command line and the main window make
// their outputs only through these. Each output is made from one snapshot:
// what the check passed is what gets written.

// The images of the configuration, written into its "bin" folder; gives the
// paths of the two files replaced.
Result<QStringList> Compile_Configuration(const Configuration_Snapshot &configuration);
Result<QStringList> Compile_Configuration(const Workspace &ws);

// The EDE file of the configuration into `file_name` (used as given),
// stamped with the local time `at`, in the layout and character set of
// `options`; the standard layout's companion files go through the same
// check and are written only with the main file.
Result<> Export_EDE(const Configuration_Snapshot &configuration, const QString &file_name, const QDateTime &at,
                    const EDE_Options &options = {});
Result<> Export_EDE(const Workspace &ws, const QString &file_name, const QDateTime &at,
                    const EDE_Options &options = {});
