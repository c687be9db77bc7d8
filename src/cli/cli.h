#pragma once

#include <QString>
#include <QStringList>

class QTextStream;

// What the command line asks for, decided before any application object
// exists (the window program needs a QApplication, a command does not).
struct Command_Line
{
    enum class Mode { Windows, Command, Help, Version, Usage_Error };
    Mode mode = Mode::Windows;
    QString workspace; // --workspace DIR, empty when not given
    QString error;     // for Usage_Error
};

Command_Line Parse_Command_Line(const QStringList &arguments);

// `arguments` without the options that Qt's application objects read for
// themselves (-style Fusion, -style=Fusion, -platform offscreen, -reverse,
// ...; with one dash or two): the window program hands them to Qt, and the
// commands pass them by. Nothing after "--" is an option.
QStringList Without_Qt_Options(const QStringList &arguments);

// Runs a command line in Command, Help, Version or Usage_Error mode and
// returns the exit code: 0 done, 1 refused or failed, 2 usage error.
// `program_dir` is the directory of the executable (the default workspace).
int Run_Command_Line(const QStringList &arguments, const QString &program_dir, QTextStream &out, QTextStream &err);
