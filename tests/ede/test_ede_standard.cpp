#include "configuration_fixture.h"
#include "ede/bacnet_ede_file.h"
#include "test_support.h"

#include <QDir>
#include <QSet>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTest>

// The standard layout, read back as an importer that knows only the EDE
// template (B.I.G.-EU, layout 2.3) would read it: lines ended by CR LF,
// fields split at ";", project lines as key and value, the object columns
// found by their titles, the state texts by reference number.
namespace {

const QDateTime Export_Time(QDate(2021, 3, 4), QTime(9, 5, 3));

QStringList L(std::initializer_list<const char *> texts)
{
    QStringList list;
    for (const char *text : texts)
        list.append(QString::fromUtf8(text));
    return list;
}

// The column titles of layout 2.3, in their order.
const QStringList Template_Columns =
    L({"# keyname", "device obj.-instance", "object-name", "object-type", "object-instance", "description",
       "present-value-default", "min-present-value", "max-present-value", "settable", "supports COV", "hi-limit",
       "low-limit", "state-text-reference", "unit-code", "vendor-specific-address", "notification-class"});

// One file of the set: its lines, each split into fields.
struct Csv
{
    QList<QStringList> rows;
};

Csv Read_Csv(const QString &path, const char *charset)
{
    const QByteArray bytes = test::Read(path);
    Csv csv;
    // No marker: the first line starts with its first field.
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return csv;
    QStringDecoder decode(charset);
    const QString text = decode(bytes);
    if (decode.hasError() || !text.endsWith(QStringLiteral("\r\n")))
        return csv;
    QStringList lines = text.split(QStringLiteral("\r\n"));
    lines.removeLast();
    for (const QString &line : lines) {
        // A line break inside a line would be a second line to every reader.
        if (line.contains(u'\n') || line.contains(u'\r'))
            return Csv();
        csv.rows.append(line.split(u';'));
    }
    return csv;
}

// The rows after the comment lines that open a companion file.
QList<QStringList> Data_Rows(const Csv &csv)
{
    QList<QStringList> rows;
    for (const QStringList &row : csv.rows)
        if (!row.first().startsWith(u'#'))
            rows.append(row);
    return rows;
}

} // namespace

class Test_Ede_Standard : public QObject
{
    Q_OBJECT

    QTemporaryDir dir_;
    Workspace ws_;

    QString Out(const char *name = "Plant1_EDE.csv") const { return dir_.filePath(QLatin1StringView(name)); }

private slots:
    void init()
    {
        QVERIFY(test::Open_Configuration_In(ws_, dir_.filePath(QStringLiteral("PROJECTS")), QStringLiteral("Plant1")));
        test::Write(ws_.File_ParGen, "<Par_Gen><BACnet_Type>0</BACnet_Type><BACnet_DEV_IDE>4001</BACnet_DEV_IDE>"
                                     "</Par_Gen><!--SW_VERSION = 1.000-->");
        // An analog input and an analog output both named "Temp" (the classic
        // keyname gives both "4001_Temp_0"), two multi-state objects, binary
        // objects on a bit, a unit given in hexadecimal and names the code
        // page lacks.
        test::Write(ws_.File_BACnet_Slave_Access,
                    "<BACnet_to_Modbus><BACnet_in_Read>"
                    "<row Data_Type=\"Analog Input\" Eng_Unit=\"62\" Position=\"0\" Bit=\"\" Length=\"4\" Swap=\"N\" "
                    "Mnemonic=\"Temp\"/>"
                    "<row Data_Type=\"Multi State Input\" Eng_Unit=\"95\" Position=\"4\" Bit=\"\" Length=\"2\" "
                    "Swap=\"N\" Mnemonic=\"Mode\"/>"
                    "<row Data_Type=\"Binary Input\" Eng_Unit=\"95\" Position=\"6\" Bit=\"3\" Length=\"1\" Swap=\"N\" "
                    "Mnemonic=\"Door\"/>"
                    "<row Data_Type=\"Analog Value\" Eng_Unit=\"$62\" Position=\"7\" Bit=\"\" Length=\"2\" Swap=\"N\" "
                    "Mnemonic=\"Température Ω of the supply air\"/>"
                    "</BACnet_in_Read><BACnet_in_Write>"
                    "<row Data_Type=\"Analog Out\" Eng_Unit=\"98\" Position=\"0\" Bit=\"\" Length=\"4\" Swap=\"N\" "
                    "Mnemonic=\"Temp\"/>"
                    "<row Data_Type=\"Multi State Value\" Eng_Unit=\"95\" Position=\"4\" Bit=\"\" Length=\"1\" "
                    "Swap=\"N\" Mnemonic=\"Season\"/>"
                    "<row Data_Type=\"Binary Out\" Eng_Unit=\"95\" Position=\"5\" Bit=\"0\" Length=\"\" Swap=\"N\" "
                    "Mnemonic=\"Fan\"/>"
                    "</BACnet_in_Write></BACnet_to_Modbus><!--SW_VERSION = 1.000-->");
    }

    void read_back_data()
    {
        QTest::addColumn<int>("charset");
        QTest::addColumn<QByteArray>("decoder");
        QTest::addColumn<QString>("long_name"); // the analog value's description as read back
        QTest::newRow("utf-8") << int(EDE_Charset::Utf8) << QByteArray("UTF-8")
                               << QStringLiteral("Température Ω of the supply air");
        QTest::newRow("windows-1252") << int(EDE_Charset::Windows_1252) << QByteArray("windows-1252")
                                      << QStringLiteral("Température ? of the supply air");
    }

    void read_back()
    {
        QFETCH(int, charset);
        QFETCH(QByteArray, decoder);
        QFETCH(QString, long_name);
        const EDE_File_Set files = EDE_Files_For(Out());
        const Result<> created = Create_EDE_File(ws_, Out(), Export_Time, {EDE_Layout::Standard, EDE_Charset(charset)});
        QVERIFY2(created, qPrintable(created.Problem()));

        const Csv ede = Read_Csv(files.main, decoder.constData());
        QCOMPARE(ede.rows.size(), 8 + 7);
        for (const QStringList &row : ede.rows)
            QCOMPARE(row.size(), Template_Columns.size());

        // The project lines by key; a comment line opens the file.
        QVERIFY(ede.rows[0][0].startsWith(u'#'));
        QHash<QString, QString> project;
        for (qsizetype i = 1; i < 6; ++i)
            project.insert(ede.rows[i][0], ede.rows[i][1]);
        QCOMPARE(project.value(QStringLiteral("PROJECT_NAME")), QStringLiteral("Plant1"));
        QCOMPARE(project.value(QStringLiteral("VERSION_OF_REFERENCEFILE")), QStringLiteral("1"));
        QCOMPARE(project.value(QStringLiteral("TIMESTAMP_OF_LAST_CHANGE")), QStringLiteral("04.03.2021 09:05:03"));
        QCOMPARE(project.value(QStringLiteral("AUTHOR_OF_LAST_CHANGE")), QStringLiteral("Tavelin"));
        QCOMPARE(project.value(QStringLiteral("VERSION_OF_LAYOUT")), QStringLiteral("2.3"));
        QCOMPARE(ede.rows[6].mid(0, 6),
                 L({"#mandatory", "mandatory", "mandatory", "mandatory", "mandatory", "optional"}));
        QCOMPARE(ede.rows[7], Template_Columns);

        // Each object's fields by column title.
        const QList<QStringList> objects = ede.rows.mid(8);
        auto column = [&](const char *title) {
            QStringList values;
            const qsizetype at = Template_Columns.indexOf(QLatin1StringView(title));
            for (const QStringList &row : objects)
                values.append(row.at(at));
            return values;
        };
        QCOMPARE(column("device obj.-instance"), QStringList(7, QStringLiteral("4001")));
        QCOMPARE(column("object-type"), L({"0", "13", "3", "2", "1", "19", "4"}));
        QCOMPARE(column("object-instance"), L({"0", "0", "0", "0", "0", "0", "0"}));
        QCOMPARE(column("unit-code"), L({"62", "95", "95", "98", "98", "95", "95"}));
        QCOMPARE(column("settable"), L({"N", "N", "N", "N", "Y", "Y", "Y"}));
        QCOMPARE(column("vendor-specific-address"),
                 L({"R:0/4", "R:4/2", "R:6.3/1", "R:7/2", "W:0/4", "W:4/1", "W:5.0/1"}));
        // The name is cut as in the classic file; the description is whole.
        QCOMPARE(column("object-name")[3], long_name.left(16));
        QCOMPARE(column("description")[3], long_name);
        for (const char *empty : {"present-value-default", "min-present-value", "max-present-value", "supports COV",
                                  "hi-limit", "low-limit", "notification-class"})
            QCOMPARE(column(empty), QStringList(7, QString()));

        const QStringList keynames = column("# keyname");
        QCOMPARE(QSet<QString>(keynames.begin(), keynames.end()).size(), keynames.size());
        QCOMPARE(keynames[0], QStringLiteral("4001_Temp_AI_0"));
        QCOMPARE(keynames[4], QStringLiteral("4001_Temp_AO_0"));

        // Every multi-state object refers to an entry of the state-text file,
        // which holds its placeholder states; no other object refers to one.
        const Csv state_texts = Read_Csv(files.state_texts, decoder.constData());
        QVERIFY(!state_texts.rows.isEmpty());
        for (const QStringList &row : state_texts.rows)
            QCOMPARE(row.size(), EDE_Placeholder_States + 1);
        QHash<QString, QStringList> states;
        for (const QStringList &row : Data_Rows(state_texts))
            states.insert(row.first(), row.mid(1));
        QStringList placeholders;
        for (int i = 1; i <= EDE_Placeholder_States; ++i)
            placeholders.append(QString::number(i));
        const QStringList references = column("state-text-reference");
        const QStringList types = column("object-type");
        QSet<QString> used;
        for (qsizetype i = 0; i < objects.size(); ++i) {
            const bool multi_state = L({"13", "14", "19"}).contains(types[i]);
            QCOMPARE(references[i].isEmpty(), !multi_state);
            if (multi_state) {
                QCOMPARE(states.value(references[i]), placeholders);
                used.insert(references[i]);
            }
        }
        QCOMPARE(used.size(), 2);

        // The unit and object-type codes used resolve in their files.
        QHash<QString, QString> units;
        for (const QStringList &row : Data_Rows(Read_Csv(files.units, decoder.constData())))
            units.insert(row.value(0), row.value(1));
        QCOMPARE(units.size(), 3);
        QCOMPARE(units.value(QStringLiteral("62")), QStringLiteral("degrees-Celsius"));
        QHash<QString, QString> type_names;
        for (const QStringList &row : Data_Rows(Read_Csv(files.object_types, decoder.constData())))
            type_names.insert(row.value(0), row.value(1));
        for (const QString &type : types)
            QVERIFY2(!type_names.value(type).isEmpty(), qPrintable(type));
        QCOMPARE(type_names.value(QStringLiteral("19")), QStringLiteral("Multistate Value"));
    }

    void file_names_data()
    {
        QTest::addColumn<QString>("main");
        QTest::addColumn<QString>("prefix"); // of the companion files
        QTest::newRow("plain") << QStringLiteral("/x/plant.csv") << QStringLiteral("/x/plant");
        QTest::newRow("template's _EDE") << QStringLiteral("/x/Plant_EDE.csv") << QStringLiteral("/x/Plant");
        QTest::newRow("any letter case") << QStringLiteral("/x/p_ede.CSV") << QStringLiteral("/x/p");
        QTest::newRow("_EDE inside") << QStringLiteral("/x/a_EDE_b.csv") << QStringLiteral("/x/a_EDE_b");
    }

    void file_names()
    {
        QFETCH(QString, main);
        QFETCH(QString, prefix);
        const EDE_File_Set files = EDE_Files_For(main);
        QCOMPARE(files.main, main);
        QCOMPARE(files.state_texts, prefix + QStringLiteral("_StateTexts.csv"));
        QCOMPARE(files.units, prefix + QStringLiteral("_Units.csv"));
        QCOMPARE(files.object_types, prefix + QStringLiteral("_ObjTypes.csv"));
    }

    void vendor_address_data()
    {
        QTest::addColumn<QString>("area");
        QTest::addColumn<QString>("position");
        QTest::addColumn<QString>("bit");
        QTest::addColumn<QString>("length");
        QTest::addColumn<bool>("binary");
        QTest::addColumn<QString>("address");
        auto row = [](const char *tag, const char *area, const char *position, const char *bit, const char *length,
                      bool binary, const char *address) {
            const QStringList t = L({area, position, bit, length, address});
            QTest::newRow(tag) << t[0] << t[1] << t[2] << t[3] << binary << t[4];
        };
        row("bytes", "R", "12", "", "4", false, "R:12/4");
        row("bit of a byte", "W", "3", "5", "", true, "W:3.5/1");
        row("binary's length ignored", "R", "3", "7", "4", true, "R:3.7/1");
        row("bit of a non-binary ignored", "R", "3", "7", "2", false, "R:3/2");
        row("numbers as the converter reads them", "R", " $0C", "", "0x2", false, "R:12/2");
        row("no number: part left out", "W", "9", "", "four", false, "W:9");
    }

    void vendor_address()
    {
        QFETCH(QString, area);
        QFETCH(QString, position);
        QFETCH(QString, bit);
        QFETCH(QString, length);
        QFETCH(bool, binary);
        QFETCH(QString, address);
        QCOMPARE(EDE_Vendor_Address(area.at(0), position, bit, length, binary), address);
    }

    // A file of the set that cannot be written: none is written, nothing is
    // replaced and no temporary file is left.
    void all_or_none_data()
    {
        QTest::addColumn<QString>("in_the_way");
        QTest::newRow("main file") << QStringLiteral("Set_EDE.csv");
        QTest::newRow("state texts") << QStringLiteral("Set_StateTexts.csv");
        QTest::newRow("units") << QStringLiteral("Set_Units.csv");
        QTest::newRow("object types") << QStringLiteral("Set_ObjTypes.csv");
    }

    void all_or_none()
    {
        QFETCH(QString, in_the_way);
        QTemporaryDir out;
        const QDir folder(out.path());
        const EDE_File_Set files = EDE_Files_For(folder.filePath(QStringLiteral("Set_EDE.csv")));
        // An earlier export's files stay as they were.
        for (const QString &file : {files.main, files.state_texts, files.units, files.object_types})
            if (!file.endsWith(in_the_way))
                test::Write(file, "old");
        QVERIFY(folder.mkdir(in_the_way));
        const QStringList before = folder.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);

        const Result<> created = Create_EDE_File(ws_, files.main, Export_Time, {EDE_Layout::Standard, {}});
        QVERIFY(!created);
        QVERIFY2(created.Problem().contains(QDir::toNativeSeparators(folder.filePath(in_the_way))),
                 qPrintable(created.Problem()));
        QCOMPARE(folder.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), before);
        for (const QString &file : {files.main, files.state_texts, files.units, files.object_types})
            if (!file.endsWith(in_the_way))
                QCOMPARE(test::Read(file), QByteArray("old"));
    }
};

QTEST_APPLESS_MAIN(Test_Ede_Standard)
#include "test_ede_standard.moc"
