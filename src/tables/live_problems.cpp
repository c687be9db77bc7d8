#include "tables/live_problems.h"

#include "core/messages.h"
#include "tables/bacnet_access.h"
#include "tables/lora_access.h"
#include "tables/object_names.h"
#include "tables/overlap_warnings.h"
#include "tables/table_messages.h"
#include "tables/text_table.h"

#include <QCoreApplication>
#include <QEvent>
#include <algorithm>
#include <tuple>
#include <utility>

namespace {

void Add_Table_End(Problem_List &out, const Text_Table &table, int page, int key_column, int caption)
{
    out.Append(Check_Table_End(table, page, key_column, Messages().Get(caption)));
}

// The object the count passes the limit with: the first beyond it, counting
// the Read table's objects and then the Write table's, as the check does.
void Place_Over_The_Limit(const BACnet_Slave_Set_Access &objects, int read, Problem &p)
{
    const int limit = objects.Max_Objects();
    p.Page = read > limit ? Page_Read : Page_Write;
    p.Row = read > limit ? limit : limit - read;
    p.Column = Obj_Data_Type;
}

} // namespace

Problem_List Object_Live_Problems(const BACnet_Slave_Set_Access &objects)
{
    // Each row read once for every check below.
    const Object_Rows read = Read_Object_Rows(objects.Read);
    const Object_Rows write = Read_Object_Rows(objects.Write);
    const Problem_List errors = objects.All_Problems(read, write);
    const Problem_List overlaps = Object_Overlap_Warnings(objects, read, write);
    const Problem_List names = Object_Name_Problems(objects, objects.Desc_Length, read, write);
    Problem_List out;
    for (Problem p : errors) {
        if (p.Row < 0)
            Place_Over_The_Limit(objects, int(read.size()), p);
        out.Add(std::move(p));
    }
    Add_Table_End(out, objects.Read, Page_Read, Obj_Data_Type, Msg_BACnet_Read);
    Add_Table_End(out, objects.Write, Page_Write, Obj_Data_Type, Msg_BACnet_Write);
    out.Append(overlaps);
    out.Append(names);
    return out;
}

Problem_List Rule_Live_Problems(const LoRa_Set_Access &rules)
{
    Problem_List out = rules.All_Problems();
    Add_Table_End(out, rules.Uplink, Page_Uplink, Up_StartByte, Msg_LoRa_Uplink);
    Add_Table_End(out, rules.Downlink, Page_Downlink, Down_StartByte, Msg_LoRa_Downlink);
    out.Append(Rule_Overlap_Warnings(rules));
    return out;
}

namespace {

// Sent after the views' paint requests, which wait at a low priority: the
// marks follow what the views draw of a change.
const QEvent::Type Find_Event = QEvent::Type(QEvent::registerEventType());

} // namespace

Live_Problems::Live_Problems(const Text_Table *first, const Text_Table *second, Finder find, QObject *parent)
    : QObject(parent)
    , tables_{first, second}
    , find_(std::move(find))
{
    for (const Text_Table *table : tables_) {
        connect(table, &QAbstractItemModel::dataChanged, this, &Live_Problems::Cells_Changed);
        connect(table, &QAbstractItemModel::layoutChanged, this, &Live_Problems::Cells_Changed);
        // Another document: its first paint must not show the old marks.
        connect(table, &QAbstractItemModel::modelReset, this, [this] {
            Forget_Marks();
            Invalidate();
        });
    }
    Invalidate();
}

void Live_Problems::Invalidate()
{
    kept_.clear();
    Cells_Changed();
}

void Live_Problems::Cells_Changed()
{
    if (stale_)
        return;
    stale_ = true;
    waited_ = false;
    QCoreApplication::postEvent(this, new QEvent(Find_Event), Qt::LowEventPriority - 1);
}

bool Live_Problems::event(QEvent *event)
{
    if (event->type() != Find_Event)
        return QObject::event(event);
    // Once round the event loop first, so that a window being shown draws
    // before its marks are found.
    if (stale_ && !std::exchange(waited_, true)) {
        QCoreApplication::postEvent(this, new QEvent(Find_Event), Qt::LowEventPriority - 1);
        return true;
    }
    Flush();
    return true;
}

void Live_Problems::Flush()
{
    if (stale_)
        Find_Now();
}

void Live_Problems::Forget_Marks()
{
    for (Page_Marks &m : marks_) {
        std::fill(m.first.begin(), m.first.end(), -1);
        std::fill(m.level.begin(), m.level.end(), Mark_Level::None);
    }
}

void Live_Problems::Find_Now()
{
    stale_ = false;
    ++findings_;
    // The cells of a kept finding give its problems again: comparing them
    // costs far less than finding (a paste undone and redone: thousands of
    // cells, thousands of warnings to write).
    const auto same_cells = [this](const Finding &f) {
        for (int page = 0; page < 2; ++page) {
            const Text_Table &table = *tables_[page];
            const int columns = table.Column_Count();
            if (f.cells[page].size() != qsizetype(table.Row_Count()) * columns)
                return false;
            for (int r = 0; r < table.Row_Count(); ++r)
                for (int c = 0; c < columns; ++c)
                    if (f.cells[page][qsizetype(r) * columns + c] != table.Cell(r, c))
                        return false;
        }
        return true;
    };
    const auto known = std::find_if(kept_.begin(), kept_.end(), same_cells);
    QList<Problem> old;
    if (known != kept_.end()) {
        old = std::exchange(problems_, known->problems);
        errors_ = known->errors;
        std::rotate(kept_.begin(), known, known + 1);
    } else {
        old = std::exchange(problems_, find_().All());
        std::stable_sort(problems_.begin(), problems_.end(), [](const Problem &a, const Problem &b) {
            return std::tie(a.Page, a.Row, a.Column, a.Level) < std::tie(b.Page, b.Row, b.Column, b.Level);
        });
        errors_ =
            int(std::count_if(problems_.cbegin(), problems_.cend(), [](const Problem &p) { return p.Is_Error(); }));
        if (kept_.size() == Findings_Kept)
            kept_.removeLast();
        Finding found{{}, problems_, errors_};
        for (int page = 0; page < 2; ++page) {
            const Text_Table &table = *tables_[page];
            found.cells[page].reserve(qsizetype(table.Row_Count()) * table.Column_Count());
            for (int r = 0; r < table.Row_Count(); ++r)
                for (int c = 0; c < table.Column_Count(); ++c)
                    found.cells[page].append(table.Cell(r, c));
        }
        kept_.prepend(std::move(found));
    }

    // The old levels are kept until the new ones are set, to tell what changed.
    Page_Marks before[2] = {std::move(marks_[0]), std::move(marks_[1])};
    for (int page = 0; page < 2; ++page) {
        Page_Marks &m = marks_[page];
        m.columns = tables_[page]->Column_Count();
        const size_t cells = size_t(tables_[page]->Row_Count()) * size_t(m.columns);
        m.first.assign(cells, -1);
        m.level.assign(cells, Mark_Level::None);
    }
    for (int i = 0; i < int(problems_.size()); ++i) {
        const Problem &p = problems_[i];
        if (p.Page < 0 || p.Page > 1 || !marks_[p.Page].Holds(p.Row, p.Column))
            continue;
        Page_Marks &m = marks_[p.Page];
        const qsizetype at = m.At(p.Row, p.Column);
        // Errors come first in a cell: its level is an error if any is.
        if (m.first[size_t(at)] < 0) {
            m.first[size_t(at)] = i;
            m.level[size_t(at)] = p.Is_Error() ? Mark_Level::Error : Mark_Level::Warning;
        }
    }
    changed_.clear();
    const auto level_in = [](const Page_Marks &m, int row, int column) {
        return m.Holds(row, column) ? m.level[size_t(m.At(row, column))] : Mark_Level::None;
    };
    // Only cells that held a problem before or hold one now can have
    // changed; each is told once (its old level is then taken as the new).
    for (const QList<Problem> *list : {&std::as_const(old), &std::as_const(problems_)}) {
        for (const Problem &p : *list) {
            if (p.Page < 0 || p.Page > 1 || p.Row < 0 || p.Column < 0)
                continue;
            const Mark_Level now = level_in(marks_[p.Page], p.Row, p.Column);
            if (level_in(before[p.Page], p.Row, p.Column) == now)
                continue;
            changed_.append({p.Page, p.Row, p.Column});
            if (before[p.Page].Holds(p.Row, p.Column))
                before[p.Page].level[size_t(before[p.Page].At(p.Row, p.Column))] = now;
        }
    }
    emit Changed();
}

Mark_Level Live_Problems::Level_At(int page, int row, int column) const
{
    if (page < 0 || page > 1 || !marks_[page].Holds(row, column))
        return Mark_Level::None;
    return marks_[page].level[size_t(marks_[page].At(row, column))];
}

QString Live_Problems::Tip_At(int page, int row, int column) const
{
    if (page < 0 || page > 1 || !marks_[page].Holds(row, column))
        return QString();
    QStringList texts;
    for (int i = marks_[page].first[size_t(marks_[page].At(row, column))];
         i >= 0 && i < int(problems_.size()) && problems_[i].Page == page && problems_[i].Row == row &&
         problems_[i].Column == column;
         ++i)
        texts << problems_[i].Text;
    return texts.join(u'\n');
}

const Problem *Live_Problems::Next_After(int page, int row, int column) const
{
    const Problem *first = nullptr;
    for (const Problem &p : problems_) {
        if (p.Page < 0 || p.Row < 0 || p.Column < 0)
            continue;
        if (!first)
            first = &p;
        if (std::tie(p.Page, p.Row, p.Column) > std::tie(page, row, column))
            return &p;
    }
    return first;
}
