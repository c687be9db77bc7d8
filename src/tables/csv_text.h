#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// Comma-separated text as spreadsheets write and read it (RFC 4180): fields
// between separators, a field in double quotes when it holds a separator, a
// quote (doubled inside) or a line break.

// One record of a CSV text: its fields, and the line of the text it starts
// on, from 1 (a quoted line break makes a record span lines).
struct Csv_Record
{
    int Line = 0;
    QStringList Fields;
};

// The text of a file a spreadsheet saved. A byte-order mark names the
// encoding (UTF-8, or UTF-16 and UTF-32 as "Unicode text" is saved); without
// one the bytes are UTF-8 when they are valid UTF-8, else windows-1252 (what
// spreadsheets on Western systems write as "CSV"). The mark is not part of
// the text.
QString Decode_Csv(const QByteArray &bytes);

// The line (from 1) of the first byte that is not UTF-8 in bytes that hold
// UTF-8 elsewhere (a valid sequence of two bytes or more after the mark, if
// any), or 0. Such a file is neither: read as windows-1252 every UTF-8
// letter would turn into two or three wrong ones. `byte` gets the byte.
int Stray_Byte_Line(const QByteArray &bytes, char *byte);

// The separator of a CSV text, told from its first record (the header
// line): the comma, semicolon or tab it holds most of outside quotes; a
// comma when it holds none, and on a tie the first of that order.
QChar Csv_Separator(QStringView text);

// The records of `text`. Line breaks are CR LF, LF or a lone CR; a final one
// ends the last record (no empty record after it). A field that starts with
// a quote runs to the quote that closes it, taking separators, line breaks
// and doubled quotes into its text; what follows the closing quote up to the
// separator is kept as typed, and a quote never closed takes the rest of the
// text. A quote inside a field that does not start with one is text.
QList<Csv_Record> Parse_Csv(QStringView text, QChar separator);

// A field as a record writes it: in quotes (inner quotes doubled) when it
// holds the separator, a quote or a line break, or begins or ends with a
// blank, which some spreadsheets would drop; else as it is.
QString Csv_Field(const QString &text, QChar separator);

// The bytes of a CSV file: each record's fields joined by commas, CR LF
// after each record, UTF-8 with a byte-order mark (spreadsheets take a file
// without one for the system's code page).
QByteArray Encode_Csv(const QList<QStringList> &records);

// True when a spreadsheet would run the text as a formula: it starts with
// "=", "+", "-", "@", a tab or a carriage return, and is no plain number
// such as "-5" or "+1.5", which a spreadsheet reads as that number.
bool Csv_Runs_As_Formula(QStringView text);

// A cell's text as a CSV file holds it: behind an apostrophe (which makes a
// spreadsheet take the field as text) when the text, after any apostrophes
// it starts with, runs as a formula; else as it is.
QString Csv_Text_Cell(const QString &text);

// The cell of a field that Csv_Text_Cell wrote: the apostrophe it put there
// removed again, so that every cell reads back byte for byte; any other field
// as it is.
QString Csv_Cell_Of_Field(const QString &field);
