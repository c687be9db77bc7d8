#include "app/app.h"
#include "cli/cli.h"

#include <QApplication>
#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>

namespace {

// Whether Qt can show the windows: a display of X11 (DISPLAY) or Wayland
// (WAYLAND_DISPLAY), or a platform that draws without one named in
// QT_QPA_PLATFORM (a list separated by ';', a name may be followed by ':'
// and its options).
bool Windows_Can_Show()
{
    if (!qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return true;
    static const QStringList without_display = {QStringLiteral("offscreen"),   QStringLiteral("minimal"),
                                                QStringLiteral("minimalegl"),  QStringLiteral("linuxfb"),
                                                QStringLiteral("eglfs"),       QStringLiteral("vnc"),
                                                QStringLiteral("vkkhrdisplay")};
    const QString platforms = qEnvironmentVariable("QT_QPA_PLATFORM");
    for (const QString &platform : platforms.split(u';', Qt::SkipEmptyParts))
        if (without_display.contains(platform.section(u':', 0, 0).trimmed()))
            return true;
    return false;
}

} // namespace

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
        // Said before Qt fails with a message of its own (and exit 134);
        // English only: the message table is not loaded yet.
        if (!Windows_Can_Show()) {
            std::fputs("sw52k31: the configurator's windows need a graphical session, and there is none here\n"
                       "(neither DISPLAY nor WAYLAND_DISPLAY is set).\n"
                       "Start it from a desktop session, or on a virtual X server:\n"
                       "  xvfb-run -a sw52k31 [--workspace DIR]\n"
                       "The commands need no display: sw52k31 --help lists them.\n",
                       stderr);
            return 1;
        }
        QApplication app(argc, argv);
        return Run_Configurator(app, line.workspace);
    }
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    return Run_Command_Line(arguments, QCoreApplication::applicationDirPath(), out, err);
}
