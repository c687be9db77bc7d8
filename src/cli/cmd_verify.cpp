#include "bacnet/device_verify.h"
#include "bacnet/verify_messages.h"
#include "cli/commands.h"
#include "core/int_read.h"
#include "core/messages.h"
#include "snapshot/configuration_snapshot.h"
#include "update/ip_address.h"
#include "update/update_messages.h"
#include "workspace/workspace.h"
#include "workspace/workspace_messages.h"

#include <QCommandLineParser>
#include <QEventLoop>
#include <QTextStream>

// `verify NAME --ip A.B.C.D [--port P] [--timeout MS]`: the converter read
// over BACnet/IP against the device the configuration describes (or the copy
// last sent to that address, when it describes another device: stderr says
// which). One difference a line on stdout, as `diff` prints; 0 the same, 1
// different, 2 a usage error, an input that could not be read, a device that
// does not answer in time, answers as another device or cannot be trusted,
// or a configuration on MS/TP, which no IP address reaches.
int Command_Verify(const Command_Context &c)
{
    const QString ip_option = QStringLiteral("ip");
    if (!c.parser.isSet(ip_option)) {
        c.Message(Msg_Verify_Needs_Address);
        return 2;
    }
    IP_Octets ip;
    if (!Split_IP_Address(c.parser.value(ip_option), &ip)) {
        c.Message(Msg_Check_IP_Address);
        return 2;
    }
    const QString address = Join_IP_Address(ip);
    std::optional<int> port;
    if (const QString text = c.parser.value(QStringLiteral("port")); c.parser.isSet(QStringLiteral("port"))) {
        int p = 0;
        if (!Try_Str_To_Int(text, &p) || p < 1 || p > 65535) {
            c.Message(Messages().Get(Msg_Verify_Bad_Port).arg(text));
            return 2;
        }
        port = p;
    }
    Client_Timing timing;
    if (const QString text = c.parser.value(QStringLiteral("timeout")); c.parser.isSet(QStringLiteral("timeout"))) {
        int ms = 0;
        if (!Try_Str_To_Int(text, &ms) || ms < 100 || ms > 60000) {
            c.Message(Messages().Get(Msg_Verify_Bad_Timeout).arg(text));
            return 2;
        }
        timing.apdu_timeout_ms = ms;
    }
    // The device is looked for as long as a request is waited for, all retries told.
    timing.find_ms = timing.apdu_timeout_ms * (timing.retries + 1);

    if (!Open_Existing(c.ws, c.args.at(0))) {
        c.Message(Msg_Project_Not_Valid);
        return 2;
    }
    const Configuration_Snapshot configuration = Read_Configuration(c.ws, Output::Images);
    const Result<Verify_Reference> reference = Verify_Reference_For(configuration, address);
    if (!reference) {
        c.Message(reference.Problem());
        return 2;
    }
    if (reference->device.mstp) {
        c.Message(Messages().Get(Msg_Verify_MSTP).arg(configuration.Project_Name));
        return 2;
    }
    c.Message(reference->source);

    const BIP_Address to{QHostAddress(address), quint16(port.value_or(reference->device.port))};
    Device_Reader reader;
    reader.Set_Timing(timing);
    Device_Reader::Outcome outcome;
    QEventLoop loop;
    QObject::connect(&reader, &Device_Reader::Finished, &loop, [&](const Device_Reader::Outcome &o) {
        outcome = o;
        loop.quit();
    });
    reader.Start(to, reference->device.instance);
    loop.exec();
    if (outcome.failure != Device_Reader::Failure::None) {
        c.Message(Verify_Failure_Text(outcome, to, reference->device.instance, timing.find_ms));
        return 2;
    }
    const QStringList lines = Device_Differences(reference->device, outcome.device);
    for (const QString &line : lines)
        c.out << line << Qt::endl;
    return lines.isEmpty() ? 0 : 1;
}
