#include "tables/grid_clipboard.h"

#include "core/messages.h"
#include "core/object_catalogue.h"
#include "tables/eng_units.h"

#include <QHash>
#include <cstring>
#include <memory>
#include <vector>

namespace {

const QString Ticked = QStringLiteral("Y");
const QString Unticked = QStringLiteral("N");

// The longest refused text a message quotes whole, and the longest list of
// drop-down items it shows whole (a Position list has 1500).
constexpr qsizetype Listed_Items_Limit = 16;

// The object tables' Eng. Unit column, known by the attribute it is stored
// under: a text column whose cells the unit picker fills with a number.
bool Is_Eng_Unit(const Column_Desc &column)
{
    return std::strcmp(column.attribute, "Eng_Unit") == 0;
}

// The object tables' Data Type column, known by its attribute as Eng. Unit.
bool Is_Data_Type(const Column_Desc &column)
{
    return std::strcmp(column.attribute, "Data_Type") == 0;
}

// The item of a Data Type list that `text` names by another of the type's
// names (Object_Type_From_Any_Name): the table's own text, when the table
// offers the type; -1 otherwise.
qsizetype Type_Item(const Column_Desc &column, QStringView text)
{
    const Object_Type *type = Object_Type_From_Any_Name(text);
    if (!type || !type->table_text)
        return -1;
    return column.items.indexOf(QString::fromUtf16(type->table_text));
}

// The control characters (Unicode category Cc): C0, DEL and C1.
bool Has_Control_Character(QStringView text)
{
    for (QChar c : text)
        if (c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() <= 0x9F))
            return true;
    return false;
}

// `text` without its outer blanks; the text itself (shared, not copied)
// when it has none, as nearly every pasted text.
QString Trimmed(const QString &text)
{
    if (text.isEmpty() || (!text.front().isSpace() && !text.back().isSpace()))
        return text;
    return text.trimmed();
}

bool Ends_Cell(QChar c)
{
    return c == u'\t' || c == u'\r' || c == u'\n';
}

// The flag words a spreadsheet holds in a check-box column, folded: the
// letters the grid stores, digits, and the booleans as English and Italian
// spreadsheets copy them.
int Flag_Of(QStringView text)
{
    static const QHash<QString, bool> words = [] {
        QHash<QString, bool> w;
        for (const char16_t *yes : {u"y", u"1", u"true", u"yes", u"vero", u"si", u"s\u00EC"})
            w.insert(QString::fromUtf16(yes), true);
        for (const char16_t *no : {u"n", u"0", u"false", u"no", u"falso"})
            w.insert(QString::fromUtf16(no), false);
        return w;
    }();
    const auto found = words.constFind(text.toString().toCaseFolded());
    return found == words.cend() ? -1 : int(*found);
}

// Every name a unit is known by, folded: the catalogue's text and the
// description (they differ for three units).
const QHash<QString, int> &Unit_Names()
{
    static const QHash<QString, int> names = [] {
        QHash<QString, int> n;
        for (const Unit_Category &category : Unit_Catalogue())
            for (const Eng_Unit &unit : category.units) {
                n.insert(QString::fromUtf16(unit.text).toCaseFolded(), unit.number);
                n.insert(Desc_Unit(unit.number).toCaseFolded(), unit.number);
            }
        return n;
    }();
    return names;
}

bool Names_Unit(QStringView name, int number)
{
    const QString folded = name.toString().toCaseFolded();
    return folded == Desc_Unit(number).toCaseFolded() || Unit_Names().value(folded, -1) == number;
}

// A unit number as the cells hold it: decimal digits, 0 to 65535 (the range
// the object check accepts; numbers above 236 are units the catalogue does
// not name). -1 when `text` is not such a number.
int Unit_Number(QStringView text)
{
    if (text.isEmpty())
        return -1;
    int n = 0;
    for (QChar c : text) {
        if (c < u'0' || c > u'9')
            return -1;
        n = std::min(n * 10 + (c.unicode() - u'0'), 65536); // leading zeros do not count
    }
    return n <= 65535 ? n : -1;
}

Result<QString> Eng_Unit_Text(const Column_Desc &column, const QString &text)
{
    const QStringView t = QStringView(text).trimmed();
    if (t.isEmpty())
        return column.fresh;
    const int number = Unit_Number(t);
    if (number >= 0)
        return QString::number(number);
    // "62 degrees-Celsius", as the grid may show a unit, or with the
    // picker's arrow, a dash or brackets between the two.
    qsizetype digits = 0;
    while (digits < t.size() && t[digits] >= u'0' && t[digits] <= u'9')
        ++digits;
    if (digits > 0 && digits < t.size()) {
        const int shown = Unit_Number(t.left(digits));
        QStringView name = t.mid(digits).trimmed();
        for (const char16_t *mark : {u"->", u"-", u":", u"="})
            if (name.startsWith(QStringView(mark))) {
                name = name.mid(qsizetype(std::char_traits<char16_t>::length(mark))).trimmed();
                break;
            }
        if (name.size() >= 2 &&
            ((name.front() == u'(' && name.back() == u')') || (name.front() == u'[' && name.back() == u']')))
            name = name.mid(1, name.size() - 2).trimmed();
        const bool separated = t[digits].isSpace() || name.size() < t.size() - digits;
        if (shown >= 0 && separated && !name.isEmpty()) {
            if (Names_Unit(name, shown))
                return QString::number(shown);
            const int named = Unit_Names().value(name.toString().toCaseFolded(), -1);
            if (named >= 0)
                return Fail(Messages()
                                .Get(Msg_Paste_Unit_Disagrees)
                                .arg(QString::number(shown), Desc_Unit(shown), Desc_Unit(named)));
        }
    }
    const int named = Unit_Names().value(t.toString().toCaseFolded(), -1);
    if (named >= 0)
        return QString::number(named);
    return Fail(Messages().Get(Msg_Paste_Not_A_Unit));
}

QString Items_Text(const QStringList &items)
{
    if (items.size() <= Listed_Items_Limit)
        return items.join(QStringLiteral(", "));
    // The first items and the last: "0, 1, ..., 1499".
    return QStringList(items.mid(0, Listed_Items_Limit - 2)).join(QStringLiteral(", ")) + QStringLiteral(", ..., ") +
           items.last();
}

// A drop-down column's items by their folded text, made once per paste and
// only for the columns it reaches.
struct Item_Finder
{
    explicit Item_Finder(const QStringList &items)
    {
        exact.reserve(items.size());
        folded.reserve(items.size());
        for (qsizetype i = 0; i < items.size(); ++i) {
            exact.insert(items[i], i);
            const QString key = items[i].toCaseFolded();
            if (!folded.contains(key)) // the first of items alike but for case
                folded.insert(key, i);
        }
    }
    qsizetype Find(const QString &text) const
    {
        const auto hit = exact.constFind(text);
        if (hit != exact.cend())
            return *hit;
        return folded.value(text.toCaseFolded(), -1);
    }
    QHash<QString, qsizetype> exact;
    QHash<QString, qsizetype> folded;
};

// The item a typed text names: the same text, else the first item alike but
// for letter case.
qsizetype Find_Item(const QStringList &items, const QString &text)
{
    const qsizetype exact = items.indexOf(text);
    if (exact >= 0)
        return exact;
    // Compared letter by letter, folded as toCaseFolded folds them.
    for (qsizetype i = 0; i < items.size(); ++i)
        if (items[i].compare(text, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

// `finder`, when given, is made on the first call and kept for the next ones
// (a paste of many cells); a single cell is looked up item by item, which
// costs less than making the finder.
Result<QString> Combo_Text(const Column_Desc &column, const QString &text, std::unique_ptr<Item_Finder> *finder)
{
    const QString t = Trimmed(text);
    if (t.isEmpty())
        return column.fresh;
    qsizetype i = -1;
    if (finder) {
        if (!*finder)
            *finder = std::make_unique<Item_Finder>(column.items);
        i = (*finder)->Find(t);
    } else {
        i = Find_Item(column.items, t);
    }
    if (i < 0 && Is_Data_Type(column))
        i = Type_Item(column, t);
    if (i >= 0)
        return column.items[i];
    return Fail(Messages().Get(Msg_Paste_Not_An_Item).arg(Items_Text(column.items)));
}

Result<QString> Check_Text(const Column_Desc &column, const QString &text)
{
    const QStringView t = QStringView(text).trimmed();
    // An empty cell is unticked: a fresh row's text where that is unticked,
    // so that a copied fresh row pastes back unchanged.
    if (t.isEmpty())
        return Is_Flag_Set(column.fresh) ? Unticked : column.fresh;
    switch (Flag_Of(t)) {
    case 1:
        return Ticked;
    case 0:
        return Unticked;
    default:
        return Fail(Messages().Get(Msg_Paste_Not_A_Flag));
    }
}

Result<QString> Cell_Text(const Column_Desc &column, const QString &text, std::unique_ptr<Item_Finder> *finder)
{
    // No cell holds one: the grid's editors cannot type one, and the
    // documents and the device's texts would carry it on.
    if (Has_Control_Character(text))
        return Fail(Messages().Get(Msg_Paste_Control_Character));
    switch (column.kind) {
    case Cell_Kind::Check:
        return Check_Text(column, text);
    case Cell_Kind::Combo:
        return Combo_Text(column, text, finder);
    case Cell_Kind::Text:
        break;
    }
    if (Is_Eng_Unit(column))
        return Eng_Unit_Text(column, text);
    return text;
}

} // namespace

QString Copy_Cells(const Text_Table &table, const QList<int> &rows, const QList<int> &columns)
{
    // One pass, written in place: a cell is copied bare while it is read,
    // and again quoted when it turns out to need it.
    QString text;
    qsizetype used = 0;
    for (int r : rows) {
        for (qsizetype i = 0; i < columns.size(); ++i) {
            const QString &cell = table.Cell(r, columns[i]);
            const qsizetype most = used + 2 * cell.size() + 3; // quoted, every character a quote
            if (most > text.size())
                text.resize(std::max(most, 2 * text.size()));
            QChar *const start = text.data() + used;
            QChar *out = start;
            bool quote = false;
            for (QChar c : cell) {
                const char16_t u = c.unicode();
                if (u < 0x20 ? (u == u'\t' || u == u'\r' || u == u'\n') : u == u'"') {
                    quote = true;
                    break;
                }
                *out++ = c;
            }
            if (quote) {
                out = start;
                *out++ = u'"';
                for (QChar c : cell) {
                    if (c == u'"')
                        *out++ = u'"';
                    *out++ = c;
                }
                *out++ = u'"';
            }
            *out++ = i + 1 < columns.size() ? u'\t' : u'\n';
            used = out - text.data();
        }
    }
    text.resize(used);
    return text;
}

QList<QStringList> Parse_Clipboard(const QString &text)
{
    QList<QStringList> rows;
    const qsizetype n = text.size();
    qsizetype i = 0;
    QStringList row;
    while (i < n) {
        // One cell from i.
        QString cell;
        bool quoted = false;
        if (text[i] == u'"') {
            // A quoted cell ends at a lone quote followed by the end of the
            // cell; a quote that is not (`"5" pipe` copied raw) leaves the
            // cell's text as it stands.
            QString inner;
            qsizetype j = i + 1;
            while (j < n) {
                const qsizetype q = text.indexOf(u'"', j);
                if (q < 0)
                    break;
                inner += QStringView(text).mid(j, q - j);
                if (q + 1 < n && text[q + 1] == u'"') {
                    inner += u'"';
                    j = q + 2;
                    continue;
                }
                if (q + 1 == n || Ends_Cell(text[q + 1])) {
                    cell = std::move(inner);
                    quoted = true;
                    i = q + 1;
                }
                break;
            }
        }
        if (!quoted) {
            qsizetype j = i;
            while (j < n && !Ends_Cell(text[j]))
                ++j;
            cell = text.mid(i, j - i);
            i = j;
        }
        row.append(std::move(cell));
        if (i == n)
            break;
        if (text[i] == u'\t') {
            ++i;
            if (i == n)
                row.append(QString()); // "a\t": the empty cell after the tab
            continue;
        }
        // A line break: CR LF, LF or a lone CR. A final one ends the last row.
        if (text[i] == u'\r' && i + 1 < n && text[i + 1] == u'\n')
            ++i;
        ++i;
        rows.append(std::move(row));
        row = QStringList();
    }
    if (!row.isEmpty())
        rows.append(std::move(row));
    return rows;
}

Result<QString> Paste_Cell_Text(const Column_Desc &column, const QString &text)
{
    return Cell_Text(column, text, nullptr);
}

Result<QList<Cell_Change>> Plan_Paste(const Text_Table &table, int row, int column, const QList<QStringList> &block)
{
    QList<Cell_Change> changes;
    if (block.isEmpty())
        return changes;
    qsizetype width = 0;
    for (const QStringList &cells : block)
        width = std::max(width, cells.size());

    const int rows_left = std::max(table.Row_Count() - std::max(row, 0), 0);
    if (row < 0 || block.size() > rows_left)
        return Fail(Messages()
                        .Get(Msg_Paste_Too_Many_Rows)
                        .arg(QString::number(block.size()), QString::number(table.Row_Number(std::max(row, 0))),
                             QString::number(rows_left)));
    // The block's columns go to the visible columns from `column` on.
    QList<int> targets;
    for (int c = std::max(column, 0); c < table.Column_Count(); ++c)
        if (!table.Column(c).hidden)
            targets.append(c);
    if (column < 0 || width > targets.size()) {
        const QString header = column >= 0 && column < table.Column_Count()
                                   ? Messages().Get(table.Column(column).header_message)
                                   : QString();
        return Fail(Messages()
                        .Get(Msg_Paste_Too_Many_Columns)
                        .arg(QString::number(width), header, QString::number(targets.size())));
    }

    std::vector<std::unique_ptr<Item_Finder>> finders(size_t(targets.size()));
    qsizetype cells = 0;
    for (const QStringList &line : block)
        cells += line.size();
    changes.reserve(cells);
    for (qsizetype i = 0; i < block.size(); ++i) {
        const int r = row + int(i);
        for (qsizetype j = 0; j < block[i].size(); ++j) {
            const int c = targets[j];
            const Column_Desc &desc = table.Column(c);
            const QString &text = block[i][j];
            Result<QString> stored = Cell_Text(desc, text, &finders[size_t(j)]);
            if (!stored.Ok())
                return Fail(Messages()
                                .Get(Msg_Paste_Cell_Refused)
                                .arg(QString::number(table.Row_Number(r)), Messages().Get(desc.header_message),
                                     Shown_Cell_Text(text), stored.Problem()));
            changes.append({r, c, std::move(stored).Value()});
        }
    }
    return changes;
}

int Unit_Named(QStringView name)
{
    return Unit_Names().value(name.toString().toCaseFolded(), -1);
}

bool Unit_Name_Fits(QStringView name, int number)
{
    return Names_Unit(name, number);
}

QList<Cell_Change> Plan_Clear(const Text_Table &table, const QList<int> &rows, const QList<int> &columns)
{
    QList<Cell_Change> changes;
    changes.reserve(qsizetype(rows.size()) * columns.size());
    for (int r : rows)
        for (int c : columns)
            changes.append({r, c, table.Column(c).fresh});
    return changes;
}

QList<Cell_Change> Plan_Fill_Down(const Text_Table &table, const QList<int> &rows, const QList<int> &columns)
{
    QList<Cell_Change> changes;
    if (rows.isEmpty())
        return changes;
    const bool one_row = rows.size() == 1;
    const int source = one_row ? rows.first() - 1 : rows.first();
    if (source < 0)
        return changes;
    changes.reserve(qsizetype(rows.size()) * columns.size());
    for (qsizetype i = one_row ? 0 : 1; i < rows.size(); ++i)
        for (int c : columns)
            changes.append({rows[i], c, table.Cell(source, c)});
    return changes;
}

QString Shown_Cell_Text(const QString &text)
{
    // Enough to recognise a cell, short enough for one line of a message box.
    constexpr qsizetype limit = 40;
    QString shown = text.size() > limit ? text.left(limit) + QChar(0x2026) : text;
    for (QChar &c : shown)
        if (c.unicode() < 0x20)
            c = QChar(0x2400 + c.unicode());
        else if (c.unicode() == 0x7F)
            c = QChar(0x2421);
    return shown;
}
