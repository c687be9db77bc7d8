#include "tables/eng_units.h"
#include "window_requirements.h"

#include <QSet>
#include <QTest>

class Test_Eng_Units : public QObject
{
    Q_OBJECT

private slots:
    void every_number_once()
    {
        QCOMPARE(Unit_Catalogue().size(), size_t(required::Unit_Categories));
        QList<int> seen(required::Eng_Units, 0);
        QSet<QString> names;
        int units = 0;
        for (const Unit_Category &category : Unit_Catalogue()) {
            QVERIFY(!category.units.empty());
            for (const Eng_Unit &unit : category.units) {
                QVERIFY2(unit.number >= 0 && unit.number < required::Eng_Units, qPrintable(QString::number(unit.number)));
                ++seen[unit.number];
                names.insert(QString::fromUtf16(unit.text));
                ++units;
                // The description of every number is its name in the list.
                QCOMPARE(Desc_Unit(unit.number), QString::fromUtf16(unit.text));
            }
        }
        QCOMPARE(units, required::Eng_Units);
        QCOMPARE(seen, QList<int>(required::Eng_Units, 1));
        QCOMPARE(names.size(), required::Eng_Units);
    }

    void descriptions_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("text");
        QTest::newRow("0") << 0 << QStringLiteral("square-meters");
        QTest::newRow("62") << 62 << QStringLiteral("degrees-Celsius");
        QTest::newRow("207") << 207 << QStringLiteral("per-mille");
        QTest::newRow("236") << 236 << QStringLiteral("minutes-per-degree-kelvin");
        // The standard's names where a careless list would mislead.
        QTest::newRow("51") << 51 << QStringLiteral("horsepower");
        QTest::newRow("77") << 77 << QStringLiteral("feet-per-minute");
        QTest::newRow("103") << 103 << QStringLiteral("radians");
        QTest::newRow("128") << 128 << QStringLiteral("joules-per-kilogram-degree-Kelvin");
        QTest::newRow("139") << 139 << QStringLiteral("megajoules-per-square-meter");
        QTest::newRow("140") << 140 << QStringLiteral("megajoules-per-square-foot");
        QTest::newRow("172") << 172 << QStringLiteral("ohm-meters");
        QTest::newRow("-1") << -1 << QStringLiteral("unknown");
        QTest::newRow("237") << 237 << QStringLiteral("unknown");
        QTest::newRow("65535") << 65535 << QStringLiteral("unknown");
    }

    void descriptions()
    {
        QFETCH(int, number);
        QFETCH(QString, text);
        QCOMPARE(Desc_Unit(number), text);
    }

    void categories_in_order()
    {
        const QStringList items = Unit_Picker::Category_Items();
        QCOMPARE(items.size(), required::Unit_Categories);
        QCOMPARE(items.first(), QStringLiteral("Acceleration"));
        QCOMPARE(items.at(13), QStringLiteral("Mass Flow"));
        QCOMPARE(items.last(), QStringLiteral("Other"));
    }

    void picker_opens_on_a_cell_data()
    {
        QTest::addColumn<QString>("cell");
        QTest::addColumn<QString>("label");
        QTest::newRow("62") << QStringLiteral("62") << QStringLiteral("-> degrees-Celsius");
        QTest::newRow("hex") << QStringLiteral("0x3E") << QStringLiteral("-> degrees-Celsius");
        QTest::newRow("empty") << QString() << QStringLiteral("-> unknown");
        QTest::newRow("abc") << QStringLiteral("abc") << QStringLiteral("-> unknown");
        QTest::newRow("300") << QStringLiteral("300") << QStringLiteral("-> unknown");
    }

    void picker_opens_on_a_cell()
    {
        QFETCH(QString, cell);
        QFETCH(QString, label);
        Unit_Picker picker;
        picker.FormShow(cell);
        QCOMPARE(picker.E_Selected_EU, cell);
        QCOMPARE(picker.Label5, label);
        QCOMPARE(picker.Category(), 0);
        QCOMPARE(picker.Unit_Items(), QStringList{QStringLiteral("meters-per-second-per-second")});
        QCOMPARE(picker.Unit(), 0);
    }

    void choosing_a_unit()
    {
        Unit_Picker picker;
        picker.FormShow(QStringLiteral("62"));
        const int other = int(Unit_Picker::Category_Items().indexOf(QStringLiteral("Other")));
        picker.CB_Select_TypeSelect(other);
        const QStringList units = picker.Unit_Items();
        QCOMPARE(picker.Unit(), 0);

        // Choosing in the list alone changes neither box nor label.
        picker.Select_Unit(int(units.indexOf(QStringLiteral("per-mille"))));
        QCOMPARE(picker.E_Selected_EU, QStringLiteral("62"));
        picker.Btn_Select_Eng_UnitClick();
        QCOMPARE(picker.E_Selected_EU, QStringLiteral("207"));
        QCOMPARE(picker.Label5, QStringLiteral("-> per-mille"));

        picker.Select_Unit(int(units.indexOf(QStringLiteral("megajoules-per-square-meter"))));
        picker.Btn_Select_Eng_UnitClick();
        QCOMPARE(picker.E_Selected_EU, QStringLiteral("139"));
        QCOMPARE(picker.Label5, QStringLiteral("-> megajoules-per-square-meter"));

        // Typing into the box leaves the label as it was.
        picker.Type_Into_Box(QStringLiteral("300"));
        QCOMPARE(picker.E_Selected_EU, QStringLiteral("300"));
        QCOMPARE(picker.Label5, QStringLiteral("-> megajoules-per-square-meter"));

        // The category stays chosen for the next showing; its first unit is chosen again.
        picker.FormShow(QStringLiteral("1"));
        QCOMPARE(picker.Category(), other);
        QCOMPARE(picker.Unit(), 0);
        picker.Btn_Select_Eng_UnitClick();
        QCOMPARE(picker.E_Selected_EU, QStringLiteral("90"));

        picker.CB_Select_TypeSelect(1); // "Area"
        picker.Btn_Select_Eng_UnitClick();
        QCOMPARE(picker.E_Selected_EU, QStringLiteral("0"));
        QCOMPARE(picker.Label5, QStringLiteral("-> square-meters"));

        // No unit chosen gives 0.
        picker.CB_Select_TypeSelect(2);
        picker.Select_Unit(-1);
        picker.Btn_Select_Eng_UnitClick();
        QCOMPARE(picker.E_Selected_EU, QStringLiteral("0"));
    }
};

QTEST_APPLESS_MAIN(Test_Eng_Units)
#include "test_eng_units.moc"
