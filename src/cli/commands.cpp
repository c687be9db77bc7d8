#include "cli/commands.h"

#include "core/messages.h"
#include "workspace/configurations.h"
#include "workspace/workspace.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QDir>
#include <QTextStream>

void Command_Context::Message(int n) const
{
    Message(Messages().Get(n));
}

void Command_Context::Message(const QString &text) const
{
    err << text << Qt::endl;
}

QCommandLineOption Command_Option(const QString &name)
{
    struct Known
    {
        const char *name;
        const char *help;
        const char *value; // empty for a flag
    };
    static const Known known[] = {
        {"ip", "The converter's address, A.B.C.D.", "A.B.C.D"},
        {"option", "The update option: 0, 1 or 2.", "N"},
        {"no-read-back", "Do not read the images back after writing them.", ""},
        {"all", "Print every problem, not only the first of each document.", ""},
        {"append", "Append to the tables instead of replacing them.", ""},
        {"layout", "The EDE layout: classic (default) or standard.", "LAYOUT"},
        {"charset", "The EDE charset: windows-1252 (default) or utf-8.", "CHARSET"},
        {"format", "The dump's format: json (default) or table.", "FORMAT"},
        {"config", "Dump the images NAME compiles to, compiled in memory.", "NAME"},
        {"bind", "The address to serve on (default 127.0.0.1).", "ADDR"},
        {"port",
         "The UDP port of BACnet/IP: serve: the configuration's BACnet port by default, 0 picks a free one; verify: "
         "the converter's, the configured port by default.",
         "P"},
        {"timeout", "verify: how long each BACnet request waits, in milliseconds (3000 by default).", "MS"},
    };
    for (const Known &k : known)
        if (name == QLatin1StringView(k.name))
            return *k.value ? QCommandLineOption(name, QString::fromLatin1(k.help), QString::fromLatin1(k.value))
                            : QCommandLineOption(name, QString::fromLatin1(k.help));
    return QCommandLineOption(name);
}

const QList<Command> &All_Commands()
{
    static const QList<Command> commands = {
        {"list", "", "Print the configuration names, one a line.", 0, 0, {}, Command_List},
        {"new", "NAME", "Create the configuration NAME.", 1, 1, {}, Command_New},
        {"check",
         "NAME [--all]",
         "Check the documents of NAME as the windows and the update step do.",
         1,
         1,
         {QStringLiteral("all")},
         Command_Check},
        {"map",
         "NAME",
         "Print how the objects and rules of NAME lie over the data areas, and their overlaps and gaps.",
         1,
         1,
         {},
         Command_Map},
        {"ede",
         "NAME FILE [--layout classic|standard] [--charset utf-8|windows-1252]",
         "Write the EDE file of NAME to FILE (\".csv\" added if missing).",
         2,
         2,
         {QStringLiteral("layout"), QStringLiteral("charset")},
         Command_Ede},
        {"jobfile",
         "NAME --ip A.B.C.D [--option 0|1|2] [--no-read-back]",
         "Write the updater's job file for the configuration NAME.",
         1,
         1,
         {QStringLiteral("ip"), QStringLiteral("option"), QStringLiteral("no-read-back")},
         Command_Jobfile},
        {"update",
         "NAME --ip A.B.C.D [--option 0|1|2] [--no-read-back]",
         "Check and compile NAME, ping the converter, write the job file and run the updater.",
         1,
         1,
         {QStringLiteral("ip"), QStringLiteral("option"), QStringLiteral("no-read-back")},
         Command_Update},
        {"compile", "NAME", "Check and compile NAME into its two images.", 1, 1, {}, Command_Compile},
        {"serve",
         "NAME [--bind ADDR] [--port P]",
         "Serve the device NAME's images describe on BACnet/IP, as the converter will, until stopped.",
         1,
         1,
         {QStringLiteral("bind"), QStringLiteral("port")},
         Command_Serve},
        {"dump",
         Dump_Syntax,
         "Decode a bank1.bin, a bank2.bin or both (a pair, a bin folder, or the images NAME compiles to).",
         0,
         2,
         {QStringLiteral("format"), QStringLiteral("config")},
         Command_Dump},
        {"diff",
         Diff_Syntax,
         "Print what differs between two configurations (documents, then images), bin folders or image pairs.",
         2,
         4,
         {},
         Command_Diff},
        {"verify",
         "NAME --ip A.B.C.D [--port P] [--timeout MS]",
         "Read the converter at A.B.C.D over BACnet/IP and print what differs from the device NAME configures.",
         1,
         1,
         {QStringLiteral("ip"), QStringLiteral("port"), QStringLiteral("timeout")},
         Command_Verify},
        {"export-objects",
         "NAME FILE",
         "Write the BACnet objects of NAME to the CSV file FILE.",
         2,
         2,
         {},
         Command_Export_Objects},
        {"import-objects",
         "NAME FILE [--append]",
         "Read the BACnet objects of NAME from the CSV file FILE.",
         2,
         2,
         {QStringLiteral("append")},
         Command_Import_Objects},
        {"export-rules",
         "NAME FILE",
         "Write the LoRaWAN rules of NAME to the CSV file FILE.",
         2,
         2,
         {},
         Command_Export_Rules},
        {"import-rules",
         "NAME FILE [--append]",
         "Read the LoRaWAN rules of NAME from the CSV file FILE.",
         2,
         2,
         {QStringLiteral("append")},
         Command_Import_Rules},
    };
    return commands;
}

int Command_List(const Command_Context &c)
{
    for (const QString &name : Load_Existing_Configuration(c.ws))
        c.out << name << Qt::endl;
    return 0;
}

int Command_New(const Command_Context &c)
{
    if (const Result<> created = Create_Configuration(c.ws, c.args.at(0)); !created) {
        c.Message(created.Problem());
        return 1;
    }
    return 0;
}

// Opens the existing configuration `name` as the open dialog finds it
// (Search_Open_Conf). False when there is none.
bool Open_Existing(Workspace &ws, const QString &name)
{
    const QStringList names = Load_Existing_Configuration(ws);
    const int index = Search_Open_Conf(names, name);
    if (index < 0)
        return false;
    ws.Open_Configuration(names.at(index));
    return true;
}
