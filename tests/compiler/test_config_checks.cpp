#include "compiler/config_checks.h"
#include "core/messages.h"
#include "params/pargen_document.h"
#include "tables/rule_document.h"
#include "tables/table_messages.h"
#include "tables/uplink_fit.h"
#include "test_support.h"
#include "workspace/workspace.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString No_File = S("<no file>");

} // namespace

class Test_Config_Checks : public QObject
{
    Q_OBJECT

    QTemporaryDir dir_;
    QString Pargen() const { return dir_.filePath(QStringLiteral("ParGen.xml")); }
    QString Rules() const { return dir_.filePath(QStringLiteral("LoRaWAN_SetAccess.xml")); }

    // Writes `content` to `path`, or removes the file for No_File.
    static void Put(const QString &path, const QString &content)
    {
        QFile::remove(path);
        if (content != No_File)
            test::Write(path, content.toUtf8());
    }

    static QString Payload(const char *value)
    {
        return S("<Par_Gen><LoRa_Payload_Size>%1</LoRa_Payload_Size></Par_Gen><!--SW_VERSION = 1.000-->").arg(S(value));
    }

    static QString Uplinks(const QString &rows)
    {
        return S("<LoRaWAN_Set_Access><LoRaWAN_Uplink>%1</LoRaWAN_Uplink><LoRaWAN_Downlink/></LoRaWAN_Set_Access>")
            .arg(rows);
    }

    static QString Rule(const char *enable, const char *num)
    {
        return S("<row Enable=\"%1\" StartByte=\"0\" NumByte=\"%2\" OnChange=\"N\" OnCMD=\"N\" OnTimer=\"N\" "
                 "Time=\"\" Mnemonic=\"\"/>")
            .arg(S(enable), S(num));
    }

private slots:
    void uplink_check_data()
    {
        QTest::addColumn<QString>("pargen");
        QTest::addColumn<QString>("rules");
        QTest::addColumn<bool>("passes");
        QTest::newRow("no rule document, no parameters") << No_File << No_File << true;
        QTest::newRow("no parameters, one enabled rule") << No_File << Uplinks(Rule("Y", "0")) << false;
        QTest::newRow("49 of 51 passes") << Payload("51") << Uplinks(Rule("Y", "49")) << true;
        QTest::newRow("50 of 51 fails") << Payload("51") << Uplinks(Rule("Y", "49") + Rule("Y", "50")) << false;
        QTest::newRow("disabled 200 never fails") << Payload("51") << Uplinks(Rule("N", "200")) << true;
        QTest::newRow("lower-case y is disabled here") << Payload("51") << Uplinks(Rule("y", "200")) << true;
        QTest::newRow("blank before Y is disabled here") << Payload("51") << Uplinks(Rule(" Y", "200")) << true;
        QTest::newRow("no Enable is disabled here") << Payload("51") << Uplinks(S("<row NumByte=\"200\"/>")) << true;
        QTest::newRow("empty NumByte fails") << Payload("51") << Uplinks(Rule("Y", "")) << false;
        QTest::newRow("NumByte not a number fails") << Payload("51") << Uplinks(Rule("Y", "10 ")) << false;
        QTest::newRow("missing NumByte fails") << Payload("51") << Uplinks(S("<row Enable=\"Y\"/>")) << false;
        QTest::newRow("negative NumByte fails") << Payload("51") << Uplinks(Rule("Y", "-1")) << false;
        QTest::newRow("payload 1: even 0 bytes fail") << Payload("1") << Uplinks(Rule("Y", "0")) << false;
        QTest::newRow("payload 2: 0 bytes pass") << Payload("2") << Uplinks(Rule("Y", "0")) << true;
        QTest::newRow("payload not a number counts 0") << Payload("51 ") << Uplinks(Rule("Y", "0")) << false;
        QTest::newRow("payload as typed") << Payload("0x33") << Uplinks(Rule("Y", "49")) << true;
        QTest::newRow("lowest payload does not wrap")
            << Payload("-2147483648") << Uplinks(Rule("Y", "2147483647")) << false;
        QTest::newRow("downlinks are not checked")
            << Payload("51")
            << S("<LoRaWAN_Set_Access><LoRaWAN_Uplink/><LoRaWAN_Downlink>%1</LoRaWAN_Downlink></LoRaWAN_Set_Access>")
                   .arg(Rule("Y", "200"))
            << true;
        QTest::newRow("no uplink group holds no rules") << Payload("51") << S("<LoRaWAN_Set_Access/>") << true;
    }

    void uplink_check()
    {
        QFETCH(QString, pargen);
        QFETCH(QString, rules);
        QFETCH(bool, passes);
        Put(Pargen(), pargen);
        Put(Rules(), rules);
        const Result<> checked = Check_Config_LoraWAN(Read_ParGen_Document(Pargen()), Read_Rule_Document(Rules()));
        QCOMPARE(checked.Ok(), passes);
        QCOMPARE(checked.Problem(),
                 passes ? QString() : S("Error in configuration, Num. Byte not conformed with Max Payload Size"));
    }

    // A payload made smaller names the first saved rule that fitted before
    // and no longer does, with the new limit; the update step's check
    // refuses the same rules.
    void payload_shrink_warning_data()
    {
        QTest::addColumn<int>("before");
        QTest::addColumn<int>("now");
        QTest::addColumn<QString>("rules");
        QTest::addColumn<int>("row"); // as named, 0 for no warning
        QTest::addColumn<int>("bytes");
        const QString two = Uplinks(Rule("Y", "10") + Rule("Y", "60"));
        QTest::newRow("222 to 51: the second rule") << 222 << 51 << two << 2 << 60;
        QTest::newRow("the same payload") << 51 << 51 << Uplinks(Rule("Y", "60")) << 0 << 0;
        QTest::newRow("a larger payload") << 51 << 222 << two << 0 << 0;
        QTest::newRow("a disabled rule") << 222 << 51 << Uplinks(Rule("N", "60")) << 0 << 0;
        QTest::newRow("too long before already") << 51 << 11 << Uplinks(Rule("Y", "60") + Rule("Y", "20")) << 2 << 20;
        QTest::newRow("49 of 51 still fits") << 222 << 51 << Uplinks(Rule("Y", "49")) << 0 << 0;
        QTest::newRow("no rule document") << 222 << 11 << No_File << 0 << 0;
    }

    void payload_shrink_warning()
    {
        QFETCH(int, before);
        QFETCH(int, now);
        QFETCH(QString, rules);
        QFETCH(int, row);
        QFETCH(int, bytes);
        Put(Rules(), rules);
        const Rule_Document document = Read_Rule_Document(Rules());
        const QString expected =
            row ? Messages().Get(Msg_Payload_Shrinks).arg(now - 2).arg(now).arg(2).arg(row).arg(bytes) : QString();
        QCOMPARE(Payload_Shrink_Warning(document, before, now), expected);
        if (row)
            QVERIFY(!Uplink_Overruns(document, now).isEmpty());
    }

    // A document that cannot be read fails the check with the message that
    // names it: nothing could be compiled from it either.
    void damaged_documents_fail_the_check()
    {
        Put(Pargen(), Payload("51"));
        Put(Rules(), S("<LoRaWAN_Set_Access><LoRaWAN_Uplink>"));
        Result<> checked = Check_Config_LoraWAN(Read_ParGen_Document(Pargen()), Read_Rule_Document(Rules()));
        QVERIFY(!checked);
        QVERIFY2(checked.Problem().contains(S("LoRaWAN_SetAccess.xml is damaged")), qPrintable(checked.Problem()));

        Put(Pargen(), S("<Par_Gen><LoRa_Payload_Size>51</Par_Gen>"));
        Put(Rules(), Uplinks(Rule("N", "1")));
        checked = Check_Config_LoraWAN(Read_ParGen_Document(Pargen()), Read_Rule_Document(Rules()));
        QVERIFY(!checked);
        QVERIFY2(checked.Problem().contains(S("ParGen.xml is damaged")), qPrintable(checked.Problem()));
    }

    void bacnet_type_data()
    {
        QTest::addColumn<QString>("pargen");
        QTest::addColumn<int>("type");
        QTest::newRow("no document") << No_File << 0;
        QTest::newRow("MS/TP") << S("<Par_Gen><BACnet_Type>1</BACnet_Type></Par_Gen>") << 1;
        QTest::newRow("leading blank") << S("<Par_Gen><BACnet_Type> 1</BACnet_Type></Par_Gen>") << 1;
        QTest::newRow("other number as stored") << S("<Par_Gen><BACnet_Type>2</BACnet_Type></Par_Gen>") << 2;
        QTest::newRow("not a number") << S("<Par_Gen><BACnet_Type>MS/TP</BACnet_Type></Par_Gen>") << 0;
        QTest::newRow("missing") << S("<Par_Gen/>") << 0;
        QTest::newRow("damaged") << S("<Par_Gen><BACnet_Type>1</BACnet_Type>") << 0;
    }

    void bacnet_type()
    {
        QFETCH(QString, pargen);
        QFETCH(int, type);
        Put(Pargen(), pargen);
        QCOMPARE(Get_Type_BACnet(Read_ParGen_Document(Pargen())), type);
    }
};

QTEST_APPLESS_MAIN(Test_Config_Checks)
#include "test_config_checks.moc"
