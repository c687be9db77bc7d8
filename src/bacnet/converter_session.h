#pragma once

#include "bacnet/served_device.h"
#include "core/result.h"

#include <QAbstractTableModel>
#include <QHostAddress>
#include <QStringList>
#include <memory>

class Virtual_Converter;
struct Configuration_Snapshot;

// The address and port a device is served on.
struct Serve_Endpoint
{
    QHostAddress address;
    quint16 port = 0; // 0: a free port
};

// The address and port as typed: an IPv4 address and a port from 0 to
// 65535, each refused with its own message.
Result<Serve_Endpoint> Read_Endpoint(const QString &address, const QString &port);

// A raw value as typed for a Read object: a whole number, a sign allowed,
// blanks around it ignored.
Result<std::int64_t> Read_Raw_Value(const QString &typed);

// Whether an input object takes a typed raw value: every Read object whose
// present value comes from an integer (not a text, octet or date-time one).
bool Takes_Raw_Value(const Served_Object &object);

class Converter_Session;

// The objects of one data area as the window lists them: type, instance,
// name, units, position and length, the raw value last set (input area) and
// the present value as it is now. The input area's raw value is editable:
// setData types it in through Converter_Session::Set_Input.
class Served_Objects_Model : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column : int { Type, Instance, Name, Units, Place, Raw, Present_Value, Column_Count };

    Served_Objects_Model(Converter_Session &session, bool write, QObject *parent = nullptr);

    bool Write_Area() const { return write_; }
    // The index into the device's objects of row `row`.
    int Object_Of(int row) const { return rows_.value(row, -1); }
    int Row_Of(int object) const { return rows_.indexOf(object); }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

    // The rows again, from the session's device.
    void Reload();
    // Object `object`'s values changed.
    void Value_Changed(int object);
    // The column headers again, in the language in use.
    void Retitle();

private:
    Converter_Session &session_;
    bool write_;
    QList<int> rows_;
};

// What the Virtual Converter window shows and decides, without the window:
// the configuration's served device (or the gate's refusal), serving it on
// an address and port, the two areas' objects with their present values,
// the raw values typed for the input area, the traffic (the last
// Traffic_Lines_Kept lines) and when to ask about a restart.
class Converter_Session : public QObject
{
    Q_OBJECT

public:
    static constexpr int Traffic_Lines_Kept = 1000;

    explicit Converter_Session(QObject *parent = nullptr);
    ~Converter_Session() override;

    // The configuration's served device, compiled through the gate; a
    // refusal (the text the gate gives) leaves no device. Stops serving.
    Result<> Load(const Configuration_Snapshot &configuration);
    bool Loaded() const { return converter_ != nullptr; }
    // The refusal of the last Load; empty when it loaded.
    const QString &Refusal() const { return refusal_; }
    // The device loaded; an empty one when none.
    const Served_Device &Device() const;
    // The gate's warnings, each as `serve` prints it; and the line that says
    // an MS/TP device is served over IP (empty for a BACnet/IP one).
    QStringList Warning_Lines() const;
    QString MSTP_Line() const;

    // Serves the device on the address and port as typed.
    Result<> Start(const QString &address, const QString &port);
    void Stop();
    bool Running() const;
    quint16 Port() const; // the port bound while running
    // "Serving device ... on address:port" while running.
    QString Serving_Line() const;

    // Types raw value `typed` into input object `object` (an index into the
    // device's objects), as the converter would receive it over LoRaWAN.
    // Refused, with the reason to show, when it is not a whole number or
    // does not fit the object.
    Result<> Set_Input(int object, const QString &typed);
    // The raw value last set for an input object (0 before any).
    std::int64_t Raw_Of(int object) const { return raw_.value(object, 0); }
    QString Present_Value_Text(int object) const;

    const QStringList &Traffic() const { return traffic_; }

    // A document was saved or the images compiled: the question whether to
    // restart the served device with the new images is asked only while it
    // is served.
    bool Ask_Restart() const { return Running(); }
    // Loads the configuration again and, when it loads, serves it where it
    // was served (the port bound, so that clients keep reaching it).
    Result<> Restart(const Configuration_Snapshot &configuration);

    Served_Objects_Model *Inputs() const { return inputs_; }
    Served_Objects_Model *Outputs() const { return outputs_; }

signals:
    void Traffic_Line(const QString &line);
    // A raw value was typed: `refusal` says why it was refused, empty when
    // it was set.
    void Input_Typed(const QString &refusal);
    void Running_Changed(bool running);
    // A new device (or none) was loaded.
    void Device_Changed();

private:
    void On_Value_Changed(int object);

    std::unique_ptr<Virtual_Converter> converter_;
    QString refusal_;
    QList<std::int64_t> raw_;
    QStringList traffic_;
    Served_Objects_Model *inputs_;
    Served_Objects_Model *outputs_;
};
