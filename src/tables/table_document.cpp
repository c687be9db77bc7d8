#include "tables/table_document.h"

#include "core/messages.h"
#include "core/xml_document.h"
#include "tables/grid_ops.h"
#include "tables/text_table.h"

#include <QDir>
#include <cstring>
#include <vector>

bool Load_Report::Rows_At_Risk() const
{
    for (int n : Rows_Not_Shown)
        if (n > 0)
            return true;
    for (int n : Rows_Not_Saved)
        if (n > 0)
            return true;
    return false;
}

namespace {

// The attribute `name` of `node`, as node.attribute(name) finds it (the
// first of that name). Rows written by this program hold their attributes
// in column order, so the one after the previous column's is tried first;
// `cursor` follows the attributes while they come in that order.
pugi::xml_attribute Attribute_In_Order(pugi::xml_node node, const char *name, pugi::xml_attribute &cursor,
                                       bool &in_order)
{
    if (in_order && cursor && std::strcmp(cursor.name(), name) == 0) {
        const pugi::xml_attribute found = cursor;
        cursor = cursor.next_attribute();
        return found;
    }
    in_order = false;
    return node.attribute(name);
}

} // namespace

pugi::xml_node Table_Group(const Xml_Document &doc, const QString &path, const char *name, const QString &caption,
                           Load_Report &report)
{
    const pugi::xml_node group = doc.Root().child(name);
    if (group || doc.Status() != Xml_Document::State::Loaded)
        return group;
    const QString problem =
        Messages().Get(Msg_Table_Group_Missing).arg(QDir::toNativeSeparators(path), QString::fromUtf8(name));
    if (!report.Document_Problem.isEmpty())
        report.Document_Problem += u'\n';
    report.Document_Problem += problem;
    report.Warnings.append(Messages().Get(Msg_Table_Group_Starts_Empty).arg(problem, caption));
    return group;
}

int Load_Group(Text_Table &table, pugi::xml_node group, int rows)
{
    const int columns = table.Column_Count();
    QList<QByteArray> names;
    for (int c = 0; c < columns; ++c)
        names.append(QByteArray(table.Column(c).attribute));
    // A value equal to the one above it in its column shares that text: in
    // a full object table most cells repeat (type, unit, length), and the
    // tables load at every showing of their window.
    std::vector<const char *> above(columns, nullptr);
    QList<QString> above_text(columns);

    Text_Table::Rebuild rebuild(table, rows);
    int r = 0;
    For_Each_Row(group, [&](pugi::xml_node node) {
        if (r < table.Row_Count()) {
            pugi::xml_attribute cursor = node.first_attribute();
            bool in_order = true;
            for (int c = 0; c < columns; ++c) {
                const pugi::xml_attribute attr = Attribute_In_Order(node, names[c].constData(), cursor, in_order);
                if (!attr) {
                    rebuild.Put(r, c, table.Column(c).missing);
                    above[c] = nullptr;
                    continue;
                }
                const char *value = attr.value();
                if (!above[c] || std::strcmp(above[c], value) != 0) {
                    above[c] = value;
                    above_text[c] = QString::fromUtf8(value);
                }
                rebuild.Put(r, c, above_text[c]);
            }
        }
        ++r;
    });
    return r;
}

int End_Of_Table(const Text_Table &table, int key_column)
{
    for (int r = 0; r < table.Row_Count(); ++r) {
        // Mostly a text that starts with no blank: no need to trim it.
        const QString &key = table.Cell(r, key_column);
        if (key.isEmpty() || (key.front().isSpace() && QStringView(key).trimmed().isEmpty()))
            return r;
    }
    return table.Row_Count();
}

Problem_List Check_Table_End(const Text_Table &table, int page, int key_column, const QString &caption)
{
    const int end = End_Of_Table(table, key_column);
    int lost = 0;
    for (int r = end; r < table.Row_Count(); ++r)
        if (Row_In_Use(table, r))
            ++lost;
    if (lost == 0)
        return {};
    // One multi-argument call, so a "%" in a translated caption stays text.
    const QString text = Messages()
                             .Get(Msg_Rows_Would_Be_Lost)
                             .arg(QString::number(table.Row_Number(end)), caption,
                                  Messages().Get(table.Column(key_column).header_message), QString::number(lost));
    return Problem{.Text = text, .Message = Msg_Rows_Would_Be_Lost, .Page = page, .Row = end, .Column = key_column};
}

void Save_Group(pugi::xml_node root, const char *name, const Text_Table &table, int key_column)
{
    pugi::xml_node group = root.append_child(name);
    const int end = End_Of_Table(table, key_column);
    for (int r = 0; r < end; ++r) {
        pugi::xml_node row = group.append_child("row");
        for (int c = 0; c < table.Column_Count(); ++c)
            row.append_attribute(table.Column(c).attribute).set_value(table.Cell(r, c).toUtf8().constData());
    }
}

void Note_Rows_At_Risk(Load_Report &report, const Text_Table &table, int group_rows, int key_column,
                       const QString &caption)
{
    const int not_shown = std::max(0, group_rows - table.Row_Count());
    const int loaded = group_rows - not_shown;
    const int end = End_Of_Table(table, key_column);
    const int not_saved = std::max(0, loaded - end);
    report.Rows_Not_Shown.append(not_shown);
    report.Rows_Not_Saved.append(not_saved);
    // One multi-argument call, so a "%" in a translated caption stays text.
    if (not_saved > 0)
        report.Warnings.append(Messages()
                                   .Get(Msg_Rows_Not_Saved)
                                   .arg(QString::number(table.Row_Number(end)), caption,
                                        Messages().Get(table.Column(key_column).header_message),
                                        QString::number(not_saved)));
    if (not_shown > 0)
        report.Warnings.append(Messages()
                                   .Get(Msg_Rows_Not_Shown)
                                   .arg(QString::number(not_shown), caption, QString::number(table.Row_Count())));
}
