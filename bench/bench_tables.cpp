// Loads, checks and writes two full object tables (2000 rows each) and the
// two rule tables, and prints the times and the peak memory beside the
// figures they must stay under, then one BENCH line per figure beside its
// floor (bench/README.md): loading against parsing the same file, the check
// against one pass reading every cell it reads, writing against writing the
// same bytes, the peak memory against the process before any table.

#include "bench_support.h"
#include "core/file_io.h"
#include "core/int_read.h"
#include "core/xml_document.h"
#include "tables/bacnet_access.h"
#include "tables/lora_access.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int Runs = 20;

// Peak resident memory of the process in kB (Linux), 0 when unknown.
long Peak_Memory_KB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return 0;
}

QByteArray Full_Object_Document(int rows)
{
    QByteArray doc = "<BACnet_to_Modbus>";
    for (const char *group : {"BACnet_in_Read", "BACnet_in_Write"}) {
        doc += QByteArray("<") + group + ">";
        for (int i = 0; i < rows; ++i)
            doc += "<row Data_Type=\"Analog Value\" Eng_Unit=\"62\" Position=\"" + QByteArray::number(i % 1497) +
                   "\" Bit=\"\" Length=\"4\" Swap=\"N\" Mnemonic=\"Object number " + QByteArray::number(i) +
                   " of the plant\"/>";
        doc += QByteArray("</") + group + ">";
    }
    return doc + "</BACnet_to_Modbus><!--SW_VERSION = 1.000-->";
}

QByteArray Full_Rule_Document()
{
    QByteArray doc = "<LoRaWAN_Set_Access><LoRaWAN_Uplink>";
    for (int i = 0; i < LoRa_Rule_Rows; ++i)
        doc += "<row Enable=\"Y\" StartByte=\"" + QByteArray::number(i * 6) +
               "\" NumByte=\"6\" OnChange=\"Y\" "
               "OnCMD=\"N\" OnTimer=\"Y\" Time=\"600\" Mnemonic=\"rule\"/>";
    doc += "</LoRaWAN_Uplink><LoRaWAN_Downlink>";
    for (int i = 0; i < LoRa_Rule_Rows; ++i)
        doc += "<row Enable=\"Y\" StartByte=\"" + QByteArray::number(i * 6) + "\" NumByte=\"6\" Mnemonic=\"rule\"/>";
    return doc + "</LoRaWAN_Downlink></LoRaWAN_Set_Access><!--SW_VERSION = 1.000-->";
}

void Print(const char *what, double value, double floor, const char *unit)
{
    std::printf("%-34s %9.2f %s   (must stay under %.0f %s)%s\n", what, value, unit, floor, unit,
                value < floor ? "" : "   ** OVER **");
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString pargen = dir.filePath(QStringLiteral("ParGen.xml")); // none: 2000 rows a table
    const QString objects_file = dir.filePath(QStringLiteral("BACnet_Slave_SetAccess.xml"));
    const QString rules_file = dir.filePath(QStringLiteral("LoRaWAN_SetAccess.xml"));
    const QString out_file = dir.filePath(QStringLiteral("out.xml"));
    {
        QFile f(objects_file);
        if (!f.open(QIODevice::WriteOnly) || f.write(Full_Object_Document(Objects_Short_Desc)) < 0)
            return 1;
        QFile g(rules_file);
        if (!g.open(QIODevice::WriteOnly) || g.write(Full_Rule_Document()) < 0)
            return 1;
    }

    const long memory_before_kb = Peak_Memory_KB();
    BACnet_Slave_Set_Access objects;
    Timing load, check, save;
    QElapsedTimer t;
    Problem_List result;
    for (int i = 0; i < Runs; ++i) {
        t.start();
        const Load_Report report = objects.Load(pargen, objects_file);
        load.Add(t);
        if (!report.Warnings.isEmpty() || End_Of_Table(objects.Write, Obj_Data_Type) != Objects_Short_Desc)
            return 1;
        t.start();
        result = objects.Controllo_Dati();
        check.Add(t);
        t.start();
        if (!objects.Save(out_file))
            return 1;
        save.Add(t);
    }

    LoRa_Set_Access rules;
    Timing rules_all;
    for (int i = 0; i < Runs; ++i) {
        t.start();
        rules.Load(pargen, rules_file);
        (void)rules.Controllo_Dati();
        if (!rules.Save(out_file))
            return 1;
        rules_all.Add(t);
    }

    // The floors: the same file parsed, every cell the check reads read
    // once, the same bytes written.
    Timing parse, pass, write, rules_floor;
    const QByteArray bytes = objects.Serialise();
    for (int i = 0; i < Runs; ++i) {
        t.start();
        Xml_Document doc;
        if (doc.Load(objects_file) != Xml_Document::State::Loaded)
            return 1;
        parse.Add(t);
        t.start();
        long sum = 0;
        for (const Text_Table *table : {&objects.Read, &objects.Write})
            for (int r = 0; r < table->Row_Count(); ++r) {
                sum += table->Cell(r, Obj_Data_Type).size() + table->Cell(r, Obj_Bit).size();
                for (int c : {Obj_Eng_Unit, Obj_Position, Obj_Length})
                    sum += Str_To_Int_Def(table->Cell(r, c), -1);
            }
        pass.Add(t);
        if (sum == 42)
            std::printf(" ");
        t.start();
        if (!Write_File_Atomic(out_file, bytes))
            return 1;
        write.Add(t);
        t.start();
        Xml_Document rules_doc;
        if (rules_doc.Load(rules_file) != Xml_Document::State::Loaded ||
            !Write_File_Atomic(out_file, rules.Serialise()))
            return 1;
        rules_floor.Add(t);
    }
    const long memory_after_kb = Peak_Memory_KB();

    std::printf("Two object tables of %d rows (%lld bytes), median of %d runs\n", Objects_Short_Desc,
                static_cast<long long>(QFile(objects_file).size()), Runs);
    Print("load", load.Median(), 50, "ms");
    // Every row passes its rules; the count then exceeds the limit (message 1559).
    Print("check (all rows, then the count)", check.Median(), 10, "ms");
    Print("write", save.Median(), 50, "ms");
    Print("rule tables: load, check, write", rules_all.Median(), 20, "ms");
    Print("peak memory", double(Peak_Memory_KB()) / 1024.0, 100, "MB");
    std::printf("check result: %s\n", qPrintable(result.Problem_Text()));
    std::printf("BENCH tables.load %.2f %.2f ms 10 load two object tables of 2000 rows | parse their document\n",
                load.Median(), parse.Median());
    std::printf("BENCH tables.check %.2f %.2f ms 3.0 check two object tables of 2000 rows | read every cell the "
                "check reads once\n",
                check.Median(), pass.Median());
    std::printf("BENCH tables.save %.2f %.2f ms 8.0 write two object tables of 2000 rows | write the same bytes\n",
                save.Median(), write.Median());
    std::printf("BENCH tables.rules %.2f %.2f ms 4.0 rule tables: load, check, write | parse and write the same "
                "document\n",
                rules_all.Median(), rules_floor.Median());
    std::printf("BENCH tables.memory %.1f %.1f MB 3.0 peak memory after the tables | the process before them\n",
                double(memory_after_kb) / 1024.0, double(memory_before_kb) / 1024.0);
    return 0;
}
