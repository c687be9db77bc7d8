#pragma once

#include "cli/cli.h"

#include <QStringList>
#include <QTextStream>

// Runs one command line in-process and keeps what it printed.
struct Cli_Run
{
    int code = -1;
    QString out;
    QString err;
};

inline Cli_Run Run_Cli(const QString &workspace, QStringList args)
{
    Cli_Run run;
    QTextStream out(&run.out);
    QTextStream err(&run.err);
    if (!workspace.isEmpty())
        args = QStringList{QStringLiteral("--workspace"), workspace} + args;
    args.prepend(QStringLiteral("sw52k31"));
    run.code = Run_Command_Line(args, QStringLiteral("/nonexistent"), out, err);
    out.flush();
    err.flush();
    return run;
}
