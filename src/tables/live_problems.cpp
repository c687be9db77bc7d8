#include "tables/live_problems.h"

#include "core/messages.h"
#include "tables/bacnet_access.h"
#include "tables/lora_access.h"
#include "tables/object_names.h"
#include "tables/overlap_warnings.h"
#include "tables/text_table.h"

#include <QTimer>
#include <algorithm>
#include <tuple>

namespace {

void Add(QList<Live_Problem> &out, const Table_Problem &p, bool warning)
{
    out.append({warning, p.Text, p.Cell.Page, p.Cell.Row, p.Cell.Column});
}

void Add_Table_End(QList<Live_Problem> &out, const Text_Table &table, int page, int key_column, int caption)
{
    const Check_Result end = Check_Table_End(table, page, key_column, Messages().Get(caption));
    if (!end)
        out.append({false, end.Problem(), end.Cell().Page, end.Cell().Row, end.Cell().Column});
}

// The object the count passes the limit with: the first beyond it, counting
// the Read table's objects and then the Write table's, as the check does.
Failed_Cell First_Over_The_Limit(const BACnet_Slave_Set_Access &objects, const Failed_Cell &cell)
{
    const int limit = objects.Max_Objects();
    const int read = End_Of_Table(objects.Read, Obj_Data_Type);
    if (read > limit)
        return {cell.Message, Page_Read, limit, Obj_Data_Type};
    return {cell.Message, Page_Write, limit - read, Obj_Data_Type};
}

} // namespace

QList<Live_Problem> Object_Live_Problems(const BACnet_Slave_Set_Access &objects)
{
    QList<Live_Problem> out;
    for (Table_Problem p : objects.All_Problems()) {
        if (p.Cell.Row < 0)
            p.Cell = First_Over_The_Limit(objects, p.Cell);
        Add(out, p, false);
    }
    Add_Table_End(out, objects.Read, Page_Read, Obj_Data_Type, 1508);
    Add_Table_End(out, objects.Write, Page_Write, Obj_Data_Type, 1509);
    for (const Table_Problem &p : Object_Overlap_Warnings(objects))
        Add(out, p, true);
    for (const Table_Problem &p : Object_Name_Problems(objects, objects.Desc_Lenght))
        Add(out, p, true);
    return out;
}

QList<Live_Problem> Rule_Live_Problems(const LoRa_Set_Access &rules)
{
    QList<Live_Problem> out;
    for (const Table_Problem &p : rules.All_Problems())
        Add(out, p, false);
    Add_Table_End(out, rules.Uplink, Page_Uplink, Up_StartByte, 1214);
    Add_Table_End(out, rules.Downlink, Page_Downlink, Down_StartByte, 1215);
    for (const Table_Problem &p : Rule_Overlap_Warnings(rules))
        Add(out, p, true);
    return out;
}

Live_Problems::Live_Problems(const Text_Table *first, const Text_Table *second, Finder find, QObject *parent)
    : QObject(parent)
    , find_(std::move(find))
{
    for (const Text_Table *table : {first, second}) {
        connect(table, &QAbstractItemModel::dataChanged, this, &Live_Problems::Invalidate);
        connect(table, &QAbstractItemModel::modelReset, this, &Live_Problems::Invalidate);
        connect(table, &QAbstractItemModel::layoutChanged, this, &Live_Problems::Invalidate);
    }
    Invalidate();
}

void Live_Problems::Invalidate()
{
    if (stale_)
        return;
    stale_ = true;
    QTimer::singleShot(0, this, &Live_Problems::Flush);
}

void Live_Problems::Flush()
{
    if (stale_)
        Find_Now();
}

void Live_Problems::Find_Now()
{
    stale_ = false;
    ++findings_;
    problems_ = find_();
    std::stable_sort(problems_.begin(), problems_.end(), [](const Live_Problem &a, const Live_Problem &b) {
        return std::tie(a.Page, a.Row, a.Column, a.Warning) < std::tie(b.Page, b.Row, b.Column, b.Warning);
    });
    errors_ = int(std::count_if(problems_.cbegin(), problems_.cend(), [](const Live_Problem &p) { return !p.Warning; }));

    QHash<quint64, Mark> marks;
    marks.reserve(problems_.size());
    for (const Live_Problem &p : std::as_const(problems_)) {
        if (p.Page < 0 || p.Row < 0 || p.Column < 0)
            continue;
        const quint64 key = Key(p.Page, p.Row, p.Column);
        const auto at = marks.find(key);
        // Errors come first in a cell: its mark is an error if any is.
        if (at == marks.end())
            marks.insert(key, Mark{p.Warning, p.Text});
        else
            at->Tip += u'\n' + p.Text;
    }
    changed_.clear();
    const auto cell_of = [](quint64 key) {
        return Cell{int(key >> 48), int((key >> 16) & 0xFFFFFFFFu), int(key & 0xFFFFu)};
    };
    for (auto it = marks_.cbegin(); it != marks_.cend(); ++it) {
        const auto now = marks.constFind(it.key());
        if (now == marks.cend() || !(*now == *it))
            changed_.append(cell_of(it.key()));
    }
    for (auto it = marks.cbegin(); it != marks.cend(); ++it)
        if (!marks_.contains(it.key()))
            changed_.append(cell_of(it.key()));
    marks_ = std::move(marks);
    emit Changed();
}

const Live_Problems::Mark *Live_Problems::Mark_At(int page, int row, int column) const
{
    const auto at = marks_.constFind(Key(page, row, column));
    return at == marks_.cend() ? nullptr : &*at;
}

const Live_Problem *Live_Problems::Next_After(int page, int row, int column) const
{
    const Live_Problem *first = nullptr;
    for (const Live_Problem &p : problems_) {
        if (p.Page < 0 || p.Row < 0 || p.Column < 0)
            continue;
        if (!first)
            first = &p;
        if (std::tie(p.Page, p.Row, p.Column) > std::tie(page, row, column))
            return &p;
    }
    return first;
}
