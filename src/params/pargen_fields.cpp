#include "params/pargen_fields.h"

#include "core/messages.h"
#include "core/text.h"
#include "params/pargen_form.h"

namespace {

using K = ParGen_Key;

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
    static const QList<ParGen_Field> fields = {
        {406, 407, K::LoRa_RF_Band, 1},
        {406, 409, K::LoRa_Network_Type, 1},
        {406, 483, K::LoRa_Adaptive_DataRate, 1},
        {406, 485, K::LoRa_DataRate, 1},
        {406, 487, K::LoRa_Transmission_Type, 1},
        {406, 489, K::LoRa_Payload_Size, 1},
        {406, 411, K::LoRa_Activation_Method, 1},
        {406, 413, K::LoRa_Device_Address, 1},
        {406, 415, K::LoRa_Application_Identifier, 1},
        {406, 417, K::LoRa_Network_Session_Key, 1},
        {406, 419, K::LoRa_Application_Session_Key, 1},
        {406, 421, K::LoRa_Application_Key, 1},
        {546, 547, K::BACnet_Type, 1},
        {546, 549, K::BACnet_IP1, 4},
        {546, 554, K::BACnet_SM1, 4},
        {546, 559, K::BACnet_EN_GAT, 1},
        {546, 559, K::BACnet_GAT1, 4},
        {546, 565, K::BACnet_PORT, 1},
        {546, 567, K::BACnet_NAME_STA, 1},
        {546, 569, K::BACnet_DEV_IDE, 1},
        {546, 571, K::BACnet_Ser_Baudrate, 1},
        {546, 573, K::BACnet_Ser_Parity, 1},
        {546, 575, K::BACnet_Ser_NAME_STA, 1},
        {546, 577, K::BACnet_Ser_ID, 1},
        {546, 579, K::BACnet_Ser_Max_Master, 1},
        {546, 581, K::BACnet_Ser_Max_Info_Frames, 1},
        {546, 583, K::BACnet_Ser_DEV_IDE, 1},
        {546, 585, K::BACnet_Ser_Network, 1},
        {546, 587, K::BACnet_Desc_Chars_Limit, 1},
        {436, 437, K::Ethernet_IP1, 4},
        {436, 442, K::Ethernet_SM1, 4},
        {436, 447, K::Ethernet_EN_GAT, 1},
        {436, 447, K::Ethernet_GAT1, 4},
        {436, 453, K::Ethernet_EN_DNS, 1},
        {436, 453, K::Ethernet_DNS1, 4},
        {436, 459, K::Ethernet_TCP_Port, 1},
        {436, 461, K::Ethernet_UDP_Port, 1},
    };
    return fields;
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
                             .arg(Messages().Get(field.group_message), Messages().Get(field.caption_message)) +
                         a + QStringLiteral(" -> ") + b;
    }
    return lines;
}
