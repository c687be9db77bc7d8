#pragma once

#include "inspector/image_decode.h"

#include <QByteArray>
#include <QStringList>
#include <optional>
#include <utility>

class QCommandLineOption;
class QCommandLineParser;
class QTextStream;
struct Workspace;

// What a command gets: the started workspace, its positional arguments
// (after the command name), the parsed options and the two streams.
struct Command_Context
{
    Workspace &ws;
    QStringList args;
    const QCommandLineParser &parser;
    QTextStream &out;
    QTextStream &err;

    // Writes message `n` of the table, as the user's language has it, to err.
    void Message(int n) const;
    void Message(const QString &text) const;
};

struct Command
{
    const char *name;
    const char *syntax;  // the arguments, for --help
    const char *summary; // one line, for --help
    int min_args;
    int max_args;
    QStringList options; // names of the options this command takes
    int (*run)(const Command_Context &);
};

// How `dump` is used, for --help and its usage error.
inline constexpr const char *Dump_Syntax = "FILE | BANK1 BANK2 | DIR | --config NAME [--format json|table]";

// How `diff` is used, for --help and its usage error.
inline constexpr const char *Diff_Syntax = "A B | A1 A2 B1 B2";

// One image file, read whole and told apart by its size; null after saying
// why it could not be (on err).
std::optional<std::pair<Bank_Kind, QByteArray>> Read_Bank_Image(const Command_Context &c, const QString &path);

// The option `name` that some command takes, with its help text.
QCommandLineOption Command_Option(const QString &name);

// Every command of the program.
const QList<Command> &All_Commands();

// Opens the existing configuration `name` as the open dialog finds it: the
// folder of that name, else the first whose name differs only in letter
// case. False when there is none (the caller reports message 18).
bool Open_Existing(Workspace &ws, const QString &name);

int Command_List(const Command_Context &c);
int Command_New(const Command_Context &c);
int Command_Check(const Command_Context &c);
int Command_Ede(const Command_Context &c);
int Command_Jobfile(const Command_Context &c);
int Command_Update(const Command_Context &c);
int Command_Compile(const Command_Context &c);
int Command_Dump(const Command_Context &c);
int Command_Map(const Command_Context &c);
int Command_Diff(const Command_Context &c);
int Command_Serve(const Command_Context &c);
int Command_Verify(const Command_Context &c);
int Command_Export_Objects(const Command_Context &c);
int Command_Import_Objects(const Command_Context &c);
int Command_Export_Rules(const Command_Context &c);
int Command_Import_Rules(const Command_Context &c);
