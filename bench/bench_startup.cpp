// Start-up to the main window shown, against a bare Qt window, and the peak
// memory of both. Each figure is the median over separate processes: the
// time runs from starting the process to its first paint of the window, as
// the user sees it (loading the program and Qt, the workspace, the settings,
// the language, every window). The configurator opens a maximal
// configuration and a full language file, as an engineer's workspace holds.
//
//   bench_startup               runs the children and prints the BENCH lines
//   bench_startup --child KIND  one start: KIND is "configurator WORKSPACE" or "bare"

#include "app/app.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <QWidget>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

constexpr int Runs = 15;

// Peak resident memory of this process in kB (Linux), 0 when unknown.
long Peak_Memory_KB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return 0;
}

// Ends the child at the first paint of a top-level window: what the user
// sees first. Exits at once, so teardown is never measured.
class First_Paint : public QObject
{
public:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            auto *widget = qobject_cast<QWidget *>(watched);
            if (widget && widget->isWindow()) {
                std::printf("SHOWN %ld\n", Peak_Memory_KB());
                std::fflush(stdout);
                std::_Exit(0);
            }
        }
        return false;
    }
};

int Child(int argc, char **argv, const QString &kind, const QString &workspace)
{
    QApplication app(argc, argv);
    First_Paint first_paint;
    app.installEventFilter(&first_paint);
    if (kind == u"bare") {
        QWidget window;
        window.resize(800, 600);
        window.show();
        return app.exec();
    }
    return Run_Configurator(app, workspace);
}

void Write(const QString &path, const QByteArray &data)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size())
        qFatal("cannot write %s", qPrintable(path));
}

// A workspace whose last configuration is maximal: 2000 objects, 256 + 256
// rules, and a language file naming every text.
void Make_Workspace(const QString &root)
{
    const QString project = root + QStringLiteral("/PROJECTS/Plant");
    QDir().mkpath(project + QStringLiteral("/bin"));
    QDir().mkpath(root + QStringLiteral("/LANGUAGE"));
    Write(root + QStringLiteral("/Quarnel.xml"),
          "<Conf_Settings><lastproj><projectname>Plant</projectname></lastproj><lastlang><language>Italiano"
          "</language></lastlang></Conf_Settings>");
    QByteArray lng;
    for (int i = 0; i < 1700; ++i)
        lng +=
            "STR" + QByteArray::number(i).rightJustified(4, '0') + " = Testo numero " + QByteArray::number(i) + "\r\n";
    Write(root + QStringLiteral("/LANGUAGE/Italiano.lng"), lng);
    QByteArray objects = "<BACnet_to_Modbus>";
    for (const char *group : {"BACnet_in_Read", "BACnet_in_Write"}) {
        objects += QByteArray("<") + group + '>';
        for (int i = 0; i < 1000; ++i)
            objects += "<row Data_Type=\"Analog Value\" Eng_Unit=\"62\" Position=\"" + QByteArray::number(i) +
                       "\" Bit=\"\" Length=\"1\" Swap=\"N\" Mnemonic=\"Object " + QByteArray::number(i) + "\"/>";
        objects += QByteArray("</") + group + '>';
    }
    Write(project + QStringLiteral("/BACnet_Slave_SetAccess.xml"),
          objects + "</BACnet_to_Modbus><!--SW_VERSION = 1.000-->");
    QByteArray rules = "<LoRaWAN_Set_Access>";
    for (const char *group : {"LoRaWAN_Uplink", "LoRaWAN_Downlink"}) {
        rules += QByteArray("<") + group + '>';
        for (int i = 0; i < 256; ++i)
            rules += "<row Enable=\"Y\" StartByte=\"" + QByteArray::number(i * 4) +
                     "\" NumByte=\"4\" OnChange=\"Y\" OnCMD=\"N\" OnTimer=\"N\" Time=\"0\" Mnemonic=\"r\"/>";
        rules += QByteArray("</") + group + '>';
    }
    Write(project + QStringLiteral("/LoRaWAN_SetAccess.xml"), rules + "</LoRaWAN_Set_Access><!--SW_VERSION = 1.000-->");
}

struct Start
{
    double ms = 0;
    double mb = 0;
};

Start Run_Child(const QString &program, const QStringList &args)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("SW52K31_WEB_HOST"), QStringLiteral("127.0.0.1:9"));
    process.setProcessEnvironment(env);
    QElapsedTimer timer;
    timer.start();
    process.start(program, args);
    QByteArray out;
    while (!out.contains('\n') && process.waitForReadyRead(60000))
        out += process.readAllStandardOutput();
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    process.waitForFinished();
    if (!out.startsWith("SHOWN "))
        qFatal("the child did not show its window: %s %s", out.constData(), process.readAllStandardError().constData());
    return Start{ms, out.mid(6).trimmed().toDouble() / 1024.0};
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    if (argc >= 3 && QByteArray(argv[1]) == "--child")
        return Child(argc, argv, QString::fromLocal8Bit(argv[2]),
                     argc >= 4 ? QString::fromLocal8Bit(argv[3]) : QString());

    QTemporaryDir dir;
    Make_Workspace(dir.path());
    const QString self = QString::fromLocal8Bit(argv[0]);
    const QStringList configurator{QStringLiteral("--child"), QStringLiteral("configurator"), dir.path()};
    const QStringList bare{QStringLiteral("--child"), QStringLiteral("bare")};
    Run_Child(self, configurator); // warm the file cache
    Run_Child(self, bare);
    std::vector<double> app_ms, app_mb, bare_ms, bare_mb;
    for (int i = 0; i < Runs; ++i) {
        const Start a = Run_Child(self, configurator);
        const Start b = Run_Child(self, bare);
        app_ms.push_back(a.ms);
        app_mb.push_back(a.mb);
        bare_ms.push_back(b.ms);
        bare_mb.push_back(b.mb);
    }
    std::printf("median of %d starts each, offscreen\n", Runs);
    std::printf("BENCH startup.shown %.1f %.1f ms 3.0 start-up to the main window shown (maximal configuration, "
                "language file) | a bare Qt window shown\n",
                Median(app_ms), Median(bare_ms));
    std::printf("BENCH startup.memory %.1f %.1f MB 2.0 peak memory at the main window shown | at a bare Qt window "
                "shown\n",
                Median(app_mb), Median(bare_mb));
    return 0;
}
