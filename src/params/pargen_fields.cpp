#include "params/pargen_fields.h"

#include "core/messages.h"
#include "core/plain_caption.h"
#include "core/text.h"
#include "params/param_messages.h"
#include "params/pargen_form.h"

namespace {

using K = ParGen_Key;
using S = ParGen_Shown;
using P = ParGen_Place;

// The titles of the three groups.
constexpr int LoRa = Msg_ParGen_LoRaWAN;
constexpr int BACnet_Slave = Msg_ParGen_BACnet_Slave;
constexpr int Ethernet = Msg_ParGen_Ethernet;

bool Row_Shown(const ParGen_Form &form, ParGen_Shown shown)
{
    switch (shown) {
    case S::Always:
        return true;
    case S::ABP:
        return form.ABP_Rows_Shown();
    case S::OTAA:
        return !form.ABP_Rows_Shown();
    case S::BACnet_IP:
        return form.BACnet_IP_Rows_Shown();
    case S::MSTP:
        return !form.BACnet_IP_Rows_Shown();
    case S::Never:
        break;
    }
    return false;
}

// The value of `field` as the window opened on `form` shows it.
QString Shown(const ParGen_Form &form, const ParGen_Field &field)
{
    QString text;
    if (field.keys == 4) {
        QStringList octets;
        for (int i = 0; i < 4; ++i)
            octets << form.Text(K(int(field.key) + i));
        text = octets.join(u'.');
    } else {
        switch (Key_Info(field.key).Kind) {
        case ParGen_Kind::Text_Choice:
        case ParGen_Kind::Index_Choice:
            // A data-rate item holds a tab between its parts.
            text = form.Chosen_Text(field.key).simplified();
            break;
        case ParGen_Kind::Flag:
            return Messages().Get(form.Checked(field.key) ? Msg_Diff_On : Msg_Diff_Off);
        case ParGen_Kind::Payload:
        case ParGen_Kind::Edit:
            text = form.Text(field.key);
            break;
        }
    }
    return text.isEmpty() ? Messages().Get(Msg_Diff_Empty) : Controls_Escaped(text);
}

} // namespace

const QList<ParGen_Field> &ParGen_Fields()
{
    // group, caption, key, keys, hint (the first of an address's four),
    // when the row shows, how it stands in the group.
    static const QList<ParGen_Field> fields = {
        {LoRa, Msg_ParGen_RF_Band, K::LoRa_RF_Band, 1, Msg_ParGen_RF_Band_Hint},
        {LoRa, Msg_ParGen_Network_Type, K::LoRa_Network_Type, 1, Msg_ParGen_Network_Type_Hint},
        {LoRa, Msg_ParGen_Adaptive_DataRate, K::LoRa_Adaptive_DataRate, 1, Msg_ParGen_Adaptive_DataRate_Hint},
        {LoRa, Msg_ParGen_DataRate, K::LoRa_DataRate, 1, Msg_ParGen_DataRate_Hint},
        {LoRa, Msg_ParGen_Transmission_Type, K::LoRa_Transmission_Type, 1, Msg_ParGen_Transmission_Type_Hint},
        {LoRa, Msg_ParGen_Payload_Size, K::LoRa_Payload_Size, 1, Msg_ParGen_Payload_Size_Hint},
        {LoRa, Msg_ParGen_Activation_Method, K::LoRa_Activation_Method, 1, Msg_ParGen_Activation_Method_Hint},
        {LoRa, Msg_ParGen_Device_Address, K::LoRa_Device_Address, 1, Msg_ParGen_Device_Address_Hint, S::ABP},
        {LoRa, Msg_ParGen_Application_Identifier, K::LoRa_Application_Identifier, 1,
         Msg_ParGen_Application_Identifier_Hint, S::ABP},
        {LoRa, Msg_ParGen_Network_Session_Key, K::LoRa_Network_Session_Key, 1, Msg_ParGen_Network_Session_Key_Hint,
         S::ABP},
        {LoRa, Msg_ParGen_Application_Session_Key, K::LoRa_Application_Session_Key, 1,
         Msg_ParGen_Application_Session_Key_Hint, S::ABP},
        {LoRa, Msg_ParGen_Application_Key, K::LoRa_Application_Key, 1, Msg_ParGen_Application_Key_Hint, S::OTAA},
        {BACnet_Slave, Msg_ParGen_BACnet_Type, K::BACnet_Type, 1, Msg_ParGen_BACnet_Type_Hint},
        {BACnet_Slave, Msg_ParGen_BACnet_IP_Address, K::BACnet_IP1, 4, Msg_ParGen_BACnet_IP_Address_Hint, S::BACnet_IP},
        {BACnet_Slave, Msg_ParGen_BACnet_Subnet_Mask, K::BACnet_SM1, 4, Msg_ParGen_BACnet_Subnet_Mask_Hint,
         S::BACnet_IP},
        {BACnet_Slave, Msg_ParGen_BACnet_Gateway, K::BACnet_EN_GAT, 1, Msg_ParGen_BACnet_Gateway_Enable_Hint,
         S::BACnet_IP, P::Caption_Of_Next},
        {BACnet_Slave, Msg_ParGen_BACnet_Gateway, K::BACnet_GAT1, 4, Msg_ParGen_BACnet_Gateway_Hint, S::BACnet_IP},
        {BACnet_Slave, Msg_ParGen_BACnet_Port, K::BACnet_PORT, 1, Msg_ParGen_BACnet_Port_Hint, S::BACnet_IP},
        {BACnet_Slave, Msg_ParGen_BACnet_Device_Name, K::BACnet_NAME_STA, 1, Msg_ParGen_BACnet_Device_Name_Hint,
         S::BACnet_IP},
        {BACnet_Slave, Msg_ParGen_BACnet_Device_Identifier, K::BACnet_DEV_IDE, 1,
         Msg_ParGen_BACnet_Device_Identifier_Hint, S::BACnet_IP},
        {BACnet_Slave, Msg_ParGen_MSTP_Baudrate, K::BACnet_Ser_Baudrate, 1, Msg_ParGen_MSTP_Baudrate_Hint, S::MSTP},
        {BACnet_Slave, Msg_ParGen_MSTP_Parity, K::BACnet_Ser_Parity, 1, Msg_ParGen_MSTP_Parity_Hint, S::MSTP},
        {BACnet_Slave, Msg_ParGen_MSTP_Device_Name, K::BACnet_Ser_NAME_STA, 1, Msg_ParGen_MSTP_Device_Name_Hint,
         S::MSTP},
        {BACnet_Slave, Msg_ParGen_MSTP_MAC_Address, K::BACnet_Ser_ID, 1, Msg_ParGen_MSTP_MAC_Address_Hint, S::MSTP},
        {BACnet_Slave, Msg_ParGen_MSTP_Max_Master, K::BACnet_Ser_Max_Master, 1, Msg_ParGen_MSTP_Max_Master_Hint,
         S::MSTP},
        {BACnet_Slave, Msg_ParGen_MSTP_Max_Info_Frames, K::BACnet_Ser_Max_Info_Frames, 1,
         Msg_ParGen_MSTP_Max_Info_Frames_Hint, S::MSTP},
        {BACnet_Slave, Msg_ParGen_MSTP_Device_Instance, K::BACnet_Ser_DEV_IDE, 1, Msg_ParGen_MSTP_Device_Instance_Hint,
         S::MSTP},
        {BACnet_Slave, Msg_ParGen_MSTP_Network, K::BACnet_Ser_Network, 1, Msg_ParGen_MSTP_Network_Hint, S::MSTP},
        {BACnet_Slave, Msg_ParGen_Long_Descriptions, K::BACnet_Desc_Chars_Limit, 1, Msg_ParGen_Long_Descriptions_Hint},
        {Ethernet, Msg_ParGen_Ethernet_IP_Address, K::Ethernet_IP1, 4, Msg_ParGen_Ethernet_IP_Address_Hint},
        {Ethernet, Msg_ParGen_Ethernet_Subnet_Mask, K::Ethernet_SM1, 4, Msg_ParGen_Ethernet_Subnet_Mask_Hint},
        {Ethernet, Msg_ParGen_Ethernet_Gateway, K::Ethernet_EN_GAT, 1, Msg_ParGen_Ethernet_Gateway_Enable_Hint,
         S::Always, P::Caption_Of_Next},
        {Ethernet, Msg_ParGen_Ethernet_Gateway, K::Ethernet_GAT1, 4, Msg_ParGen_Ethernet_Gateway_Hint},
        {Ethernet, Msg_ParGen_Ethernet_DNS, K::Ethernet_EN_DNS, 1, Msg_ParGen_Ethernet_DNS_Enable_Hint, S::Always,
         P::Caption_Of_Next},
        {Ethernet, Msg_ParGen_Ethernet_DNS, K::Ethernet_DNS1, 4, Msg_ParGen_Ethernet_DNS_Hint},
        {Ethernet, Msg_ParGen_Ethernet_TCP_Port, K::Ethernet_TCP_Port, 1, Msg_ParGen_Ethernet_TCP_Port_Hint, S::Never},
        {Ethernet, Msg_ParGen_Ethernet_UDP_Port, K::Ethernet_UDP_Port, 1, Msg_ParGen_Ethernet_UDP_Port_Hint, S::Never},
    };
    return fields;
}

QList<ParGen_Row_Place> ParGen_Row_Places(const ParGen_Form &form)
{
    const QList<ParGen_Field> &fields = ParGen_Fields();
    QList<ParGen_Row_Place> places(fields.size());
    // Walking up, so that a check box can take the place of the row it captions.
    for (qsizetype i = fields.size() - 1; i >= 0; --i) {
        const ParGen_Field &field = fields[i];
        if (field.place == P::Caption_Of_Next) {
            places[i] = places[i + 1];
            continue;
        }
        const bool shown = Row_Shown(form, field.shown);
        int row = 0;
        for (qsizetype j = 0; j < i; ++j) {
            const ParGen_Field &above = fields[j];
            if (above.group_message != field.group_message || above.place == P::Caption_Of_Next)
                continue;
            // A shown row counts the shown rows above it; a hidden one those
            // that would show with it.
            if (shown ? Row_Shown(form, above.shown) : above.shown == S::Always || above.shown == field.shown)
                ++row;
        }
        places[i] = {shown, row};
    }
    return places;
}

bool ParGen_Group_Shown(const ParGen_Form &form, int group_message)
{
    return group_message != Ethernet || form.Ethernet_Group_Shown();
}

QList<ParGen_Key> ParGen_Tab_Order()
{
    // The fields are listed as they read on screen.
    QList<ParGen_Key> order;
    for (const ParGen_Field &field : ParGen_Fields())
        for (int k = 0; k < field.keys; ++k)
            order << K(int(field.key) + k);
    return order;
}

QStringList ParGen_Differences(const ParGen_Values &before, const ParGen_Values &after)
{
    ParGen_Form was;
    was.Load(before);
    ParGen_Form now;
    now.Load(after);
    QStringList lines;
    for (const ParGen_Field &field : ParGen_Fields()) {
        const QString a = Shown(was, field);
        const QString b = Shown(now, field);
        if (a != b)
            lines << QStringLiteral("[%1] %2: ")
                             .arg(Messages().Get(field.group_message),
                                  Plain_Caption(Messages().Get(field.caption_message))) +
                         a + QStringLiteral(" -> ") + b;
    }
    return lines;
}
