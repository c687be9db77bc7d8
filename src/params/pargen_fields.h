#pragma once

#include "params/pargen_values.h"

#include <QList>
#include <QStringList>

// The inputs of the parameter window as the window lays them out, without
// the window: each with the title of its group and its caption (message
// numbers), and the key it shows, or the first of the four keys of an
// address shown as four octets. Group by group (LoRaWAN, BACnet Slave,
// Ethernet) and, within a group, from the top down. A check box that enables
// an address has the address's caption.
struct ParGen_Field
{
    int group_message;
    int caption_message;
    ParGen_Key key;
    int keys; // 1, or 4 for an address (key and the three after it)
};
const QList<ParGen_Field> &ParGen_Fields();

// The parameters that differ, one line a field, in the order above:
// "[group] caption: before -> after", each value as the window shows it (the
// chosen item, an address as its four octets with dots, a check box "on" or
// "off", an empty value "(empty)"). Every key is compared, also those the
// window hides with the choices made now: they are still saved.
QStringList ParGen_Differences(const ParGen_Values &before, const ParGen_Values &after);
