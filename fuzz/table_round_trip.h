#pragma once

// A table window's document: load, check, save, load the saved file, save
// again. The second save must write the same bytes, and the saved file must
// load without a problem.

#include "fuzz_support.h"
#include "params/pargen_document.h"
#include "tables/table_document.h"

namespace fuzz {

// `pargen`: the parameter document as read once by the caller; both loads
// take it, as the window's loads read the same file. `read` reads the
// table document from its file.
template <typename Tables, typename Reader>
void Table_Round_Trip(const ParGen_Document &pargen, const QString &path, Reader read, const char *what)
{
    const QString copy = Scratch(QStringLiteral("table_copy.xml"));
    // Made once: a load resets every cell and setting, and making the tables
    // (thousands of cells) would cost more than the load itself.
    static Tables tables;
    static Tables again;
    (void)tables.Load(pargen, read(path));
    (void)tables.Controllo_Dati();
    const QByteArray first = tables.Serialise();
    Put_File(copy, first);

    const Load_Report second_report = again.Load(pargen, read(copy));
    FUZZ_CHECK(second_report.Document_Problem.isEmpty(), "%s: the saved document is damaged: %s", what,
               qPrintable(second_report.Document_Problem));
    const QByteArray second = again.Serialise();
    FUZZ_CHECK(first == second, "%s: a second save writes other bytes\n%s\n%s", what, first.left(400).constData(),
               second.left(400).constData());
}

} // namespace fuzz
