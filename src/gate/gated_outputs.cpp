#include "gate/gated_outputs.h"

#include "compiler/bank_files.h"
#include "ede/bacnet_ede_file.h"
#include "gate/configuration_gate.h"

Result<QStringList> Compile_Configuration(const Workspace &ws)
{
    if (const Gate_Report gate = Check_Configuration(ws, Output::Images); !gate.Ok())
        return Fail(gate.Problem());
    return Build_Bank_Files(ws);
}

Result<> Export_EDE(const Workspace &ws, const QString &file_name, const QDateTime &at, const EDE_Options &options)
{
    if (const Gate_Report gate = Check_Configuration(ws, Output::EDE); !gate.Ok())
        return Fail(gate.Problem());
    // The export's own refusals (a text that would shift the columns) follow.
    return Create_EDE_File(ws, file_name, at, options);
}
