#include "cli/cli.h"

#include "cli/commands.h"
#include "core/version.h"
#include "workspace/start_workspace.h"
#include "workspace/workspace.h"

#include <QCommandLineParser>
#include <QTextStream>

namespace {

const QCommandLineOption Workspace_Option(QStringLiteral("workspace"), QStringLiteral("Use DIR as the workspace root."),
                                          QStringLiteral("DIR"));

void Add_Options(QCommandLineParser &parser)
{
    parser.setApplicationDescription(QStringLiteral("Configurator of the 52K31 BACnet Slave / LoRaWAN converter.\n"
                                                    "Without a command it starts the configurator's windows."));
    parser.addOption(Workspace_Option);
    parser.addOption(QCommandLineOption(QStringLiteral("help"), QStringLiteral("Show this help.")));
    parser.addOption(QCommandLineOption(QStringLiteral("version"), QStringLiteral("Show the version.")));
    QStringList seen;
    for (const Command &command : All_Commands())
        for (const QString &name : command.options)
            if (!seen.contains(name)) {
                seen << name;
                parser.addOption(Command_Option(name));
            }
    parser.addPositionalArgument(QStringLiteral("command"), QStringLiteral("The command to run."),
                                 QStringLiteral("[COMMAND ...]"));
}

const Command *Find_Command(const QString &name)
{
    for (const Command &command : All_Commands())
        if (name == QLatin1StringView(command.name))
            return &command;
    return nullptr;
}

QString Help_Text(const QCommandLineParser &parser)
{
    QString text = parser.helpText();
    text += QStringLiteral("\nCommands:\n");
    for (const Command &command : All_Commands()) {
        const QString usage = QLatin1StringView(command.name) + u' ' + QLatin1StringView(command.syntax);
        text += QStringLiteral("  %1  %2\n").arg(usage.leftJustified(44), QLatin1StringView(command.summary));
    }
    return text;
}

} // namespace

QStringList Without_Qt_Options(const QStringList &arguments)
{
    // QGuiApplication's and QApplication's options, those with a value first.
    static const QStringList with_value = {QStringLiteral("platform"),        QStringLiteral("platformpluginpath"),
                                           QStringLiteral("platformtheme"),   QStringLiteral("plugin"),
                                           QStringLiteral("qwindowgeometry"), QStringLiteral("qwindowicon"),
                                           QStringLiteral("qwindowtitle"),    QStringLiteral("session"),
                                           QStringLiteral("display"),         QStringLiteral("geometry"),
                                           QStringLiteral("style"),           QStringLiteral("stylesheet"),
                                           QStringLiteral("qmljsdebugger")};
    static const QStringList flags = {QStringLiteral("reverse"), QStringLiteral("widgetcount"),
                                      QStringLiteral("nograb"),  QStringLiteral("dograb"),
                                      QStringLiteral("sync"),    QStringLiteral("testability")};
    QStringList kept;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        if (argument == u"--") {
            kept << arguments.mid(i);
            break;
        }
        // The first is the program.
        if (i == 0 || !argument.startsWith(u'-') || argument.size() < 2) {
            kept << argument;
            continue;
        }
        const QStringView name = QStringView(argument).mid(argument.startsWith(u"--") ? 2 : 1);
        const qsizetype equals = name.indexOf(u'=');
        const QStringView bare = equals < 0 ? name : name.left(equals);
        if (with_value.contains(bare)) {
            if (equals < 0)
                ++i; // the value follows
            continue;
        }
        if (equals < 0 && flags.contains(bare))
            continue;
        kept << argument;
    }
    return kept;
}

Command_Line Parse_Command_Line(const QStringList &given)
{
    const QStringList arguments = Without_Qt_Options(given);
    Command_Line line;
    QCommandLineParser parser;
    Add_Options(parser);
    if (!parser.parse(arguments)) {
        line.mode = Command_Line::Mode::Usage_Error;
        line.error = parser.errorText();
        return line;
    }
    line.workspace = parser.value(Workspace_Option);
    if (parser.isSet(QStringLiteral("help")))
        line.mode = Command_Line::Mode::Help;
    else if (parser.isSet(QStringLiteral("version")))
        line.mode = Command_Line::Mode::Version;
    else if (!parser.positionalArguments().isEmpty())
        line.mode = Command_Line::Mode::Command;
    return line;
}

int Run_Command_Line(const QStringList &given, const QString &program_dir, QTextStream &out, QTextStream &err)
{
    const QStringList arguments = Without_Qt_Options(given);
    QCommandLineParser parser;
    Add_Options(parser);
    if (!parser.parse(arguments)) {
        err << parser.errorText() << Qt::endl << QStringLiteral("Try --help.") << Qt::endl;
        return 2;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        out << Help_Text(parser);
        out.flush();
        return 0;
    }
    if (parser.isSet(QStringLiteral("version"))) {
        out << QStringLiteral("sw52k31 ") << QLatin1StringView(Program_Version) << Qt::endl;
        return 0;
    }
    const QStringList positional = parser.positionalArguments();
    if (positional.isEmpty()) {
        err << QStringLiteral("No command given. Try --help.") << Qt::endl;
        return 2;
    }
    const Command *command = Find_Command(positional.first());
    if (!command) {
        err << QStringLiteral("Unknown command: %1. Try --help.").arg(positional.first()) << Qt::endl;
        return 2;
    }
    const QStringList args = positional.mid(1);
    if (args.size() < command->min_args || args.size() > command->max_args) {
        err << QStringLiteral("Usage: sw52k31 [--workspace DIR] %1 %2")
                   .arg(QLatin1StringView(command->name), QLatin1StringView(command->syntax))
            << Qt::endl;
        return 2;
    }
    for (const QString &name : parser.optionNames()) {
        if (name == u"workspace" || command->options.contains(name))
            continue;
        err << QStringLiteral("The command %1 takes no option --%2.").arg(QLatin1StringView(command->name), name)
            << Qt::endl;
        return 2;
    }

    Workspace ws;
    const QString root = Choose_Workspace_Root(program_dir, parser.value(Workspace_Option));
    for (const QString &problem : Start_Workspace(ws, root))
        err << problem << Qt::endl;
    const Command_Context context{ws, args, parser, out, err};
    const int code = command->run(context);
    out.flush();
    err.flush();
    return code;
}
