#pragma once

#include "tables/bacnet_access.h"
#include "tables/table_document.h"

#include <QList>

class LoRa_Set_Access;

// What refuses nothing but is most likely a slip: two objects of one table
// that read or write the same data, two rules of one table that send or take
// the same bytes. One warning per row that overlaps a row above it in its
// table, naming the first such row and the first shared byte, on the row's
// Position (StartByte) cell; rows are numbered as the grids show them.
//
// Objects: only those the check passes and the converter serves (a known
// type); a binary object holds one bit of its byte, so binary objects on
// different bits of one byte do not overlap, while any other object holds
// its whole bytes. Rules: only enabled ones with a valid block of at least
// one byte.
Problem_List Object_Overlap_Warnings(const BACnet_Slave_Set_Access &objects);
// The same over the rows as Read_Object_Rows read them.
Problem_List Object_Overlap_Warnings(const BACnet_Slave_Set_Access &objects, const Object_Rows &read,
                                     const Object_Rows &write);
Problem_List Rule_Overlap_Warnings(const LoRa_Set_Access &rules);

// The bytes one row holds, as the warnings above count them (the data-area
// map draws the same spans). `length` is 0 when the row holds none; a binary
// object holds bit `bit` of one byte, any other row whole bytes (`bit` -1).
// An object's span is not cut at the end of its area: running past it is a
// fault of its own, which the overlap warnings leave out.
struct Byte_Span
{
    int row = -1; // from 0
    qint64 start = 0;
    qint64 length = 0;
    int bit = -1;

    qint64 End() const { return start + length; }
};
Byte_Span Object_Span(const Object_Row &row, int r);
// An enabled rule with a block a check could pass (at most LoRa_Max_Start_Byte,
// 1 to 65536 bytes); any other holds none.
Byte_Span Rule_Span(const Text_Table &rules, int r);
