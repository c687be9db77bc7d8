#pragma once

#include <QString>
#include <QStringList>
#include <array>

// The 58 keys of ParGen.xml, in document order. The enumerator names are the
// element names.
enum class ParGen_Key : int {
    // LoRaWAN (12)
    LoRa_RF_Band,
    LoRa_Network_Type,
    LoRa_Adaptive_DataRate,
    LoRa_DataRate,
    LoRa_Transmission_Type,
    LoRa_Payload_Size,
    LoRa_Activation_Method,
    LoRa_Device_Address,
    LoRa_Application_Identifier,
    LoRa_Network_Session_Key,
    LoRa_Application_Session_Key,
    LoRa_Application_Key,
    // Ethernet (20)
    Ethernet_IP1,
    Ethernet_IP2,
    Ethernet_IP3,
    Ethernet_IP4,
    Ethernet_SM1,
    Ethernet_SM2,
    Ethernet_SM3,
    Ethernet_SM4,
    Ethernet_GAT1,
    Ethernet_GAT2,
    Ethernet_GAT3,
    Ethernet_GAT4,
    Ethernet_EN_GAT,
    Ethernet_DNS1,
    Ethernet_DNS2,
    Ethernet_DNS3,
    Ethernet_DNS4,
    Ethernet_EN_DNS,
    Ethernet_TCP_Port,
    Ethernet_UDP_Port,
    // BACnet (26)
    BACnet_Type,
    BACnet_IP1,
    BACnet_IP2,
    BACnet_IP3,
    BACnet_IP4,
    BACnet_SM1,
    BACnet_SM2,
    BACnet_SM3,
    BACnet_SM4,
    BACnet_GAT1,
    BACnet_GAT2,
    BACnet_GAT3,
    BACnet_GAT4,
    BACnet_EN_GAT,
    BACnet_PORT,
    BACnet_NAME_STA,
    BACnet_DEV_IDE,
    BACnet_Ser_Baudrate,
    BACnet_Ser_Parity,
    BACnet_Ser_ID,
    BACnet_Ser_NAME_STA,
    BACnet_Ser_Max_Master,
    BACnet_Ser_Max_Info_Frames,
    BACnet_Ser_DEV_IDE,
    BACnet_Ser_Network,
    BACnet_Desc_Chars_Limit,
};

inline constexpr int ParGen_Key_Count = 58;

// The one element beyond the 58 keys that a reader looks for: the compiler
// takes a transmit interval in minutes from it. The window neither shows nor
// writes it, so a save drops it.
inline constexpr const char *Transmit_Interval_Element = "LoRa_Transmit_Interval";

// How a key's text reaches its control in the parameter window.
enum class ParGen_Kind {
    Text_Choice,  // drop-down, stored as the chosen item's text
    Index_Choice, // drop-down, stored as the chosen item's index
    Flag,         // check box, "1" on, "0" off
    Payload,      // read-only edit, recomputed from band and data rate
    Edit,         // edit field, stored as typed
};

struct ParGen_Key_Info
{
    const char *Name;        // the element name
    const char16_t *Default; // the text used when the element is missing
    ParGen_Kind Kind;
};

const ParGen_Key_Info &Key_Info(ParGen_Key key);
inline QString Key_Name(ParGen_Key key)
{
    return QString::fromLatin1(Key_Info(key).Name);
}
// The key of an element name (exact, letter case significant); false if none.
bool Find_ParGen_Key(QStringView name, ParGen_Key *key);

// Every key, in document order, for range-for loops.
const std::array<ParGen_Key, ParGen_Key_Count> &All_ParGen_Keys();

// The items of a drop-down whose list is fixed: the same texts in every
// language, since the document stores them. Empty for LoRa_DataRate (it
// follows the band, see Change_LoRa_DataRate) and for keys without a list.
QStringList Choice_Items(ParGen_Key key);

// The index of `text` among `items` as a whole text, letter case ignored;
// -1 when none matches.
int Find_Item_Ignoring_Case(const QStringList &items, QStringView text);

// The 58 communication parameters as texts, one per key.
class ParGen_Values
{
public:
    // Every key at its table default; LoRa_DataRate and LoRa_Payload_Size
    // (whose defaults follow the band) empty.
    ParGen_Values();

    const QString &operator[](ParGen_Key key) const { return values_[size_t(key)]; }
    QString &operator[](ParGen_Key key) { return values_[size_t(key)]; }

    // The value of element `name`; false when no key has that name.
    bool Value(QStringView name, QString *text) const;

    bool operator==(const ParGen_Values &other) const = default;

private:
    std::array<QString, ParGen_Key_Count> values_;
};
