#include "tables/data_map.h"

#include "core/messages.h"
#include "core/text.h"
#include "tables/bacnet_access.h"
#include "tables/lora_access.h"
#include "tables/table_messages.h"

#include <algorithm>
#include <array>

namespace {

using Runs = std::vector<std::pair<qint64, qint64>>; // first and last byte of each run

QString Caption(bool rules, int page)
{
    return Messages().Get(rules ? (page == Page_Uplink ? Msg_LoRa_Uplink : Msg_LoRa_Downlink)
                                : (page == Page_Read ? Msg_BACnet_Read : Msg_BACnet_Write));
}

// Bytes [0, size) marked by `spans` (cut at `size`).
std::vector<bool> Marked(const std::vector<Byte_Span> &spans, qint64 size)
{
    std::vector<bool> marked(size_t(size), false);
    for (const Byte_Span &s : spans)
        for (qint64 b = s.start; b < std::min(s.End(), size); ++b)
            marked[size_t(b)] = true;
    return marked;
}

// The bytes of `span` that `marked` does not hold, as runs.
Runs Unmarked(const Byte_Span &span, const std::vector<bool> &marked)
{
    Runs runs;
    for (qint64 b = span.start; b < span.End(); ++b) {
        const bool held = b < qint64(marked.size()) && marked[size_t(b)];
        if (held)
            continue;
        if (!runs.empty() && runs.back().second == b - 1)
            runs.back().second = b;
        else
            runs.push_back({b, b});
    }
    return runs;
}

QString Span_Text(const Byte_Span &s)
{
    const QString bytes = Byte_Runs({{s.start, s.End() - 1}});
    return s.bit >= 0 ? QStringLiteral("%1.%2").arg(bytes).arg(s.bit) : bytes;
}

QChar Row_Char(int r)
{
    static const char symbols[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    return QLatin1Char(symbols[r % 62]);
}

} // namespace

QString Byte_Runs(const Runs &runs)
{
    QStringList parts;
    for (const auto &[first, last] : runs)
        parts << (first == last ? QString::number(first) : QStringLiteral("%1-%2").arg(first).arg(last));
    return parts.join(QStringLiteral(", "));
}

Data_Map Build_Data_Map(const BACnet_Slave_Set_Access &objects, const LoRa_Set_Access &rules)
{
    Data_Map map;
    map.area_bytes[Page_Read] = objects.NByte_IN;
    map.area_bytes[Page_Write] = objects.NByte_OUT;
    const Object_Rows rows[2] = {Read_Object_Rows(objects.Read), Read_Object_Rows(objects.Write)};
    map.object_overlaps = Object_Overlap_Warnings(objects, rows[Page_Read], rows[Page_Write]);
    map.rule_overlaps = Rule_Overlap_Warnings(rules);

    const Text_Template overrun(Messages().Get(Msg_Map_Overrun));
    for (int page : {int(Page_Read), int(Page_Write)}) {
        const Text_Table &t = objects.Table(page);
        for (int r = 0; r < int(rows[page].size()); ++r) {
            const Byte_Span span = Object_Span(rows[page][size_t(r)], r);
            if (span.length < 1)
                continue;
            map.objects[page].push_back(span);
            if (span.End() > map.area_bytes[page])
                map.overruns.Add({.Text = overrun.Fill({Caption(false, page), t.Row_Number(r), int(span.start),
                                                        int(span.End() - 1), map.area_bytes[page]}),
                                  .Message = Msg_Map_Overrun,
                                  .Page = page,
                                  .Row = r,
                                  .Column = Obj_Position});
        }
    }
    qint64 end = std::max(map.area_bytes[0], map.area_bytes[1]);
    for (int page : {int(Page_Uplink), int(Page_Downlink)}) {
        const Text_Table &t = rules.Table(page);
        const int rows_end = End_Of_Table(t, Up_StartByte);
        for (int r = 0; r < rows_end; ++r)
            if (const Byte_Span span = Rule_Span(t, r); span.length >= 1) {
                map.rules[page].push_back(span);
                end = std::max(end, span.End());
            }
    }

    // The pairing: a byte offset is carried when a rule of either direction
    // holds it, and used when an object of either area does.
    std::vector<Byte_Span> all_rules = map.rules[Page_Uplink];
    all_rules.insert(all_rules.end(), map.rules[Page_Downlink].begin(), map.rules[Page_Downlink].end());
    std::vector<Byte_Span> all_objects = map.objects[Page_Read];
    all_objects.insert(all_objects.end(), map.objects[Page_Write].begin(), map.objects[Page_Write].end());
    const std::vector<bool> carried = Marked(all_rules, end);
    const std::vector<bool> used = Marked(all_objects, end);
    const Text_Template not_carried(Messages().Get(Msg_Map_Not_Carried));
    const Text_Template no_object(Messages().Get(Msg_Map_No_Object));
    for (int page : {int(Page_Read), int(Page_Write)})
        for (const Byte_Span &s : map.objects[page])
            if (const Runs runs = Unmarked(s, carried); !runs.empty())
                map.not_carried.Add(
                    {.Level = Severity::Warning,
                     .Text = not_carried.Fill(
                         {Caption(false, page), objects.Table(page).Row_Number(s.row), Span_Text(s), Byte_Runs(runs)}),
                     .Message = Msg_Map_Not_Carried,
                     .Page = page,
                     .Row = s.row,
                     .Column = Obj_Position});
    for (int page : {int(Page_Uplink), int(Page_Downlink)})
        for (const Byte_Span &s : map.rules[page])
            if (const Runs runs = Unmarked(s, used); !runs.empty())
                map.no_object.Add({.Level = Severity::Warning,
                                   .Text = no_object.Fill({Caption(true, page), rules.Table(page).Row_Number(s.row),
                                                           Span_Text(s), Byte_Runs(runs)}),
                                   .Message = Msg_Map_No_Object,
                                   .Page = page,
                                   .Row = s.row,
                                   .Column = Up_StartByte});
    return map;
}

QStringList Data_Map_Lines(const Data_Map &map)
{
    QStringList lines;
    for (const Problem_List *list : {&map.object_overlaps, &map.overruns, &map.rule_overlaps})
        for (const Problem &p : *list)
            lines << p.Text;
    if (!map.not_carried.isEmpty() || !map.no_object.isEmpty()) {
        lines << Messages().Get(Msg_Map_Pairing_Note);
        for (const Problem_List *list : {&map.not_carried, &map.no_object})
            for (const Problem &p : *list)
                lines << p.Text;
    }
    if (lines.isEmpty())
        lines << Messages().Get(Msg_Map_Nothing_Listed);
    return lines;
}

QStringList Area_Picture(const Data_Map &map, bool rules, int page, int per_row)
{
    // Each byte: its first holder, and whether another holds it too ('#'),
    // or only other bits of it ('+').
    // Rules are drawn over the areas' byte scale; what they carry beyond it
    // no object can use, and the list says so.
    const qint64 bytes = std::max(rules ? qint64(Data_Area_Bytes) : qint64(map.area_bytes[page]), qint64(0));
    std::vector<QChar> cells(size_t(bytes), QChar(u'.'));
    std::vector<std::array<bool, 9>> taken(size_t(bytes), std::array<bool, 9>{}); // bits 0-7, [8] whole byte
    for (const Byte_Span &s : rules ? map.rules[page] : map.objects[page])
        for (qint64 b = s.start; b < std::min(s.End(), bytes); ++b) {
            std::array<bool, 9> &t = taken[size_t(b)];
            QChar &c = cells[size_t(b)];
            const bool any_bit = std::find(t.begin(), t.begin() + 8, true) != t.begin() + 8;
            const bool clash = s.bit >= 0 ? (t[8] || t[size_t(s.bit)]) : (t[8] || any_bit);
            if (clash)
                c = QLatin1Char('#');
            else if (c == QLatin1Char('.'))
                c = Row_Char(s.row);
            else if (c != QLatin1Char('#'))
                c = QLatin1Char('+');
            t[s.bit >= 0 ? size_t(s.bit) : 8] = true;
        }
    QStringList lines;
    lines << Messages().Get(Msg_Map_Picture).arg(Caption(rules, page)).arg(bytes - 1).arg(per_row);
    const int width = int(QString::number(bytes).size());
    for (qint64 b = 0; b < bytes; b += per_row) {
        QString line = QStringLiteral("%1 ").arg(b, width);
        for (qint64 i = b; i < std::min(b + per_row, bytes); ++i)
            line += cells[size_t(i)];
        lines << line;
    }
    return lines;
}
