#include "cli/commands.h"
#include "tables/points_files.h"
#include "workspace/file_lock.h"
#include "workspace/workspace.h"
#include "workspace/workspace_messages.h"

#include <QCommandLineParser>
#include <QDir>
#include <QTextStream>

namespace {

// NAME and a FILE that is not empty; else the exit code to end with.
int Open_Points(const Command_Context &c)
{
    if (c.args.at(1).isEmpty()) {
        c.Message(QStringLiteral("Usage: sw52k31 [--workspace DIR] %1 NAME FILE (FILE must not be empty)")
                      .arg(c.parser.positionalArguments().value(0)));
        return 2;
    }
    if (!Open_Existing(c.ws, c.args.at(0))) {
        c.Message(Msg_Project_Not_Valid);
        return 1;
    }
    return 0;
}

int Export(const Command_Context &c, Points_Document which)
{
    if (const int code = Open_Points(c))
        return code;
    const QString file = c.args.at(1);
    if (const Result<> written = Export_Points_File(c.ws, which, file); !written) {
        c.Message(written.Problem());
        return 1;
    }
    c.out << file << Qt::endl;
    return 0;
}

int Import(const Command_Context &c, Points_Document which)
{
    if (const int code = Open_Points(c))
        return code;
    const Import_Mode mode = c.parser.isSet(QStringLiteral("append")) ? Import_Mode::Append : Import_Mode::Replace;
    // Held from the reading of the document (an append keeps its rows) to
    // the writing: another writer in between would lose its change or ours.
    const Result<File_Lock> lock = Lock_Configuration(c.ws);
    if (!lock) {
        c.Message(lock.Problem());
        return 1;
    }
    if (const Result<> done = Import_Points_File(c.ws, which, c.args.at(1), mode); !done) {
        c.Message(done.Problem());
        return 1;
    }
    // The document written, as `compile` names the images.
    c.out << QDir::toNativeSeparators(which == Points_Document::Objects ? c.ws.File_BACnet_Slave_Access
                                                                        : c.ws.File_LoRaWAN_Access)
          << Qt::endl;
    return 0;
}

} // namespace

int Command_Export_Objects(const Command_Context &c)
{
    return Export(c, Points_Document::Objects);
}

int Command_Import_Objects(const Command_Context &c)
{
    return Import(c, Points_Document::Objects);
}

int Command_Export_Rules(const Command_Context &c)
{
    return Export(c, Points_Document::Rules);
}

int Command_Import_Rules(const Command_Context &c)
{
    return Import(c, Points_Document::Rules);
}
