#include "app/app.h"
#include "cli/cli.h"

#include <QApplication>
#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication::setApplicationName(QStringLiteral("sw52k31"));
    // Ties the windows to the installed desktop entry (its name and icon).
    QGuiApplication::setDesktopFileName(QStringLiteral("sw52k31"));
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);

    const Command_Line line = Parse_Command_Line(arguments);
    if (line.mode == Command_Line::Mode::Windows) {
        QApplication app(argc, argv);
        return Run_Configurator(app, line.workspace);
    }
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    return Run_Command_Line(arguments, QCoreApplication::applicationDirPath(), out, err);
}
