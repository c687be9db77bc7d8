#include "gate/gated_outputs.h"

#include "compiler/bank_files.h"
#include "ede/bacnet_ede_file.h"
#include "gate/configuration_gate.h"

Result<QStringList> Compile_Configuration(const Configuration_Snapshot &configuration)
{
    const Gate_Report gate = Check_Configuration(configuration, Output::Images);
    if (!gate.Ok())
        return Fail(gate.Problem());
    return Write_Bank_Files(configuration.Path_Project, *gate.Images);
}

Result<QStringList> Compile_Configuration(const Workspace &ws)
{
    return Compile_Configuration(Read_Configuration(ws, Output::Images));
}

Result<> Export_EDE(const Configuration_Snapshot &configuration, const QString &file_name, const QDateTime &at,
                    const EDE_Options &options)
{
    if (const Gate_Report gate = Check_Configuration(configuration, Output::EDE); !gate.Ok())
        return Fail(gate.Problem());
    // The export's own refusals (a text that would shift the columns) follow.
    return Create_EDE_File(configuration, file_name, at, options);
}

Result<> Export_EDE(const Workspace &ws, const QString &file_name, const QDateTime &at, const EDE_Options &options)
{
    return Export_EDE(Read_Configuration(ws, Output::EDE), file_name, at, options);
}
