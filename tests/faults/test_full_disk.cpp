// The disk fills up in the middle of a save. Every save of the program writes
// a temporary file beside its target and replaces the target only once the
// whole file is written, so the old file must stay whole, no temporary file
// may stay behind, the failure must be reported with the file's name, and
// once there is room again the same save must succeed.
//
// Two ways to fill the disk: a file-size limit (any user; a write past it
// fails as on a full disk) on this process or on the program, and, where this
// process has a mount namespace of its own, a small tmpfs really filled up.

#include "compiler/bank_files.h"
#include "compiler/compile_project.h"
#include "ede/bacnet_ede_file.h"
#include "fault_support.h"
#include "gate/gated_outputs.h"
#include "params/pargen_document.h"
#include "tables/bacnet_access.h"
#include "tables/lora_access.h"
#include "update/job_file.h"
#include "workspace/settings.h"
#include "workspace/start_workspace.h"
#include "workspace/workspace.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

namespace {

const QString Plant = QStringLiteral("Plant");

// A save that returns a Result<>, in the form of the others.
bool Told(const Result<> &saved, QString *problem)
{
    *problem = saved.Problem();
    return saved.Ok();
}

// One save of the program, in-process: `save` writes into the configuration
// of `ws` and returns false with `problem` set when it fails.
struct Save_Case
{
    const char *name;
    const char *file; // relative to the workspace root; holds old bytes before the save
    std::function<bool(Workspace &ws, QString *problem)> save;
};

// A save that returns a Result, in the form of the cases.
template <class T> bool Saved(const Result<T> &result, QString *problem)
{
    if (!result)
        *problem = result.Problem();
    return result.Ok();
}

QList<Save_Case> Save_Cases()
{
    return {
        {"settings", "Quarnel.xml", [](Workspace &ws, QString *p) { return Told(Save_Setting(ws), p); }},
        {"parameters", "PROJECTS/Plant/ParGen.xml",
         [](Workspace &ws, QString *p) { return Saved(Save_ParGen(Load_ParGen(ws.File_ParGen), ws.File_ParGen), p); }},
        {"rules", "PROJECTS/Plant/LoRaWAN_SetAccess.xml",
         [](Workspace &ws, QString *p) {
             LoRa_Set_Access rules;
             rules.Load(ws.File_ParGen, ws.File_LoRaWAN_Access);
             return Saved(rules.Save(ws.File_LoRaWAN_Access), p);
         }},
        {"objects", "PROJECTS/Plant/BACnet_Slave_SetAccess.xml",
         [](Workspace &ws, QString *p) {
             BACnet_Slave_Set_Access objects;
             objects.Load(ws.File_ParGen, ws.File_BACnet_Slave_Access);
             return Saved(objects.Save(ws.File_BACnet_Slave_Access), p);
         }},
        {"images", "PROJECTS/Plant/bin/bank2.bin",
         [](Workspace &ws, QString *p) { return Saved(Compile_Configuration(ws), p); }},
        {"job file", "Ethernet_Update.xml",
         [](Workspace &ws, QString *p) {
             Boot_Job job;
             Split_IP_Address(QStringLiteral("192.168.2.205"), &job.IP);
             job.Path_Exe = ws.Path_Exe;
             job.Path_Master = ws.Path_Master;
             job.Path_Project = ws.Path_Project;
             return Told(Compile_XML_Parameter_New_Boot(job), p);
         }},
        {"EDE file", "plant.csv",
         [](Workspace &ws, QString *p) {
             return Saved(Create_EDE_File(ws, ws.Path_Exe + QStringLiteral("/plant.csv"), QDateTime::currentDateTime()),
                          p);
         }},
    };
}

// The project documents are saved from what they hold; every other target
// holds old bytes that no save writes.
bool Is_Document(const char *file)
{
    return QByteArray(file).startsWith("PROJECTS/") && QByteArray(file).endsWith(".xml");
}

// Well-formed (the program reads the settings file at every start), and
// longer than any limit below.
QByteArray Old_Bytes(const char *file)
{
    return QByteArray("<Old>old contents of ") + file + "</Old><!--" + QByteArray(3000, '.') + "-->";
}

// A started workspace with the configuration open and every target file
// holding its old bytes.
void Prepare(Workspace &ws, const QString &root)
{
    faults::Make_Configuration(root, Plant);
    Start_Workspace(ws, root);
    ws.Open_Configuration(Plant);
    for (const Save_Case &c : Save_Cases())
        if (!Is_Document(c.file))
            test::Write(root + u'/' + QLatin1StringView(c.file), Old_Bytes(c.file));
}

} // namespace

class Test_Full_Disk : public QObject
{
    Q_OBJECT

private slots:
    void saves_data()
    {
        QTest::addColumn<int>("index");
        const QList<Save_Case> cases = Save_Cases();
        for (int i = 0; i < cases.size(); ++i)
            QTest::newRow(cases[i].name) << i;
    }

    // Every save of the program, with this process's file-size limit far
    // below the file it writes.
    void saves()
    {
        QFETCH(int, index);
        const Save_Case c = Save_Cases().at(index);
        QTemporaryDir dir;
        Workspace ws;
        Prepare(ws, dir.path());
        const QString target = dir.filePath(QLatin1StringView(c.file));
        const auto before = faults::Snapshot(dir.path());

        QString problem;
        bool saved = true;
        {
            // The images: bank1.bin (2048 bytes) fits, bank2.bin does not.
            faults::File_Size_Limit limit(QByteArray(c.name) == "images" ? 4096 : 64);
            saved = c.save(ws, &problem);
        }
        QVERIFY(!saved);
        QVERIFY2(problem.contains(QFileInfo(target).fileName()), qPrintable(problem));
        // The system's reason, not Qt's "Unknown error".
        QVERIFY2(problem.contains(QString::fromLocal8Bit(std::strerror(EFBIG))), qPrintable(problem));
        // The old file whole, nothing left behind; for the images, bank1.bin
        // (which fits) is not replaced either while bank2.bin fails.
        QCOMPARE(faults::Snapshot(dir.path()), before);

        // Room again: the same save succeeds.
        QVERIFY2(c.save(ws, &problem), qPrintable(problem));
        if (!Is_Document(c.file))
            QVERIFY(test::Read(target) != Old_Bytes(c.file));
    }

    // The program itself, limited in the size of the files it writes.
    void commands_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<qint64>("limit");
        QTest::addColumn<QString>("kept"); // the old file that must stay whole
        QTest::newRow("compile") << QStringList{QStringLiteral("compile"), Plant} << qint64(40000)
                                 << QStringLiteral("PROJECTS/Plant/bin/bank2.bin");
        QTest::newRow("ede") << QStringList{QStringLiteral("ede"), Plant, QStringLiteral("@/plant")} << qint64(300)
                             << QStringLiteral("plant.csv");
        QTest::newRow("jobfile") << QStringList{QStringLiteral("jobfile"), Plant, QStringLiteral("--ip"),
                                                QStringLiteral("10.0.0.1")}
                                 << qint64(64) << QStringLiteral("Ethernet_Update.xml");
    }

    void commands()
    {
        QFETCH(QStringList, args);
        QFETCH(qint64, limit);
        QFETCH(QString, kept);
        QTemporaryDir dir;
        Workspace ws;
        Prepare(ws, dir.path());
        args.replaceInStrings(QStringLiteral("@"), dir.path());
        const QByteArray old = test::Read(dir.filePath(kept));
        QVERIFY(!old.isEmpty());

        faults::Run_Options options;
        options.file_size_limit = limit;
        const faults::Run_Result run = faults::Run_In(dir.path(), args, options);
        QVERIFY2(!run.crashed && !run.hung && run.code == 1, qPrintable(run.Describe()));
        QVERIFY2(run.err.contains(QFileInfo(kept).fileName()), qPrintable(run.Describe()));
        QCOMPARE(test::Read(dir.filePath(kept)), old);
        // No temporary file stays behind.
        const QStringList left = QDir(QFileInfo(dir.filePath(kept)).path()).entryList(QDir::Files);
        for (const QString &name : left)
            QVERIFY2(!name.contains(QFileInfo(kept).fileName() + u'.'), qPrintable(name));

        const faults::Run_Result again = faults::Run_In(dir.path(), args);
        QVERIFY2(again.code == 0, qPrintable(again.Describe()));
    }

    // The program killed between the two renames of a compilation (the
    // seam stops it there): bank 1 is new and bank 2 old. `dump` and `diff`
    // say that the pair does not belong together, and the next compilation
    // (the update step compiles before it sends) mends it.
    void killed_between_renames()
    {
        QTemporaryDir dir;
        Workspace ws;
        Prepare(ws, dir.path());
        QCOMPARE(faults::Run_In(dir.path(), {QStringLiteral("compile"), Plant}).code, 0);
        const QString bin = dir.filePath(QStringLiteral("PROJECTS/Plant/bin"));
        const QByteArray bank2 = test::Read(bin + QStringLiteral("/bank2.bin"));
        QList<fixture::Row> objects;
        for (int i = 0; i < 7; ++i)
            objects << fixture::Object(QStringLiteral("Analog Value"), QStringLiteral("62"), QString::number(4 * i),
                                       QString(), QStringLiteral("4"), QStringLiteral("Object %1").arg(i));
        fixture::Write_Objects(ws.File_BACnet_Slave_Access, objects);

        faults::Run_Options stop;
        stop.environment = {{QStringLiteral("SW52K31_STOP_AFTER_RENAMES"), QStringLiteral("1")}};
        const faults::Run_Result killed = faults::Run_In(dir.path(), {QStringLiteral("compile"), Plant}, stop);
        QVERIFY2(killed.code == 9, qPrintable(killed.Describe()));
        QCOMPARE(test::Read(bin + QStringLiteral("/bank2.bin")), bank2);

        const QStringList pair{bin + QStringLiteral("/bank1.bin"), bin + QStringLiteral("/bank2.bin")};
        const faults::Run_Result dump = faults::Run_In(dir.path(), QStringList{QStringLiteral("dump")} + pair);
        QVERIFY2(dump.code == 1 && dump.err.contains(QStringLiteral("Bank 1 counts 7 objects")),
                 qPrintable(dump.Describe()));
        const faults::Run_Result diff = faults::Run_In(dir.path(), {QStringLiteral("diff"), bin, Plant});
        QVERIFY2(diff.code == 1 && diff.out.contains(QStringLiteral("before: Error! Bank 1 counts 7 objects")),
                 qPrintable(diff.Describe()));

        QCOMPARE(faults::Run_In(dir.path(), {QStringLiteral("compile"), Plant}).code, 0);
        QCOMPARE(faults::Run_In(dir.path(), QStringList{QStringLiteral("dump")} + pair).code, 0);
    }

    // A disk really full: a small tmpfs holding the workspace, filled up to a
    // few kilobytes, less than bank2.bin or the EDE file need.
    void full_tmpfs()
    {
        QTemporaryDir dir;
        faults::Small_Disk disk(dir.path(), 1024);
        if (!disk.Problem().isEmpty())
            QSKIP(qPrintable(QStringLiteral("no small disk here: ") + disk.Problem()));
        Workspace ws;
        Prepare(ws, dir.path());
        QVERIFY2(faults::Run_In(dir.path(), {QStringLiteral("compile"), Plant}).code == 0, "first compilation");
        const QByteArray bank2 = test::Read(dir.filePath(QStringLiteral("PROJECTS/Plant/bin/bank2.bin")));
        // Objects enough for an EDE file of a few dozen kilobytes.
        QList<fixture::Row> objects;
        for (int i = 0; i < 1000; ++i)
            objects << fixture::Object(QStringLiteral("Analog Value"), QStringLiteral("62"), QString::number(i),
                                       QString(), QStringLiteral("1"), QStringLiteral("Object number %1").arg(i));
        fixture::Write_Objects(ws.File_BACnet_Slave_Access, objects);
        const QByteArray csv = Old_Bytes("plant.csv");

        disk.Fill(8 * 1024);
        QVERIFY2(disk.Free_Bytes() <= 8 * 1024, qPrintable(QString::number(disk.Free_Bytes())));
        const auto before = faults::Snapshot(dir.path());

        const faults::Run_Result compile = faults::Run_In(dir.path(), {QStringLiteral("compile"), Plant});
        QVERIFY2(!compile.crashed && !compile.hung && compile.code == 1, qPrintable(compile.Describe()));
        QVERIFY2(compile.err.contains(QString::fromLocal8Bit(std::strerror(ENOSPC))), qPrintable(compile.Describe()));
        QCOMPARE(test::Read(dir.filePath(QStringLiteral("PROJECTS/Plant/bin/bank2.bin"))), bank2);
        const faults::Run_Result ede =
            faults::Run_In(dir.path(), {QStringLiteral("ede"), Plant, dir.filePath(QStringLiteral("plant"))});
        QVERIFY2(!ede.crashed && !ede.hung && ede.code == 1, qPrintable(ede.Describe()));
        QCOMPARE(test::Read(dir.filePath(QStringLiteral("plant.csv"))), csv);

        // Not a byte left: the settings file, closing the configurator.
        disk.Fill(0);
        const Result<> refused = Save_Setting(ws);
        QVERIFY(!refused);
        QVERIFY2(refused.Problem().contains(QStringLiteral("Quarnel.xml")), qPrintable(refused.Problem()));
        auto after = faults::Snapshot(dir.path());
        after.remove(QStringLiteral("filler"));
        auto expected = before;
        expected.remove(QStringLiteral("filler"));
        // The old pair whole: neither image was replaced.
        QCOMPARE(after, expected);

        // Room again.
        QVERIFY(QFile::remove(dir.filePath(QStringLiteral("filler"))));
        const Result<> saved = Save_Setting(ws);
        QVERIFY2(saved.Ok(), qPrintable(saved.Problem()));
        QCOMPARE(faults::Run_In(dir.path(), {QStringLiteral("compile"), Plant}).code, 0);
    }
};

int main(int argc, char **argv)
{
    faults::Enter_Private_Mount_Namespace();
    QCoreApplication app(argc, argv);
    Test_Full_Disk test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_full_disk.moc"
