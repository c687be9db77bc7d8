#include "tables/points_csv.h"

#include "core/int_read.h"
#include "core/messages.h"
#include "tables/bacnet_access.h"
#include "tables/csv_text.h"
#include "tables/eng_units.h"
#include "tables/grid_clipboard.h"
#include "tables/lora_access.h"
#include "tables/table_document.h"

#include <QDir>
#include <algorithm>
#include <cstring>

namespace {

// The English texts, whatever language the message table holds: the file's
// header line is written in English so that a file travels between users.
const Message_Table &English()
{
    static const Message_Table english;
    return english;
}

bool Is_Eng_Unit(const Column_Desc &column)
{
    return std::strcmp(column.attribute, "Eng_Unit") == 0;
}

int Column_Named(const Text_Table &table, const char *attribute)
{
    for (int c = 0; c < table.Column_Count(); ++c)
        if (std::strcmp(table.Column(c).attribute, attribute) == 0)
            return c;
    return -1;
}

QString Folded(QStringView text)
{
    return text.trimmed().toString().toCaseFolded();
}

// A column of the file: the table name, a cell column of one or both
// tables (found by its attribute), or the unit's name.
struct File_Column
{
    enum class Role { Table_Name, Cell, Unit_Name };
    Role role = Role::Cell;
    int column[2] = {-1, -1}; // the cell column of each table; -1 where a table lacks it

    // The header texts of the column: its message in each table that has it.
    QList<int> Header_Messages(const Points_Tables &tables) const
    {
        switch (role) {
        case Role::Table_Name:
            return {Msg_Points_Table_Column};
        case Role::Unit_Name:
            return {Msg_Points_Unit_Name_Column};
        case Role::Cell:
            break;
        }
        QList<int> messages;
        for (int t = 0; t < 2; ++t)
            if (column[t] >= 0)
                messages.append(tables[t].Table->Column(column[t]).header_message);
        return messages;
    }
    QString English_Name(const Points_Tables &tables) const { return English().Get(Header_Messages(tables).first()); }
    // `folded` is a name of the column, in English or in the language of
    // the message table.
    bool Named(const Points_Tables &tables, const QString &folded) const
    {
        if (folded.isEmpty()) // a text the language leaves blank names nothing
            return false;
        // Compared folded letter by letter, with nothing copied: a header line
        // meets every name of every column.
        const auto same = [&](const QString &name) {
            return QStringView(name).trimmed().compare(folded, Qt::CaseInsensitive) == 0;
        };
        for (int message : Header_Messages(tables))
            if (same(English().Get(message)) || same(Messages().Get(message)))
                return true;
        return false;
    }
};

// The columns of the file in order: the table name, the first table's
// columns with the unit's name after Eng. Unit, then those only the second
// table has.
QList<File_Column> File_Columns(const Points_Tables &tables)
{
    using Role = File_Column::Role;
    QList<File_Column> columns{{Role::Table_Name, {-1, -1}}};
    const Text_Table &first = *tables[0].Table;
    const Text_Table &second = *tables[1].Table;
    for (int c = 0; c < first.Column_Count(); ++c) {
        columns.append({Role::Cell, {c, Column_Named(second, first.Column(c).attribute)}});
        if (Is_Eng_Unit(first.Column(c)))
            columns.append({Role::Unit_Name, {-1, -1}});
    }
    for (int c = 0; c < second.Column_Count(); ++c)
        if (Column_Named(first, second.Column(c).attribute) < 0)
            columns.append({Role::Cell, {-1, c}});
    return columns;
}

// The unit name beside an Eng. Unit cell: the name of the number the grid
// shows it as, else nothing.
QString Unit_Name_Of(const QString &cell)
{
    int number = -1;
    if (!Try_Str_To_Int(cell, &number) || number < 0 || number >= Eng_Unit_Count)
        return QString();
    return Desc_Unit(number);
}

QString Quoted(const QString &text)
{
    return u'"' + Shown_Cell_Text(text) + u'"';
}

QString Quoted_Reason(const QString &text, const QString &reason)
{
    return Quoted(text) + QStringLiteral(": ") + reason;
}

// The header line read: for each field of the file the column it names
// (an index into the file's columns), or -1 for a field after the last name.
struct Header
{
    QList<int> columns;  // per field of the header line
    QList<int> field_of; // per file column: its field, -1 when the file lacks it
    QStringList names;   // the names as the file spells them, per field
    int Field_Count() const { return int(columns.size()); }
};

Header Read_Header(const Points_Tables &tables, const QList<File_Column> &columns, const Csv_Record *record,
                   QList<Bad_Line> &bad)
{
    Header header;
    header.field_of = QList<int>(columns.size(), -1);
    const int line = record ? record->Line : 1;
    QStringList fields = record ? record->Fields : QStringList();
    // Spreadsheets end a header line with separators for columns that only
    // some lines fill.
    while (!fields.isEmpty() && fields.last().trimmed().isEmpty())
        fields.removeLast();
    // The names a file may use, listed only for a column that is none of them.
    const auto known = [&] {
        QStringList names;
        for (const File_Column &column : columns)
            names.append(u'"' + column.English_Name(tables) + u'"');
        return names.join(QStringLiteral(", "));
    };
    for (qsizetype i = 0; i < fields.size(); ++i) {
        const QString folded = Folded(fields[i]);
        const QString label = u'"' + fields[i].trimmed() + u'"';
        header.names.append(label);
        int found = -1;
        for (int k = 0; k < columns.size() && found < 0; ++k)
            if (columns[k].Named(tables, folded))
                found = k;
        header.columns.append(found);
        if (found < 0) {
            bad.append({line, label, Messages().Get(Msg_Points_Unknown_Column).arg(known())});
        } else if (header.field_of[found] >= 0) {
            bad.append({line, label, Messages().Get(Msg_Points_Column_Twice)});
        } else {
            header.field_of[found] = int(i);
        }
    }
    // The table name and each table's key column are needed on every line.
    for (int k = 0; k < columns.size(); ++k) {
        const File_Column &column = columns[k];
        bool needed = column.role == File_Column::Role::Table_Name;
        for (int t = 0; t < 2; ++t)
            needed = needed || (column.column[t] >= 0 && column.column[t] == tables[t].Key_Column);
        if (needed && header.field_of[k] < 0)
            bad.append({line, u'"' + column.English_Name(tables) + u'"', Messages().Get(Msg_Points_Column_Missing)});
    }
    return header;
}

// One line of the file that went into a table's row: its texts as the
// cells store them.
struct Read_Row
{
    int line;
    QStringList texts;
};

// Reads one data line into a row of its table; false, with the reasons in
// `bad`, when any of its fields is wrong.
bool Read_Line(const Points_Tables &tables, const QList<File_Column> &columns, const Header &header,
               const Csv_Record &record, int *table_out, QStringList *row_out, QList<Bad_Line> &bad)
{
    const qsizetype bad_before = bad.size();
    const int line = record.Line;
    const auto field = [&](int file_column) {
        const int f = header.field_of[file_column];
        return f >= 0 && f < record.Fields.size() ? Csv_Cell_Of_Field(record.Fields[f]) : QString();
    };
    const auto label = [&](int file_column) {
        const int f = header.field_of[file_column];
        return f >= 0 ? header.names[f] : u'"' + columns[file_column].English_Name(tables) + u'"';
    };

    for (qsizetype f = header.Field_Count(); f < record.Fields.size(); ++f)
        if (!record.Fields[f].trimmed().isEmpty()) {
            bad.append({line, QString::number(f + 1),
                        Messages()
                            .Get(Msg_Points_Too_Many_Fields)
                            .arg(QString::number(record.Fields.size()), QString::number(header.Field_Count()))});
            break;
        }

    int table_column = -1;
    for (int k = 0; k < columns.size(); ++k)
        if (columns[k].role == File_Column::Role::Table_Name)
            table_column = k;
    const QString name = field(table_column);
    int t = -1;
    for (int k = 0; k < 2; ++k)
        if (Folded(name) == QString::fromLatin1(tables[k].Name).toCaseFolded())
            t = k;
    if (t < 0) {
        bad.append({line, label(table_column),
                    Messages()
                        .Get(Msg_Points_Not_A_Table)
                        .arg(Shown_Cell_Text(name.trimmed()), QString::fromLatin1(tables[0].Name),
                             QString::fromLatin1(tables[1].Name))});
        return false;
    }

    const Text_Table &table = *tables[t].Table;
    QStringList row;
    QList<bool> refused(table.Column_Count(), false);
    // A column the file leaves out gives what a fresh row holds.
    for (int c = 0; c < table.Column_Count(); ++c)
        row.append(table.Column(c).fresh);
    int unit_column = -1;
    for (int k = 0; k < columns.size(); ++k) {
        const File_Column &column = columns[k];
        if (header.field_of[k] < 0)
            continue;
        const QString text = field(k);
        if (column.role == File_Column::Role::Unit_Name) {
            unit_column = k;
            continue;
        }
        if (column.role != File_Column::Role::Cell)
            continue;
        const int c = column.column[t];
        if (c < 0) {
            if (!text.trimmed().isEmpty())
                bad.append(
                    {line, label(k), Messages().Get(Msg_Points_Not_In_Table).arg(QString::fromLatin1(tables[t].Name))});
            continue;
        }
        Result<QString> stored = Paste_Cell_Text(table.Column(c), text);
        if (!stored) {
            bad.append({line, label(k), Quoted_Reason(text, stored.Problem())});
            refused[c] = true;
            continue;
        }
        row[c] = std::move(stored).Value();
    }

    // The unit's name: checked against the number, or giving it.
    const QString unit_name = unit_column >= 0 ? field(unit_column).trimmed() : QString();
    int eng = -1;
    for (int c = 0; c < table.Column_Count(); ++c)
        if (Is_Eng_Unit(table.Column(c)))
            eng = c;
    if (!unit_name.isEmpty() && eng >= 0 && !refused[eng]) {
        if (row[eng].isEmpty()) {
            const int named = Unit_Named(unit_name);
            if (named < 0)
                bad.append({line, label(unit_column), Quoted_Reason(unit_name, Messages().Get(Msg_Paste_Not_A_Unit))});
            else
                row[eng] = QString::number(named);
        } else {
            const int number = row[eng].toInt();
            if (!Unit_Name_Fits(unit_name, number))
                bad.append({line, label(unit_column),
                            Messages().Get(Msg_Paste_Unit_Disagrees).arg(row[eng], Desc_Unit(number), unit_name)});
        }
    }

    // A row with an empty key would end the table there.
    const int key = tables[t].Key_Column;
    if (!refused[key] && row[key].trimmed().isEmpty())
        for (int k = 0; k < columns.size(); ++k)
            if (columns[k].role == File_Column::Role::Cell && columns[k].column[t] == key)
                bad.append({line, label(k), Messages().Get(Msg_Points_Key_Empty)});

    *table_out = t;
    *row_out = std::move(row);
    return bad.size() == bad_before;
}

bool Blank(const QStringList &fields)
{
    return std::all_of(fields.cbegin(), fields.cend(), [](const QString &f) { return f.trimmed().isEmpty(); });
}

} // namespace

Points_Tables Points_Of(const BACnet_Slave_Set_Access &objects)
{
    return {{{"Read", &objects.Read, Obj_Data_Type}, {"Write", &objects.Write, Obj_Data_Type}}};
}

Points_Tables Points_Of(const LoRa_Set_Access &rules)
{
    return {{{"Uplink", &rules.Uplink, Up_StartByte}, {"Downlink", &rules.Downlink, Down_StartByte}}};
}

QByteArray Export_Points(const Points_Tables &tables)
{
    const QList<File_Column> columns = File_Columns(tables);
    QList<QStringList> records;
    QStringList header;
    for (const File_Column &column : columns)
        header.append(column.English_Name(tables));
    records.append(header);
    for (int t = 0; t < 2; ++t) {
        const Text_Table &table = *tables[t].Table;
        const int end = End_Of_Table(table, tables[t].Key_Column);
        for (int r = 0; r < end; ++r) {
            QStringList record;
            int eng = -1;
            for (const File_Column &column : columns) {
                switch (column.role) {
                case File_Column::Role::Table_Name:
                    record.append(QString::fromLatin1(tables[t].Name));
                    break;
                case File_Column::Role::Unit_Name:
                    record.append(eng >= 0 ? Csv_Text_Cell(Unit_Name_Of(table.Cell(r, eng))) : QString());
                    break;
                case File_Column::Role::Cell: {
                    const int c = column.column[t];
                    // A spreadsheet must not run a cell as a formula.
                    record.append(c >= 0 ? Csv_Text_Cell(table.Cell(r, c)) : QString());
                    if (c >= 0 && Is_Eng_Unit(table.Column(c)))
                        eng = c;
                    break;
                }
                }
            }
            records.append(record);
        }
    }
    return Encode_Csv(records);
}

QString Bad_Line::Text() const
{
    // A fault of the whole line says its line itself.
    if (Column.isEmpty())
        return Reason;
    // One multi-argument call, so a "%" in a quoted field stays text.
    return Messages().Get(Msg_Points_Bad_Line).arg(QString::number(Line), Column, Reason);
}

QString Points_Import::Problem(const QString &file, int most) const
{
    QStringList lines{Messages().Get(Msg_Points_Not_Imported).arg(QDir::toNativeSeparators(file))};
    const qsizetype shown = most < 0 ? Bad_Lines.size() : std::min<qsizetype>(most, Bad_Lines.size());
    for (qsizetype i = 0; i < shown; ++i)
        lines.append(Bad_Lines[i].Text());
    if (shown < Bad_Lines.size())
        lines.append(Messages().Get(Msg_Object_Names_More).arg(Bad_Lines.size() - shown));
    return lines.join(u'\n');
}

Points_Import Import_Points(const Points_Tables &tables, const QByteArray &bytes, Import_Mode mode)
{
    Points_Import result;
    if (char byte = 0; const int line = Stray_Byte_Line(bytes, &byte)) {
        result.Bad_Lines.append(
            {line, QString(),
             Messages()
                 .Get(Msg_Points_Not_Utf8)
                 .arg(QString::number(line),
                      QStringLiteral("0x") +
                          QStringLiteral("%1").arg(uchar(byte), 2, 16, QLatin1Char(u'0')).toUpper())});
        return result;
    }
    const QString text = Decode_Csv(bytes);
    const QList<Csv_Record> records = Parse_Csv(text, Csv_Separator(text));
    const QList<File_Column> columns = File_Columns(tables);
    const Header header =
        Read_Header(tables, columns, records.isEmpty() ? nullptr : &records.first(), result.Bad_Lines);
    // Without its columns no line can be read.
    if (!result.Ok())
        return result;

    std::array<QList<Read_Row>, 2> rows;
    for (qsizetype i = 1; i < records.size(); ++i) {
        if (Blank(records[i].Fields))
            continue;
        int t = -1;
        QStringList row;
        if (Read_Line(tables, columns, header, records[i], &t, &row, result.Bad_Lines))
            rows[t].append({records[i].Line, std::move(row)});
    }

    std::array<int, 2> first_row{0, 0};
    for (int t = 0; t < 2; ++t) {
        const Text_Table &table = *tables[t].Table;
        first_row[t] = mode == Import_Mode::Append ? End_Of_Table(table, tables[t].Key_Column) : 0;
        const int room = table.Row_Count() - first_row[t];
        if (rows[t].size() > room) {
            const int table_field = header.field_of[0];
            result.Bad_Lines.append({rows[t][room].line, header.names[table_field],
                                     Messages()
                                         .Get(Msg_Points_No_Room)
                                         .arg(QString::fromLatin1(tables[t].Name), QString::number(room),
                                              QString::number(rows[t].size() - room))});
        }
    }
    if (!result.Ok()) {
        std::stable_sort(result.Bad_Lines.begin(), result.Bad_Lines.end(),
                         [](const Bad_Line &a, const Bad_Line &b) { return a.Line < b.Line; });
        return result;
    }

    for (int t = 0; t < 2; ++t) {
        const Text_Table &table = *tables[t].Table;
        const int first = first_row[t];
        const int count = int(rows[t].size());
        // Replace: the rows after the file's become fresh.
        const int last = mode == Import_Mode::Replace ? table.Row_Count() : first + count;
        for (int r = first; r < last; ++r) {
            const bool imported = r - first < count;
            for (int c = 0; c < table.Column_Count(); ++c) {
                const QString &cell = imported ? rows[t][r - first].texts[c] : table.Column(c).fresh;
                if (table.Cell(r, c) != cell)
                    result.Changes[t].append({r, c, cell});
            }
            if (imported) {
                result.Rows[t].append(r);
                result.Lines[t].append(rows[t][r - first].line);
            }
        }
    }
    return result;
}

QString Points_File_Name(const QString &chosen)
{
    if (chosen.right(4).compare(QStringLiteral(".csv"), Qt::CaseInsensitive) == 0)
        return chosen;
    return chosen + QStringLiteral(".csv");
}
