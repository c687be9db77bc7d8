// The grid clipboard: whatever text another program put on the clipboard.
// Properties:
//  - reading it gives rows of at least one cell each;
//  - the block read, copied from a table and read again, comes back the
//    same (rows padded with empty cells to the widest: a table is
//    rectangular);
//  - a paste into an object table and a rule table either fails with a
//    message or plans texts that the cells take back unchanged (what a
//    cell stores is what pasting it again stores) and that hold no control
//    character.

#include "fuzz_support.h"
#include "tables/bacnet_access.h"
#include "tables/grid_clipboard.h"
#include "tables/lora_access.h"

#include <QString>

namespace {

void Check_Round_Trip(QList<QStringList> block)
{
    qsizetype width = 0;
    for (const QStringList &row : std::as_const(block)) {
        FUZZ_CHECK(!row.isEmpty(), "a row without a cell");
        width = std::max(width, row.size());
    }
    if (block.isEmpty())
        return;
    QList<Column_Desc> columns(width, Column_Desc{.attribute = "T"});
    Text_Table table(columns, int(block.size()));
    QList<int> rows;
    QList<int> all_columns;
    for (qsizetype c = 0; c < width; ++c)
        all_columns.append(int(c));
    for (qsizetype r = 0; r < block.size(); ++r) {
        while (block[r].size() < width)
            block[r].append(QString());
        table.Set_Row(int(r), block[r]);
        rows.append(int(r));
    }
    const QString copied = Copy_Cells(table, rows, all_columns);
    FUZZ_CHECK(Parse_Clipboard(copied) == block, "a copied block reads back otherwise: %s",
               qPrintable(copied.left(200)));
}

void Check_Paste(const Text_Table &table, int row, int column, const QList<QStringList> &block)
{
    const Result<QList<Cell_Change>> plan = Plan_Paste(table, row, column, block);
    if (!plan.Ok()) {
        FUZZ_CHECK(!plan.Problem().trimmed().isEmpty(), "a refused paste without a message");
        return;
    }
    for (const Cell_Change &change : plan.Value()) {
        const Column_Desc &desc = table.Column(change.column);
        FUZZ_CHECK(!desc.hidden, "a paste reached the hidden column %d", change.column);
        for (QChar c : change.text)
            FUZZ_CHECK(c.category() != QChar::Other_Control, "a control character planned for column %d",
                       change.column);
        const Result<QString> again = Paste_Cell_Text(desc, change.text);
        FUZZ_CHECK(again.Ok() && again.Value() == change.text, "column %d stores \"%s\" but refuses or changes it",
                   change.column, qPrintable(change.text));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    // Made once: the object table's Position list has 1500 items.
    static const Text_Table objects(Object_Columns(Page_Write), 6);
    static const Text_Table rules(Uplink_Columns(), 6);
    const QByteArray bytes = fuzz::Bytes(data, size);
    // The first byte picks where the block goes.
    const int at = bytes.isEmpty() ? 0 : quint8(bytes[0]);
    const QList<QStringList> block = Parse_Clipboard(QString::fromUtf8(bytes.mid(1)));
    Check_Round_Trip(block);
    Check_Paste(objects, at % 4, (at >> 2) % objects.Column_Count(), block);
    Check_Paste(rules, at % 4, (at >> 2) % rules.Column_Count(), block);
    return 0;
}
