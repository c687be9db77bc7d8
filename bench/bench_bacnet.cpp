// The virtual converter answering ReadPropertyMultiple ALL for every object of
// a maximal configuration (2000 objects), one request per object over a
// loopback UDP round trip, beside the same round trips with the answers
// echoed from memory (the same bytes, nothing decoded or encoded). Floor: the
// protocol makes a round trip at most 3 times as long. Exit code 1 when the
// floor is missed. Prints its BENCH line last (bench/README.md).

#include "bacnet/bacnet_codec.h"
#include "bacnet/device_server.h"
#include "core/object_catalogue.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QNetworkDatagram>
#include <QTextStream>
#include <QUdpSocket>
#include <algorithm>
#include <functional>
#include <vector>

namespace {

// 1000 Read and 1000 Write objects of every type their tables offer, with
// 16-character names, as the images of a maximal configuration give them.
Served_Device Maximal_Device()
{
    Served_Device device;
    device.instance = 77;
    device.name = QStringLiteral("plant");
    std::array<std::uint32_t, Object_Kind_Count> next{};
    for (int half = 0; half < 2; ++half) {
        std::vector<const Object_Type *> types;
        for (const Object_Type &t : Object_Catalogue)
            if (half == 0 ? t.read : t.write)
                types.push_back(&t);
        for (int i = 0; i < 1000; ++i) {
            const Object_Type &t = *types[std::size_t(i) % types.size()];
            Served_Object o;
            o.kind = int(t.kind);
            o.type_code = t.bacnet_code;
            o.instance = next[std::size_t(o.kind)]++;
            o.name = QStringLiteral("Sensor %1 room").arg(i + half * 1000, 4, 10, QLatin1Char('0')).left(16);
            o.write = half == 1;
            o.position = std::uint32_t(i % 1496);
            o.length = t.binary ? 1 : std::uint8_t(t.max_length > 4 ? 4 : std::max(t.max_length, 1));
            o.start_bit = std::uint8_t(i % 8);
            o.units = std::uint16_t(i % 237);
            device.objects.append(o);
        }
    }
    return device;
}

QByteArray Request(const Served_Object &o, int invoke)
{
    QByteArray f = QByteArray::fromHex("810a0000010400050100");
    f[8] = char(invoke);
    f.append(char(14)); // read-property-multiple
    bacnet::Append_Context_Object_Id(f, 0, bacnet::Object_Id(o.type_code, o.instance));
    bacnet::Append_Opening(f, 1);
    bacnet::Append_Context_Enumerated(f, 0, 8); // all
    bacnet::Append_Closing(f, 1);
    f[2] = char(f.size() >> 8);
    f[3] = char(f.size() & 0xFF);
    return f;
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    Device_Server server(Maximal_Device());
    const QList<Served_Object> &objects = server.Device().objects;
    QList<QByteArray> requests;
    for (int i = 0; i < objects.size(); ++i)
        requests.append(Request(objects.at(i), i & 0xFF));

    QUdpSocket device, client;
    if (!device.bind(QHostAddress::LocalHost, 0) || !client.bind(QHostAddress::LocalHost, 0))
        qFatal("cannot bind on loopback");
    const BIP_Address from{QHostAddress::LocalHost, client.localPort()};
    // The answers, for the floor to echo.
    QList<QByteArray> answers;
    for (const QByteArray &r : requests) {
        const Device_Server::Handled h = server.Handle(r, from, 0);
        if (h.replies.size() != 1 || std::uint8_t(h.replies.first().bytes.at(6)) != 0x30)
            qFatal("object not answered with an acknowledgement");
        answers.append(h.replies.first().bytes);
    }

    // One pass over every object; the answer is made by `answer`.
    const auto pass = [&](const std::function<QByteArray(const QNetworkDatagram &, int)> &answer) {
        QElapsedTimer timer;
        timer.start();
        for (int i = 0; i < requests.size(); ++i) {
            client.writeDatagram(requests.at(i), QHostAddress::LocalHost, device.localPort());
            if (!device.hasPendingDatagrams() && !device.waitForReadyRead(5000))
                qFatal("request lost");
            const QNetworkDatagram in = device.receiveDatagram(Device_Server::Max_Datagram + 1);
            device.writeDatagram(answer(in, i), in.senderAddress(), quint16(in.senderPort()));
            if (!client.hasPendingDatagrams() && !client.waitForReadyRead(5000))
                qFatal("answer lost");
            if (client.receiveDatagram().data().size() != answers.at(i).size())
                qFatal("answer differs");
        }
        return double(timer.nsecsElapsed()) / 1000.0 / double(requests.size());
    };
    const auto served = [&](const QNetworkDatagram &in, int) {
        return server.Handle(in.data(), from, 0).replies.first().bytes;
    };
    const auto echoed = [&](const QNetworkDatagram &, int i) { return answers.at(i); };

    std::vector<double> protocol, floor;
    for (int run = 0; run < 2; ++run) { // warm-up
        pass(served);
        pass(echoed);
    }
    for (int run = 0; run < 11; ++run) {
        protocol.push_back(pass(served));
        floor.push_back(pass(echoed));
    }
    const double value = Median(protocol);
    const double base = Median(floor);
    const double ratio = value / base;
    QTextStream out(stdout);
    out << QStringLiteral("read-property-multiple ALL, per object of 2000: %1 us\n").arg(value, 0, 'f', 2)
        << QStringLiteral("the same datagrams echoed:                    %1 us\n").arg(base, 0, 'f', 2)
        << QStringLiteral("protocol / echo:         %1 (floor: at most 3.0) %2\n")
               .arg(ratio, 0, 'f', 2)
               .arg(ratio <= 3.0 ? QStringLiteral("ok") : QStringLiteral("MISSED"));
    out << QStringLiteral("BENCH bacnet.rpm_all %1 %2 us 3.0 read-property-multiple ALL of each object of a maximal "
                          "configuration over loopback UDP | the same round trips, answers echoed undecoded\n")
               .arg(value, 0, 'f', 2)
               .arg(base, 0, 'f', 2);
    out.flush();
    return ratio <= 3.0 ? 0 : 1;
}
