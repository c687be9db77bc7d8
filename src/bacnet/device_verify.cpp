#include "bacnet/device_verify.h"

#include "bacnet/bacnet_codec.h"
#include "bacnet/verify_messages.h"
#include "core/messages.h"
#include "core/object_catalogue.h"
#include "inspector/image_decode.h"
#include "inspector/image_names.h"
#include "snapshot/configuration_snapshot.h"
#include "tables/eng_units.h"
#include "update/sent_images.h"

#include <QDir>
#include <map>
#include <utility>

namespace {

// An object as a line shows it, from either side.
struct Shown_Object
{
    QString type;
    QString name;
    QString units;
};

QString Units_Text(std::optional<std::uint32_t> units)
{
    return units ? Code_With_Name(qint64(*units), Desc_Unit(int(*units))) : QStringLiteral("none");
}

Shown_Object Shown_Of(const Served_Object &o)
{
    return {QString::number(o.type_code), Quoted(o.name),
            Units_Text(o.Has_Units() ? std::optional<std::uint32_t>(o.units) : std::nullopt)};
}

Shown_Object Shown_Of(const Wire_Object &o)
{
    return {o.type ? QString::number(*o.type) : QStringLiteral("none"),
            o.name ? Quoted(*o.name) : QStringLiteral("none"), Units_Text(o.units)};
}

QString Summary(const Shown_Object &o)
{
    return QStringLiteral("object_type %1, name %2, units %3").arg(o.type, o.name, o.units);
}

// Where an object lies among the others and how a line names it: the
// converter's types in the catalogue's order, as the inspector orders its
// records, then any other type by its number.
using Order = std::pair<qint64, qint64>;
struct Keyed
{
    Order order;
    QString name;
};

Keyed Key_Of(int type_code, std::uint32_t instance)
{
    for (std::size_t k = 0; k < Object_Catalogue.size(); ++k)
        if (Object_Catalogue[k].bacnet_code == type_code)
            return {{qint64(k), instance},
                    QLatin1StringView(Object_Catalogue[k].device_text) + u' ' + QString::number(instance)};
    return {{Object_Kind_Count + type_code, instance}, QStringLiteral("type %1 %2").arg(type_code).arg(instance)};
}

void Line(QStringList &lines, const QString &path, const QString &was, const QString &now)
{
    if (was != now)
        lines << path + QStringLiteral(": ") + was + QStringLiteral(" -> ") + now;
}

// The device the two images describe; fails with the inspector's problems.
Result<Served_Device> Device_Of_Images(const QByteArray &bank1, const QByteArray &bank2)
{
    if (Bank_Kind_Of(bank1.size()) != Bank_Kind::Bank1 || Bank_Kind_Of(bank2.size()) != Bank_Kind::Bank2)
        return Fail(Messages().Get(Msg_Verify_Sent_Unreadable));
    QStringList problems;
    const Decoded_Pair pair = Decode_Pair(bank1, bank2, problems);
    if (!problems.isEmpty())
        return Fail(problems.join(u'\n'));
    return Served_Device_Of(pair);
}

bool Same_Device(const Served_Device &a, const Served_Device &b)
{
    if (a.instance != b.instance || a.name != b.name || a.port != b.port || a.mstp != b.mstp ||
        a.objects.size() != b.objects.size())
        return false;
    for (qsizetype i = 0; i < a.objects.size(); ++i) {
        const Served_Object &x = a.objects[i];
        const Served_Object &y = b.objects[i];
        if (x.type_code != y.type_code || x.instance != y.instance || x.name != y.name || x.units != y.units)
            return false;
    }
    return true;
}

} // namespace

Result<Verify_Reference> Verify_Reference_For(const Configuration_Snapshot &configuration, const QString &address)
{
    Result<Served_Device> compiled = Load_Served_Device(configuration);
    if (!compiled)
        return Fail(compiled.Problem());
    Verify_Reference reference;
    reference.device = std::move(compiled).Value();
    reference.source = Messages().Get(Msg_Verify_Against_Configuration).arg(configuration.Project_Name);
    const auto kept = Read_Sent_Images(configuration.Path_Project, address);
    if (!kept || !kept.Value())
        return reference; // nothing sent to that address is known: the configuration is all there is
    const Result<Served_Device> sent = Device_Of_Images(kept.Value()->bank1, kept.Value()->bank2);
    if (sent && !Same_Device(sent.Value(), reference.device)) {
        reference.device = sent.Value();
        reference.sent_copy = true;
        reference.source =
            Messages()
                .Get(Msg_Verify_Against_Sent)
                .arg(address, QDir::toNativeSeparators(Sent_Images_Folder(configuration.Path_Project, address)),
                     configuration.Project_Name);
    }
    return reference;
}

QStringList Device_Differences(const Served_Device &configured, const Wire_Device &wire)
{
    QStringList lines;
    Line(lines, QStringLiteral("device.name"), Quoted(configured.name), Quoted(wire.name));
    std::map<Order, std::tuple<QString, const Served_Object *, const Wire_Object *>> objects;
    for (const Served_Object &o : configured.objects) {
        const Keyed k = Key_Of(o.type_code, o.instance);
        objects[k.order] = {k.name, &o, nullptr};
    }
    for (const Wire_Object &o : wire.objects) {
        const Keyed k = Key_Of(bacnet::Object_Id_Type(o.id), bacnet::Object_Id_Instance(o.id));
        auto &[name, before, after] = objects[k.order];
        name = k.name;
        after = &o;
    }
    for (const auto &[order, object] : objects) {
        const auto &[name, before, after] = object;
        const QString at = QStringLiteral("objects[") + name + u']';
        if (!before) {
            lines << at + QStringLiteral(": added (") + Summary(Shown_Of(*after)) + u')';
        } else if (!after) {
            lines << at + QStringLiteral(": removed (") + Summary(Shown_Of(*before)) + u')';
        } else {
            const Shown_Object was = Shown_Of(*before);
            const Shown_Object now = Shown_Of(*after);
            Line(lines, at + QStringLiteral(".object_type"), was.type, now.type);
            Line(lines, at + QStringLiteral(".name"), was.name, now.name);
            Line(lines, at + QStringLiteral(".units"), was.units, now.units);
        }
    }
    return lines;
}

QString Verify_Failure_Text(const Device_Reader::Outcome &outcome, const BIP_Address &address, std::uint32_t expected,
                            int waited_ms)
{
    const QString where = address.address.toString();
    const QString port = QString::number(address.port);
    switch (outcome.failure) {
    case Device_Reader::Failure::None:
        return {};
    case Device_Reader::Failure::No_Answer:
        if (outcome.detail.isEmpty())
            return Messages().Get(Msg_Verify_No_Answer).arg(where, port, QString::number((waited_ms + 999) / 1000));
        return Messages().Get(Msg_Verify_Stopped_Answering).arg(where, port, outcome.detail);
    case Device_Reader::Failure::Other_Device:
        return Messages()
            .Get(Msg_Verify_Other_Device)
            .arg(where, port, QString::number(outcome.device.instance), QString::number(expected));
    case Device_Reader::Failure::Garbage:
        return Messages().Get(Msg_Verify_Garbage).arg(where, port, outcome.detail);
    case Device_Reader::Failure::Refused:
        return Messages().Get(Msg_Verify_Refused).arg(where, port, outcome.detail);
    case Device_Reader::Failure::Socket:
        return Messages().Get(Msg_Verify_No_Socket).arg(outcome.detail);
    case Device_Reader::Failure::Cancelled:
        return Messages().Get(Msg_Verify_Cancelled);
    }
    return {};
}
