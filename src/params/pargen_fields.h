#pragma once

#include "params/pargen_values.h"

#include <QList>
#include <QStringList>

class ParGen_Form;

// When a field's row shows within its group, by the choices made: the
// activation method's keys, the BACnet link's rows, or never (the converter's
// TCP and UDP ports are kept but not offered). The Ethernet group as a whole
// shows only with MS/TP (ParGen_Group_Shown).
enum class ParGen_Shown { Always, ABP, OTAA, BACnet_IP, MSTP, Never };

// How a field stands among the others of its group.
enum class ParGen_Place {
    Own_Row,         // a row of its own
    Caption_Of_Next, // a check box that captions the next field's row: the address it enables
};

// The inputs of the parameter window as the window lays them out, without
// the window: each with the title of its group, its caption and its input's
// tip (message numbers), and the key it shows, or the first of the four keys
// of an address shown as four octets, whose tips are the four messages from
// hint_message on. The kind of input follows from the key (Key_Info). Group
// by group (LoRaWAN, BACnet Slave, Ethernet) and, within a group, from the
// top down. A check box that enables an address has the address's caption.
struct ParGen_Field
{
    int group_message;
    int caption_message;
    ParGen_Key key;
    int keys; // 1, or 4 for an address (key and the three after it)
    int hint_message;
    ParGen_Shown shown = ParGen_Shown::Always;
    ParGen_Place place = ParGen_Place::Own_Row;
};
const QList<ParGen_Field> &ParGen_Fields();

// The rows with the choices made in `form`, one per field of ParGen_Fields()
// (a check box that captions the next row has that row's): whether the row
// shows within its group, and its place from the group's top (0 the first).
// The shown rows stack without gaps; a hidden row keeps the place it would
// take if the rows of its kind were the ones shown.
struct ParGen_Row_Place
{
    bool Shown;
    int Row;
};
QList<ParGen_Row_Place> ParGen_Row_Places(const ParGen_Form &form);

// Whether the window shows the group titled `group_message`: the Ethernet
// group only while the BACnet type is not BACnet/IP, the others always.
bool ParGen_Group_Shown(const ParGen_Form &form, int group_message);

// The keys in the order Tab reaches their inputs, the order they read on
// screen: group by group, the rows from the top down, an enabling check box
// before its address, an address's octets left to right.
QList<ParGen_Key> ParGen_Tab_Order();

// The parameters that differ, one line a field, in the order above:
// "[group] caption: before -> after", each value as the window shows it (the
// chosen item, an address as its four octets with dots, a check box "on" or
// "off", an empty value "(empty)"). Every key is compared, also those the
// window hides with the choices made now: they are still saved.
QStringList ParGen_Differences(const ParGen_Values &before, const ParGen_Values &after);
