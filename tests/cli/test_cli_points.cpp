// The points list commands over a small workspace with the configuration "Plant".

#include "cli_runner.h"
#include "core/messages.h"
#include "test_support.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QByteArray Comment = "<!--SW_VERSION = 1.000-->";

const QByteArray Objects_Doc =
    "<BACnet_to_Modbus><BACnet_in_Read>"
    "<row Data_Type=\"Analog Input\" Eng_Unit=\"62\" Position=\"0\" Bit=\"\" Length=\"4\" Swap=\"N\" "
    "Mnemonic=\"Supply, &quot;main&quot;\"/>"
    "<row Data_Type=\"Binary Input\" Eng_Unit=\"95\" Position=\"10\" Bit=\"3\" Length=\"1\" Swap=\"\" "
    "Mnemonic=\"Ventilátor €\"/>"
    "</BACnet_in_Read><BACnet_in_Write>"
    "<row Data_Type=\"Analog Out\" Eng_Unit=\"98\" Position=\"4\" Bit=\"\" Length=\"4\" Swap=\"Y\" Mnemonic=\"\"/>"
    "</BACnet_in_Write></BACnet_to_Modbus>" +
    Comment;

const QByteArray Rules_Doc = "<LoRaWAN_Set_Access><LoRaWAN_Uplink>"
                             "<row Enable=\"Y\" StartByte=\"0\" NumByte=\"10\" OnChange=\"Y\" OnCMD=\"N\" "
                             "OnTimer=\"Y\" Time=\"600\" Mnemonic=\"Meter; 1\"/>"
                             "</LoRaWAN_Uplink><LoRaWAN_Downlink>"
                             "<row Enable=\"N\" StartByte=\"20\" NumByte=\"2\" Mnemonic=\"Set\"/>"
                             "</LoRaWAN_Downlink></LoRaWAN_Set_Access>" +
                             Comment;

const QByteArray Objects_Header = "Table,Data Type,Eng. Unit,Unit Name,Position,Start Bit,Length,Swap,Mnemonic\r\n";

} // namespace

class Test_Cli_Points : public QObject
{
    Q_OBJECT

    QTemporaryDir dir_;
    QString Ws() const { return dir_.filePath(u"ws"_s); }
    QString Project() const { return Ws() + u"/PROJECTS/Plant"_s; }
    QString Objects() const { return Project() + u"/BACnet_Slave_SetAccess.xml"_s; }
    QString Rules() const { return Project() + u"/LoRaWAN_SetAccess.xml"_s; }
    QString Out(const QString &name) const { return dir_.filePath(name); }

private slots:
    void initTestCase()
    {
        QCOMPARE(Run_Cli(Ws(), {u"new"_s, u"Plant"_s}).code, 0);
        // The rule check takes the largest payload from the parameters.
        test::Write(Project() + u"/ParGen.xml"_s, "<Par_Gen><LoRa_Payload_Size>51</LoRa_Payload_Size></Par_Gen>");
    }

    void init()
    {
        test::Write(Objects(), Objects_Doc);
        test::Write(Rules(), Rules_Doc);
    }

    // An export followed by an import gives back the document byte for
    // byte, whatever the tables held in between.
    void round_trip_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("document");
        QTest::addColumn<QByteArray>("doc");
        QTest::addColumn<QByteArray>("other");
        QTest::newRow("objects") << u"objects"_s << u"BACnet_Slave_SetAccess.xml"_s << Objects_Doc
                                 << "<BACnet_to_Modbus><BACnet_in_Read/><BACnet_in_Write><row Data_Type=\"Access "
                                    "Door\" Eng_Unit=\"1\" Position=\"1\" Bit=\"\" Length=\"1\" Swap=\"N\" "
                                    "Mnemonic=\"x\"/></BACnet_in_Write></BACnet_to_Modbus>"_ba;
        QTest::newRow("rules") << u"rules"_s << u"LoRaWAN_SetAccess.xml"_s << Rules_Doc << QByteArray();
    }

    void round_trip()
    {
        QFETCH(QString, kind);
        QFETCH(QString, document);
        QFETCH(QByteArray, doc);
        QFETCH(QByteArray, other);
        const QString csv = Out(kind + u".csv"_s);
        const Cli_Run exported = Run_Cli(Ws(), {u"export-"_s + kind, u"plant"_s, csv});
        QCOMPARE(exported.code, 0);
        QCOMPARE(exported.err, QString());
        QCOMPARE(exported.out, csv + u'\n');
        QVERIFY(test::Read(csv).startsWith("\xEF\xBB\xBFTable,"));

        const QString path = Project() + u'/' + document;
        if (other.isEmpty())
            QFile::remove(path);
        else
            test::Write(path, other);
        const Cli_Run imported = Run_Cli(Ws(), {u"import-"_s + kind, u"Plant"_s, csv});
        QCOMPARE(imported.err, QString());
        QCOMPARE(imported.code, 0);
        QCOMPARE(imported.out, QDir::toNativeSeparators(path) + u'\n');
        QCOMPARE(test::Read(path), doc);
        // Commands never write the settings.
        QVERIFY(!QFileInfo::exists(Ws() + u"/Quarnel.xml"_s));
    }

    void append()
    {
        test::Write(Out(u"more.csv"_s), Objects_Header + "Write,Binary Out,,no-units,7,1,1,,Fan\r\n");
        const Cli_Run run = Run_Cli(Ws(), {u"import-objects"_s, u"Plant"_s, Out(u"more.csv"_s), u"--append"_s});
        QCOMPARE(run.code, 0);
        QByteArray expected = Objects_Doc;
        expected.replace("</BACnet_in_Write>", "<row Data_Type=\"Binary Out\" Eng_Unit=\"95\" Position=\"7\" "
                                               "Bit=\"1\" Length=\"1\" Swap=\"\" Mnemonic=\"Fan\"/></BACnet_in_Write>");
        QCOMPARE(test::Read(Objects()), expected);
    }

    // A refused import writes nothing: the document keeps its bytes, or
    // stays missing.
    void refused_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QByteArray>("csv");
        QTest::addColumn<QByteArray>("objects"); // the document before; empty: none
        QTest::addColumn<int>("code");
        QTest::addColumn<QStringList>("err"); // the lines printed, or the start of the only one
        const QString file = Out(u"in.csv"_s);
        const QString heading = Messages().Get(Msg_Points_Not_Imported).arg(file);
        const auto line = [](int n, const QString &column, const QString &reason) {
            return Messages().Get(Msg_Points_Bad_Line).arg(QString::number(n), column, reason);
        };
        const QStringList import{u"import-objects"_s, u"Plant"_s, file};
        QTest::newRow("bad lines")
            << import
            << Objects_Header + "Read,Analog Input,62,,0,,4,,a\r\nRead,Analog Input,62,percent,0,,4,,b\r\n"
                                "Rd,Analog Input,62,,0,,4,,c\r\n"
            << Objects_Doc << 1
            << QStringList{
                   heading,
                   line(3, u"\"Unit Name\""_s,
                        Messages().Get(Msg_Paste_Unit_Disagrees).arg(u"62"_s, u"degrees-Celsius"_s, u"percent"_s)),
                   line(4, u"\"Table\""_s, Messages().Get(Msg_Points_Not_A_Table).arg(u"Rd"_s, u"Read"_s, u"Write"_s))};
        QTest::newRow("bad lines, no document yet")
            << import << Objects_Header + "Read,Analog Input,62,,0,,4,,a\r\nRead,x,62,,0,,4,,b\r\n"
            << QByteArray() << 1 << QStringList{heading, line(3, u"\"Data Type\""_s, QString())};
        // Every cell passes its typing rules, but OK's check would refuse the row.
        QTest::newRow("a row the check refuses")
            << import << Objects_Header + "Read,Analog Input,62,,0,,4,,a\r\nRead,Analog Input,62,,1500,,4,,b\r\n"
            << Objects_Doc << 1 << QStringList{heading, line(3, u"\"Position\""_s, QString())};
        QTest::newRow("damaged document") << import << Objects_Header << "<BACnet_to_Modbus><BACnet_in_Read>"_ba << 1
                                          << QStringList{heading, QFileInfo(Objects()).fileName()};
        // The row after the empty Data Type would join the appended rows.
        QTest::newRow("append to rows at risk")
            << (import + QStringList{u"--append"_s}) << Objects_Header + "Read,Accumulator,95,,0,,4,,a\r\n"
            << "<BACnet_to_Modbus><BACnet_in_Read><row Data_Type=\"\" Eng_Unit=\"\" Position=\"\" Bit=\"\" "
               "Length=\"\" Swap=\"\" Mnemonic=\"\"/><row Data_Type=\"Analog Input\" Eng_Unit=\"62\" Position=\"0\" "
               "Bit=\"\" Length=\"4\" Swap=\"\" Mnemonic=\"lost\"/></BACnet_in_Read><BACnet_in_Write/>"
               "</BACnet_to_Modbus><!--SW_VERSION = 1.000-->"_ba
            << 1 << QStringList{heading, Messages().Get(Msg_Rows_Not_Saved).left(10)};
        QTest::newRow("no such file") << QStringList{u"import-objects"_s, u"Plant"_s, Out(u"missing.csv"_s)}
                                      << QByteArray() << Objects_Doc << 1
                                      << QStringList{
                                             Messages().Get(Msg_File_Not_Read).arg(Out(u"missing.csv"_s), QString())};
        QTest::newRow("unknown configuration") << QStringList{u"import-objects"_s, u"Other"_s, file} << Objects_Header
                                               << Objects_Doc << 1 << QStringList{Messages().Get(18)};
        QTest::newRow("empty file name") << QStringList{u"import-objects"_s, u"Plant"_s, QString()} << QByteArray()
                                         << Objects_Doc << 2 << QStringList{u"Usage: "_s};
        QTest::newRow("no file") << QStringList{u"import-objects"_s, u"Plant"_s} << QByteArray() << Objects_Doc << 2
                                 << QStringList{u"Usage: "_s};
        QTest::newRow("extra argument") << (import + QStringList{u"x"_s}) << Objects_Header << Objects_Doc << 2
                                        << QStringList{u"Usage: "_s};
        QTest::newRow("append to an export")
            << QStringList{u"export-objects"_s, u"Plant"_s, file, u"--append"_s} << Objects_Header << Objects_Doc << 2
            << QStringList{u"The command export-objects takes no option --append."_s};
    }

    void refused()
    {
        QFETCH(QStringList, args);
        QFETCH(QByteArray, csv);
        QFETCH(QByteArray, objects);
        QFETCH(int, code);
        QFETCH(QStringList, err);
        const QString file = Out(u"in.csv"_s);
        QFile::remove(file);
        if (!csv.isEmpty())
            test::Write(file, csv);
        if (objects.isEmpty())
            QFile::remove(Objects());
        else
            test::Write(Objects(), objects);

        const Cli_Run run = Run_Cli(Ws(), args);
        QCOMPARE(run.code, code);
        QCOMPARE(run.out, QString());
        const QStringList lines = run.err.split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), err.size());
        for (int i = 0; i < err.size(); ++i)
            QVERIFY2(lines[i].startsWith(err[i]) || lines[i].contains(err[i]), qPrintable(run.err));
        if (objects.isEmpty())
            QVERIFY(!QFileInfo::exists(Objects()));
        else
            QCOMPARE(test::Read(Objects()), objects);
        // Nothing beside the documents either (an atomic write leaves no temporary file).
        QCOMPARE(QDir(Project()).entryList(QDir::Files).size(), objects.isEmpty() ? 2 : 3);
    }

    void export_refused()
    {
        test::Write(Objects(), "<BACnet_to_Modbus>");
        const QString file = Out(u"never.csv"_s);
        const Cli_Run run = Run_Cli(Ws(), {u"export-objects"_s, u"Plant"_s, file});
        QCOMPARE(run.code, 1);
        QVERIFY2(run.err.contains(QFileInfo(Objects()).fileName()), qPrintable(run.err));
        QVERIFY(!QFileInfo::exists(file));

        const QString unwritable = Out(u"missing/folder/out.csv"_s);
        const Cli_Run write = Run_Cli(Ws(), {u"export-rules"_s, u"Plant"_s, unwritable});
        QCOMPARE(write.code, 1);
        QVERIFY2(write.err.contains(QDir::toNativeSeparators(unwritable)), qPrintable(write.err));
    }
};

QTEST_APPLESS_MAIN(Test_Cli_Points)
#include "test_cli_points.moc"
