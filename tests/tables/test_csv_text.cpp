// CSV text as spreadsheets write it: encodings, separators, quoting.

#include "tables/csv_text.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Records as "line:a|b|c", one per record.
QStringList Shown(const QList<Csv_Record> &records)
{
    QStringList shown;
    for (const Csv_Record &record : records)
        shown.append(QString::number(record.Line) + u':' + record.Fields.join(u'|'));
    return shown;
}

} // namespace

class Test_Csv_Text : public QObject
{
    Q_OBJECT

private slots:
    void decode_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("UTF-8 without a mark") << "Caf\xC3\xA9"_ba << u"Café"_s;
        QTest::newRow("UTF-8 with a mark") << "\xEF\xBB\xBF"
                                              "Caf\xC3\xA9"_ba
                                           << u"Café"_s;
        // Bytes that are not UTF-8: what a Western spreadsheet saves as CSV.
        QTest::newRow("windows-1252") << "Temp\xE9rature \x80 \x93x\x94"_ba << u"Température € “x”"_s;
        QTest::newRow("a mark, then bytes that are not UTF-8") << "\xEF\xBB\xBF"
                                                                  "Caf\xE9"_ba
                                                               << u"Café"_s;
        QTest::newRow("UTF-16 with its mark") << QByteArray("\xFF\xFE"
                                                            "C\0a\0f\0\xE9\0",
                                                            10)
                                              << u"Café"_s;
        QTest::newRow("ASCII") << "a,b\r\n"_ba << u"a,b\r\n"_s;
    }

    void decode()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QCOMPARE(Decode_Csv(bytes), text);
    }

    void separator_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("separator");
        QTest::newRow("comma") << u"Table,Data Type,Position\r\nRead;x;y"_s << u","_s;
        QTest::newRow("semicolon") << u"Table;Data Type;Eng. Unit, name\nRead,x,y,z"_s << u";"_s;
        QTest::newRow("tab") << u"Table\tData Type\tPosition"_s << u"\t"_s;
        // Quoted separators do not count.
        QTest::newRow("quoted commas") << u"\"a,b,c\";\"d,e\";f"_s << u";"_s;
        QTest::newRow("a quoted line break") << u"\"a\nb,c,d\";e;f"_s << u";"_s;
        QTest::newRow("one column") << u"Table\nRead"_s << u","_s;
        QTest::newRow("empty") << QString() << u","_s;
    }

    void separator()
    {
        QFETCH(QString, text);
        QFETCH(QString, separator);
        QCOMPARE(QString(Csv_Separator(text)), separator);
    }

    void parse_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("separator");
        QTest::addColumn<QStringList>("records");
        QTest::newRow("CR LF") << u"a,b\r\nc,d\r\n"_s << u","_s << QStringList{u"1:a|b"_s, u"2:c|d"_s};
        QTest::newRow("LF, CR, no final break")
            << u"a,b\nc,d\re"_s << u","_s << QStringList{u"1:a|b"_s, u"2:c|d"_s, u"3:e"_s};
        QTest::newRow("empty fields") << u",a,,\r\n"_s << u","_s << QStringList{u"1:|a||"_s};
        QTest::newRow("quoted separators and quotes")
            << u"\"a,b\",\"say \"\"hi\"\"\",c\r\n"_s << u","_s << QStringList{u"1:a,b|say \"hi\"|c"_s};
        // A record spanning lines: the next one starts on the line after the break.
        QTest::newRow("quoted line breaks")
            << u"x,\"one\r\ntwo\nthree\"\r\ny,z\r\n"_s << u","_s << QStringList{u"1:x|one\r\ntwo\nthree"_s, u"4:y|z"_s};
        QTest::newRow("semicolon keeps commas") << u"a,b;\"c;d\"\n"_s << u";"_s << QStringList{u"1:a,b|c;d"_s};
        QTest::newRow("tab") << u"a b\t\"c\td\"\t\n"_s << u"\t"_s << QStringList{u"1:a b|c\td|"_s};
        QTest::newRow("blank line") << u"a\r\n\r\nb"_s << u","_s << QStringList{u"1:a"_s, u"2:"_s, u"3:b"_s};
        // What spreadsheets do with quotes that RFC 4180 does not allow.
        QTest::newRow("quote inside a field") << u"5\" pipe,x\n"_s << u","_s << QStringList{u"1:5\" pipe|x"_s};
        QTest::newRow("text after the closing quote") << u"\"ab\"c,d\n"_s << u","_s << QStringList{u"1:abc|d"_s};
        QTest::newRow("a quote never closed") << u"a,\"b,c\nd\n"_s << u","_s << QStringList{u"1:a|b,c\nd\n"_s};
        QTest::newRow("empty") << QString() << u","_s << QStringList{};
    }

    void parse()
    {
        QFETCH(QString, text);
        QFETCH(QString, separator);
        QFETCH(QStringList, records);
        QCOMPARE(Shown(Parse_Csv(text, separator.front())), records);
    }

    void field_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("field");
        QTest::newRow("plain") << u"Room 1"_s << u"Room 1"_s;
        QTest::newRow("empty") << QString() << QString();
        QTest::newRow("comma") << u"a,b"_s << u"\"a,b\""_s;
        QTest::newRow("semicolon stays bare") << u"a;b"_s << u"a;b"_s;
        QTest::newRow("quote") << u"5\" pipe"_s << u"\"5\"\" pipe\""_s;
        QTest::newRow("line break") << u"a\nb"_s << u"\"a\nb\""_s;
        QTest::newRow("outer blanks") << u" a "_s << u"\" a \""_s;
        QTest::newRow("non-ASCII") << u"Ventilátor €"_s << u"Ventilátor €"_s;
    }

    void field()
    {
        QFETCH(QString, text);
        QFETCH(QString, field);
        QCOMPARE(Csv_Field(text, u','), field);
        // What is written reads back as it was.
        const QList<Csv_Record> back = Parse_Csv(Decode_Csv(Encode_Csv({{text, u"end"_s}})), u',');
        QCOMPARE(back.size(), 1);
        QCOMPARE(back.first().Fields, (QStringList{text, u"end"_s}));
    }

    void encode()
    {
        QCOMPARE(Encode_Csv({{u"Table"_s, u"Mnemonic"_s}, {u"Read"_s, u"Pump, main"_s}}),
                 "\xEF\xBB\xBFTable,Mnemonic\r\nRead,\"Pump, main\"\r\n"_ba);
    }

    // Control characters no cell can hold still reach an export from a
    // document edited by hand: a leading tab or carriage return runs too.
    void formula_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("formula");
        QTest::newRow("tab") << QStringLiteral("\t=1+2") << true;
        QTest::newRow("carriage return") << QStringLiteral("\r=1+2") << true;
        QTest::newRow("blank first") << QStringLiteral(" =1+2") << false;
        QTest::newRow("empty") << QString() << false;
        QTest::newRow("point without digits after") << QStringLiteral("-5.") << true;
    }

    void formula()
    {
        QFETCH(QString, text);
        QFETCH(bool, formula);
        QCOMPARE(Csv_Runs_As_Formula(text), formula);
        // Whatever the text, the field gives it back.
        QCOMPARE(Csv_Cell_Of_Field(Csv_Text_Cell(text)), text);
        QCOMPARE(Csv_Text_Cell(text).startsWith(u'\'') && !text.startsWith(u'\''), formula);
    }
};

QTEST_APPLESS_MAIN(Test_Csv_Text)
#include "test_csv_text.moc"
