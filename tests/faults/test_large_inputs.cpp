// Inputs far beyond what the windows ever write: documents of several
// megabytes, a group of 100 000 rows, nesting 100 000 levels deep, a language
// file of a million lines. Nothing may crash or hang; what the converter
// cannot take is refused with a message, and no document is changed.

#include "core/messages.h"
#include "fault_support.h"
#include "inspector/bank_dump.h"
#include "params/pargen_document.h"
#include "params/pargen_form.h"
#include "tables/bacnet_access.h"
#include "tables/lora_access.h"
#include "workspace/workspace.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString Plant = QStringLiteral("Plant");
constexpr int Many_Rows = 100000;

QByteArray Object_Rows(const char *group, int rows, const QByteArray &mnemonic)
{
    QByteArray doc = QByteArray("<") + group + '>';
    doc.reserve(rows * (120 + mnemonic.size()));
    for (int i = 0; i < rows; ++i)
        doc += "<row Data_Type=\"Analog Value\" Eng_Unit=\"62\" Position=\"" + QByteArray::number(i % 1496) +
               "\" Bit=\"\" Length=\"4\" Swap=\"N\" Mnemonic=\"" + mnemonic + QByteArray::number(i) + "\"/>";
    return doc + "</" + group + '>';
}

QByteArray Objects_Document(int read_rows, const QByteArray &mnemonic = "Object ")
{
    return "<BACnet_to_Modbus>" + Object_Rows("BACnet_in_Read", read_rows, mnemonic) +
           "<BACnet_in_Write/></BACnet_to_Modbus><!--SW_VERSION = 1.000-->";
}

QByteArray Rules_Document(int uplink_rows)
{
    QByteArray doc = "<LoRaWAN_Set_Access><LoRaWAN_Uplink>";
    doc.reserve(uplink_rows * 110);
    for (int i = 0; i < uplink_rows; ++i)
        doc += "<row Enable=\"Y\" StartByte=\"" + QByteArray::number(i % 1000) +
               "\" NumByte=\"2\" OnChange=\"Y\" OnCMD=\"N\" OnTimer=\"N\" Time=\"0\" Mnemonic=\"r\"/>";
    return doc + "</LoRaWAN_Uplink><LoRaWAN_Downlink/></LoRaWAN_Set_Access><!--SW_VERSION = 1.000-->";
}

// The parameter document the window writes, one key's value replaced.
QByteArray ParGen_With(const QString &key, const QString &value)
{
    const QString path = QDir::tempPath() + QStringLiteral("/sw52k31-large-pargen.xml");
    fixture::Write_ParGen(path, fixture::With(fixture::Window_ParGen(), {{key, value}}));
    const QByteArray doc = test::Read(path);
    QFile::remove(path);
    return doc;
}

// Elements nested `depth` levels deep under a root.
QByteArray Nested_Document(const char *root, int depth)
{
    QByteArray doc = QByteArray("<") + root + '>';
    doc.reserve(depth * 8);
    for (int i = 0; i < depth; ++i)
        doc += "<row>";
    for (int i = 0; i < depth; ++i)
        doc += "</row>";
    return doc + "</" + root + '>';
}

// The objects a file the program wrote lists, in order: the object lines of an
// EDE file (after its seven header lines, every line ended by CR LF), or the
// descriptions of the records of an objects image (bank 2).
QStringList Listed_Objects(const QString &path)
{
    QStringList listed;
    if (path.endsWith(QStringLiteral(".bin"))) {
        const QJsonDocument dump = QJsonDocument::fromJson(Dump_Bank2(test::Read(path)));
        const QJsonArray records = dump.object().value(QStringLiteral("objects")).toArray();
        for (const QJsonValue &record : records)
            listed << record.toObject().value(QStringLiteral("description")).toString();
        return listed;
    }
    listed = QString::fromLatin1(test::Read(path)).split(QStringLiteral("\r\n"));
    if (listed.size() < 8 || !listed.last().isEmpty())
        return {QStringLiteral("not an EDE file of CR LF lines: ") + path};
    return listed.mid(7, listed.size() - 8);
}

} // namespace

class Test_Large_Inputs : public QObject
{
    Q_OBJECT

private slots:
    // The program on a configuration holding one oversized document. Every
    // row says what the program prints on each stream ("@" is the workspace)
    // and, for a success, what it wrote: the objects the EDE file or the
    // objects image lists, and the last of them.
    void commands_data()
    {
        QTest::addColumn<QString>("file"); // in the configuration
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<QStringList>("command");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("out");  // all of stdout
        QTest::addColumn<QString>("err");  // a part of stderr; empty: stderr is empty
        QTest::addColumn<QString>("made"); // the file written, or empty
        QTest::addColumn<int>("objects");  // how many objects `made` lists
        QTest::addColumn<QString>("last"); // the last of them

        const QString pargen = QStringLiteral("ParGen.xml");
        const QString rules = QStringLiteral("LoRaWAN_SetAccess.xml");
        const QString objects = QStringLiteral("BACnet_Slave_SetAccess.xml");
        const QString bank2 = QStringLiteral("@/PROJECTS/Plant/bin/bank2.bin");
        const QString ede_file = QStringLiteral("@/plant.csv");

        auto refused = [&](const char *tag, const QString &file, const QByteArray &contents, const char *command,
                           const QString &says) {
            QTest::newRow(tag) << file << contents << QStringList{QString::fromLatin1(command), Plant} << 1 << QString()
                               << says << QString() << 0 << QString();
        };
        auto export_refused = [&](const char *tag, const QString &file, const QByteArray &contents,
                                  const QString &says) {
            QTest::newRow(tag) << file << contents << QStringList{QStringLiteral("ede"), Plant, ede_file} << 1
                               << QString() << says << QString() << 0 << QString();
        };
        auto compiled = [&](const char *tag, const QString &file, const QByteArray &contents, int count,
                            const QString &last) {
            QTest::newRow(tag) << file << contents << QStringList{QStringLiteral("compile"), Plant} << 0
                               << QStringLiteral("@/PROJECTS/Plant/bin/bank1.bin\n") + bank2 + u'\n' << QString()
                               << bank2 << count << last;
        };
        auto exported = [&](const char *tag, const QString &file, const QByteArray &contents, int count,
                            const QString &last) {
            QTest::newRow(tag) << file << contents << QStringList{QStringLiteral("ede"), Plant, ede_file} << 0
                               << ede_file + u'\n' << QString() << ede_file << count << last;
        };
        // A device name of 5 MB: the image has 16 bytes for it.
        const QByteArray long_name = ParGen_With(QStringLiteral("BACnet_NAME_STA"), QString(5'000'000, u'n'));
        // The window's rules look at the characters only (the window's edit
        // takes 16): the compilation refuses it, and so every output, the EDE
        // file too, though it does not hold the name.
        refused("5 MB value: compile", pargen, long_name, "compile", QStringLiteral("BACnet_NAME_STA"));
        refused("5 MB value: check", pargen, long_name, "check", QStringLiteral("BACnet_NAME_STA"));
        export_refused("5 MB value: ede", pargen, long_name, QStringLiteral("BACnet_NAME_STA"));

        // 100 000 objects in one group: the converter and the object window
        // take 2000, so every output refuses the rows the window cannot hold.
        const QByteArray many_objects = Objects_Document(Many_Rows);
        refused("100 000 objects: compile", objects, many_objects, "compile", QStringLiteral("98000 rows"));
        refused("100 000 objects: check", objects, many_objects, "check", QStringLiteral("98000 rows"));
        export_refused("100 000 objects: ede", objects, many_objects, QStringLiteral("98000 rows"));

        // 2000 objects with 2 kB descriptions each (4 MB): the image and the
        // EDE file's names take the first 16 characters, the key name all.
        const QByteArray long_texts = Objects_Document(2000, QByteArray(2048, 'd'));
        const QString d16(16, u'd');
        compiled("4 MB of descriptions: compile", objects, long_texts, 2000, d16);
        exported("4 MB of descriptions: ede", objects, long_texts, 2000,
                 QStringLiteral("1_%1_1999;1;%2;2;1999;%2;62;").arg(QString(2048, u'd') + QStringLiteral("1999"), d16));

        // 100 000 enabled uplink rules: the converter takes 256.
        const QByteArray many_rules = Rules_Document(Many_Rows);
        refused("100 000 rules: compile", rules, many_rules, "compile", QStringLiteral("99744 rows"));
        refused("100 000 rules: check", rules, many_rules, "check", QStringLiteral("99744 rows"));

        // Nesting no window writes; readers look only at fixed depths, so
        // the groups and keys read as missing: no objects, no rules, no
        // device instance. A table document without its groups fails the
        // check.
        refused("nested objects: compile", objects, Nested_Document("BACnet_to_Modbus", Many_Rows), "compile",
                QStringLiteral("has no group BACnet_in_Read"));
        exported("nested parameters: ede", pargen, Nested_Document("Par_Gen", Many_Rows), 2,
                 QStringLiteral("_Fan_0;;Fan;4;0;Fan;95;"));
        refused("nested rules: check", rules, Nested_Document("LoRaWAN_Set_Access", Many_Rows), "check",
                QStringLiteral("has no group LoRaWAN_Uplink"));
    }

    void commands()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, contents);
        QFETCH(QStringList, command);
        QFETCH(int, code);
        QFETCH(QString, out);
        QFETCH(QString, err);
        QFETCH(QString, made);
        QFETCH(int, objects);
        QFETCH(QString, last);
        QTemporaryDir dir;
        faults::Make_Configuration(dir.path(), Plant);
        test::Write(dir.filePath(QStringLiteral("PROJECTS/Plant/") + file), contents);
        const QString at = QStringLiteral("@");
        command.replaceInStrings(at, dir.path());
        out.replace(at, dir.path());
        made.replace(at, dir.path());
        const auto documents = faults::Snapshot(dir.filePath(QStringLiteral("PROJECTS")));

        const faults::Run_Result run = faults::Run_In(dir.path(), command);
        const QByteArray what = run.Describe().left(2000).toLocal8Bit();
        QVERIFY2(!run.crashed && !run.hung, what.constData());
        QVERIFY2(run.code == code, what.constData());
        QVERIFY2(run.out == out, what.constData());
        QVERIFY2(err.isEmpty() ? run.err.isEmpty() : run.err.contains(err), what.constData());

        if (!made.isEmpty()) {
            QVERIFY2(QFileInfo::exists(made), qPrintable(made));
            const QStringList listed = Listed_Objects(made);
            QCOMPARE(listed.size(), objects);
            if (objects > 0)
                QCOMPARE(listed.last(), last);
        }
        // The documents are only read; a failed compilation writes no image.
        auto after = faults::Snapshot(dir.filePath(QStringLiteral("PROJECTS")));
        if (code == 0) {
            after.remove(QStringLiteral("Plant/bin/bank1.bin"));
            after.remove(QStringLiteral("Plant/bin/bank2.bin"));
        }
        QCOMPARE(after, documents);
    }

    // What the table windows load from a group of 100 000 rows: the rows the
    // table holds, and a warning for the rest before a save would drop them.
    void tables_of_many_rows()
    {
        QTemporaryDir dir;
        const QString objects_file = dir.filePath(QStringLiteral("objects.xml"));
        const QString rules_file = dir.filePath(QStringLiteral("rules.xml"));
        test::Write(objects_file, Objects_Document(Many_Rows));
        test::Write(rules_file, Rules_Document(Many_Rows));

        BACnet_Slave_Set_Access objects;
        const Load_Report object_report = objects.Load(QString(), objects_file);
        QCOMPARE(objects.Read.Row_Count(), Objects_Short_Desc);
        QCOMPARE(object_report.Rows_Not_Shown.value(0), Many_Rows - Objects_Short_Desc);
        QVERIFY(object_report.Rows_At_Risk());
        QCOMPARE(objects.Read.Cell(Objects_Short_Desc - 1, Obj_Mnemonic), QStringLiteral("Object 1999"));
        QVERIFY(objects.Controllo_Dati().Ok()); // the 2000 it holds are sound

        LoRa_Set_Access rules;
        const Load_Report rule_report = rules.Load(QString(), rules_file);
        QCOMPARE(rules.Uplink.Row_Count(), LoRa_Rule_Rows);
        QCOMPARE(rule_report.Rows_Not_Shown.value(0), Many_Rows - LoRa_Rule_Rows);
    }

    // A language file of a million lines, applied at every start.
    void language_of_a_million_lines()
    {
        QTemporaryDir dir;
        faults::Make_Configuration(dir.path(), Plant);
        test::Write(dir.filePath(QStringLiteral("Quarnel.xml")),
                    "<Conf_Settings><lastlang><language>Big</language></lastlang></Conf_Settings>");
        QByteArray lines;
        lines.reserve(1'000'000 * 28);
        for (int i = 0; i < 1'000'000; ++i) {
            if (i % 3 == 2)
                lines += "; a comment line that is not a text\r\n";
            else
                lines += "STR" + QByteArray::number(i % 1700).rightJustified(4, '0') + " = text " +
                         QByteArray::number(i) + "\r\n";
        }
        test::Write(dir.filePath(QStringLiteral("LANGUAGE/Big.lng")), lines);

        Message_Table table;
        QVERIFY(table.Read_Language_File(dir.filePath(QStringLiteral("LANGUAGE/Big.lng"))).Ok());
        // Entry 15 is named last by line 999 615 (999 615 % 1700 == 15, 999 615 % 3 != 2).
        QCOMPARE(table.Get(15), QStringLiteral("text 999615"));

        const faults::Run_Result run = faults::Run_In(dir.path(), {QStringLiteral("list")});
        QVERIFY2(!run.crashed && !run.hung && run.code == 0, qPrintable(run.Describe()));
        QCOMPARE(run.out.trimmed(), Plant);
    }

    // One line of 20 MB without a line end, in a language file and in the
    // settings file read at start (past the size of any document).
    void one_endless_line()
    {
        QTemporaryDir dir;
        faults::Make_Configuration(dir.path(), Plant);
        test::Write(dir.filePath(QStringLiteral("LANGUAGE/English.lng")), "STR0018 = " + QByteArray(20'000'000, 'e'));
        test::Write(dir.filePath(QStringLiteral("Quarnel.xml")), "<Conf_Settings><lastipadd><ipaddress>" +
                                                                     QByteArray(20'000'000, '1') +
                                                                     "</ipaddress></lastipadd></Conf_Settings>");
        const faults::Run_Result run = faults::Run_In(dir.path(), {QStringLiteral("compile"), QStringLiteral("Gone")});
        QVERIFY2(!run.crashed && !run.hung && run.code == 1, qPrintable(run.Describe().left(2000)));
        // The settings file, larger than any the program writes, is refused
        // whole; then message 18 as the language file gives it.
        const QStringList lines = run.err.split(u'\n');
        QVERIFY2(lines.size() >= 2 && lines[0].contains(QStringLiteral("Quarnel.xml could not be read")),
                 qPrintable(run.Describe().left(2000)));
        QVERIFY(lines[1].startsWith(QStringLiteral("eeee")));
    }
};

QTEST_GUILESS_MAIN(Test_Large_Inputs)
#include "test_large_inputs.moc"
