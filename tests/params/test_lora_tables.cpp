#include "params/lora_tables.h"

#include <QRegularExpression>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// The modulation and bit rate of a band's data rate.
QString Description(const QString &band, int number)
{
    static const QStringList common = {u"LoRa: SF12/125kHz 250 [bit/s]"_s,  u"LoRa: SF11/125kHz 440 [bit/s]"_s,
                                       u"LoRa: SF10/125kHz 980 [bit/s]"_s,  u"LoRa: SF9/125kHz 1760 [bit/s]"_s,
                                       u"LoRa: SF8/125kHz 3125 [bit/s]"_s,  u"LoRa: SF7/125kHz 5470 [bit/s]"_s,
                                       u"LoRa: SF7/250kHz 11000 [bit/s]"_s, u"FSK: 50kbps 50000 [bit/s]"_s};
    static const QStringList us_low = {u"LoRa: SF10/125kHz 980 [bit/s]"_s, u"LoRa: SF9/125kHz 1760 [bit/s]"_s,
                                       u"LoRa: SF8/125kHz 3125 [bit/s]"_s, u"LoRa: SF7/125kHz 5470 [bit/s]"_s,
                                       u"LoRa: SF8/500kHz 12500 [bit/s]"_s};
    static const QStringList wide = {u"LoRa: SF12/500kHz 980 [bit/s]"_s,  u"LoRa: SF11/500kHz 1760 [bit/s]"_s,
                                     u"LoRa: SF10/500kHz 3900 [bit/s]"_s, u"LoRa: SF9/500kHz 7000 [bit/s]"_s,
                                     u"LoRa: SF8/500kHz 12500 [bit/s]"_s, u"LoRa: SF7/500kHz 21900 [bit/s]"_s};
    if (number >= 8)
        return wide.value(number - 8);
    if (band.startsWith(u"US915"))
        return us_low.value(number);
    if (band == u"AU915" && number == 6)
        return u"LoRa: SF8/500kHz 12500 [bit/s]"_s;
    return common.value(number);
}

} // namespace

class Test_LoRa_Tables : public QObject
{
    Q_OBJECT

private slots:
    void bands_in_list_order()
    {
        QCOMPARE(LoRa_Band_Texts(), (QStringList{u"AS923"_s, u"AU915"_s, u"EU868"_s, u"KR920"_s, u"IN865"_s, u"US915"_s,
                                                 u"US915-Hybrid"_s}));
    }

    // Per band: the data-rate numbers and the payloads, item by item.
    void numbers_and_payloads_data()
    {
        QTest::addColumn<QString>("band");
        QTest::addColumn<QList<int>>("numbers");
        QTest::addColumn<QList<int>>("payloads");
        QTest::newRow("AS923") << u"AS923"_s << QList<int>{0, 1, 2, 3, 4, 5, 6, 7}
                               << QList<int>{59, 59, 59, 123, 230, 230, 230, 230};
        QTest::newRow("AU915") << u"AU915"_s << QList<int>{0, 1, 2, 3, 4, 5, 6, 8, 9, 10, 11, 12, 13}
                               << QList<int>{51, 51, 51, 115, 222, 222, 222, 33, 109, 222, 222, 222, 222};
        QTest::newRow("EU868") << u"EU868"_s << QList<int>{0, 1, 2, 3, 4, 5, 6, 7}
                               << QList<int>{51, 51, 51, 115, 222, 222, 222, 222};
        QTest::newRow("KR920") << u"KR920"_s << QList<int>{0, 1, 2, 3, 4, 5} << QList<int>{51, 51, 51, 115, 222, 222};
        QTest::newRow("IN865") << u"IN865"_s << QList<int>{0, 1, 2, 3, 4, 5, 7}
                               << QList<int>{51, 51, 51, 115, 222, 222, 222};
        QTest::newRow("US915") << u"US915"_s << QList<int>{0, 1, 2, 3, 4, 8, 9, 10, 11, 12, 13}
                               << QList<int>{11, 53, 125, 242, 242, 33, 109, 222, 222, 222, 222};
        QTest::newRow("US915-Hybrid") << u"US915-Hybrid"_s << QList<int>{0, 1, 2, 3, 4, 8, 9, 10, 11, 12, 13}
                                      << QList<int>{11, 53, 125, 242, 242, 33, 109, 222, 222, 222, 222};
    }

    void numbers_and_payloads()
    {
        QFETCH(QString, band);
        QFETCH(QList<int>, numbers);
        QFETCH(QList<int>, payloads);
        const QStringList items = Change_LoRa_DataRate(band);
        QCOMPARE(items.size(), numbers.size());
        for (qsizetype i = 0; i < items.size(); ++i) {
            // Readers take the number before the first "-", blanks and tabs removed.
            const QString number = items[i].section(u'-', 0, 0).trimmed();
            QCOMPARE(number, QString::number(numbers[i]));
            QCOMPARE(Find_Max_PayLoad(band, items[i]), payloads[i]);
        }
    }

    // The separator between number and description, item by item, as the
    // converter's documents hold it, and the description itself.
    void separators_data()
    {
        QTest::addColumn<QString>("band");
        QTest::addColumn<QString>("pattern");
        const QString description = u"(?<description>[^ \t].*)$"_s;
        QTest::newRow("AS923") << u"AS923"_s << u"^\\d\t- "_s + description;
        QTest::newRow("AU915") << u"AU915"_s << u"^(\\d  |\\d\\d )- "_s + description;
        QTest::newRow("KR920") << u"KR920"_s << u"^(0 - |[1-5] -\t)"_s + description;
        QTest::newRow("IN865") << u"IN865"_s << u"^(0 - |[1-57] -\t)"_s + description;
        QTest::newRow("EU868") << u"EU868"_s << u"^([0-5] -\t|[67] - )"_s + description;
        QTest::newRow("US915") << u"US915"_s << u"^(\\d  -\t|\\d\\d - )"_s + description;
        QTest::newRow("US915-Hybrid") << u"US915-Hybrid"_s << u"^(\\d  |\\d\\d )- "_s + description;
    }

    void separators()
    {
        QFETCH(QString, band);
        QFETCH(QString, pattern);
        const QRegularExpression re(pattern);
        QVERIFY(re.isValid());
        for (const QString &item : Change_LoRa_DataRate(band)) {
            const QRegularExpressionMatch match = re.match(item);
            QVERIFY2(match.hasMatch(), qPrintable(item));
            const int number = item.section(u'-', 0, 0).trimmed().toInt();
            QCOMPARE(match.captured(u"description"), Description(band, number));
        }
    }

    // Whole texts, every character, including the tabs.
    void exact_texts_data()
    {
        QTest::addColumn<QString>("band");
        QTest::addColumn<int>("item");
        QTest::addColumn<QString>("text");
        QTest::newRow("AS923 0") << u"AS923"_s << 0 << u"0\t- LoRa: SF12/125kHz 250 [bit/s]"_s;
        QTest::newRow("AS923 6") << u"AS923"_s << 6 << u"6\t- LoRa: SF7/250kHz 11000 [bit/s]"_s;
        QTest::newRow("AS923 7") << u"AS923"_s << 7 << u"7\t- FSK: 50kbps 50000 [bit/s]"_s;
        QTest::newRow("AU915 3") << u"AU915"_s << 3 << u"3  - LoRa: SF9/125kHz 1760 [bit/s]"_s;
        QTest::newRow("AU915 7") << u"AU915"_s << 7 << u"8  - LoRa: SF12/500kHz 980 [bit/s]"_s;
        QTest::newRow("AU915 12") << u"AU915"_s << 12 << u"13 - LoRa: SF7/500kHz 21900 [bit/s]"_s;
        QTest::newRow("EU868 0") << u"EU868"_s << 0 << u"0 -\tLoRa: SF12/125kHz 250 [bit/s]"_s;
        QTest::newRow("EU868 5") << u"EU868"_s << 5 << u"5 -\tLoRa: SF7/125kHz 5470 [bit/s]"_s;
        QTest::newRow("EU868 6") << u"EU868"_s << 6 << u"6 - LoRa: SF7/250kHz 11000 [bit/s]"_s;
        QTest::newRow("EU868 7") << u"EU868"_s << 7 << u"7 - FSK: 50kbps 50000 [bit/s]"_s;
        QTest::newRow("KR920 0") << u"KR920"_s << 0 << u"0 - LoRa: SF12/125kHz 250 [bit/s]"_s;
        QTest::newRow("KR920 1") << u"KR920"_s << 1 << u"1 -\tLoRa: SF11/125kHz 440 [bit/s]"_s;
        QTest::newRow("IN865 6") << u"IN865"_s << 6 << u"7 -\tFSK: 50kbps 50000 [bit/s]"_s;
        QTest::newRow("US915 0") << u"US915"_s << 0 << u"0  -\tLoRa: SF10/125kHz 980 [bit/s]"_s;
        QTest::newRow("US915 6") << u"US915"_s << 6 << u"9  -\tLoRa: SF11/500kHz 1760 [bit/s]"_s;
        QTest::newRow("US915 7") << u"US915"_s << 7 << u"10 - LoRa: SF10/500kHz 3900 [bit/s]"_s;
        QTest::newRow("Hybrid 0") << u"US915-Hybrid"_s << 0 << u"0  - LoRa: SF10/125kHz 980 [bit/s]"_s;
        QTest::newRow("Hybrid 4") << u"US915-Hybrid"_s << 4 << u"4  - LoRa: SF8/500kHz 12500 [bit/s]"_s;
        QTest::newRow("Hybrid 10") << u"US915-Hybrid"_s << 10 << u"13 - LoRa: SF7/500kHz 21900 [bit/s]"_s;
    }

    void exact_texts()
    {
        QFETCH(QString, band);
        QFETCH(int, item);
        QFETCH(QString, text);
        QCOMPARE(Change_LoRa_DataRate(band).value(item), text);
    }

    void no_document_data_rate()
    {
        // A configuration without ParGen.xml starts at the AS923 item numbered 6.
        QCOMPARE(No_Document_DataRate(), Change_LoRa_DataRate(u"AS923"_s).value(6));
        QCOMPARE(Find_Max_PayLoad(u"AS923"_s, No_Document_DataRate()), 230);
    }

    void payload_lookup_data()
    {
        QTest::addColumn<QString>("band");
        QTest::addColumn<QString>("datarate");
        QTest::addColumn<int>("payload");
        QTest::newRow("AS923 rate 0") << u"AS923"_s << u"0\t- LoRa: SF12/125kHz 250 [bit/s]"_s << 59;
        QTest::newRow("AS923 rate 3") << u"AS923"_s << u"3\t- LoRa: SF9/125kHz 1760 [bit/s]"_s << 123;
        QTest::newRow("US915 rate 0") << u"US915"_s << u"0  -\tLoRa: SF10/125kHz 980 [bit/s]"_s << 11;
        QTest::newRow("AU915 rate 8") << u"AU915"_s << u"8  - LoRa: SF12/500kHz 980 [bit/s]"_s << 33;
        QTest::newRow("AU915 rate 9") << u"AU915"_s << u"9  - LoRa: SF11/500kHz 1760 [bit/s]"_s << 109;
        QTest::newRow("IN865 rate 7") << u"IN865"_s << u"7 -\tFSK: 50kbps 50000 [bit/s]"_s << 222;
        QTest::newRow("shared text AU915") << u"AU915"_s << u"12 - LoRa: SF8/500kHz 12500 [bit/s]"_s << 222;
        QTest::newRow("shared text US915") << u"US915"_s << u"12 - LoRa: SF8/500kHz 12500 [bit/s]"_s << 222;
        QTest::newRow("shared text Hybrid") << u"US915-Hybrid"_s << u"12 - LoRa: SF8/500kHz 12500 [bit/s]"_s << 222;
        QTest::newRow("US915 text under Hybrid") << u"US915-Hybrid"_s << u"0  -\tLoRa: SF10/125kHz 980 [bit/s]"_s << 0;
        QTest::newRow("Hybrid text under US915") << u"US915"_s << u"0  - LoRa: SF10/125kHz 980 [bit/s]"_s << 0;
        QTest::newRow("blank for tab") << u"EU868"_s << u"0 - LoRa: SF12/125kHz 250 [bit/s]"_s << 0;
        QTest::newRow("trailing blank") << u"EU868"_s << u"0 -\tLoRa: SF12/125kHz 250 [bit/s] "_s << 0;
        QTest::newRow("letter case") << u"EU868"_s << u"0 -\tlora: SF12/125kHz 250 [bit/s]"_s << 0;
        QTest::newRow("other band's rate") << u"KR920"_s << u"6 - LoRa: SF7/250kHz 11000 [bit/s]"_s << 0;
        QTest::newRow("band in lower case") << u"eu868"_s << u"0 -\tLoRa: SF12/125kHz 250 [bit/s]"_s << 0;
        QTest::newRow("empty band") << QString() << u"0 -\tLoRa: SF12/125kHz 250 [bit/s]"_s << 0;
        QTest::newRow("empty data rate") << u"EU868"_s << QString() << 0;
    }

    void payload_lookup()
    {
        QFETCH(QString, band);
        QFETCH(QString, datarate);
        QFETCH(int, payload);
        QCOMPARE(Find_Max_PayLoad(band, datarate), payload);
    }

    void unknown_bands_give_no_list_data()
    {
        QTest::addColumn<QString>("band");
        QTest::newRow("empty") << QString();
        QTest::newRow("lower case") << u"eu868"_s;
        QTest::newRow("trailing blank") << u"EU868 "_s;
        QTest::newRow("blank inside") << u"EU 868"_s;
        QTest::newRow("hybrid upper case") << u"US915-HYBRID"_s;
    }

    void unknown_bands_give_no_list()
    {
        QFETCH(QString, band);
        QVERIFY(Change_LoRa_DataRate(band).isEmpty());
        QVERIFY(!Find_LoRa_Band(band));
    }
};

QTEST_GUILESS_MAIN(Test_LoRa_Tables)
#include "test_lora_tables.moc"
