// Points lists: whatever file a spreadsheet (or anything else) saved,
// imported into an object list and a rule list. Properties:
//  - a refused file changes nothing and names each bad line by a line of
//    the file (from 1), a column (or, for a fault of the whole line, the
//    line in its reason) and a reason;
//  - an accepted file plans only texts the cells take back unchanged, each
//    cell once per table, in row order;
//  - once applied, exporting the tables and importing that export again
//    (replacing) gives the same tables: an export is a fixed point.

#include "fuzz_support.h"
#include "tables/bacnet_access.h"
#include "tables/grid_clipboard.h"
#include "tables/lora_access.h"
#include "tables/points_csv.h"

#include <QString>

namespace {

QList<QStringList> Rows(const Text_Table &table)
{
    QList<QStringList> rows;
    for (int r = 0; r < table.Row_Count(); ++r)
        rows.append(table.Row(r));
    return rows;
}

// Two tables of `columns` for a list, small so that "no room" is reached.
struct Pair
{
    Text_Table first;
    Text_Table second;
    Points_Tables Points(const char *a, const char *b, int key_a, int key_b) const
    {
        return {{{a, &first, key_a}, {b, &second, key_b}}};
    }
};

void Check(const QByteArray &file, Import_Mode mode, Pair &tables, const char *a, const char *b, int key_a, int key_b)
{
    const Points_Tables points = tables.Points(a, b, key_a, key_b);
    const qsizetype lines = file.count('\n') + file.count('\r') + 1;
    const Points_Import import = Import_Points(points, file, mode);
    if (!import.Ok()) {
        for (const Bad_Line &bad : import.Bad_Lines) {
            FUZZ_CHECK(bad.Line >= 1 && bad.Line <= lines, "a bad line %d outside the file's %lld lines", bad.Line,
                       static_cast<long long>(lines));
            // A fault of the whole line (an encoding) names no column but
            // says its line in its own text.
            FUZZ_CHECK(!bad.Reason.trimmed().isEmpty() &&
                           (!bad.Column.isEmpty() || bad.Reason.contains(QString::number(bad.Line))),
                       "a bad line without column or reason: [%s] [%s]", qPrintable(bad.Column),
                       qPrintable(bad.Reason));
        }
        FUZZ_CHECK(import.Changes[0].isEmpty() && import.Changes[1].isEmpty(), "a refused file plans changes");
        return;
    }
    Text_Table *table[2] = {&tables.first, &tables.second};
    for (int t = 0; t < 2; ++t) {
        int last_row = -1;
        int last_column = -1;
        for (const Cell_Change &change : import.Changes[t]) {
            FUZZ_CHECK(change.row > last_row || (change.row == last_row && change.column > last_column),
                       "changes out of order or twice");
            last_row = change.row;
            last_column = change.column;
            const Result<QString> again = Paste_Cell_Text(table[t]->Column(change.column), change.text);
            FUZZ_CHECK(again.Ok() && again.Value() == change.text, "column %d stores \"%s\" but refuses or changes it",
                       change.column, qPrintable(change.text));
        }
        table[t]->Set_Cells(import.Changes[t]);
    }
    const QList<QStringList> first = Rows(tables.first);
    const QList<QStringList> second = Rows(tables.second);
    const Points_Import again = Import_Points(points, Export_Points(points), Import_Mode::Replace);
    FUZZ_CHECK(again.Ok(), "an export is refused: %s", qPrintable(again.Problem(QStringLiteral("export"))));
    FUZZ_CHECK(again.Changes[0].isEmpty() && again.Changes[1].isEmpty(), "an export imports otherwise");
    FUZZ_CHECK(Rows(tables.first) == first && Rows(tables.second) == second, "the import changed the tables");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes = fuzz::Bytes(data, size);
    // The first byte picks replace or append.
    const Import_Mode mode = !bytes.isEmpty() && (bytes[0] & 1) ? Import_Mode::Append : Import_Mode::Replace;
    const QByteArray file = bytes.mid(1);
    Pair objects{Text_Table(Object_Columns(Page_Read), 4), Text_Table(Object_Columns(Page_Write), 4)};
    objects.first.Set_Row(0, {QStringLiteral("Analog Input"), QStringLiteral("62"), QStringLiteral("0"), QString(),
                              QStringLiteral("4"), QStringLiteral("N"), QStringLiteral("kept")});
    Check(file, mode, objects, "Read", "Write", Obj_Data_Type, Obj_Data_Type);
    Pair rules{Text_Table(Uplink_Columns(), 4), Text_Table(Downlink_Columns(), 4)};
    Check(file, mode, rules, "Uplink", "Downlink", Up_StartByte, Down_StartByte);
    return 0;
}
