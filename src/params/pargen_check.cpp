#include "params/pargen_check.h"

#include "core/int_read.h"
#include "core/messages.h"
#include "params/lora_tables.h"
#include "params/param_messages.h"
#include "params/pargen_document.h"
#include "params/pargen_form.h"

#include <QDir>

namespace {

using Key = ParGen_Key;

// A number that must lie within [Min, Max] (and differ from the excluded
// ports, where given).
struct Range_Rule
{
    Key Field;
    int Min;
    int Max;
    int Message;
};

constexpr Range_Rule Ethernet_Address[] = {
    {Key::Ethernet_IP1, 0, 255, Msg_Ethernet_IP1_Range}, {Key::Ethernet_IP2, 0, 255, Msg_Ethernet_IP2_Range},
    {Key::Ethernet_IP3, 0, 255, Msg_Ethernet_IP3_Range}, {Key::Ethernet_IP4, 0, 255, Msg_Ethernet_IP4_Range},
    {Key::Ethernet_SM1, 0, 255, Msg_Ethernet_SM1_Range}, {Key::Ethernet_SM2, 0, 255, Msg_Ethernet_SM2_Range},
    {Key::Ethernet_SM3, 0, 255, Msg_Ethernet_SM3_Range}, {Key::Ethernet_SM4, 0, 255, Msg_Ethernet_SM4_Range},
};
constexpr Range_Rule Ethernet_Gateway[] = {
    {Key::Ethernet_GAT1, 0, 255, Msg_Ethernet_GAT1_Range},
    {Key::Ethernet_GAT2, 0, 255, Msg_Ethernet_GAT2_Range},
    {Key::Ethernet_GAT3, 0, 255, Msg_Ethernet_GAT3_Range},
    {Key::Ethernet_GAT4, 0, 255, Msg_Ethernet_GAT4_Range},
};
constexpr Range_Rule Ethernet_DNS[] = {
    {Key::Ethernet_DNS1, 0, 255, Msg_Ethernet_DNS1_Range},
    {Key::Ethernet_DNS2, 0, 255, Msg_Ethernet_DNS2_Range},
    {Key::Ethernet_DNS3, 0, 255, Msg_Ethernet_DNS3_Range},
    {Key::Ethernet_DNS4, 0, 255, Msg_Ethernet_DNS4_Range},
};
constexpr Range_Rule BACnet_Address[] = {
    {Key::BACnet_IP1, 0, 255, Msg_BACnet_IP1_Range}, {Key::BACnet_IP2, 0, 255, Msg_BACnet_IP2_Range},
    {Key::BACnet_IP3, 0, 255, Msg_BACnet_IP3_Range}, {Key::BACnet_IP4, 0, 255, Msg_BACnet_IP4_Range},
    {Key::BACnet_SM1, 0, 255, Msg_BACnet_SM1_Range}, {Key::BACnet_SM2, 0, 255, Msg_BACnet_SM2_Range},
    {Key::BACnet_SM3, 0, 255, Msg_BACnet_SM3_Range}, {Key::BACnet_SM4, 0, 255, Msg_BACnet_SM4_Range},
};
constexpr Range_Rule BACnet_Gateway[] = {
    {Key::BACnet_GAT1, 0, 255, Msg_BACnet_GAT1_Range},
    {Key::BACnet_GAT2, 0, 255, Msg_BACnet_GAT2_Range},
    {Key::BACnet_GAT3, 0, 255, Msg_BACnet_GAT3_Range},
    {Key::BACnet_GAT4, 0, 255, Msg_BACnet_GAT4_Range},
};
// A LoRaWAN key of the activation method in use and its number of
// hexadecimal digits.
struct Key_Rule
{
    Key Field;
    int Digits;
    int Message;
};

constexpr Key_Rule ABP_Keys[] = {
    {Key::LoRa_Device_Address, 8, Msg_LoRa_Device_Address_Length},
    {Key::LoRa_Application_Identifier, 16, Msg_LoRa_Application_Identifier_Length},
    {Key::LoRa_Network_Session_Key, 32, Msg_LoRa_Network_Session_Key_Length},
    {Key::LoRa_Application_Session_Key, 32, Msg_LoRa_Application_Session_Key_Length},
};
constexpr Key_Rule OTAA_Key = {Key::LoRa_Application_Key, 32, Msg_LoRa_Application_Key_Length};

constexpr Range_Rule MSTP_Numbers[] = {
    {Key::BACnet_Ser_ID, 0, 127, Msg_MSTP_MAC_Address_Range},
    {Key::BACnet_Ser_Max_Master, 1, 127, Msg_MSTP_Max_Master_Range},
    {Key::BACnet_Ser_Max_Info_Frames, 1, 100, Msg_MSTP_Max_Info_Frames_Range},
    {Key::BACnet_Ser_DEV_IDE, 0, 4194303, Msg_MSTP_Device_Instance_Range},
    {Key::BACnet_Ser_Network, 1, 65534, Msg_MSTP_Network_Range},
};

// Runs the rules and keeps every failure, in the order the rules run.
class Checker
{
public:
    explicit Checker(const ParGen_Values &values)
        : values_(values)
    {}

    Problem_List Take() { return std::move(problems_); }

    bool Fail(int message, const QString &text, Key field)
    {
        problems_.Add({.Text = text, .Message = message, .Key = int(field)});
        return false;
    }
    bool Fail(int message, Key field) { return Fail(message, Messages().Get(message), field); }

    bool Not_Empty(Key field, int message) { return !values_[field].trimmed().isEmpty() || Fail(message, field); }

    // Numbers read with -1 as fallback, so that empty or non-numeric text
    // fails every range (they all start at 0 or 1).
    int Number(Key field) const { return Str_To_Int_Def(values_[field], -1); }

    bool In_Range(const Range_Rule &rule)
    {
        const int n = Number(rule.Field);
        return (n >= rule.Min && n <= rule.Max) || Fail(rule.Message, rule.Field);
    }

    template <size_t N> void All_In_Range(const Range_Rule (&rules)[N])
    {
        for (const Range_Rule &rule : rules)
            In_Range(rule);
    }

    bool Port(Key field, int message, std::initializer_list<int> excluded)
    {
        const int n = Number(field);
        if (n < 0 || n > 65535)
            return Fail(message, field);
        for (int e : excluded) {
            if (n == e)
                return Fail(message, field);
        }
        return true;
    }

    bool On(Key flag) const { return values_[flag] == u"1"; }

    bool Device_Name(Key field, int message)
    {
        const QString &name = values_[field];
        return !Invalid_Device_Name(name) || Fail(message, field);
    }

    // A key is either empty (blanks only: a converter not yet registered,
    // whose key bytes stay zero) or exactly its number of hexadecimal
    // digits. The compiler pads a shorter key with zeros in front, which the
    // network would never accept, and refuses a longer one.
    bool Key_Length(const Key_Rule &rule)
    {
        const QString &text = values_[rule.Field];
        if (text.size() <= rule.Digits && text.trimmed().isEmpty())
            return true;
        bool hex = text.size() == rule.Digits;
        for (QChar c : text) {
            const char16_t u = c.unicode();
            hex = hex && ((u >= u'0' && u <= u'9') || (u >= u'A' && u <= u'F') || (u >= u'a' && u <= u'f'));
        }
        return hex || Fail(rule.Message, rule.Field);
    }

private:
    const ParGen_Values &values_;
    Problem_List problems_;
};

// Every rule runs, each on its own value, except those that follow from a
// failed one: the payload's range needs a band and a data rate, the keys
// need an activation method. Those come after the rule they need, so the
// first failure is the same as when the run stops at it.
void Check_LoRa(Checker &c, const ParGen_Values &values)
{
    const bool band = c.Not_Empty(Key::LoRa_RF_Band, Msg_LoRa_RF_Band_Empty);
    c.Not_Empty(Key::LoRa_Network_Type, Msg_LoRa_Network_Type_Empty);
    const bool datarate = c.Not_Empty(Key::LoRa_DataRate, Msg_LoRa_DataRate_Empty);
    c.Not_Empty(Key::LoRa_Transmission_Type, Msg_LoRa_Transmission_Type_Empty);
    if (band && datarate) {
        const int max = Find_Max_PayLoad(values[Key::LoRa_RF_Band], values[Key::LoRa_DataRate]);
        const int payload = c.Number(Key::LoRa_Payload_Size);
        if (payload < 1 || payload > max)
            c.Fail(Msg_LoRa_Payload_Size_Range,
                   Messages().Get(Msg_LoRa_Payload_Size_Range).replace(QStringLiteral("%d"), QString::number(max)),
                   Key::LoRa_Payload_Size);
    }
    if (!c.Not_Empty(Key::LoRa_Activation_Method, Msg_LoRa_Activation_Method_Empty))
        return;
    // Only the keys of the method in use reach the device, so only they are
    // checked; the method is OTAA as the compiler reads it, any other text
    // is ABP.
    const bool otaa = values[Key::LoRa_Activation_Method].trimmed().compare(
                          Choice_Items(Key::LoRa_Activation_Method).value(1), Qt::CaseInsensitive) == 0;
    if (otaa) {
        c.Key_Length(OTAA_Key);
        return;
    }
    for (const Key_Rule &rule : ABP_Keys)
        c.Key_Length(rule);
}

void Check_Ethernet(Checker &c)
{
    c.All_In_Range(Ethernet_Address);
    if (c.On(Key::Ethernet_EN_GAT))
        c.All_In_Range(Ethernet_Gateway);
    if (c.On(Key::Ethernet_EN_DNS))
        c.All_In_Range(Ethernet_DNS);
    c.Port(Key::Ethernet_TCP_Port, Msg_Ethernet_TCP_Port_Range, {10000});
    c.Port(Key::Ethernet_UDP_Port, Msg_Ethernet_UDP_Port_Range, {10000});
}

void Check_BACnet_IP(Checker &c)
{
    c.All_In_Range(BACnet_Address);
    if (c.On(Key::BACnet_EN_GAT))
        c.All_In_Range(BACnet_Gateway);
    c.Port(Key::BACnet_PORT, Msg_BACnet_Port_Range, {10000, 10001});
    c.Device_Name(Key::BACnet_NAME_STA, Msg_BACnet_Device_Name_Invalid);
    c.In_Range({Key::BACnet_DEV_IDE, 0, 4194303, Msg_BACnet_Device_Identifier_Range});
}

void Check_BACnet_MSTP(Checker &c)
{
    c.Device_Name(Key::BACnet_Ser_NAME_STA, Msg_MSTP_Device_Name_Invalid);
    c.All_In_Range(MSTP_Numbers);
}

} // namespace

Problem_List All_ParGen_Problems(const ParGen_Values &values, int bacnet_type)
{
    Checker c(values);
    Check_LoRa(c, values);
    Check_Ethernet(c);
    if (bacnet_type == 0)
        Check_BACnet_IP(c);
    else
        Check_BACnet_MSTP(c);
    return c.Take();
}

Problem_List All_ParGen_Problems(const ParGen_Form &form)
{
    return All_ParGen_Problems(form.Values(), form.Chosen(ParGen_Key::BACnet_Type));
}

Problem_List Controllo_Dati(const ParGen_Values &values, int bacnet_type)
{
    return All_ParGen_Problems(values, bacnet_type).First_Error();
}

Problem_List Controllo_Dati(const ParGen_Form &form)
{
    return Controllo_Dati(form.Values(), form.Chosen(ParGen_Key::BACnet_Type));
}

Problem_List Check_Stored_Payload(const ParGen_Document &document)
{
    if (document.Status() != ParGen_Document::State::Loaded)
        return {};
    ParGen_Form form;
    form.Load(Load_ParGen(document));
    const QString band = form.Chosen_Text(Key::LoRa_RF_Band);
    const QString datarate = form.Chosen_Text(Key::LoRa_DataRate);
    const int payload = Find_Max_PayLoad(band, datarate);
    if (payload == 0)
        return {};
    const QString file = QDir::toNativeSeparators(document.Path());
    const QString key = Key_Name(Key::LoRa_Payload_Size);
    const std::optional<QString> &stored = document.Text(Key::LoRa_Payload_Size);
    if (!stored) {
        return Problem{.Text =
                           Messages().Get(Msg_Payload_Missing).arg(file, key, band, datarate, QString::number(payload)),
                       .Message = Msg_Payload_Missing,
                       .Key = int(Key::LoRa_Payload_Size)};
    }
    // Read as the compiler reads it: " 51" is 51, "51 " is no number.
    if (Str_To_Int_Def(*stored, -1) == payload)
        return {};
    return Problem{
        .Text = Messages().Get(Msg_Payload_Mismatch).arg(key, file, *stored, band, datarate, QString::number(payload)),
        .Message = Msg_Payload_Mismatch,
        .Key = int(Key::LoRa_Payload_Size)};
}

std::optional<ParGen_Key> Failing_Key(const Problem &problem)
{
    if (problem.Key < 0 || problem.Key >= int(ParGen_Key_Count))
        return std::nullopt;
    return ParGen_Key(problem.Key);
}

std::optional<ParGen_Key> Hidden_Failing_Key(const ParGen_Form &form, const Problem_List &check)
{
    const std::optional<ParGen_Key> key = Failing_Key(check.First());
    if (!key || form.Shown(*key) || Key_Info(*key).Kind != ParGen_Kind::Edit)
        return std::nullopt;
    return key;
}

QString Reset_Question(const ParGen_Form &form, const Problem_List &check, const QString &file)
{
    const ParGen_Key key = Failing_Key(check.First()).value_or(Key::LoRa_RF_Band);
    return Messages()
        .Get(Msg_Hidden_Value_Reset)
        .arg(check.Problem_Text(), form.Text(key), Key_Name(key), QDir::toNativeSeparators(file),
             QString::fromUtf16(Key_Info(key).Default));
}

bool Invalid_Device_Name(QStringView name)
{
    for (QChar c : name) {
        const char16_t u = c.unicode();
        const bool ok = (u >= u'0' && u <= u'9') || (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z');
        if (!ok)
            return true;
    }
    return false;
}

namespace {

// The four octets from `first` on as one number, or nothing when one of them
// is not a number from 0 to 255.
std::optional<quint32> Address_Of(const ParGen_Form &form, ParGen_Key first)
{
    quint32 address = 0;
    for (int k = 0; k < 4; ++k) {
        const int octet = Str_To_Int_Def(form.Text(ParGen_Key(int(first) + k)), -1);
        if (octet < 0 || octet > 255)
            return std::nullopt;
        address = (address << 8) | quint32(octet);
    }
    return address;
}

QString Dotted(quint32 address)
{
    return QStringLiteral("%1.%2.%3.%4")
        .arg(address >> 24)
        .arg((address >> 16) & 0xFF)
        .arg((address >> 8) & 0xFF)
        .arg(address & 0xFF);
}

} // namespace

QStringList Gateway_Warnings(const ParGen_Form &form)
{
    using K = ParGen_Key;
    struct Gateway
    {
        bool shown;
        K enabled, address, mask, gateway;
        int group_message;
    };
    const Gateway gateways[] = {
        {form.BACnet_IP_Rows_Shown(), K::BACnet_EN_GAT, K::BACnet_IP1, K::BACnet_SM1, K::BACnet_GAT1,
         Msg_ParGen_BACnet_Slave},
        {form.Ethernet_Group_Shown(), K::Ethernet_EN_GAT, K::Ethernet_IP1, K::Ethernet_SM1, K::Ethernet_GAT1,
         Msg_ParGen_Ethernet},
    };
    QStringList warnings;
    for (const Gateway &g : gateways) {
        if (!g.shown || !form.Checked(g.enabled))
            continue;
        const std::optional<quint32> address = Address_Of(form, g.address);
        const std::optional<quint32> mask = Address_Of(form, g.mask);
        const std::optional<quint32> gateway = Address_Of(form, g.gateway);
        if (!address || !mask || !gateway || ((*address ^ *gateway) & *mask) == 0)
            continue;
        warnings << Messages()
                        .Get(Msg_Gateway_Outside)
                        .arg(Dotted(*gateway), Dotted(*address), Dotted(*mask), Messages().Get(g.group_message));
    }
    return warnings;
}
