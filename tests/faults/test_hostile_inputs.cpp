// Files that no window writes, in the places the program reads from: a pipe or
// a device instead of a document, an image or a points list, a file far larger
// than it can be, a points list with one stray byte, a document with an entity
// reference, a document nobody may read. Each command refuses at once, says
// which file and why, and changes nothing.

#include "fault_support.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>

namespace {

const QString Plant = QStringLiteral("Plant");

// What a row puts in place of its file.
enum Put { Bytes, Pipe, Unreadable };

const QString Not_Regular = QStringLiteral("not a regular file");

// The parameter document the window writes, with an entity reference in a value.
QByteArray ParGen_With_Entity()
{
    const QString path = QDir::tempPath() + QStringLiteral("/sw52k31-hostile-pargen.xml");
    fixture::Write_ParGen(
        path, fixture::With(fixture::Window_ParGen(), {{QStringLiteral("BACnet_NAME_STA"), QStringLiteral("&xxe;")}}));
    QByteArray doc = test::Read(path);
    QFile::remove(path);
    return doc.replace("&amp;xxe;", "&xxe;");
}

} // namespace

class Test_Hostile_Inputs : public QObject
{
    Q_OBJECT

private slots:
    void refused_data()
    {
        QTest::addColumn<QString>("file"); // relative to the workspace; empty: none
        QTest::addColumn<int>("put");
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<QStringList>("command"); // "@" is the workspace
        QTest::addColumn<int>("code");
        QTest::addColumn<QStringList>("says"); // each a part of stderr
        QTest::addColumn<QString>("not_said"); // never a part of stderr

        const QString pargen = QStringLiteral("PROJECTS/Plant/ParGen.xml");
        const QString rules = QStringLiteral("PROJECTS/Plant/LoRaWAN_SetAccess.xml");
        const QString objects = QStringLiteral("PROJECTS/Plant/BACnet_Slave_SetAccess.xml");
        const QString points = QStringLiteral("points.csv");
        const QString image = QStringLiteral("image.bin");
        const QStringList import{QStringLiteral("import-objects"), Plant, QStringLiteral("@/points.csv")};
        auto row = [](const char *tag, const QString &file, Put put, const QByteArray &contents,
                      const QStringList &command, const QStringList &says, const QString &not_said = QString()) {
            // `diff` ends as diff(1) does: 2 for an input it could not read.
            const int code = command.first() == u"diff" ? 2 : 1;
            QTest::newRow(tag) << file << int(put) << contents << command << code << says << not_said;
        };

        row("pipe for ParGen.xml: check", pargen, Pipe, {}, {QStringLiteral("check"), Plant},
            {QStringLiteral("ParGen.xml"), Not_Regular});
        row("pipe for the objects: compile", objects, Pipe, {}, {QStringLiteral("compile"), Plant},
            {QStringLiteral("BACnet_Slave_SetAccess.xml"), Not_Regular});
        row("pipe for the rules: map", rules, Pipe, {}, {QStringLiteral("map"), Plant},
            {QStringLiteral("LoRaWAN_SetAccess.xml"), Not_Regular});
        row("pipe for the objects: ede", objects, Pipe, {}, {QStringLiteral("ede"), Plant, QStringLiteral("@/plant")},
            {QStringLiteral("BACnet_Slave_SetAccess.xml"), Not_Regular});
        row("pipe for an image: dump", image, Pipe, {}, {QStringLiteral("dump"), QStringLiteral("@/image.bin")},
            {QStringLiteral("image.bin"), Not_Regular});
        row("pipe for an image: diff", image, Pipe, {},
            {QStringLiteral("diff"), QStringLiteral("@/image.bin"), QStringLiteral("@/image.bin"),
             QStringLiteral("@/image.bin"), QStringLiteral("@/image.bin")},
            {QStringLiteral("image.bin"), Not_Regular});
        row("pipe for a points list: import-objects", points, Pipe, {}, import,
            {QStringLiteral("points.csv"), Not_Regular});
        row("device: import-objects", QString(), Bytes, {},
            {QStringLiteral("import-objects"), Plant, QStringLiteral("/dev/zero")},
            {QStringLiteral("/dev/zero"), Not_Regular});

        row("points list of 5 MB", points, Bytes, QByteArray(5 * 1024 * 1024, 'x'), import,
            {QStringLiteral("points.csv"), QStringLiteral("more than the 4194304")});
        row("document of 17 MB: check", objects, Bytes, QByteArray(17 * 1024 * 1024, ' '),
            {QStringLiteral("check"), Plant},
            {QStringLiteral("BACnet_Slave_SetAccess.xml"), QStringLiteral("more than the 16777216")});

        // UTF-8 ("é" on line 2) with one windows-1252 "é" on line 3.
        row("stray byte in a UTF-8 points list", points, Bytes,
            "Table,Mnemonic\r\nRead,Caf\xC3\xA9\r\nRead,Caf\xE9\r\n", import,
            {QStringLiteral("points.csv"), QStringLiteral("Line 3: the byte 0xE9")});

        row("entity in the objects: check", objects, Bytes,
            "<!DOCTYPE r [<!ENTITY xxe \"boom\">]><BACnet_to_Modbus><BACnet_in_Read><row Data_Type=\"Analog Value\" "
            "Eng_Unit=\"62\" Position=\"0\" Bit=\"\" Length=\"4\" Swap=\"N\" Mnemonic=\"&xxe;\"/></BACnet_in_Read>"
            "<BACnet_in_Write/></BACnet_to_Modbus>",
            {QStringLiteral("check"), Plant},
            {QStringLiteral("BACnet_Slave_SetAccess.xml"), QStringLiteral("line 1, column"), QStringLiteral("&xxe;")});
        // The damaged parameters said once, under their own document, and
        // nothing computed from the payload they do not give.
        row("entity in ParGen.xml: check --all", pargen, Bytes, ParGen_With_Entity(),
            {QStringLiteral("check"), Plant, QStringLiteral("--all")},
            {QStringLiteral("ParGen.xml: "), QStringLiteral("&xxe;")}, QStringLiteral("between 0 and"));

        row("unreadable ParGen.xml: check", pargen, Unreadable, "<Par_Gen/>", {QStringLiteral("check"), Plant},
            {QStringLiteral("ParGen.xml could not be read"), QString::fromLocal8Bit(std::strerror(EACCES))},
            QStringLiteral("damaged"));
    }

    void refused()
    {
        QFETCH(QString, file);
        QFETCH(int, put);
        QFETCH(QByteArray, contents);
        QFETCH(QStringList, command);
        QFETCH(int, code);
        QFETCH(QStringList, says);
        QFETCH(QString, not_said);
        if (put == Unreadable && geteuid() == 0)
            QSKIP("root reads every file");
        QTemporaryDir dir;
        faults::Make_Configuration(dir.path(), Plant);
        if (!file.isEmpty()) {
            const QString path = dir.filePath(file);
            QFile::remove(path);
            if (put == Pipe)
                QVERIFY(mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
            else
                test::Write(path, contents);
            if (put == Unreadable)
                QVERIFY(QFile::setPermissions(path, QFileDevice::WriteOwner));
        }
        command.replaceInStrings(QStringLiteral("@"), dir.path());
        // The documents and images only: the languages are installed by the run.
        const QString projects = dir.filePath(QStringLiteral("PROJECTS"));
        const auto before = faults::Snapshot(projects);

        const faults::Run_Result run = faults::Run_In(dir.path(), command);
        const QByteArray what = run.Describe().left(2000).toLocal8Bit();
        QVERIFY2(!run.crashed && !run.hung && run.code == code, what.constData());
        for (const QString &part : std::as_const(says))
            QVERIFY2(run.err.contains(part), what.constData());
        if (!not_said.isEmpty())
            QVERIFY2(!run.err.contains(not_said), what.constData());
        QCOMPARE(faults::Snapshot(projects), before);
    }
};

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    Test_Hostile_Inputs test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_hostile_inputs.moc"
