#include "bacnet/converter_session.h"

#include "bacnet/bacnet_messages.h"
#include "bacnet/converter_messages.h"
#include "bacnet/value_rule.h"
#include "bacnet/virtual_converter.h"
#include "core/messages.h"
#include "core/object_catalogue.h"
#include "snapshot/configuration_snapshot.h"
#include "tables/eng_units.h"

namespace {

QString Text(int n)
{
    return Messages().Get(n);
}

QString Type_Text(const Served_Object &o)
{
    const Object_Type &type = Object_Type_Of(Object_Kind(o.kind));
    return type.table_text ? QString::fromUtf16(type.table_text) : QString::fromLatin1(type.device_text);
}

} // namespace

Result<Serve_Endpoint> Read_Endpoint(const QString &address, const QString &port)
{
    Serve_Endpoint endpoint;
    const QString a = address.trimmed();
    if (!endpoint.address.setAddress(a) || endpoint.address.protocol() != QAbstractSocket::IPv4Protocol)
        return Fail(Text(Msg_Serve_Bad_Address).arg(address));
    bool ok = false;
    const uint p = port.trimmed().toUInt(&ok, 10);
    if (!ok || p > 65535)
        return Fail(Text(Msg_Serve_Bad_Port).arg(port));
    endpoint.port = quint16(p);
    return endpoint;
}

Result<std::int64_t> Read_Raw_Value(const QString &typed)
{
    bool ok = false;
    const qlonglong v = typed.trimmed().toLongLong(&ok, 10);
    if (!ok)
        return Fail(Text(Msg_VC_Not_A_Number).arg(typed));
    return std::int64_t(v);
}

bool Takes_Raw_Value(const Served_Object &object)
{
    if (object.write)
        return false;
    switch (Present_Value_Kind(object)) {
    case BACnet_Value::Kind::Character_String:
    case BACnet_Value::Kind::Octet_String:
    case BACnet_Value::Kind::Date:
        return false;
    default:
        return true;
    }
}

// The objects of one area.

Served_Objects_Model::Served_Objects_Model(Converter_Session &session, bool write, QObject *parent)
    : QAbstractTableModel(parent)
    , session_(session)
    , write_(write)
{}

int Served_Objects_Model::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(rows_.size());
}

int Served_Objects_Model::columnCount(const QModelIndex &parent) const
{
    // The output area has no raw value: clients write its present values.
    return parent.isValid() ? 0 : Column_Count;
}

QVariant Served_Objects_Model::data(const QModelIndex &index, int role) const
{
    const int object = Object_Of(index.row());
    if (object < 0 || object >= session_.Device().objects.size())
        return {};
    const Served_Object &o = session_.Device().objects.at(object);
    if (role == Qt::ToolTipRole && index.column() == Raw && Takes_Raw_Value(o))
        return Text(Msg_VC_Raw_Hint);
    if (role == Qt::TextAlignmentRole && index.column() != Name && index.column() != Type && index.column() != Units)
        return int(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    switch (index.column()) {
    case Type:
        return Type_Text(o);
    case Instance:
        return QString::number(o.instance);
    case Name:
        return o.name;
    case Units:
        return Unit_Shown(QString::number(o.units));
    case Place:
        return QStringLiteral("%1 / %2").arg(o.position).arg(o.length);
    case Raw:
        return Takes_Raw_Value(o) ? QString::number(session_.Raw_Of(object)) : QString();
    case Present_Value:
        return session_.Present_Value_Text(object);
    default:
        return {};
    }
}

QVariant Served_Objects_Model::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= Column_Count)
        return QAbstractTableModel::headerData(section, orientation, role);
    return Text(Msg_VC_Column_Type + section);
}

Qt::ItemFlags Served_Objects_Model::flags(const QModelIndex &index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    const int object = Object_Of(index.row());
    if (index.column() == Raw && object >= 0 && Takes_Raw_Value(session_.Device().objects.at(object)))
        f |= Qt::ItemIsEditable;
    return f;
}

bool Served_Objects_Model::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || index.column() != Raw || !(flags(index) & Qt::ItemIsEditable))
        return false;
    // A refusal is told by the session's Input_Typed; the cell keeps the
    // value it had.
    return session_.Set_Input(Object_Of(index.row()), value.toString()).Ok();
}

void Served_Objects_Model::Reload()
{
    beginResetModel();
    rows_.clear();
    const QList<Served_Object> &objects = session_.Device().objects;
    for (int i = 0; i < objects.size(); ++i)
        if (objects.at(i).write == write_)
            rows_ << i;
    endResetModel();
}

void Served_Objects_Model::Value_Changed(int object)
{
    const int row = Row_Of(object);
    if (row >= 0)
        emit dataChanged(index(row, Raw), index(row, Present_Value));
}

void Served_Objects_Model::Retitle()
{
    emit headerDataChanged(Qt::Horizontal, 0, Column_Count - 1);
}

// The session.

Converter_Session::Converter_Session(QObject *parent)
    : QObject(parent)
    , inputs_(new Served_Objects_Model(*this, false, this))
    , outputs_(new Served_Objects_Model(*this, true, this))
{}

Converter_Session::~Converter_Session() = default;

const Served_Device &Converter_Session::Device() const
{
    static const Served_Device none;
    return converter_ ? converter_->Device() : none;
}

Result<> Converter_Session::Load(const Configuration_Snapshot &configuration)
{
    const bool was_running = Running();
    converter_.reset();
    raw_.clear();
    Result<Served_Device> device = Load_Served_Device(configuration);
    refusal_ = device ? QString() : device.Problem();
    if (device) {
        converter_ = std::make_unique<Virtual_Converter>(std::move(device).Value());
        raw_ = QList<std::int64_t>(converter_->Device().objects.size(), 0);
        connect(converter_.get(), &Virtual_Converter::Value_Changed, this,
                [this](int object, const BACnet_Value &) { On_Value_Changed(object); });
        connect(converter_.get(), &Virtual_Converter::Traffic, this, [this](const QString &line) {
            traffic_ << line;
            if (traffic_.size() > Traffic_Lines_Kept)
                traffic_.remove(0, traffic_.size() - Traffic_Lines_Kept);
            emit Traffic_Line(line);
        });
    }
    inputs_->Reload();
    outputs_->Reload();
    emit Device_Changed();
    if (was_running)
        emit Running_Changed(false);
    if (!device)
        return Fail(refusal_);
    return {};
}

QStringList Converter_Session::Warning_Lines() const
{
    QStringList lines;
    for (const QString &warning : Device().warnings)
        lines << Text(Msg_Serve_Warning).arg(warning);
    return lines;
}

QString Converter_Session::MSTP_Line() const
{
    return Loaded() && Device().mstp ? Text(Msg_Serve_MSTP_Over_IP).arg(Device().instance) : QString();
}

Result<> Converter_Session::Start(const QString &address, const QString &port)
{
    if (!converter_)
        return Fail(refusal_);
    const Result<Serve_Endpoint> endpoint = Read_Endpoint(address, port);
    if (!endpoint)
        return Fail(endpoint.Problem());
    Result<> started = converter_->Start(endpoint->address, endpoint->port);
    emit Running_Changed(Running());
    return started;
}

void Converter_Session::Stop()
{
    if (!Running())
        return;
    converter_->Stop();
    emit Running_Changed(false);
}

bool Converter_Session::Running() const
{
    return converter_ && converter_->Running();
}

quint16 Converter_Session::Port() const
{
    return Running() ? converter_->Port() : 0;
}

QString Converter_Session::Serving_Line() const
{
    return Running() ? converter_->Serving_Line() : Text(Msg_VC_Not_Serving);
}

Result<> Converter_Session::Set_Input(int object, const QString &typed)
{
    if (!converter_)
        return Fail(refusal_);
    const Result<std::int64_t> raw = Read_Raw_Value(typed);
    Result<> set = raw ? converter_->Set_Input_Raw(object, raw.Value()) : Result<>(Fail(raw.Problem()));
    emit Input_Typed(set.Problem());
    if (!set)
        return set;
    raw_[object] = raw.Value();
    // The raw cell follows even when the present value does not change (a
    // multi-state object's 0 shows as 1, as 1 does).
    inputs_->Value_Changed(object);
    return {};
}

QString Converter_Session::Present_Value_Text(int object) const
{
    return converter_ ? converter_->Present_Value(object).Text() : QString();
}

Result<> Converter_Session::Restart(const Configuration_Snapshot &configuration)
{
    const QString address = converter_ && Running() ? converter_->Address().toString() : QString();
    const quint16 port = converter_ && Running() ? converter_->Port() : 0;
    if (Result<> loaded = Load(configuration); !loaded)
        return loaded;
    if (address.isEmpty())
        return {};
    return Start(address, QString::number(port));
}

void Converter_Session::On_Value_Changed(int object)
{
    inputs_->Value_Changed(object);
    outputs_->Value_Changed(object);
}
