#include "tables/object_names.h"

#include "core/messages.h"
#include "tables/bacnet_access.h"
#include "tables/object_types.h"

#include <QHash>
#include <QList>

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
            tables << QStringLiteral("[%1] %2").arg(Messages().Get(page == Page_Read ? 1508 : 1509),
                                                    Row_Numbers(numbers));
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
// of their first object, then the objects without a name.
QList<Name_Finding> Find_Names(const BACnet_Slave_Set_Access &objects, bool long_names)
{
    const int limit = Name_Length(long_names);
    QHash<QString, qsizetype> index; // name -> its place in `names`
    QList<QString> names;            // in the order of their first object
    QList<QList<Place>> places;
    QList<Place> unnamed;
    for (int page : {int(Page_Read), int(Page_Write)}) {
        const Text_Table &table = page == Page_Read ? objects.Read : objects.Write;
        const int end = End_Of_Table(table, Obj_Data_Type);
        for (int r = 0; r < end; ++r) {
            if (!tables::Is_Encoded_Type(table.Cell(r, Obj_Data_Type)))
                continue;
            // The device keeps the first `limit` UTF-16 code units.
            const QString name = table.Cell(r, Obj_Mnemonic).left(limit);
            const Place place{page, r, table.Row_Number(r)};
            if (QStringView(name).trimmed().isEmpty()) {
                unnamed << place;
                continue;
            }
            qsizetype at = index.value(name, -1);
            if (at < 0) {
                at = names.size();
                index.insert(name, at);
                names << name;
                places << QList<Place>{};
            }
            places[at] << place;
        }
    }
    QList<Name_Finding> findings;
    for (qsizetype i = 0; i < names.size(); ++i)
        if (places[i].size() > 1)
            // One multi-argument call, so a "%" in a name stays text.
            findings << Name_Finding{Msg_Object_Name_Shared,
                                     Messages().Get(Msg_Object_Name_Shared).arg(names[i], Places_Text(places[i])),
                                     places[i]};
    if (!unnamed.isEmpty())
        findings << Name_Finding{Msg_Object_Name_Empty,
                                 Messages().Get(Msg_Object_Name_Empty).arg(Places_Text(unnamed)), unnamed};
    return findings;
}

} // namespace

QStringList Object_Name_Warnings(const BACnet_Slave_Set_Access &objects, bool long_names)
{
    QStringList warnings;
    for (const Name_Finding &finding : Find_Names(objects, long_names))
        warnings << finding.text;
    return warnings;
}

QList<Table_Problem> Object_Name_Problems(const BACnet_Slave_Set_Access &objects, bool long_names)
{
    QList<Table_Problem> problems;
    for (const Name_Finding &finding : Find_Names(objects, long_names))
        for (const Place &place : finding.places)
            problems.append({finding.text, Failed_Cell{finding.message, place.page, place.row, Obj_Mnemonic}});
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
