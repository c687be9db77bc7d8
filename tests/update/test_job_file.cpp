#include "compiler/config_checks.h"
#include "core/xml_document.h"
#include "params/pargen_document.h"
#include "test_support.h"
#include "update/ip_address.h"
#include "update/job_file.h"
#include "workspace/workspace.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <unistd.h>

namespace {

Boot_Job Sample_Job(const QString &root)
{
    Boot_Job job;
    job.IP = {QStringLiteral("192"), QStringLiteral("168"), QStringLiteral("2"), QStringLiteral("205")};
    job.Path_Exe = root;
    job.Path_Master = root + QStringLiteral("/MASTER");
    job.Path_Project = root + QStringLiteral("/PROJECTS/Plant");
    return job;
}

// The children of an operation, by name, in document order.
QStringList Child_Names(pugi::xml_node node)
{
    QStringList names;
    for (pugi::xml_node child : node.children())
        names << QString::fromUtf8(child.name());
    return names;
}

QString Text(pugi::xml_node node, const char *name)
{
    return Child_Text_Def(node, name, QStringLiteral("<missing>"));
}

} // namespace

class Test_Job_File : public QObject
{
    Q_OBJECT

private slots:
    void split_ip_address_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QString>("joined");
        QTest::newRow("plain") << QStringLiteral("192.168.2.205") << true << QStringLiteral("192.168.2.205");
        QTest::newRow("blanks trimmed") << QStringLiteral("  10 . 0 .0. 1  ") << true << QStringLiteral("10.0.0.1");
        QTest::newRow("leading zeros kept")
            << QStringLiteral("192.168.002.205") << true << QStringLiteral("192.168.002.205");
        QTest::newRow("bounds") << QStringLiteral("0.0.255.255") << true << QStringLiteral("0.0.255.255");
        QTest::newRow("hex reads as a number") << QStringLiteral("0x10.1.1.1") << true << QStringLiteral("0x10.1.1.1");
        QTest::newRow("above 255") << QStringLiteral("192.168.2.300") << false << QStringLiteral("192.168.2.300");
        QTest::newRow("negative") << QStringLiteral("-1.1.1.1") << false << QStringLiteral("-1.1.1.1");
        QTest::newRow("five parts") << QStringLiteral("1.2.3.4.5") << false << QStringLiteral("1.2.3.4.5");
        QTest::newRow("three parts") << QStringLiteral("1.2.3") << false << QStringLiteral("1.2..");
        QTest::newRow("empty octet") << QStringLiteral("1..3.4") << false << QStringLiteral("1..3.4");
        QTest::newRow("not a number") << QStringLiteral("a.b.c.d") << false << QStringLiteral("a.b.c.d");
        QTest::newRow("empty") << QString() << false << QStringLiteral("...");
        QTest::newRow("name") << QStringLiteral("localhost") << false << QStringLiteral("...");
    }

    void split_ip_address()
    {
        QFETCH(QString, text);
        QFETCH(bool, accepted);
        QFETCH(QString, joined);
        IP_Octets octets;
        QCOMPARE(Split_IP_Address(text, &octets), accepted);
        QCOMPARE(Join_IP_Address(octets), joined);
        quint32 address = 0;
        QCOMPARE(IPv4_From_Text(text, &address), accepted);
    }

    // A paste fills the four boxes only with an address the ping can use,
    // each octet as the number it reads as; anything else is pasted as usual.
    void pasted_address_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("octets"); // empty: not an address, a paste as usual
        const auto octets = [](const char *a, const char *b, const char *c, const char *d) {
            return QStringList{QLatin1StringView(a), QLatin1StringView(b), QLatin1StringView(c), QLatin1StringView(d)};
        };
        QTest::newRow("plain") << QStringLiteral("192.168.2.205") << octets("192", "168", "2", "205");
        QTest::newRow("blanks around") << QStringLiteral(" 10.0.0.7 ") << octets("10", "0", "0", "7");
        QTest::newRow("line end") << QStringLiteral("10.0.0.7\r\n") << octets("10", "0", "0", "7");
        QTest::newRow("blanks inside") << QStringLiteral("10 . 0 .0.\t7") << octets("10", "0", "0", "7");
        QTest::newRow("leading zeros") << QStringLiteral("192.168.002.005") << octets("192", "168", "2", "5");
        QTest::newRow("hex octets") << QStringLiteral("0x0A.$FF.0.1") << octets("10", "255", "0", "1");
        QTest::newRow("bounds") << QStringLiteral("0.0.255.255") << octets("0", "0", "255", "255");
        QTest::newRow("one number") << QStringLiteral("12") << QStringList();
        QTest::newRow("three parts") << QStringLiteral("1.2.3") << QStringList();
        QTest::newRow("above 255") << QStringLiteral("1.2.3.300") << QStringList();
        QTest::newRow("five parts") << QStringLiteral("1.2.3.4.5") << QStringList();
        QTest::newRow("empty octet") << QStringLiteral("1..3.4") << QStringList();
        QTest::newRow("negative") << QStringLiteral("-1.2.3.4") << QStringList();
        QTest::newRow("words after") << QStringLiteral("192.168.2.205 converter") << QStringList();
        QTest::newRow("second line") << QStringLiteral("10.0.0.7\n10.0.0.8") << QStringList();
        QTest::newRow("empty") << QString() << QStringList();
    }

    void pasted_address()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, octets);
        const std::optional<IP_Octets> pasted = Pasted_Address(text);
        QCOMPARE(pasted.has_value(), !octets.isEmpty());
        if (pasted)
            QCOMPARE((QStringList{pasted->begin(), pasted->end()}), octets);
    }

    void address_number()
    {
        quint32 address = 0;
        QVERIFY(IPv4_From_Text(QStringLiteral("192.168.2.205"), &address));
        QCOMPARE(address, 0xC0A802CDu);
        QVERIFY(IPv4_From_Text(QStringLiteral("127.0.0.1"), &address));
        QCOMPARE(address, 0x7F000001u);
    }

    void operations_data()
    {
        QTest::addColumn<int>("option");
        QTest::addColumn<bool>("read_back");
        QTest::addColumn<QStringList>("files");     // Ope_FileName of each operation
        QTest::addColumn<QStringList>("go_to_app"); // Ope_GoToApp_After of each operation
        QTest::addColumn<QStringList>("internal");  // Ope_Write_Internal_Data of each operation
        const QString fw = QDir::toNativeSeparators(QStringLiteral("%1/MASTER/Sim52K31.sim"));
        const QString b1 = QDir::toNativeSeparators(QStringLiteral("%1/PROJECTS/Plant/bin/bank1.bin"));
        const QString b2 = QDir::toNativeSeparators(QStringLiteral("%1/PROJECTS/Plant/bin/bank2.bin"));
        const QString one = QStringLiteral("1");
        const QString zero = QStringLiteral("0");
        QTest::newRow("0 firmware + configuration")
            << 0 << true << QStringList{fw, b1, b2} << QStringList{zero, zero, one} << QStringList{zero, one, zero};
        QTest::newRow("0 without read-back")
            << 0 << false << QStringList{fw, b1, b2} << QStringList{zero, zero, one} << QStringList{zero, one, zero};
        QTest::newRow("1 firmware") << 1 << true << QStringList{fw} << QStringList{one} << QStringList{zero};
        QTest::newRow("1 without read-back") << 1 << false << QStringList{fw} << QStringList{one} << QStringList{zero};
        QTest::newRow("2 configuration") << 2 << true << QStringList{b1, b2} << QStringList{zero, one}
                                         << QStringList{one, zero};
        QTest::newRow("2 without read-back")
            << 2 << false << QStringList{b1, b2} << QStringList{zero, one} << QStringList{one, zero};
    }

    void operations()
    {
        QFETCH(int, option);
        QFETCH(bool, read_back);
        QFETCH(QStringList, files);
        QFETCH(QStringList, go_to_app);
        QFETCH(QStringList, internal);
        QTemporaryDir dir;
        Boot_Job job = Sample_Job(dir.path());
        job.Option = option;
        job.Read_Back = read_back;
        const Result<> written = Compile_XML_Parameter_New_Boot(job);
        QVERIFY2(written.Ok(), qPrintable(written.Problem()));

        Xml_Document doc;
        QCOMPARE(doc.Load(dir.filePath(QStringLiteral("Ethernet_Update.xml"))), Xml_Document::State::Loaded);
        const pugi::xml_node operations = doc.Root().child("Operations");
        int index = 0;
        for (pugi::xml_node op : operations.children()) {
            QVERIFY(index < files.size());
            QCOMPARE(QString::fromUtf8(op.name()), QStringLiteral("Operation"));
            QCOMPARE(Text(op, "Ope_FileName"), files[index].arg(dir.path()));
            QCOMPARE(Text(op, "Ope_GoToApp_After"), go_to_app[index]);
            QCOMPARE(Text(op, "Ope_Write_Internal_Data"), internal[index]);
            QCOMPARE(Text(op, "Ope_Read_Back"), read_back ? QStringLiteral("1") : QStringLiteral("0"));
            ++index;
        }
        QCOMPARE(index, files.size());
    }

    // The whole document for option 0, byte for byte: element order, fixed
    // texts, empty elements and the three kinds of operation.
    void whole_document()
    {
        Boot_Job job = Sample_Job(QStringLiteral("/ws"));
        job.BACnet_Type = 1;
        const auto op = [](const char *file, const char *start, const char *bank, const char *css, const char *wid,
                           const char *app) -> QByteArray {
            return QByteArray("<Operation><Ope_Protection_Enabled/><Ope_GoToBoot_Before>0</Ope_GoToBoot_Before>"
                              "<Ope_GoToApp_Before>0</Ope_GoToApp_Before><Ope_IP_Address/><Ope_Port>2008</Ope_Port>"
                              "<Ope_Port_Sec>2007</Ope_Port_Sec><Ope_Erase_Memory>0</Ope_Erase_Memory>"
                              "<Ope_FileName>") +
                   file + "</Ope_FileName><Ope_Start_Address>" + start +
                   "</Ope_Start_Address><Ope_Memory_Type>0</Ope_Memory_Type><Ope_Bank_Type>" + bank +
                   "</Ope_Bank_Type><Ope_Read_Back>1</Ope_Read_Back><Ope_Write_CSS>" + css +
                   "</Ope_Write_CSS><Ope_Address_CSS>0x07A00</Ope_Address_CSS><Ope_Command_CSS>0x02</Ope_Command_CSS>"
                   "<Ope_Write_Internal_Data>" +
                   wid +
                   "</Ope_Write_Internal_Data><Ope_WID_Address>0x07810</Ope_WID_Address>"
                   "<Ope_WID_Command>0x02</Ope_WID_Command><Ope_WID_Data>0x00, 0x00, 0x00, 0x01</Ope_WID_Data>"
                   "<Ope_GoToApp_After>" +
                   app + "</Ope_GoToApp_After></Operation>";
        };
        const QByteArray expected =
            "<Ethernet_Update><Version>1000</Version><Title>Tavelin - SW52K31 Ethernet Update</Title>"
            "<IP_Address_Dev>192.168.2.205</IP_Address_Dev><Application_Port>10000</Application_Port>"
            "<Boot_Port>2008</Boot_Port><Boot_Port_Sec>2007</Boot_Port_Sec>"
            "<Address_Protection>0x07800</Address_Protection><Protections><Protection>0x304</Protection>"
            "</Protections><Operations>" +
            op("/ws/MASTER/Sim52K31.sim", "0x8000", "1", "1", "0", "0") +
            op("/ws/PROJECTS/Plant/bin/bank1.bin", "0x07000", "2", "0", "1", "0") +
            op("/ws/PROJECTS/Plant/bin/bank2.bin", "0x80000", "2", "0", "0", "1") + "</Operations></Ethernet_Update>";
        QCOMPARE(Build_Job_File(job), expected);

        Xml_Document doc;
        QVERIFY(doc.Doc().load_buffer(expected.constData(), size_t(expected.size())));
        const QStringList children = Child_Names(doc.Root().child("Operations").first_child());
        QCOMPARE(children.size(), 20);
    }

    void protection_and_address_data()
    {
        QTest::addColumn<QByteArray>("pargen"); // empty: no parameter document
        QTest::addColumn<QString>("protection");
        QTest::newRow("MS/TP") << QByteArray("<Par_Gen><BACnet_Type>1</BACnet_Type></Par_Gen>")
                               << QStringLiteral("0x304");
        QTest::newRow("BACnet/IP") << QByteArray("<Par_Gen><BACnet_Type>0</BACnet_Type></Par_Gen>")
                                   << QStringLiteral("0x303");
        QTest::newRow("other value") << QByteArray("<Par_Gen><BACnet_Type>7</BACnet_Type></Par_Gen>")
                                     << QStringLiteral("0x303");
        QTest::newRow("hex one") << QByteArray("<Par_Gen><BACnet_Type>0x1</BACnet_Type></Par_Gen>")
                                 << QStringLiteral("0x304");
        QTest::newRow("not a number") << QByteArray("<Par_Gen><BACnet_Type>MS</BACnet_Type></Par_Gen>")
                                      << QStringLiteral("0x303");
        QTest::newRow("no key") << QByteArray("<Par_Gen/>") << QStringLiteral("0x303");
        QTest::newRow("damaged") << QByteArray("<Par_Gen><BACnet_Type>1</BACnet_Type>") << QStringLiteral("0x303");
        QTest::newRow("no document") << QByteArray() << QStringLiteral("0x303");
    }

    void protection_and_address()
    {
        QFETCH(QByteArray, pargen);
        QFETCH(QString, protection);
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("ParGen.xml"));
        if (!pargen.isEmpty())
            test::Write(file, pargen);
        Boot_Job job = Sample_Job(dir.path());
        job.IP = {QStringLiteral("10"), QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("7")};
        job.BACnet_Type = Get_Type_BACnet(Read_ParGen_Document(file));
        const QByteArray bytes = Build_Job_File(job);
        Xml_Document doc;
        QVERIFY(doc.Doc().load_buffer(bytes.constData(), size_t(bytes.size())));
        QCOMPARE(Text(doc.Root().child("Protections"), "Protection"), protection);
        QCOMPARE(Text(doc.Root(), "IP_Address_Dev"), QStringLiteral("10.0.0.7"));
    }

    void replaces_an_older_job_file()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Ethernet_Update.xml"));
        test::Write(path, "<old>something much longer than nothing at all</old>");
        Boot_Job job = Sample_Job(dir.path());
        job.Option = 1;
        QVERIFY(Compile_XML_Parameter_New_Boot(job).Ok());
        QCOMPARE(test::Read(path), Build_Job_File(job));
    }

    void write_failure_is_reported_and_keeps_the_old_file()
    {
        if (geteuid() == 0)
            QSKIP("root writes into read-only folders");
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Ethernet_Update.xml"));
        test::Write(path, "<old/>");
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
        const Result<> written = Compile_XML_Parameter_New_Boot(Sample_Job(dir.path()));
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(!written);
        QVERIFY(written.Problem().contains(QStringLiteral("Ethernet_Update.xml")));
        QCOMPARE(test::Read(path), QByteArray("<old/>"));
    }

    void write_failure_in_a_missing_folder()
    {
        QTemporaryDir dir;
        const Result<> written = Compile_XML_Parameter_New_Boot(Sample_Job(dir.filePath(QStringLiteral("gone"))));
        QVERIFY(!written);
        QVERIFY(written.Problem().contains(QStringLiteral("Ethernet_Update.xml")));
    }

    void write_failure_when_a_folder_is_in_the_way()
    {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("Ethernet_Update.xml")));
        const Result<> written = Compile_XML_Parameter_New_Boot(Sample_Job(dir.path()));
        QVERIFY(!written);
        QVERIFY(written.Problem().contains(QStringLiteral("Ethernet_Update.xml")));
        QVERIFY(QFileInfo(dir.filePath(QStringLiteral("Ethernet_Update.xml"))).isDir());
    }

    // The job that the update window and the command line both make: the
    // folders of the workspace and its open configuration, the address as
    // typed. A job that goes ahead is remembered as typed, not normalised.
    void job_of_the_open_configuration()
    {
        Workspace ws;
        ws.Path_Exe = QStringLiteral("/ws");
        ws.Path_Master = QStringLiteral("/ws/MASTER");
        ws.Path_Projects = QStringLiteral("/ws/PROJECTS");
        ws.Open_Configuration(QStringLiteral("Plant"));
        const IP_Octets ip{QStringLiteral("10"), QStringLiteral("0"), QStringLiteral("002"), QStringLiteral("7")};
        const Boot_Job job = Make_Boot_Job(ws, ip, 2, false, 1);
        QCOMPARE(job.IP, ip);
        QCOMPARE(job.Option, 2);
        QVERIFY(!job.Read_Back);
        QCOMPARE(job.BACnet_Type, 1);
        QCOMPARE(job.Path_Exe, QStringLiteral("/ws"));
        QCOMPARE(job.Path_Master, QStringLiteral("/ws/MASTER"));
        QCOMPARE(job.Path_Project, QStringLiteral("/ws/PROJECTS/Plant"));

        QCOMPARE(ws.Last_IP_Address, QStringLiteral("192.168.2.205"));
        Remember_Boot_Job(ws, job);
        QCOMPARE(ws.Last_IP_Address, QStringLiteral("10.0.002.7"));
        QCOMPARE(ws.Update_Option, 2);
        QVERIFY(!ws.Update_Read_Back);
    }

    void invalid_option_writes_nothing()
    {
        QTemporaryDir dir;
        Boot_Job job = Sample_Job(dir.path());
        job.Option = 3;
        const Result<> written = Compile_XML_Parameter_New_Boot(job);
        QVERIFY(!written);
        QCOMPARE(written.Problem(), QStringLiteral("Error! The update option 3 is not valid: use 0, 1 or 2"));
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("Ethernet_Update.xml"))));
        QVERIFY(Build_Job_File(job).isEmpty());
    }
};

QTEST_APPLESS_MAIN(Test_Job_File)
#include "test_job_file.moc"
