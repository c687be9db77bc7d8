#include "bacnet/bacnet_messages.h"
#include "bacnet/virtual_converter.h"
#include "cli/commands.h"
#include "core/int_read.h"
#include "core/messages.h"
#include "platform/stop_signals.h"
#include "snapshot/configuration_snapshot.h"
#include "workspace/workspace.h"
#include "workspace/workspace_messages.h"

#include <QCommandLineParser>
#include <QEventLoop>
#include <QTextStream>

// `serve NAME [--bind ADDR] [--port P]`: the device the configuration's
// images describe, answered on BACnet/IP until SIGINT or SIGTERM. The first
// line says where; then one line per request. Exit 0 when stopped by a
// signal, 1 when the configuration is refused or the port cannot be bound,
// 2 for a usage error.
int Command_Serve(const Command_Context &c)
{
    QHostAddress address(QHostAddress::LocalHost);
    if (c.parser.isSet(QStringLiteral("bind"))) {
        const QString text = c.parser.value(QStringLiteral("bind"));
        if (!address.setAddress(text) || address.protocol() != QAbstractSocket::IPv4Protocol) {
            c.Message(Messages().Get(Msg_Serve_Bad_Address).arg(text));
            return 2;
        }
    }
    std::optional<quint16> port;
    if (c.parser.isSet(QStringLiteral("port"))) {
        const QString text = c.parser.value(QStringLiteral("port"));
        int value = 0;
        if (!Try_Str_To_Int(text, &value) || value < 0 || value > 65535) {
            c.Message(Messages().Get(Msg_Serve_Bad_Port).arg(text));
            return 2;
        }
        port = quint16(value);
    }
    if (!Open_Existing(c.ws, c.args.at(0))) {
        c.Message(Msg_Project_Not_Valid);
        return 1;
    }
    // Through the gate, as `check` decides, and then what the images say.
    Result<Served_Device> device = Load_Served_Device(Read_Configuration(c.ws, Output::Images));
    if (!device) {
        c.Message(device.Problem());
        return 1;
    }
    Virtual_Converter converter(device.Value());
    if (const Result<> started = converter.Start(address, port.value_or(device->port)); !started) {
        c.Message(started.Problem());
        return 1;
    }
    Stop_Signals signals_caught;
    c.out << converter.Serving_Line() << Qt::endl;
    if (device->mstp)
        c.out << Messages().Get(Msg_Serve_MSTP_Over_IP).arg(device->instance) << Qt::endl;
    for (const QString &warning : device->warnings)
        c.out << Messages().Get(Msg_Serve_Warning).arg(warning) << Qt::endl;

    QEventLoop loop;
    QObject::connect(&converter, &Virtual_Converter::Traffic, &loop,
                     [&c](const QString &line) { c.out << line << Qt::endl; });
    QObject::connect(&signals_caught, &Stop_Signals::Received, &loop, [&](int signal_number) {
        c.out << Messages().Get(Msg_Serve_Stopped).arg(signal_number) << Qt::endl;
        loop.quit();
    });
    loop.exec();
    converter.Stop();
    return 0;
}
