#include "ede/ede_format.h"

#include <QDateTime>
#include <QStringDecoder>
#include <QTest>

class Test_Ede_Format : public QObject
{
    Q_OBJECT

private slots:
    void object_type_data()
    {
        QTest::addColumn<QString>("data_type");
        QTest::addColumn<int>("code");
        const std::pair<const char *, int> served[] = {
            {"Analog Input", 0},        {"Analog Out", 1},
            {"Analog Value", 2},        {"Binary Input", 3},
            {"Binary Out", 4},          {"Binary Value", 5},
            {"Multi State Input", 13},  {"Multi State Output", 14},
            {"Multi State Value", 19},  {"Life Safety Point", 21},
            {"Life Safety Zone", 22},   {"Accumulator", 23},
            {"Access Door", 30},        {"CharacterString Value", 40},
            {"DateTime Value", 44},     {"Integer Value", 45},
            {"Large Analog Value", 46}, {"Positive Integer Value", 48},
        };
        for (const auto &[text, code] : served)
            QTest::newRow(text) << QString::fromLatin1(text) << code;
        // The lookup ignores the letter case of a-z and trims nothing, as the
        // check and the compiler read the type.
        QTest::newRow("upper case") << QStringLiteral("MULTI STATE VALUE") << 19;
        QTest::newRow("lower case") << QStringLiteral("binary value") << 5;
        QTest::newRow("trailing blank") << QStringLiteral("Binary Value ") << 0;
        QTest::newRow("blanks and tab around") << QStringLiteral("  binary value \t") << 0;
        // Near misses are unknown and count as analog inputs.
        QTest::newRow("Analog Output is not Analog Out") << QStringLiteral("Analog Output") << 0;
        QTest::newRow("hyphenated") << QStringLiteral("Multi-State Value") << 0;
        QTest::newRow("blank inside doubled") << QStringLiteral("Analog  Value") << 0;
        QTest::newRow("octet string") << QStringLiteral("OCTET STRING") << 0;
        QTest::newRow("empty") << QString() << 0;
    }

    void object_type()
    {
        QFETCH(QString, data_type);
        QFETCH(int, code);
        QCOMPARE(EDE_Object_Type(data_type), code);
    }

    void every_served_code_has_its_own_counter()
    {
        QList<int> seen;
        for (int code = 0; code < 64; ++code) {
            const int index = EDE_Type_Index(code);
            if (index < 0)
                continue;
            QVERIFY(index < EDE_Type_Count);
            QVERIFY(!seen.contains(index));
            seen << index;
        }
        QCOMPARE(seen.size(), EDE_Type_Count);
        QCOMPARE(EDE_Type_Index(-1), -1);
    }

    void object_name_data()
    {
        QTest::addColumn<QString>("mnemonic");
        QTest::addColumn<bool>("long_names");
        QTest::addColumn<QString>("name");
        const QString twenty = QStringLiteral("Temperature_Room_01");
        const QString forty = QStringLiteral("0123456789abcdefghijABCDEFGHIJ0123456789");
        QTest::newRow("20 chars, short names") << twenty + u'X' << false << QStringLiteral("Temperature_Room");
        QTest::newRow("20 chars, long names") << twenty + u'X' << true << twenty + u'X';
        QTest::newRow("exactly 16") << QStringLiteral("0123456789abcdef") << false
                                    << QStringLiteral("0123456789abcdef");
        QTest::newRow("40 chars, long names") << forty << true << forty.left(32);
        QTest::newRow("shorter") << QStringLiteral("Flow") << false << QStringLiteral("Flow");
        QTest::newRow("empty") << QString() << true << QString();
        QTest::newRow("blanks kept") << QStringLiteral(" a b ") << false << QStringLiteral(" a b ");
        // A character outside the basic plane counts once and is not halved.
        const QString smile = QString::fromUtf8("\xF0\x9F\x98\x80");
        QTest::newRow("wide character at the limit")
            << QStringLiteral("012345678901234") + smile + u'z' << false << QStringLiteral("012345678901234") + smile;
    }

    void object_name()
    {
        QFETCH(QString, mnemonic);
        QFETCH(bool, long_names);
        QFETCH(QString, name);
        QCOMPARE(EDE_Object_Name(mnemonic, long_names), name);
    }

    void time_stamp_data()
    {
        QTest::addColumn<QDateTime>("at");
        QTest::addColumn<QString>("text");
        QTest::newRow("leading zeros") << QDateTime(QDate(2021, 3, 4), QTime(9, 5, 3))
                                       << QStringLiteral("09:05:03 04/03/2021");
        QTest::newRow("last second of a year")
            << QDateTime(QDate(1999, 12, 31), QTime(23, 59, 59)) << QStringLiteral("23:59:59 31/12/1999");
        QTest::newRow("midnight") << QDateTime(QDate(2000, 1, 1), QTime(0, 0, 0))
                                  << QStringLiteral("00:00:00 01/01/2000");
        QTest::newRow("milliseconds dropped")
            << QDateTime(QDate(2024, 10, 12), QTime(12, 30, 45, 999)) << QStringLiteral("12:30:45 12/10/2024");
    }

    void time_stamp()
    {
        QFETCH(QDateTime, at);
        QFETCH(QString, text);
        QCOMPARE(EDE_Time_Stamp(at), text);
    }

    void header_lines()
    {
        const QStringList lines = EDE_Header_Lines(QStringLiteral("Plant1"), QStringLiteral("09:05:03 04/03/2021"));
        QCOMPARE(lines, (QStringList{
                            QStringLiteral("PROJECT_NAME; Tavelin--Plant1;;;;;;"),
                            QStringLiteral("VERSION_OF_REFERENCEFILE;1.0;;;;;;"),
                            QStringLiteral("TIMESTAMP_OF_LAST_CHANGE;09:05:03 04/03/2021;;;;;;"),
                            QStringLiteral("AUTHOR_OF_LAST_CHANGE;Tavelin;;;;;;"),
                            QStringLiteral("VERSION_OF_LAYOUT;2;;;;;;"),
                            QStringLiteral("# mandatory;mandatory;mandatory;mandatory;mandatory;optional;optional;"),
                            QStringLiteral("# keyname;device obj.-instance;object-name;object-type;object-instance;"
                                           "description;unit-code;"),
                        }));
    }

    void object_line()
    {
        const EDE_Classic_Obj obj{QStringLiteral("1_T_0"),
                                  QStringLiteral("1"),
                                  QStringLiteral("T"),
                                  QStringLiteral("0"),
                                  QStringLiteral("0"),
                                  QStringLiteral("T"),
                                  QString()};
        // Every field is followed by ";", an empty last one too.
        QCOMPARE(EDE_Object_Line(obj), QStringLiteral("1_T_0;1;T;0;0;T;;"));
    }

    void breaks_columns_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("breaks");
        QTest::newRow("plain") << QStringLiteral("Temp, room 1 (°C)") << false;
        QTest::newRow("tab") << QStringLiteral("a\tb") << false;
        QTest::newRow("empty") << QString() << false;
        QTest::newRow("semicolon") << QStringLiteral("a;b") << true;
        QTest::newRow("CR") << QStringLiteral("a\rb") << true;
        QTest::newRow("LF at the end") << QStringLiteral("ab\n") << true;
    }

    void breaks_columns()
    {
        QFETCH(QString, text);
        QFETCH(bool, breaks);
        QCOMPARE(EDE_Breaks_Columns(text), breaks);
    }

    void encoding_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("no lines") << QStringList{} << QByteArray();
        QTest::newRow("CR LF after every line")
            << QStringList{QStringLiteral("a;"), QString(), QStringLiteral("b;")} << QByteArray("a;\r\n\r\nb;\r\n");
        QTest::newRow("Latin-1 and the 0x80 row")
            << QStringList{QString::fromUtf8("\xC3\xA9\xC2\xB0\xE2\x82\xAC\xE2\x80\x9C\xC5\xB8")}
            << QByteArray("\xE9\xB0\x80\x93\x9F\r\n");
        // One "?" per character the code page lacks, however it is coded.
        QTest::newRow("outside the code page") << QStringList{QString::fromUtf8("a\xE4\xB8\xAD"
                                                                                "b\xF0\x9F\x98\x80"
                                                                                "c") +
                                                              QChar(0xD800) + u'd'}
                                               << QByteArray("a?b?c?d\r\n");
    }

    void encoding()
    {
        QFETCH(QStringList, lines);
        QFETCH(QByteArray, bytes);
        QCOMPARE(Encode_EDE_Lines(lines), bytes);
    }

    // Every character of windows-1252 comes back as its byte through the
    // system's own decoder and our encoder. The five undefined bytes decode
    // to C1 controls, which the file never holds: they come back as "?".
    void code_page_round_trip()
    {
        QStringDecoder decoder("windows-1252");
        if (!decoder.isValid())
            QSKIP("this Qt build has no windows-1252 decoder");
        QByteArray all;
        for (int b = 1; b < 256; ++b)
            all += char(b);
        const QString text = decoder.decode(all);
        QVERIFY(!decoder.hasError());
        QByteArray expected = all;
        for (char undefined : {'\x81', '\x8D', '\x8F', '\x90', '\x9D'})
            expected.replace(undefined, '?');
        QCOMPARE(Encode_EDE_Lines({text}).toHex(' '), QByteArray(expected + "\r\n").toHex(' '));
    }

    void file_name_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("file");
        QTest::newRow("no extension") << QStringLiteral("list") << QStringLiteral("list.csv");
        QTest::newRow("upper case kept") << QStringLiteral("LIST.CSV") << QStringLiteral("LIST.CSV");
        QTest::newRow("mixed case kept") << QStringLiteral("/p/a.cSv") << QStringLiteral("/p/a.cSv");
        QTest::newRow("csv not last") << QStringLiteral("list.csv.txt") << QStringLiteral("list.csv.txt.csv");
        QTest::newRow("no dot") << QStringLiteral("mycsv") << QStringLiteral("mycsv.csv");
        QTest::newRow("other extension") << QStringLiteral("list.txt") << QStringLiteral("list.txt.csv");
    }

    void file_name()
    {
        QFETCH(QString, chosen);
        QFETCH(QString, file);
        QCOMPARE(EDE_File_Name(chosen), file);
    }
};

QTEST_APPLESS_MAIN(Test_Ede_Format)
#include "test_ede_format.moc"
