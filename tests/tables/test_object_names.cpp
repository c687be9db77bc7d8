#include "core/messages.h"
#include "table_fixture.h"
#include "tables/bacnet_access.h"
#include "tables/object_names.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Rows written "Data Type|Mnemonic"; the other cells hold a sound object.
QStringList Objects(const QStringList &rows)
{
    QStringList full;
    for (const QString &row : rows) {
        const qsizetype bar = row.indexOf(u'|');
        full << QStringLiteral("%1|95|0|0|4|N|%2").arg(row.left(bar), row.mid(bar + 1));
    }
    return full;
}

const QString Shared = QStringLiteral("The object name \"%1\" is shared by the rows %2");
const QString Unnamed = QStringLiteral("These rows have no object name (their Mnemonic is empty): %1");

} // namespace

class Test_Object_Names : public QObject
{
    Q_OBJECT

private slots:
    void warnings_data()
    {
        QTest::addColumn<bool>("long_names");
        QTest::addColumn<QStringList>("read");
        QTest::addColumn<QStringList>("write");
        QTest::addColumn<QStringList>("warnings");
        // An "Analog Value" named `mnemonic`.
        const auto av = [](const char *mnemonic = "") -> QString {
            return QStringLiteral("Analog Value|") + QString::fromUtf8(mnemonic);
        };

        QTest::newRow("names of their own")
            << false << QStringList{av("Supply"), av("Return")} << QStringList{av("Valve")} << QStringList{};
        QTest::newRow("twice in one table")
            << false << QStringList{av("Temp"), av("Other"), av("Temp")} << QStringList{}
            << QStringList{Shared.arg(QStringLiteral("Temp"), QStringLiteral("[BACnet in Read] 1, 3"))};
        QTest::newRow("across the tables")
            << false << QStringList{av("Other"), av("Temp")} << QStringList{av("Temp")}
            << QStringList{
                   Shared.arg(QStringLiteral("Temp"), QStringLiteral("[BACnet in Read] 2; [BACnet in Write] 1"))};
        QTest::newRow("equal once cut to 16")
            << false << QStringList{av("Supply temperature A"), av("Supply temperature B")} << QStringList{}
            << QStringList{Shared.arg(QStringLiteral("Supply temperatu"), QStringLiteral("[BACnet in Read] 1, 2"))};
        QTest::newRow("different within 32")
            << true << QStringList{av("Supply temperature A"), av("Supply temperature B")} << QStringList{}
            << QStringList{};
        QTest::newRow("equal once cut to 32")
            << true << QStringList{av("Supply temperature of the boiler 1"), av("Supply temperature of the boiler 2")}
            << QStringList{}
            << QStringList{Shared.arg(QStringLiteral("Supply temperature of the boiler"),
                                      QStringLiteral("[BACnet in Read] 1, 2"))};
        QTest::newRow("letter case and blanks count")
            << false << QStringList{av("Temp"), av("TEMP"), av("Temp ")} << QStringList{} << QStringList{};
        QTest::newRow("empty and blank names, runs shortened")
            << false << QStringList{av(), av(), av(), av("a"), av("  "), av("b"), av()} << QStringList{av("c"), av()}
            << QStringList{Unnamed.arg(QStringLiteral("[BACnet in Read] 1-3, 5, 7; [BACnet in Write] 2"))};
        QTest::newRow("shared names in order of their first row, then the empty ones")
            << false << QStringList{av("B"), av("A"), av("B"), av(), av("A")} << QStringList{av("B")}
            << QStringList{
                   Shared.arg(QStringLiteral("B"), QStringLiteral("[BACnet in Read] 1, 3; [BACnet in Write] 1")),
                   Shared.arg(QStringLiteral("A"), QStringLiteral("[BACnet in Read] 2, 5")),
                   Unnamed.arg(QStringLiteral("[BACnet in Read] 4"))};
        // Only objects the converter serves: rows of a known type (any case)
        // down to the end of the table.
        QTest::newRow("served objects only")
            << false
            << QStringList{av("Temp"),
                           QStringLiteral("Thermostat|Temp"),
                           QStringLiteral("Thermostat|"),
                           QStringLiteral("analog value|Temp"),
                           QStringLiteral("|Temp"),
                           av("Temp")}
            << QStringList{}
            << QStringList{Shared.arg(QStringLiteral("Temp"), QStringLiteral("[BACnet in Read] 1, 4"))};
        QTest::newRow("a % in a name stays text")
            << false << QStringList{av("50% %1"), av("50% %1")} << QStringList{}
            << QStringList{Shared.arg(QStringLiteral("50% %1"), QStringLiteral("[BACnet in Read] 1, 2"))};
    }

    void warnings()
    {
        QFETCH(bool, long_names);
        QFETCH(QStringList, read);
        QFETCH(QStringList, write);
        QFETCH(QStringList, warnings);
        BACnet_Slave_Set_Access objects;
        test::Fill(objects.Read, Objects(read));
        test::Fill(objects.Write, Objects(write));
        QCOMPARE(Object_Name_Warnings(objects, long_names), warnings);

        // By row: the same lines, each on the Mnemonic of an object it names.
        QStringList texts;
        for (const Problem &p : Object_Name_Problems(objects, long_names)) {
            QCOMPARE(p.Column, int(Obj_Mnemonic));
            if (!texts.contains(p.Text))
                texts << p.Text;
        }
        std::sort(texts.begin(), texts.end());
        std::sort(warnings.begin(), warnings.end());
        QCOMPARE(texts, warnings);
    }

    // The rows a warning marks: every object that shares its name or has
    // none ("page:row"), and no other.
    void problems_by_row_data()
    {
        QTest::addColumn<QStringList>("read");
        QTest::addColumn<QStringList>("write");
        QTest::addColumn<QStringList>("marked");
        const QString av = QStringLiteral("Analog Value|");
        QTest::newRow("shared and empty")
            << QStringList{av + u"B", av + u"A", av + u"B", av, av + u"C", av + u"A"} << QStringList{av + u"B"}
            << QStringList{u"0:0"_s, u"0:1"_s, u"0:2"_s, u"0:3"_s, u"0:5"_s, u"1:0"_s};
        QTest::newRow("only served objects") << QStringList{av + u"A", u"Thermostat|A"_s, av + u"A", u"|"_s}
                                             << QStringList{} << QStringList{u"0:0"_s, u"0:2"_s};
        QTest::newRow("none") << QStringList{av + u"A"} << QStringList{av + u"B"} << QStringList{};
    }

    void problems_by_row()
    {
        QFETCH(QStringList, read);
        QFETCH(QStringList, write);
        QFETCH(QStringList, marked);
        BACnet_Slave_Set_Access objects;
        test::Fill(objects.Read, Objects(read));
        test::Fill(objects.Write, Objects(write));
        QStringList found;
        for (const Problem &p : Object_Name_Problems(objects, false))
            found << QStringLiteral("%1:%2").arg(p.Page).arg(p.Row);
        found.sort();
        QCOMPARE(found, marked);
    }

    void question_lists_at_most_the_first_warnings()
    {
        const QStringList warnings{QStringLiteral("one"), QStringLiteral("two"), QStringLiteral("three")};
        QCOMPARE(Object_Names_Question(warnings, false, 2),
                 QStringLiteral("Warning!! A BACnet device must serve every object under a name of its own, the "
                                "Mnemonic cut to 16 characters:\none\ntwo\n... and 1 more.\nSave anyway?"));
        QCOMPARE(Object_Names_Question(warnings, true, 3).split(u'\n'),
                 (QStringList{Messages().Get(Msg_Object_Names_Heading).arg(32), QStringLiteral("one"),
                              QStringLiteral("two"), QStringLiteral("three"), QStringLiteral("Save anyway?")}));
    }
};

QTEST_APPLESS_MAIN(Test_Object_Names)
#include "test_object_names.moc"
