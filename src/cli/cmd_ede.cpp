#include "cli/commands.h"

#include "ede/bacnet_ede_file.h"
#include "gate/gated_outputs.h"
#include "workspace/workspace.h"

#include <QDateTime>
#include <QTextStream>

int Command_Ede(const Command_Context &c)
{
    if (c.args.at(1).isEmpty()) {
        c.Message(QStringLiteral("Usage: sw52k31 [--workspace DIR] ede NAME FILE (FILE must not be empty)"));
        return 2;
    }
    if (!Open_Existing(c.ws, c.args.at(0))) {
        c.Message(18);
        return 1;
    }
    // Like the save dialog, but without the question: the command replaces FILE.
    const QString file = EDE_File_Name(c.args.at(1));
    if (const Result<> created = Export_EDE(c.ws, file, QDateTime::currentDateTime()); !created) {
        c.Message(created.Problem());
        return 1;
    }
    c.out << file << Qt::endl;
    return 0;
}
