#include "cli/commands.h"

#include "compiler/bank_dump.h"
#include "compiler/bank_files.h"
#include "lang/messages.h"
#include "shell/configurations.h"
#include "shell/workspace.h"

#include <QCommandLineOption>
#include <QDir>
#include <QFile>
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
        {"compile", "NAME", "Check and compile NAME into its two images.", 1, 1, {}, Command_Compile},
        {"dump", "FILE", "Decode a bank1.bin or bank2.bin into JSON.", 1, 1, {}, Command_Dump},
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
    const int refused = Create_Configuration(c.ws, c.args.at(0));
    if (refused != 0) {
        c.Message(refused);
        return 1;
    }
    return 0;
}

int Command_Compile(const Command_Context &c)
{
    // Only the name of an existing configuration folder opens one, so no
    // argument can point the images anywhere else.
    const QStringList names = Load_Existing_Configuration(c.ws);
    const int found = c.args.at(0).isEmpty() ? -1 : Search_Open_Conf(names, c.args.at(0));
    if (found < 0) {
        c.Message(18);
        return 1;
    }
    c.ws.Open_Configuration(names.at(found));
    QStringList written;
    QString problem;
    if (!Build_Bank_Files(c.ws, &written, &problem)) {
        c.Message(problem);
        return 1;
    }
    for (const QString &path : written)
        c.out << QDir::toNativeSeparators(path) << Qt::endl;
    return 0;
}

int Command_Dump(const Command_Context &c)
{
    const QString path = c.args.at(0);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        c.Message(Messages().Get(Msg_File_Not_Read).arg(QDir::toNativeSeparators(path), file.errorString()));
        return 1;
    }
    // Told apart by size, before anything is read.
    const Bank_Kind kind = Bank_Kind_Of(file.size());
    if (kind == Bank_Kind::Unknown) {
        c.Message(
            Messages().Get(Msg_Not_A_Bank_Image).arg(QDir::toNativeSeparators(path), QString::number(file.size())));
        return 1;
    }
    const QByteArray image = file.readAll();
    if (Bank_Kind_Of(image.size()) != kind) {
        c.Message(Messages().Get(Msg_File_Not_Read).arg(QDir::toNativeSeparators(path), file.errorString()));
        return 1;
    }
    c.out << QString::fromUtf8(kind == Bank_Kind::Bank1 ? Dump_Bank1(image) : Dump_Bank2(image));
    return 0;
}
