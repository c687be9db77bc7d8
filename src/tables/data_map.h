#pragma once

#include "tables/overlap_warnings.h"
#include "tables/table_document.h"

#include <QList>
#include <QStringList>
#include <vector>

class BACnet_Slave_Set_Access;
class LoRa_Set_Access;

// How a configuration lays out the converter's data areas: every object of
// the Read table over the input area, of the Write table over the output
// area, every rule of either direction over the bytes it carries, and what
// is likely wrong there. Window-free: `map NAME` prints it, the map window
// draws it.
struct Data_Map
{
    // Spans by page: objects[Page_Read], objects[Page_Write];
    // rules[Page_Uplink], rules[Page_Downlink]. Rows that hold no bytes are
    // left out.
    std::vector<Byte_Span> objects[2];
    std::vector<Byte_Span> rules[2];
    int area_bytes[2] = {0, 0}; // by object page

    Problem_List object_overlaps; // the tables' overlap warnings
    Problem_List overruns;        // objects past the end of their area (errors)
    Problem_List rule_overlaps;
    // The rules name no area, so both are laid over them: object bytes no
    // rule carries, rule bytes no object of either area uses (warnings).
    Problem_List not_carried;
    Problem_List no_object;

    // An overlap or an overrun is listed (what makes `map` end with 1).
    bool Faulty() const { return !object_overlaps.isEmpty() || !overruns.isEmpty() || !rule_overlaps.isEmpty(); }
};

Data_Map Build_Data_Map(const BACnet_Slave_Set_Access &objects, const LoRa_Set_Access &rules);

// The lists, one a line: overlaps, overruns, rule overlaps, then the note
// on the pairing and the gaps; a line saying so when nothing is listed.
QStringList Data_Map_Lines(const Data_Map &map);

// Plain-text picture of an object area (`page` Page_Read or Page_Write) or of
// a rule direction (Page_Uplink or Page_Downlink over the same byte scale):
// `per_row` bytes a line, each led by its first byte's offset; the legend is
// message Msg_Map_Legend.
QStringList Area_Picture(const Data_Map &map, bool rules, int page, int per_row = 50);

// Byte runs as text: "3", "10-13", "10-13, 20".
QString Byte_Runs(const std::vector<std::pair<qint64, qint64>> &runs);
