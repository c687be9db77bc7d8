#pragma once

#include "compiler/compile_project.h"
#include "inspector/image_model.h"

#include <QStringList>

// What differs between two pairs of images, field by field, in the names the
// image inspector (`dump`) gives them: one line a difference, in the order
// the fields lie in the images. Empty when both pairs decode the same.
//
// The lines, stable for scripts and people alike:
//   bank1.ip_address: 192.168.2.205 -> 192.168.2.10
//   bank1.serial_channels[0].parity: 0 (NONE) -> 2 (EVEN)     a code, its name beside it
//   bank2.uplink[3].triggers: 1 (change) -> 5 (change, timer)
//   bank2.objects[ANALOG INPUT 2].eng_unit: 62 (degrees-Celsius) -> 64 (...)
//   bank2.objects[BINARY INPUT 0]: added (position 4, ...)      a record on one side only
//   bank2.uplink[7]: removed (start_byte 0, num_bytes 4, ...)
//   after: <problem>                                            what makes one side unsound
// A field is "path: before -> after"; object records are named by object
// type and instance, rule entries and serial channels by number, a record
// beyond the counts of bank 1 as "record N". Free text (device name,
// descriptions) is in double quotes, no value is "none", a list is its items
// joined by ", ". Fields that follow from others (record numbers, description
// addresses, the trigger flags, the computed checksum) have no line of their
// own. A problem of the inspector that one side has and the other has not is
// a line "before: ..." or "after: ..." ahead of the fields; a problem both
// share is no difference (Compare_Images gives them). A bank not of its size
// cannot be read field by field: its problem is listed, and a line says
// whether its bytes differ.
QStringList Image_Differences(const Bank_Images &before, const Bank_Images &after);

// The same lines with every problem of each side, for a caller that shows
// the problems both sides share (the `diff` command, on stderr).
struct Image_Comparison
{
    QStringList Lines;
    QStringList Problems_Before;
    QStringList Problems_After;
};
Image_Comparison Compare_Images(const Bank_Images &before, const Bank_Images &after);

// The field lines alone, for two pairs already decoded (Decode_Pair).
QStringList Field_Differences(const Decoded_Pair &before, const Decoded_Pair &after);
