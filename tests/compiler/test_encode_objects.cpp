#include "compiler/compile_project.h"
#include "core/int_read.h"
#include "ede/bacnet_ede_file.h"
#include "fixtures.h"
#include "tables/object_document.h"
#include "test_support.h"

#include <QHash>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>

using namespace fixture;

namespace {

constexpr int Section = 0x2000; // file offset of the object section (device 0x82000)

QByteArray Record(const QByteArray &b2, int i)
{
    return b2.mid(Section + 16 * i, 16);
}

// The description a record points to, read back up to its 0 byte.
QByteArray Description(const QByteArray &b2, int i)
{
    const int at = int(U32(Record(b2, i), 8)) - 0x80000;
    return QByteArray(b2.constData() + at);
}

struct Decoded
{
    quint32 position, eng_unit, length, group, address, row, bit, zero;
};

Decoded Decode(const QByteArray &b2, int i)
{
    const QByteArray r = Record(b2, i);
    return {U32(r, 0), U16(r, 4), U8(r, 6), U8(r, 7), U32(r, 8), U16(r, 12), U8(r, 14), U8(r, 15)};
}

} // namespace

class Test_Encode_Objects : public QObject
{
    Q_OBJECT

    QTemporaryDir dir_;
    QString ParGen() const { return dir_.filePath(QStringLiteral("ParGen.xml")); }
    QString Objects() const { return dir_.filePath(QStringLiteral("BACnet_Slave_SetAccess.xml")); }

    // Desc_Limit comes from the parameter document.
    void Long_Descriptions(bool on) { Write_ParGen(ParGen(), {{S("BACnet_Desc_Chars_Limit"), on ? S("1") : S("0")}}); }

    Result<Bank_Images> Compile()
    {
        return Compile_Project(ParGen(), dir_.filePath(QStringLiteral("none.xml")), Objects());
    }

    QByteArray Bank2(QByteArray *bank1 = nullptr)
    {
        const Result<Bank_Images> r = Compile();
        if (!r.Ok())
            qFatal("compilation failed: %s", qPrintable(r.Problem()));
        if (bank1)
            *bank1 = r->bank1;
        return r->bank2;
    }

private slots:
    void init() { Long_Descriptions(false); }

    // The reading of raw attribute values gives what the integer reading gives.
    void utf8_integer_reading_data()
    {
        QTest::addColumn<QString>("text");
        for (const char *text :
             {"0",    "12",  "012", "999999999", "1000000000", "2147483647", "2147483648", "-1",  "+7",
              " 12",  "12 ", "1.5", "",          " ",          "0x10",       "$FF",        "x1F", "0XFFFFFFFF",
              "-0x1", "1e3", "¹",   "١",         "0x",         "-",          "99999999999"})
            QTest::newRow(text) << S(text);
        QTest::newRow("many leading blanks") << QString(100, u' ') + S("42");
    }

    void utf8_integer_reading()
    {
        QFETCH(QString, text);
        int expected = -5;
        int actual = -5;
        const bool ok = Try_Str_To_Int(text, &expected);
        QCOMPARE(Try_Utf8_To_Int(text.toUtf8().constData(), &actual), ok);
        if (ok)
            QCOMPARE(actual, expected);
    }

    // The worked example, with an analog value added to the Write group so
    // that one type stands in both groups: records sorted by type, within a
    // type the Read group first; row numbers count the Read group, then the
    // Write group.
    void sorted_by_type()
    {
        Write_Objects(Objects(),
                      {Object(S("Analog Value"), S("95"), S("0"), S(""), S("4"), S("av")),
                       Object(S("Analog Input"), S("62"), S("4"), S(""), S("4"), S("ai")),
                       Object(S("Binary Value"), S("95"), S("8"), S("3"), S("1"), S("bv"))},
                      {Object(S("Analog Out"), S("98"), S("0"), S(""), S("4"), S("ao")),
                       Object(S("Analog Value"), S("95"), S("12"), S(""), S("2"), S("av write"))});
        QByteArray b1;
        const QByteArray b2 = Bank2(&b1);
        const char *const order[] = {"ai", "ao", "av", "av write", "bv"};
        const quint32 rows[] = {2, 4, 1, 5, 3};
        const quint32 groups[] = {0, 1, 0, 1, 0};
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(Description(b2, i), QByteArray(order[i]));
            QCOMPARE(Decode(b2, i).row, rows[i]);
            QCOMPARE(Decode(b2, i).group, groups[i]);
        }
        QCOMPARE(Record(b2, 5), QByteArray(16, '\0'));
        for (int offset : {0x138, 0x13C, 0x14C})
            QCOMPARE(U32(b1, offset), 1u);
        QCOMPARE(U32(b1, 0x140), 2u);
        QCOMPARE(U32(b1, 0x144), 0u);
        const Decoded bv = Decode(b2, 4);
        QCOMPARE(bv.bit, 3u);
        QCOMPARE(bv.position, 8u);
    }

    // Types standing in both groups: within a type the Read objects come
    // first, each group in document order, so the k-th record of a type is
    // the object that the EDE file numbers k; the integrator's instance and
    // the converter's then name the same object.
    void read_before_write_within_a_type_data()
    {
        QTest::addColumn<QList<Row>>("read");
        QTest::addColumn<QList<Row>>("write");
        QTest::addColumn<bool>("write_group_first"); // order of the group elements in the document
        QTest::addColumn<QStringList>("records");    // descriptions in record order
        QTest::addColumn<QList<int>>("rows");
        QTest::addColumn<QList<int>>("groups");

        const auto obj = [](const char *type, const char *position, const char *mnemonic) {
            return Object(S(type), S("95"), S(position), S("0"), S("1"), S(mnemonic));
        };
        QTest::newRow("analog values around others")
            << QList<Row>{obj("Analog Value", "0", "r1"), obj("Analog Input", "1", "r2"),
                          obj("Analog Value", "2", "r3")}
            << QList<Row>{obj("Analog Value", "0", "w1"), obj("Analog Out", "1", "w2"), obj("Analog Value", "2", "w3")}
            << false << QStringList{S("r2"), S("w2"), S("r1"), S("r3"), S("w1"), S("w3")}
            << QList<int>{2, 5, 1, 3, 4, 6} << QList<int>{0, 1, 0, 0, 1, 1};
        QTest::newRow("write group first in the document")
            << QList<Row>{obj("Multi State Value", "0", "r1"), obj("Multi State Value", "1", "r2")}
            << QList<Row>{obj("Multi State Value", "0", "w1"), obj("Multi State Value", "1", "w2"),
                          obj("Multi State Value", "2", "w3")}
            << true << QStringList{S("r1"), S("r2"), S("w1"), S("w2"), S("w3")} << QList<int>{1, 2, 3, 4, 5}
            << QList<int>{0, 0, 1, 1, 1};
        QTest::newRow("several types in both groups")
            << QList<Row>{obj("Positive Integer Value", "0", "r1"),
                          obj("Binary Value", "1", "r2"),
                          obj("Large Analog Value", "2", "r3"),
                          obj("Binary Value", "3", "r4"),
                          obj("Access Door", "4", "r5"),
                          obj("Integer Value", "5", "r6")}
            << QList<Row>{obj("Integer Value", "0", "w1"),
                          obj("Binary Value", "1", "w2"),
                          obj("Access Door", "2", "w3"),
                          obj("Large Analog Value", "3", "w4"),
                          obj("Positive Integer Value", "4", "w5"),
                          obj("Binary Value", "5", "w6")}
            << false << QStringList{S("r3"), S("w4"), S("r1"), S("w5"), S("r6"), S("w1"),
                                    S("r2"), S("r4"), S("w2"), S("w6"), S("r5"), S("w3")}
            << QList<int>{3, 10, 1, 11, 6, 7, 2, 4, 8, 12, 5, 9} << QList<int>{0, 1, 0, 1, 0, 1, 0, 0, 1, 1, 0, 1};
        QTest::newRow("one Read object after many Write objects")
            << QList<Row>{obj("Binary Value", "9", "r1")}
            << QList<Row>{obj("Binary Value", "0", "w1"), obj("Binary Value", "1", "w2"),
                          obj("Binary Value", "2", "w3")}
            << false << QStringList{S("r1"), S("w1"), S("w2"), S("w3")} << QList<int>{1, 2, 3, 4}
            << QList<int>{0, 1, 1, 1};
    }

    void read_before_write_within_a_type()
    {
        QFETCH(QList<Row>, read);
        QFETCH(QList<Row>, write);
        QFETCH(bool, write_group_first);
        QFETCH(QStringList, records);
        QFETCH(QList<int>, rows);
        QFETCH(QList<int>, groups);
        if (write_group_first)
            Write_Rows(Objects(), "BACnet_to_Modbus", {{"BACnet_in_Write", write}, {"BACnet_in_Read", read}});
        else
            Write_Objects(Objects(), read, write);
        const QByteArray b2 = Bank2();
        for (int i = 0; i < records.size(); ++i) {
            QCOMPARE(QString::fromLatin1(Description(b2, i)), records[i]);
            QCOMPARE(Decode(b2, i).row, quint32(rows[i]));
            QCOMPARE(Decode(b2, i).group, quint32(groups[i]));
        }
        QCOMPARE(Record(b2, int(records.size())), QByteArray(16, '\0'));

        // The EDE export of the same document: each record's object carries
        // the instance that is its place among the records of its type.
        EDE_File ede;
        const Result<> collected = ede.Collect_Objects(Read_Object_Document(Objects()));
        QVERIFY2(collected, qPrintable(collected.Problem()));
        QCOMPARE(ede.Objects().size(), records.size());
        QHash<QString, int> next_instance; // by object type code
        for (const QString &description : records) {
            const auto it = std::find_if(ede.Objects().cbegin(), ede.Objects().cend(),
                                         [&](const EDE_Classic_Obj &o) { return o.ObjectName == description; });
            QVERIFY(it != ede.Objects().cend());
            QCOMPARE(it->ObjectInstance.toInt(), next_instance[it->ObjectType]++);
        }
    }

    void record_bytes()
    {
        Write_Objects(Objects(), {Object(S("Analog Input"), S("62"), S("1496"), S(""), S("4"), S("Temperature"))});
        const QByteArray b2 = Bank2();
        // position 1496, unit 62, length 4, Read, text base 0x89FF0 + 1, row 1, bit 0, zero.
        QCOMPARE(Record(b2, 0), QByteArray::fromHex("D8050000 3E00 04 00 F19F0800 0100 00 00"));
        QCOMPARE(b2.mid(0x9FF0, 13), QByteArray("\0Temperature\0", 13));
    }

    // Every field of a record from its attribute, with the integer reading
    // and the low-order bits.
    void record_fields_data()
    {
        QTest::addColumn<QString>("unit");
        QTest::addColumn<QString>("position");
        QTest::addColumn<QString>("bit");
        QTest::addColumn<QString>("length");
        QTest::addColumn<quint32>("r_unit");
        QTest::addColumn<quint32>("r_position");
        QTest::addColumn<quint32>("r_bit");
        QTest::addColumn<quint32>("r_length");
        QTest::newRow("plain") << S("62") << S("10") << S("") << S("2") << 62u << 10u << 0u << 2u;
        QTest::newRow("as typed") << S(" 062") << S("0x10") << S("$7") << S("+4") << 62u << 16u << 7u << 4u;
        QTest::newRow("bit not a number") << S("0") << S("0") << S("x") << S("1") << 0u << 0u << 0u << 1u;
        QTest::newRow("low bits") << S("65536") << S("-1") << S("300") << S("256") << 0u << 0xFFFFFFFFu << 44u << 0u;
        QTest::newRow("unit 65535") << S("65535") << S("1499") << S("7") << S("8") << 65535u << 1499u << 7u << 8u;
    }

    void record_fields()
    {
        QFETCH(QString, unit);
        QFETCH(QString, position);
        QFETCH(QString, bit);
        QFETCH(QString, length);
        Write_Objects(Objects(), {Object(S("Multi State Value"), unit, position, bit, length)});
        const Decoded d = Decode(Bank2(), 0);
        QTEST(d.eng_unit, "r_unit");
        QTEST(d.position, "r_position");
        QTEST(d.bit, "r_bit");
        QTEST(d.length, "r_length");
        QCOMPARE(d.zero, 0u);
    }

    // A value the converter needs as a number stops the compilation, naming
    // the group, the row in it, the attribute and its text.
    void strict_numbers_data()
    {
        QTest::addColumn<bool>("write_group");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("unit");
        QTest::addColumn<QString>("position");
        QTest::addColumn<QString>("length");
        QTest::addColumn<QString>("message"); // empty: compiles
        QTest::newRow("binary input, empty length")
            << false << S("Binary Input") << S("95") << S("3") << S("")
            << S("Error! [BACnet in Read] row 2: Length \"\" is not an integer. The compilation stopped and no image "
                 "was written.");
        QTest::newRow("unit not a number") << false << S("Analog Input") << S("6 2") << S("0") << S("4")
                                           << S("[BACnet in Read] row 2: Eng_Unit \"6 2\" is not an integer");
        QTest::newRow("position empty, write group") << true << S("Binary Out") << S("95") << S("") << S("1")
                                                     << S("[BACnet in Write] row 2: Position \"\" is not an integer");
        QTest::newRow("first failing attribute named")
            << true << S("Analog Out") << S("x") << S("y") << S("z") << S("Eng_Unit \"x\"");
        QTest::newRow("unknown type is not encoded, so not checked")
            << false << S("Analog Input ") << S("x") << S("y") << S("z") << QString();
        QTest::newRow("length 1.5") << false << S("Accumulator") << S("0") << S("0") << S("1.5") << S("Length \"1.5\"");
    }

    void strict_numbers()
    {
        QFETCH(bool, write_group);
        QFETCH(QString, type);
        QFETCH(QString, unit);
        QFETCH(QString, position);
        QFETCH(QString, length);
        QFETCH(QString, message);
        const QList<Row> rows{Object(S("Analog Value"), S("95"), S("0"), S(""), S("4")),
                              Object(type, unit, position, S(""), length)};
        if (write_group)
            Write_Objects(Objects(), {}, rows);
        else
            Write_Objects(Objects(), rows);
        const Result<Bank_Images> r = Compile();
        QCOMPARE(r.Ok(), message.isEmpty());
        if (!message.isEmpty()) {
            QVERIFY2(r.Problem().contains(message), qPrintable(r.Problem()));
        }
    }

    void missing_attribute_is_not_a_number()
    {
        test::Write(Objects(), "<BACnet_to_Modbus><BACnet_in_Read><row Data_Type=\"Analog Input\" Eng_Unit=\"62\" "
                               "Length=\"4\"/></BACnet_in_Read><BACnet_in_Write/></BACnet_to_Modbus>");
        const Result<Bank_Images> r = Compile();
        QVERIFY(!r.Ok());
        QVERIFY2(r.Problem().contains(S("row 1: Position \"\"")), qPrintable(r.Problem()));
    }

    void data_type_matching_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<int>("count_offset"); // -1: not encoded
        QTest::newRow("lower case") << S("analog input") << 0x138;
        QTest::newRow("mixed case") << S("bInArY oUt") << 0x148;
        QTest::newRow("trailing blank") << S("Analog Input ") << -1;
        QTest::newRow("leading blank") << S(" Binary Value") << -1;
        QTest::newRow("unknown") << S("Analog Output") << -1;
        QTest::newRow("date-time, not offered by the window") << S("DateTime Value") << 0x154;
        QTest::newRow("character string") << S("CharacterString Value") << 0x15C;
        QTest::newRow("octet string") << S("Octet String") << 0x700;
        QTest::newRow("dotless i is no i") << S("Analog \u0131nput") << -1;
    }

    void data_type_matching()
    {
        QFETCH(QString, type);
        QFETCH(int, count_offset);
        Write_Objects(Objects(), {Object(type, S("1"), S("2"), S("3"), S("4"))});
        QByteArray b1;
        const QByteArray b2 = Bank2(&b1);
        QCOMPARE(Record(b2, 0) == QByteArray(16, '\0'), count_offset < 0);
        quint32 total = 0;
        for (int offset = 0x138; offset < 0x180; offset += 4)
            total += U32(b1, offset);
        total += U32(b1, 0x700);
        QCOMPARE(total, count_offset < 0 ? 0u : 1u);
        if (count_offset >= 0)
            QCOMPARE(U32(b1, count_offset), 1u);
    }

    // One object of each of the nineteen types, listed backwards: the records
    // come out in the converter's type order and every count lands in place.
    void all_types()
    {
        const char *const types[] = {"Analog Input",
                                     "Analog Out",
                                     "Binary Input",
                                     "Binary Out",
                                     "Large Analog Value",
                                     "DateTime Value",
                                     "Positive Integer Value",
                                     "CharacterString Value",
                                     "Integer Value",
                                     "Multi State Input",
                                     "Multi State Output",
                                     "Multi State Value",
                                     "Analog Value",
                                     "Binary Value",
                                     "Life Safety Point",
                                     "Life Safety Zone",
                                     "Access Door",
                                     "Accumulator",
                                     "Octet String"};
        const int offsets[] = {0x138, 0x13C, 0x144, 0x148, 0x150, 0x154, 0x158, 0x15C, 0x160, 0x164,
                               0x168, 0x16C, 0x140, 0x14C, 0x170, 0x174, 0x178, 0x17C, 0x700};
        QList<Row> rows;
        for (int t = 18; t >= 0; --t)
            rows << Object(QString::fromLatin1(types[t]), QString::number(t), S("0"), S(""), S("1"));
        Write_Objects(Objects(), rows);
        QByteArray b1;
        const QByteArray b2 = Bank2(&b1);
        for (int t = 0; t < 19; ++t) {
            QCOMPARE(Decode(b2, t).eng_unit, quint32(t));
            QCOMPARE(Decode(b2, t).row, quint32(19 - t));
            QCOMPARE(U32(b1, offsets[t]), 1u);
        }
    }

    void descriptions_data()
    {
        QTest::addColumn<bool>("long_descriptions");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<QByteArray>("first_kept");
        QTest::addColumn<quint32>("second_address");
        QTest::newRow("16 characters kept of 20")
            << false << S("abcdefghijklmnopqrst") << S("next") << QByteArray("abcdefghijklmnop") << 0x89FF0u + 1 + 17;
        QTest::newRow("32 characters kept of 40")
            << true << S("abcdefghijklmnopqrstuvwxyz0123456789ABCD") << S("next")
            << QByteArray("abcdefghijklmnopqrstuvwxyz012345") << 0x85FF0u + 1 + 33;
        QTest::newRow("empty first shares byte 0") << false << S("") << S("next") << QByteArray() << 0x89FF0u + 1;
        QTest::newRow("degree sign and a character above 0xFF") << false << S("20\u00B0C \u0141") << S("next")
                                                                << QByteArray("20\xB0"
                                                                              "C A")
                                                                << 0x89FF0u + 1 + 7;
        QTest::newRow("cut counts characters, not UTF-8 bytes")
            << false << QString(20, QChar(0xE9)) << S("next") << QByteArray(16, char(0xE9)) << 0x89FF0u + 1 + 17;
    }

    void descriptions()
    {
        QFETCH(bool, long_descriptions);
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(QByteArray, first_kept);
        QFETCH(quint32, second_address);
        Long_Descriptions(long_descriptions);
        Write_Objects(Objects(), {Object(S("Analog Input"), S("1"), S("0"), S(""), S("1"), first),
                                  Object(S("Analog Input"), S("1"), S("1"), S(""), S("1"), second)});
        const QByteArray b2 = Bank2();
        const quint32 base = long_descriptions ? 0x85FF0u : 0x89FF0u;
        QCOMPARE(Decode(b2, 0).address, first_kept.isEmpty() ? base : base + 1);
        QCOMPARE(Description(b2, 0), first_kept);
        QCOMPARE(Decode(b2, 1).address, second_address);
        QCOMPARE(Description(b2, 1), second.toLatin1());
        QCOMPARE(U8(b2, int(base) - 0x80000), 0u);
    }

    void empty_descriptions_share_the_text_base()
    {
        test::Write(Objects(), "<BACnet_to_Modbus><BACnet_in_Read>"
                               "<row Data_Type=\"Analog Input\" Eng_Unit=\"1\" Position=\"0\" Bit=\"\" Length=\"1\" "
                               "Swap=\"\" Mnemonic=\"\"/>"
                               "<row Data_Type=\"Analog Input\" Eng_Unit=\"1\" Position=\"1\" Length=\"1\"/>"
                               "</BACnet_in_Read></BACnet_to_Modbus>");
        const QByteArray b2 = Bank2();
        QCOMPARE(Decode(b2, 0).address, 0x89FF0u);
        QCOMPARE(Decode(b2, 1).address, 0x89FF0u);
        QCOMPARE(b2.mid(0x9FF0, 0x8800), QByteArray(0x8800, '\0'));
    }

    // Row numbers count every child node of the Read group, encoded or not.
    void row_numbers_follow_the_document()
    {
        test::Write(Objects(), "<BACnet_to_Modbus>\n"
                               "  <BACnet_in_Read>\n"
                               "    <row Data_Type=\"Unknown\"/>\n"
                               "    stray text\n"
                               "    <item Data_Type=\"Analog Input\" Eng_Unit=\"1\" Position=\"0\" Length=\"1\"/>\n"
                               "  </BACnet_in_Read>\n"
                               "  <BACnet_in_Write>\n"
                               "    <row Data_Type=\"Analog Out\" Eng_Unit=\"1\" Position=\"0\" Length=\"1\"/>\n"
                               "  </BACnet_in_Write>\n"
                               "</BACnet_to_Modbus>");
        const QByteArray b2 = Bank2();
        QCOMPARE(Decode(b2, 0).row, 3u); // after the unknown row and the text node
        QCOMPARE(Decode(b2, 1).row, 4u); // R = 3
        QCOMPARE(Decode(b2, 1).group, 1u);
    }

    void missing_groups_are_empty()
    {
        test::Write(Objects(), "<BACnet_to_Modbus><BACnet_in_Write><row Data_Type=\"Analog Out\" Eng_Unit=\"1\" "
                               "Position=\"0\" Length=\"1\"/></BACnet_in_Write></BACnet_to_Modbus>");
        QCOMPARE(Decode(Bank2(), 0).row, 1u);
        test::Write(Objects(), "<BACnet_to_Modbus/>");
        QCOMPARE(Record(Bank2(), 0), QByteArray(16, '\0'));
    }

    // N records fill the section exactly; one more stops the compilation.
    void record_capacity_data()
    {
        QTest::addColumn<bool>("long_descriptions");
        QTest::addColumn<int>("read");
        QTest::addColumn<int>("write");
        QTest::addColumn<bool>("ok");
        QTest::newRow("2047 with 16 characters") << false << 1500 << 547 << true;
        QTest::newRow("2048 with 16 characters") << false << 1500 << 548 << false;
        QTest::newRow("1023 with 32 characters") << true << 1023 << 0 << true;
        QTest::newRow("1024 with 32 characters") << true << 1000 << 24 << false;
        QTest::newRow("2047 with 32 characters") << true << 2047 << 0 << false;
    }

    void record_capacity()
    {
        QFETCH(bool, long_descriptions);
        QFETCH(int, read);
        QFETCH(int, write);
        QFETCH(bool, ok);
        Long_Descriptions(long_descriptions);
        const int chars = long_descriptions ? 32 : 16;
        auto rows = [&](int n, const char *type) {
            QList<Row> list;
            for (int i = 0; i < n; ++i)
                list << Object(S(type), S("1"), QString::number(i % 1500), S("0"), S("1"),
                               QString::number(i).rightJustified(chars, u'x'));
            return list;
        };
        Write_Objects(Objects(), rows(read, "Binary Value"), rows(write, "Analog Value"));
        const Result<Bank_Images> r = Compile();
        QCOMPARE(r.Ok(), ok);
        const int n = long_descriptions ? 1023 : 2047;
        if (!ok) {
            QCOMPARE(r.Problem(),
                     QStringLiteral("Error! [BACnet in Read] and [BACnet in Write] hold %1 BACnet objects, "
                                    "but with this description length the device takes at most %2. The "
                                    "compilation stopped and no image was written.")
                         .arg(read + write)
                         .arg(n));
            return;
        }
        const QByteArray &b2 = r->bank2;
        QCOMPARE(b2.size(), 75776);
        // The last record is filled and its description is the last one in the area.
        const Decoded last = Decode(b2, n - 1);
        QCOMPARE(last.address, (long_descriptions ? 0x85FF0u : 0x89FF0u) + 1 + quint32(n - 1) * quint32(chars + 1));
        QCOMPARE(Description(b2, n - 1).size(), chars);
        // Nothing beyond the text area.
        const int end = Section + n * 16 + 0x8800;
        QCOMPARE(b2.mid(end), QByteArray(b2.size() - end, '\0'));
    }
};

QTEST_APPLESS_MAIN(Test_Encode_Objects)
#include "test_encode_objects.moc"
