#include "params/pargen_form.h"

#include "core/int_read.h"
#include "params/lora_tables.h"

namespace {

size_t At(ParGen_Key key)
{
    return size_t(key);
}

bool Is_Choice(ParGen_Key key)
{
    const ParGen_Kind kind = Key_Info(key).Kind;
    return kind == ParGen_Kind::Text_Choice || kind == ParGen_Kind::Index_Choice;
}

bool Is_Flag(ParGen_Key key)
{
    return Key_Info(key).Kind == ParGen_Kind::Flag;
}

bool Is_Edit(ParGen_Key key)
{
    const ParGen_Kind kind = Key_Info(key).Kind;
    return kind == ParGen_Kind::Edit || kind == ParGen_Kind::Payload;
}

// The index an index choice opens with. The integer reading falls back to
// the key's default for text that is not a number; a number outside the list
// takes the default too, so that the window never holds, validates and saves
// an empty choice (a stored "-1" or "2" as BACnet type would be validated as
// MS/TP while the compiler then programs neither link).
int Read_Index(ParGen_Key key, const QString &text)
{
    const int fallback = Str_To_Int_Def(QString::fromUtf16(Key_Info(key).Default), 0);
    const int index = Str_To_Int_Def(text, fallback);
    return index >= 0 && index < Choice_Items(key).size() ? index : fallback;
}

} // namespace

ParGen_Form::ParGen_Form()
{
    chosen_.fill(-1);
    checked_.fill(false);
}

QStringList ParGen_Form::Items(ParGen_Key key) const
{
    return key == ParGen_Key::LoRa_DataRate ? datarate_items_ : Choice_Items(key);
}

int ParGen_Form::Chosen(ParGen_Key key) const
{
    return chosen_[At(key)];
}

QString ParGen_Form::Chosen_Text(ParGen_Key key) const
{
    return Items(key).value(Chosen(key));
}

void ParGen_Form::Choose(ParGen_Key key, int index)
{
    if (!Is_Choice(key))
        return;
    chosen_[At(key)] = index >= 0 && index < Items(key).size() ? index : -1;
    if (key == ParGen_Key::LoRa_RF_Band) {
        Change_LoRa_DataRate();
        Set_Max_Payload_Size();
    } else if (key == ParGen_Key::LoRa_DataRate) {
        Set_Max_Payload_Size();
    }
}

bool ParGen_Form::Shown(ParGen_Key key) const
{
    using K = ParGen_Key;
    const auto in = [key](K first, K last) { return key >= first && key <= last; };
    if (key == K::Ethernet_TCP_Port || key == K::Ethernet_UDP_Port)
        return false;
    if (in(K::LoRa_Device_Address, K::LoRa_Application_Session_Key))
        return ABP_Rows_Shown();
    if (key == K::LoRa_Application_Key)
        return !ABP_Rows_Shown();
    if (in(K::Ethernet_IP1, K::Ethernet_EN_DNS))
        return Ethernet_Group_Shown();
    if (in(K::BACnet_IP1, K::BACnet_DEV_IDE))
        return BACnet_IP_Rows_Shown();
    if (in(K::BACnet_Ser_Baudrate, K::BACnet_Ser_Network))
        return !BACnet_IP_Rows_Shown();
    return true;
}

bool ParGen_Form::Checked(ParGen_Key key) const
{
    return checked_[At(key)];
}

void ParGen_Form::Set_Checked(ParGen_Key key, bool on)
{
    if (Is_Flag(key))
        checked_[At(key)] = on;
}

QString ParGen_Form::Text(ParGen_Key key) const
{
    return text_[At(key)];
}

void ParGen_Form::Set_Text(ParGen_Key key, const QString &text)
{
    if (Is_Edit(key))
        text_[At(key)] = text;
}

void ParGen_Form::Change_LoRa_DataRate()
{
    datarate_items_ = ::Change_LoRa_DataRate(Chosen_Text(ParGen_Key::LoRa_RF_Band));
    chosen_[At(ParGen_Key::LoRa_DataRate)] = datarate_items_.isEmpty() ? -1 : 0;
}

void ParGen_Form::Set_Max_Payload_Size()
{
    text_[At(ParGen_Key::LoRa_Payload_Size)] = QString::number(
        Find_Max_PayLoad(Chosen_Text(ParGen_Key::LoRa_RF_Band), Chosen_Text(ParGen_Key::LoRa_DataRate)));
}

void ParGen_Form::Load(const ParGen_Values &values)
{
    for (ParGen_Key key : All_ParGen_Keys()) {
        const QString &text = values[key];
        switch (Key_Info(key).Kind) {
        case ParGen_Kind::Text_Choice:
            chosen_[At(key)] = Find_Item_Ignoring_Case(Items(key), text);
            if (key == ParGen_Key::LoRa_RF_Band)
                Change_LoRa_DataRate();
            else if (key == ParGen_Key::LoRa_DataRate && Chosen(key) < 0 && !datarate_items_.isEmpty())
                chosen_[At(key)] = 0;
            break;
        case ParGen_Kind::Index_Choice:
            chosen_[At(key)] = Read_Index(key, text);
            break;
        case ParGen_Kind::Flag:
            checked_[At(key)] = text == u"1";
            break;
        case ParGen_Kind::Payload:
        case ParGen_Kind::Edit:
            text_[At(key)] = text;
            break;
        }
    }
    Set_Max_Payload_Size();
}

ParGen_Values ParGen_Form::Values() const
{
    ParGen_Values values;
    for (ParGen_Key key : All_ParGen_Keys()) {
        switch (Key_Info(key).Kind) {
        case ParGen_Kind::Text_Choice:
            values[key] = Chosen_Text(key);
            break;
        case ParGen_Kind::Index_Choice:
            values[key] = QString::number(Chosen(key));
            break;
        case ParGen_Kind::Flag:
            values[key] = Checked(key) ? QStringLiteral("1") : QStringLiteral("0");
            break;
        case ParGen_Kind::Payload:
        case ParGen_Kind::Edit:
            values[key] = Text(key);
            break;
        }
    }
    return values;
}

bool Hex_Key_Filter(QChar typed, QChar *entered)
{
    const char16_t c = typed.unicode();
    if (c <= 32 || (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F')) {
        *entered = typed;
        return true;
    }
    if (c >= u'a' && c <= u'f') {
        *entered = QChar(char16_t(c - u'a' + u'A'));
        return true;
    }
    return false;
}
