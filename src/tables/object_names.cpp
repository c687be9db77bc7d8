#include "tables/object_names.h"

#include "core/messages.h"
#include "tables/bacnet_access.h"
#include "tables/object_types.h"
#include "tables/table_messages.h"

#include <QList>
#include <algorithm>
#include <cstring>
#include <vector>

namespace {

// An object's place: its table, its row and the row's number in the grid.
struct Place
{
    int page;
    int row;
    int number;
};

// One finding: a name shared by several objects, or the objects without a
// name; its line as the warnings give it, and its objects.
struct Name_Finding
{
    int message;
    QString text;
    QList<Place> places;
};

// "3, 5-9, 12": runs of three or more rows shortened.
QString Row_Numbers(const QList<int> &numbers)
{
    QStringList parts;
    for (qsizetype i = 0; i < numbers.size();) {
        qsizetype j = i;
        while (j + 1 < numbers.size() && numbers[j + 1] == numbers[j] + 1)
            ++j;
        if (j - i >= 2) {
            parts << QStringLiteral("%1-%2").arg(numbers[i]).arg(numbers[j]);
        } else {
            for (qsizetype k = i; k <= j; ++k)
                parts << QString::number(numbers[k]);
        }
        i = j + 1;
    }
    return parts.join(QStringLiteral(", "));
}

// "[BACnet in Read] 1, 4; [BACnet in Write] 2": the places in table order.
QString Places_Text(const QList<Place> &places)
{
    QStringList tables;
    for (int page : {int(Page_Read), int(Page_Write)}) {
        QList<int> numbers;
        for (const Place &p : places)
            if (p.page == page)
                numbers << p.number;
        if (!numbers.isEmpty())
            tables << QStringLiteral("[%1] %2").arg(
                Messages().Get(page == Page_Read ? Msg_BACnet_Read : Msg_BACnet_Write), Row_Numbers(numbers));
    }
    return tables.join(QStringLiteral("; "));
}

int Name_Length(bool long_names)
{
    return long_names ? 32 : 16;
}

} // namespace

namespace {

// The findings in the order of the warnings: the shared names in the order
// of their first object, then the objects without a name. It runs at every
// edit of the object window: the names are looked up as views of the cells,
// and only a shared name gets a list of places.
QList<Name_Finding> Find_Names(const BACnet_Slave_Set_Access &objects, bool long_names, const Object_Rows &read,
                               const Object_Rows &write)
{
    const int limit = Name_Length(long_names);
    struct Object
    {
        Place place;
        QStringView name;
        int next = -1; // the next object of the same name
    };
    std::vector<Object> served;
    served.reserve(read.size() + write.size());
    // The objects by name: an open table of first objects, twice as large
    // as there can be names, so that a look-up probes a slot or two.
    size_t table_size = 16;
    while (table_size < 2 * served.capacity())
        table_size *= 2;
    std::vector<int> first(table_size, -1);
    // Four code units at a time: a name is at most 32 of them.
    const auto hash = [](QStringView name) {
        quint64 h = quint64(name.size());
        const char16_t *p = name.utf16();
        qsizetype left = name.size();
        for (; left >= 4; left -= 4, p += 4) {
            quint64 chunk;
            std::memcpy(&chunk, p, sizeof chunk);
            h = (h ^ chunk) * 0x9E3779B97F4A7C15ull;
            h ^= h >> 32;
        }
        for (; left > 0; --left, ++p)
            h = (h ^ *p) * 0x9E3779B97F4A7C15ull;
        return h ^ (h >> 29);
    };
    std::vector<int> last;   // by first object: the last of its name
    std::vector<int> shared; // first objects of shared names, in order
    last.reserve(served.capacity());
    QList<Place> unnamed;
    for (int page : {int(Page_Read), int(Page_Write)}) {
        const Text_Table &table = page == Page_Read ? objects.Read : objects.Write;
        const Object_Rows &rows = page == Page_Read ? read : write;
        for (int r = 0; r < int(rows.size()); ++r) {
            if (!rows[size_t(r)].type)
                continue;
            // The device keeps the first `limit` UTF-16 code units.
            const QStringView name = QStringView(table.Cell(r, Obj_Mnemonic)).left(limit);
            const Place place{page, r, table.Row_Number(r)};
            if (name.isEmpty() || (name.front().isSpace() && name.trimmed().isEmpty())) {
                unnamed << place;
                continue;
            }
            const int at = int(served.size());
            served.push_back({place, name});
            last.push_back(at);
            size_t slot = hash(name) & (table_size - 1);
            while (first[slot] >= 0 && served[size_t(first[slot])].name != name)
                slot = (slot + 1) & (table_size - 1);
            if (first[slot] < 0) {
                first[slot] = at;
                continue;
            }
            const int head = first[slot];
            if (served[size_t(head)].next < 0)
                shared.push_back(head);
            served[size_t(last[size_t(head)])].next = at;
            last[size_t(head)] = at;
        }
    }
    std::sort(shared.begin(), shared.end());
    QList<Name_Finding> findings;
    for (int head : shared) {
        QList<Place> places;
        for (int i = head; i >= 0; i = served[size_t(i)].next)
            places << served[size_t(i)].place;
        // One multi-argument call, so a "%" in a name stays text.
        findings << Name_Finding{
            Msg_Object_Name_Shared,
            Messages().Get(Msg_Object_Name_Shared).arg(served[size_t(head)].name.toString(), Places_Text(places)),
            places};
    }
    if (!unnamed.isEmpty())
        findings << Name_Finding{Msg_Object_Name_Empty, Messages().Get(Msg_Object_Name_Empty).arg(Places_Text(unnamed)),
                                 unnamed};
    return findings;
}

} // namespace

QStringList Object_Name_Warnings(const BACnet_Slave_Set_Access &objects, bool long_names)
{
    QStringList warnings;
    for (const Name_Finding &finding :
         Find_Names(objects, long_names, Read_Object_Rows(objects.Read), Read_Object_Rows(objects.Write)))
        warnings << finding.text;
    return warnings;
}

Problem_List Object_Name_Problems(const BACnet_Slave_Set_Access &objects, bool long_names)
{
    return Object_Name_Problems(objects, long_names, Read_Object_Rows(objects.Read), Read_Object_Rows(objects.Write));
}

Problem_List Object_Name_Problems(const BACnet_Slave_Set_Access &objects, bool long_names, const Object_Rows &read,
                                  const Object_Rows &write)
{
    Problem_List problems;
    for (const Name_Finding &finding : Find_Names(objects, long_names, read, write))
        for (const Place &place : finding.places)
            problems.Add({.Level = Severity::Warning,
                          .Text = finding.text,
                          .Message = finding.message,
                          .Page = place.page,
                          .Row = place.row,
                          .Column = Obj_Mnemonic});
    return problems;
}

QString Object_Names_Question(const QStringList &warnings, bool long_names, int max_lines)
{
    QStringList lines{Messages().Get(Msg_Object_Names_Heading).arg(Name_Length(long_names))};
    lines << warnings.mid(0, max_lines);
    if (warnings.size() > max_lines)
        lines << Messages().Get(Msg_Object_Names_More).arg(warnings.size() - max_lines);
    lines << Messages().Get(Msg_Object_Names_Save_Anyway);
    return lines.join(u'\n');
}
