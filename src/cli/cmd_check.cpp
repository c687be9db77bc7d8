#include "cli/commands.h"

#include "gate/configuration_gate.h"
#include "workspace/workspace.h"

int Command_Check(const Command_Context &c)
{
    if (!Open_Existing(c.ws, c.args.at(0))) {
        c.Message(18);
        return 1;
    }
    // The same decision that stands in front of `compile`, `update` and the
    // main window's step 6, so that passing here means the images compile.
    const Gate_Report report = Check_Configuration(c.ws, Output::Images);
    for (const QString &problem : report.Problems)
        c.Message(problem);
    for (const QString &warning : report.Warnings)
        c.Message(warning);
    return report.Ok() ? 0 : 1;
}
