#include "params/pargen_values.h"

#include "params/lora_tables.h"

namespace {

using K = ParGen_Kind;

// Document order; the position of each entry is its ParGen_Key.
constexpr ParGen_Key_Info Keys[ParGen_Key_Count] = {
    {"LoRa_RF_Band", u"AS923", K::Text_Choice},
    {"LoRa_Network_Type", u"Private", K::Text_Choice},
    {"LoRa_Adaptive_DataRate", u"0", K::Flag},
    {"LoRa_DataRate", nullptr, K::Text_Choice}, // the band's first item
    {"LoRa_Transmission_Type", u"Unconfirmed", K::Text_Choice},
    {"LoRa_Payload_Size", nullptr, K::Payload}, // computed
    {"LoRa_Activation_Method", u"Activation by Personalization [ABP]", K::Text_Choice},
    {"LoRa_Device_Address", u"", K::Edit},
    {"LoRa_Application_Identifier", u"", K::Edit},
    {"LoRa_Network_Session_Key", u"", K::Edit},
    {"LoRa_Application_Session_Key", u"", K::Edit},
    {"LoRa_Application_Key", u"", K::Edit},

    {"Ethernet_IP1", u"192", K::Edit},
    {"Ethernet_IP2", u"168", K::Edit},
    {"Ethernet_IP3", u"0", K::Edit},
    {"Ethernet_IP4", u"10", K::Edit},
    {"Ethernet_SM1", u"255", K::Edit},
    {"Ethernet_SM2", u"255", K::Edit},
    {"Ethernet_SM3", u"255", K::Edit},
    {"Ethernet_SM4", u"0", K::Edit},
    {"Ethernet_GAT1", u"192", K::Edit},
    {"Ethernet_GAT2", u"168", K::Edit},
    {"Ethernet_GAT3", u"0", K::Edit},
    {"Ethernet_GAT4", u"1", K::Edit},
    {"Ethernet_EN_GAT", u"0", K::Flag},
    {"Ethernet_DNS1", u"8", K::Edit},
    {"Ethernet_DNS2", u"8", K::Edit},
    {"Ethernet_DNS3", u"8", K::Edit},
    {"Ethernet_DNS4", u"8", K::Edit},
    {"Ethernet_EN_DNS", u"0", K::Flag},
    {"Ethernet_TCP_Port", u"10001", K::Edit},
    {"Ethernet_UDP_Port", u"10001", K::Edit},

    {"BACnet_Type", u"0", K::Index_Choice},
    {"BACnet_IP1", u"192", K::Edit},
    {"BACnet_IP2", u"168", K::Edit},
    {"BACnet_IP3", u"0", K::Edit},
    {"BACnet_IP4", u"5", K::Edit},
    {"BACnet_SM1", u"255", K::Edit},
    {"BACnet_SM2", u"255", K::Edit},
    {"BACnet_SM3", u"255", K::Edit},
    {"BACnet_SM4", u"0", K::Edit},
    {"BACnet_GAT1", u"192", K::Edit},
    {"BACnet_GAT2", u"168", K::Edit},
    {"BACnet_GAT3", u"0", K::Edit},
    {"BACnet_GAT4", u"1", K::Edit},
    {"BACnet_EN_GAT", u"0", K::Flag},
    {"BACnet_PORT", u"47808", K::Edit},
    {"BACnet_NAME_STA", u"devicename1", K::Edit},
    {"BACnet_DEV_IDE", u"1", K::Edit},
    {"BACnet_Ser_Baudrate", u"3", K::Index_Choice},
    {"BACnet_Ser_Parity", u"0", K::Index_Choice},
    {"BACnet_Ser_ID", u"0", K::Edit},
    {"BACnet_Ser_NAME_STA", u"devicename1", K::Edit},
    {"BACnet_Ser_Max_Master", u"1", K::Edit},
    {"BACnet_Ser_Max_Info_Frames", u"1", K::Edit},
    {"BACnet_Ser_DEV_IDE", u"1", K::Edit},
    {"BACnet_Ser_Network", u"1", K::Edit},
    {"BACnet_Desc_Chars_Limit", u"0", K::Flag},
};

std::array<ParGen_Key, ParGen_Key_Count> Make_All_Keys()
{
    std::array<ParGen_Key, ParGen_Key_Count> keys{};
    for (int i = 0; i < ParGen_Key_Count; ++i)
        keys[size_t(i)] = ParGen_Key(i);
    return keys;
}

QStringList Texts(std::initializer_list<const char16_t *> texts)
{
    QStringList list;
    for (const char16_t *t : texts)
        list.append(QString::fromUtf16(t));
    return list;
}

} // namespace

static_assert(int(ParGen_Key::BACnet_Desc_Chars_Limit) + 1 == ParGen_Key_Count);
static_assert(int(ParGen_Key::Ethernet_IP1) == 12 && int(ParGen_Key::BACnet_Type) == 32);

const ParGen_Key_Info &Key_Info(ParGen_Key key)
{
    return Keys[int(key)];
}

bool Find_ParGen_Key(QStringView name, ParGen_Key *key)
{
    for (int i = 0; i < ParGen_Key_Count; ++i) {
        if (name == QLatin1StringView(Keys[i].Name)) {
            *key = ParGen_Key(i);
            return true;
        }
    }
    return false;
}

const std::array<ParGen_Key, ParGen_Key_Count> &All_ParGen_Keys()
{
    static const std::array<ParGen_Key, ParGen_Key_Count> keys = Make_All_Keys();
    return keys;
}

namespace {

QStringList Make_Choice_Items(ParGen_Key key)
{
    switch (key) {
    case ParGen_Key::LoRa_RF_Band:
        return LoRa_Band_Texts();
    case ParGen_Key::LoRa_Network_Type:
        return Texts({u"Private", u"Public"});
    case ParGen_Key::LoRa_Transmission_Type:
        return Texts({u"Unconfirmed", u"Confirmed"});
    case ParGen_Key::LoRa_Activation_Method:
        return Texts({u"Activation by Personalization [ABP]", u"Over-the-Air Activation [OTAA]"});
    case ParGen_Key::BACnet_Type:
        return Texts({u"BACnet/IP", u"BACnet MS/TP"});
    case ParGen_Key::BACnet_Ser_Baudrate:
        return Texts({u"9600", u"19200", u"38400", u"57600", u"76800", u"115200"});
    case ParGen_Key::BACnet_Ser_Parity:
        return Texts({u"NONE", u"ODD", u"EVEN"});
    default:
        return QStringList();
    }
}

} // namespace

QStringList Choice_Items(ParGen_Key key)
{
    // Made once: the lists never change, and a form asks for them at every
    // value it composes.
    static const std::array<QStringList, ParGen_Key_Count> items = [] {
        std::array<QStringList, ParGen_Key_Count> made;
        for (int i = 0; i < ParGen_Key_Count; ++i)
            made[size_t(i)] = Make_Choice_Items(ParGen_Key(i));
        return made;
    }();
    return items[size_t(key)];
}

int Find_Item_Ignoring_Case(const QStringList &items, QStringView text)
{
    for (qsizetype i = 0; i < items.size(); ++i) {
        if (QStringView(items[i]).compare(text, Qt::CaseInsensitive) == 0)
            return int(i);
    }
    return -1;
}

ParGen_Values::ParGen_Values()
{
    for (int i = 0; i < ParGen_Key_Count; ++i) {
        if (Keys[i].Default)
            values_[size_t(i)] = QString::fromUtf16(Keys[i].Default);
    }
}

bool ParGen_Values::Value(QStringView name, QString *text) const
{
    ParGen_Key key;
    if (!Find_ParGen_Key(name, &key))
        return false;
    *text = (*this)[key];
    return true;
}
