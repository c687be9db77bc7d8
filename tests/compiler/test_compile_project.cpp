#include "compiler/bank_files.h"
#include "compiler/checksum.h"
#include "compiler/compile_project.h"
#include "fixtures.h"
#include "gate/gated_outputs.h"
#include "test_support.h"
#include "workspace/workspace.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace fixture;

namespace {

void Put32(QByteArray &b, int at, quint32 v)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = char((v >> (8 * i)) & 0xFF);
}

void Put16(QByteArray &b, int at, quint32 v)
{
    b[at] = char(v & 0xFF);
    b[at + 1] = char((v >> 8) & 0xFF);
}

// Bank 1 of a configuration without documents, built from the layout table.
QByteArray Initial_Bank1()
{
    QByteArray b(2048, '\0');
    Put32(b, 0x000, 250000);
    Put32(b, 0x004, 250000);
    Put32(b, 0x00C, 9600);
    b.replace(0x028, 12, QByteArray::fromHex("C0A802CDFFFFFF00FFFFFFFF"));
    Put16(b, 0x034, 10000);
    Put16(b, 0x036, 10001);
    Put16(b, 0x038, 10001);
    Put32(b, 0x0F8, 0x82000);
    for (int i = 0; i < 8; ++i)
        b[0x1B4 + i] = 8;
    Put32(b, 0x65C, 0x80000);
    Put32(b, 0x7FC, Own_Sum(b));
    return b;
}

} // namespace

class Test_Compile_Project : public QObject
{
    Q_OBJECT

    QTemporaryDir dir_;
    Workspace ws_;

    void Reset()
    {
        QDir(dir_.filePath(QStringLiteral("P"))).removeRecursively();
        QDir().mkpath(dir_.filePath(QStringLiteral("P/bin")));
        ws_.Path_Projects = dir_.path();
        ws_.Open_Configuration(QStringLiteral("P"));
    }

    void Window_Configuration(bool long_descriptions)
    {
        Write_ParGen(ws_.File_ParGen,
                     With(Window_ParGen(), {{S("BACnet_Desc_Chars_Limit"), long_descriptions ? S("1") : S("0")}}));
        Write_Rules(ws_.File_LoRaWAN_Access, {Uplink(S("Y"), S("0"), S("10"), S("Y"), S("N"), S("Y"), S("600"))},
                    {Downlink(S("Y"), S("100"), S("2"))});
        Write_Objects(ws_.File_BACnet_Slave_Access,
                      {Object(S("Analog Input"), S("62"), S("0"), S(""), S("4"), S("Temperature")),
                       Object(S("Binary Input"), S("95"), S("4"), S("0"), S("1"), S(""))},
                      {Object(S("Analog Value"), S("98"), S("10"), S(""), S("4"), S("Set point"))});
    }

private slots:
    void init() { Reset(); }

    void checksum_is_the_plain_sum()
    {
        QByteArray ff(2048, char(0xFF));
        const auto *bytes = reinterpret_cast<const std::uint8_t *>(ff.constData());
        QCOMPARE(Parameter_Checksum(std::span(bytes, 2048)), 521220u);
    }

    // Blocks whose first and last summed bytes are set: every compiled block
    // holds 0 at 2043 (a reserved byte), so only such blocks show a sum that
    // stops one byte short. The sum goes little-endian into bytes 2044 to 2047.
    void checksum_of_a_block_data()
    {
        QTest::addColumn<QByteArray>("block");
        QTest::addColumn<quint32>("sum");
        const auto block = [](std::initializer_list<std::pair<int, int>> bytes) {
            QByteArray b(2048, '\0');
            for (const auto &[at, value] : bytes)
                b[at] = char(value);
            return b;
        };
        QTest::newRow("zero") << block({}) << 0u;
        QTest::newRow("first byte") << block({{0, 0xFF}}) << 255u;
        QTest::newRow("last summed byte") << block({{2043, 0x80}}) << 128u;
        QTest::newRow("both ends") << block({{0, 1}, {2043, 2}}) << 3u;
        QTest::newRow("checksum bytes not summed") << block({{2044, 0xFF}, {2045, 1}, {2046, 2}, {2047, 0xFF}}) << 0u;
        QByteArray ascending(2048, '\0');
        for (int i = 0; i < 2048; ++i)
            ascending[i] = char(i);
        // Seven runs of 0 to 255 (7 x 32640), then 0 to 251 (31626).
        QTest::newRow("ascending bytes") << ascending << 260106u;
        QTest::newRow("all 0xFF") << QByteArray(2048, char(0xFF)) << 521220u;
    }

    void checksum_of_a_block()
    {
        QFETCH(QByteArray, block);
        QFETCH(quint32, sum);
        QCOMPARE(Own_Sum(block), sum);
        const auto *bytes = reinterpret_cast<const std::uint8_t *>(block.constData());
        QCOMPARE(Parameter_Checksum(std::span(bytes, 2048)), sum);
        QByteArray stored = block;
        Store_Checksum(std::span(reinterpret_cast<std::uint8_t *>(stored.data()), 2048));
        QCOMPARE(stored.left(2044), block.left(2044));
        QByteArray little_endian(4, '\0');
        Put32(little_endian, 0, sum);
        QCOMPARE(stored.mid(2044).toHex(), little_endian.toHex());
    }

    void no_documents()
    {
        const Result<Bank_Images> r = Compile_Project(ws_);
        QVERIFY(r.Ok());
        QCOMPARE(r->bank1.toHex(), Initial_Bank1().toHex());
        QByteArray bank2(75776, '\0');
        bank2[0x03] = 6;                                                 // data rate
        bank2[0x42] = 1;                                                 // payload size
        bank2[0x44] = 1;                                                 // transmit interval
        bank2.replace(0x48, 8, QByteArray::fromHex("0004080000100800")); // table addresses
        QCOMPARE(r->bank2, bank2);
    }

    void window_configuration_is_stable()
    {
        Window_Configuration(false);
        const Result<Bank_Images> first = Compile_Project(ws_);
        const Result<Bank_Images> second = Compile_Project(ws_);
        QVERIFY(first.Ok() && second.Ok());
        QCOMPARE(first->bank1.size(), 2048);
        QCOMPARE(first->bank2.size(), 75776);
        QCOMPARE(first->bank1, second->bank1);
        QCOMPARE(first->bank2, second->bank2);
        QCOMPARE(U32(first->bank1, 0x7FC), Own_Sum(first->bank1));
    }

    // The description length moves the text area and every description
    // address, never the size of bank 2.
    void description_length_moves_the_text_area()
    {
        Window_Configuration(false);
        const QByteArray short_b2 = Compile_Project(ws_)->bank2;
        Window_Configuration(true);
        const QByteArray long_b2 = Compile_Project(ws_)->bank2;
        QCOMPARE(short_b2.size(), 75776);
        QCOMPARE(long_b2.size(), 75776);
        const quint32 addresses[][2] = {{0x89FF1, 0x85FF1}, {0x89FF0, 0x85FF0}, {0x89FFD, 0x85FFD}};
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(U32(short_b2, 0x2000 + 16 * i + 8), addresses[i][0]);
            QCOMPARE(U32(long_b2, 0x2000 + 16 * i + 8), addresses[i][1]);
        }
        QCOMPARE(short_b2.mid(0x9FF0, 13), QByteArray("\0Temperature\0", 13));
        QCOMPARE(long_b2.mid(0x5FF0, 13), QByteArray("\0Temperature\0", 13));
        QCOMPARE(short_b2.left(0x2000), long_b2.left(0x2000));
    }

    void damaged_documents_stop_data()
    {
        QTest::addColumn<int>("which");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("where");
        QTest::newRow("parameters") << 0 << QByteArray("<Par_Gen><LoRa_RF_Band>AS923</Par_Gen>")
                                    << S("line 1, column 31");
        QTest::newRow("rules") << 1 << QByteArray("<LoRaWAN_Set_Access>\n<LoRaWAN_Uplink>\n<row Enable=Y/>")
                               << S("line 3, column 13");
        QTest::newRow("objects") << 2 << QByteArray("<BACnet_to_Modbus>\n\n  <BACnet_in_Read><row></BACnet_in_Read>")
                                 << S("line 3");
        QTest::newRow("empty file") << 2 << QByteArray() << S("line 1");
    }

    void damaged_documents_stop()
    {
        QFETCH(int, which);
        QFETCH(QByteArray, content);
        QFETCH(QString, where);
        Window_Configuration(false);
        const QString file = which == 0   ? ws_.File_ParGen
                             : which == 1 ? ws_.File_LoRaWAN_Access
                                          : ws_.File_BACnet_Slave_Access;
        test::Write(file, content);
        const Result<Bank_Images> r = Compile_Project(ws_);
        QVERIFY(!r.Ok());
        QVERIFY2(r.Problem().contains(QDir::toNativeSeparators(file)) && r.Problem().contains(where),
                 qPrintable(r.Problem()));
    }

    void writes_both_files()
    {
        Window_Configuration(false);
        QDir(ws_.Path_Project + QStringLiteral("/bin")).removeRecursively(); // made again when missing
        const Result<QStringList> written = Compile_Configuration(ws_);
        QVERIFY2(written, qPrintable(written.Problem()));
        QCOMPARE(written.Value(), (QStringList{Bank1_Path(ws_.Path_Project), Bank2_Path(ws_.Path_Project)}));
        const Result<Bank_Images> r = Compile_Project(ws_);
        QCOMPARE(test::Read(written.Value()[0]), r->bank1);
        QCOMPARE(test::Read(written.Value()[1]), r->bank2);
    }

    // A refused update leaves the images of the last good one untouched. The
    // refusal is the gate's: the window checks find the number and the key
    // before the compiler would.
    void refusals_write_nothing_data()
    {
        QTest::addColumn<int>("fault");
        QTest::addColumn<QString>("message");
        QTest::newRow("rule too long for the payload")
            << 0 << S("Error in configuration, Num. Byte not conformed with Max Payload Size");
        QTest::newRow("strict number") << 1 << S("[BACnet in Write] Length with variable \"Analog Value\"");
        QTest::newRow("damaged objects") << 2 << S("BACnet_Slave_SetAccess.xml is damaged");
        QTest::newRow("key too long") << 3 << S("Device Address must have 4 bytes");
    }

    void refusals_write_nothing()
    {
        QFETCH(int, fault);
        QFETCH(QString, message);
        Window_Configuration(false);
        QVERIFY(Compile_Configuration(ws_));
        const QByteArray old1 = test::Read(Bank1_Path(ws_.Path_Project));
        const QByteArray old2 = test::Read(Bank2_Path(ws_.Path_Project));
        switch (fault) {
        case 0:
            Write_Rules(ws_.File_LoRaWAN_Access, {Uplink(S("Y"), S("0"), S("229"), S("Y"), S("N"), S("N"), S("30"))});
            break;
        case 1:
            Write_Objects(ws_.File_BACnet_Slave_Access, {},
                          {Object(S("Analog Value"), S("1"), S("0"), S(""), S("four"))});
            break;
        case 2:
            test::Write(ws_.File_BACnet_Slave_Access, "<BACnet_to_Modbus>");
            break;
        case 3:
            Write_ParGen(ws_.File_ParGen, With(Window_ParGen(), {{S("LoRa_Device_Address"), S("0123456789")}}));
            break;
        }
        const Result<QStringList> written = Compile_Configuration(ws_);
        QVERIFY(!written);
        QVERIFY2(written.Problem().contains(message), qPrintable(written.Problem()));
        QCOMPARE(test::Read(Bank1_Path(ws_.Path_Project)), old1);
        QCOMPARE(test::Read(Bank2_Path(ws_.Path_Project)), old2);
    }

    void no_open_configuration()
    {
        Workspace none;
        none.Path_Projects = dir_.path();
        none.Open_Configuration(QString());
        const Result<QStringList> written = Compile_Configuration(none);
        QVERIFY(!written);
        QCOMPARE(written.Problem(), QStringLiteral("Error! Project not Valid"));
        QVERIFY(!QFileInfo::exists(QStringLiteral("/bin/bank1.bin")));
    }

    // The open configuration's folder was renamed outside the program: no
    // folder is made again, no image compiled from the defaults of the
    // documents that went with it.
    void folder_gone_writes_nothing_data()
    {
        QTest::addColumn<bool>("whole_step"); // Compile_Configuration, else Write_Bank_Files alone
        QTest::newRow("update step") << true;
        QTest::newRow("writing the images") << false;
    }

    void folder_gone_writes_nothing()
    {
        QFETCH(bool, whole_step);
        Window_Configuration(false);
        const Result<Bank_Images> images = Compile_Project(ws_);
        QVERIFY(images.Ok());
        const QString renamed = dir_.filePath(QStringLiteral("P renamed"));
        QDir(renamed).removeRecursively();
        QVERIFY(QDir().rename(ws_.Path_Project, renamed));
        const Result<QStringList> written =
            whole_step ? Compile_Configuration(ws_) : Write_Bank_Files(ws_.Path_Project, images.Value());
        QVERIFY(!written);
        QCOMPARE(written.Problem(), S("Error! Project not Valid\nThe folder %1 of the configuration no longer exists: "
                                      "it was moved, renamed or deleted outside the program. Nothing was written; "
                                      "open or create a configuration.")
                                        .arg(QDir::toNativeSeparators(ws_.Path_Project)));
        QVERIFY(!QFileInfo::exists(ws_.Path_Project));
        QCOMPARE(QDir(renamed + S("/bin")).entryList(QDir::Files), QStringList());
    }

    void write_failures_are_reported()
    {
        const Result<Bank_Images> r = Compile_Project(ws_);
        QVERIFY(r.Ok());
        // "bin" is a file: neither image can be written.
        QDir(ws_.Path_Project + QStringLiteral("/bin")).removeRecursively();
        test::Write(ws_.Path_Project + QStringLiteral("/bin"), "not a folder");
        const Result<QStringList> written = Write_Bank_Files(ws_.Path_Project, r.Value());
        QVERIFY(!written);
        const QString &problem = written.Problem();
        QVERIFY(!QFileInfo(Bank1_Path(ws_.Path_Project)).exists());
        QVERIFY2(problem.startsWith(QStringLiteral("Error! The file %1 could not be written")
                                        .arg(QDir::toNativeSeparators(Bank1_Path(ws_.Path_Project)))),
                 qPrintable(problem));
    }

    // Bank 2 cannot be written: bank 1 is not replaced either, so the old
    // pair stays whole, and the message names bank 2.
    void second_write_failure_is_reported()
    {
        const Result<Bank_Images> r = Compile_Project(ws_);
        const QByteArray old_bank1 = "old bank 1";
        test::Write(Bank1_Path(ws_.Path_Project), old_bank1);
        QVERIFY(QDir().mkpath(Bank2_Path(ws_.Path_Project))); // a folder in the way
        const Result<QStringList> written = Write_Bank_Files(ws_.Path_Project, r.Value());
        QVERIFY(!written);
        QCOMPARE(test::Read(Bank1_Path(ws_.Path_Project)), old_bank1);
        const QString &problem = written.Problem();
        QVERIFY2(problem.contains(QDir::toNativeSeparators(Bank2_Path(ws_.Path_Project))) &&
                     !problem.contains(QStringLiteral("already replaced")),
                 qPrintable(problem));
        // Nothing left beside them.
        QCOMPARE(QDir(ws_.Path_Project + QStringLiteral("/bin")).entryList(QDir::Files),
                 QStringList{QStringLiteral("bank1.bin")});
    }
};

QTEST_APPLESS_MAIN(Test_Compile_Project)
#include "test_compile_project.moc"
