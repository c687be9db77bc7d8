#include "params/pargen_fields.h"

#include "core/messages.h"
#include "core/text.h"
#include "params/pargen_form.h"

namespace {

using K = ParGen_Key;
using S = ParGen_Shown;
using P = ParGen_Place;

// The titles of the three groups.
constexpr int LoRa = 406;
constexpr int BACnet_Slave = 546;
constexpr int Ethernet = 436;

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
        {LoRa, 407, K::LoRa_RF_Band, 1, 408},
        {LoRa, 409, K::LoRa_Network_Type, 1, 410},
        // The radio's settings come after the keys when tabbing.
        {LoRa, 483, K::LoRa_Adaptive_DataRate, 1, 484, S::Always, P::Late_Tab},
        {LoRa, 485, K::LoRa_DataRate, 1, 486, S::Always, P::Late_Tab},
        {LoRa, 487, K::LoRa_Transmission_Type, 1, 488, S::Always, P::Late_Tab},
        {LoRa, 489, K::LoRa_Payload_Size, 1, 490, S::Always, P::Late_Tab},
        {LoRa, 411, K::LoRa_Activation_Method, 1, 412},
        {LoRa, 413, K::LoRa_Device_Address, 1, 414, S::ABP},
        {LoRa, 415, K::LoRa_Application_Identifier, 1, 416, S::ABP},
        {LoRa, 417, K::LoRa_Network_Session_Key, 1, 418, S::ABP},
        {LoRa, 419, K::LoRa_Application_Session_Key, 1, 420, S::ABP},
        {LoRa, 421, K::LoRa_Application_Key, 1, 422, S::OTAA},
        {BACnet_Slave, 547, K::BACnet_Type, 1, 548},
        {BACnet_Slave, 549, K::BACnet_IP1, 4, 550, S::BACnet_IP},
        {BACnet_Slave, 554, K::BACnet_SM1, 4, 555, S::BACnet_IP},
        {BACnet_Slave, 559, K::BACnet_EN_GAT, 1, 560, S::BACnet_IP, P::Caption_Of_Next},
        {BACnet_Slave, 559, K::BACnet_GAT1, 4, 561, S::BACnet_IP},
        {BACnet_Slave, 565, K::BACnet_PORT, 1, 566, S::BACnet_IP},
        {BACnet_Slave, 567, K::BACnet_NAME_STA, 1, 568, S::BACnet_IP},
        {BACnet_Slave, 569, K::BACnet_DEV_IDE, 1, 570, S::BACnet_IP},
        {BACnet_Slave, 571, K::BACnet_Ser_Baudrate, 1, 572, S::MSTP},
        {BACnet_Slave, 573, K::BACnet_Ser_Parity, 1, 574, S::MSTP},
        {BACnet_Slave, 575, K::BACnet_Ser_NAME_STA, 1, 576, S::MSTP},
        {BACnet_Slave, 577, K::BACnet_Ser_ID, 1, 578, S::MSTP},
        {BACnet_Slave, 579, K::BACnet_Ser_Max_Master, 1, 580, S::MSTP},
        {BACnet_Slave, 581, K::BACnet_Ser_Max_Info_Frames, 1, 582, S::MSTP},
        {BACnet_Slave, 583, K::BACnet_Ser_DEV_IDE, 1, 584, S::MSTP},
        {BACnet_Slave, 585, K::BACnet_Ser_Network, 1, 586, S::MSTP},
        {BACnet_Slave, 587, K::BACnet_Desc_Chars_Limit, 1, 588},
        {Ethernet, 437, K::Ethernet_IP1, 4, 438},
        {Ethernet, 442, K::Ethernet_SM1, 4, 443},
        {Ethernet, 447, K::Ethernet_EN_GAT, 1, 448, S::Always, P::Caption_Of_Next},
        {Ethernet, 447, K::Ethernet_GAT1, 4, 449},
        {Ethernet, 453, K::Ethernet_EN_DNS, 1, 454, S::Always, P::Caption_Of_Next},
        {Ethernet, 453, K::Ethernet_DNS1, 4, 455},
        {Ethernet, 459, K::Ethernet_TCP_Port, 1, 460, S::Never},
        {Ethernet, 461, K::Ethernet_UDP_Port, 1, 462, S::Never},
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
    QList<ParGen_Key> order;
    const QList<ParGen_Field> &fields = ParGen_Fields();
    for (qsizetype first = 0; first < fields.size();) {
        qsizetype end = first;
        while (end < fields.size() && fields[end].group_message == fields[first].group_message)
            ++end;
        for (bool late : {false, true})
            for (qsizetype i = first; i < end; ++i)
                if ((fields[i].place == P::Late_Tab) == late)
                    for (int k = 0; k < fields[i].keys; ++k)
                        order << K(int(fields[i].key) + k);
        first = end;
    }
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
                             .arg(Messages().Get(field.group_message), Messages().Get(field.caption_message)) +
                         a + QStringLiteral(" -> ") + b;
    }
    return lines;
}
