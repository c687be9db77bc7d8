#include "tables/overlap_warnings.h"

#include "core/int_read.h"
#include "core/messages.h"
#include "core/text.h"
#include "tables/bacnet_access.h"
#include "tables/lora_access.h"
#include "tables/object_types.h"
#include "tables/table_messages.h"
#include "tables/text_table.h"

#include <array>
#include <vector>

namespace {

// Who holds each byte of a data area: a whole-byte holder, or one per bit.
struct Byte_Holders
{
    int whole = -1;
    std::array<int, 8> bits{-1, -1, -1, -1, -1, -1, -1, -1};
};

void Object_Overlaps(const Text_Table &t, const Object_Rows &rows, int page, int nbyte, Problem_List &warnings)
{
    std::vector<Byte_Holders> area(size_t(qMax(nbyte, 0)));
    const QString caption = Messages().Get(page == Page_Read ? Msg_BACnet_Read : Msg_BACnet_Write);
    // A table may hold an overlap in every row: the message is read once.
    const Text_Template text(Messages().Get(Msg_Objects_Overlap));
    for (int r = 0; r < int(rows.size()); ++r) {
        const Byte_Span span = Object_Span(rows[size_t(r)], r);
        // Past the end of the area is told apart (the data-area map).
        if (span.length < 1 || span.End() > nbyte)
            continue;
        const int position = int(span.start);
        int other = -1;
        int byte = position;
        if (span.bit >= 0) {
            const int bit = span.bit;
            Byte_Holders &h = area[size_t(position)];
            other = h.whole >= 0 ? h.whole : h.bits[size_t(bit)];
            if (h.bits[size_t(bit)] < 0)
                h.bits[size_t(bit)] = r;
        } else {
            for (int b = position; b < int(span.End()); ++b) {
                Byte_Holders &h = area[size_t(b)];
                if (other < 0) {
                    other = h.whole;
                    for (int holder : h.bits)
                        if (other < 0 && holder >= 0)
                            other = holder;
                    if (other >= 0)
                        byte = b;
                }
                if (h.whole < 0)
                    h.whole = r;
            }
        }
        if (other >= 0)
            warnings.Add({.Level = Severity::Warning,
                          .Text = text.Fill({caption, t.Row_Number(r), t.Row_Number(other), byte}),
                          .Message = Msg_Objects_Overlap,
                          .Page = page,
                          .Row = r,
                          .Column = Obj_Position});
    }
}

void Rule_Overlaps(const Text_Table &t, int page, Problem_List &warnings)
{
    std::vector<int> holders;
    const QString caption = Messages().Get(page == Page_Uplink ? Msg_LoRa_Uplink : Msg_LoRa_Downlink);
    const Text_Template text(Messages().Get(Msg_Rules_Overlap));
    const int end = End_Of_Table(t, Up_StartByte);
    for (int r = 0; r < end; ++r) {
        const Byte_Span span = Rule_Span(t, r);
        if (span.length < 1)
            continue;
        const int start = int(span.start);
        const int num = int(span.length);
        if (holders.size() < size_t(start + num))
            holders.resize(size_t(start + num), -1);
        int other = -1;
        int byte = start;
        for (int b = start; b < start + num; ++b) {
            if (other < 0 && holders[size_t(b)] >= 0) {
                other = holders[size_t(b)];
                byte = b;
            }
            if (holders[size_t(b)] < 0)
                holders[size_t(b)] = r;
        }
        if (other >= 0)
            warnings.Add({.Level = Severity::Warning,
                          .Text = text.Fill({caption, t.Row_Number(r), t.Row_Number(other), byte}),
                          .Message = Msg_Rules_Overlap,
                          .Page = page,
                          .Row = r,
                          .Column = Up_StartByte});
    }
}

} // namespace

Byte_Span Object_Span(const Object_Row &row, int r)
{
    Byte_Span span;
    span.row = r;
    if (!row.type || row.position < 0)
        return span;
    span.start = row.position;
    if (row.type->binary) {
        if (row.bit >= 0 && row.bit <= 7) {
            span.bit = row.bit;
            span.length = 1;
        }
    } else if (row.length >= 1) {
        span.length = row.length;
    }
    return span;
}

Byte_Span Rule_Span(const Text_Table &rules, int r)
{
    Byte_Span span;
    span.row = r;
    if (!Is_Flag_Set(rules.Cell(r, Up_Enable)))
        return span;
    const int start = Str_To_Int_Def(rules.Cell(r, Up_StartByte), -1);
    const int num = Str_To_Int_Def(rules.Cell(r, Up_NumByte), -1);
    // Past any payload a check would pass: such a rule is refused anyway.
    if (start < 0 || start > LoRa_Max_Start_Byte || num < 1 || num > 65536)
        return span;
    span.start = start;
    span.length = num;
    return span;
}

Problem_List Object_Overlap_Warnings(const BACnet_Slave_Set_Access &objects)
{
    return Object_Overlap_Warnings(objects, Read_Object_Rows(objects.Read), Read_Object_Rows(objects.Write));
}

Problem_List Object_Overlap_Warnings(const BACnet_Slave_Set_Access &objects, const Object_Rows &read,
                                     const Object_Rows &write)
{
    Problem_List warnings;
    Object_Overlaps(objects.Read, read, Page_Read, objects.NByte_IN, warnings);
    Object_Overlaps(objects.Write, write, Page_Write, objects.NByte_OUT, warnings);
    return warnings;
}

Problem_List Rule_Overlap_Warnings(const LoRa_Set_Access &rules)
{
    Problem_List warnings;
    Rule_Overlaps(rules.Uplink, Page_Uplink, warnings);
    Rule_Overlaps(rules.Downlink, Page_Downlink, warnings);
    return warnings;
}
