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
                QVERIFY2(unit.number >= 0 && unit.number < required::Eng_Units,
                         qPrintable(QString::number(unit.number)));
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

    // The cell shows its text and the unit's name, read as the converter
    // reads the number; anything else shows unchanged.
    void shown_text_data()
    {
        QTest::addColumn<QString>("cell");
        QTest::addColumn<QString>("shown");
        QTest::newRow("62") << QStringLiteral("62") << QStringLiteral("62  degrees-Celsius");
        QTest::newRow("0") << QStringLiteral("0") << QStringLiteral("0  square-meters");
        QTest::newRow("236") << QStringLiteral("236") << QStringLiteral("236  minutes-per-degree-kelvin");
        QTest::newRow("hex") << QStringLiteral("0x3E") << QStringLiteral("0x3E  degrees-Celsius");
        QTest::newRow("leading blank") << QStringLiteral(" 98") << QStringLiteral(" 98  percent");
        QTest::newRow("237") << QStringLiteral("237") << QStringLiteral("237");
        QTest::newRow("-1") << QStringLiteral("-1") << QStringLiteral("-1");
        QTest::newRow("65535") << QStringLiteral("65535") << QStringLiteral("65535");
        QTest::newRow("abc") << QStringLiteral("abc") << QStringLiteral("abc");
        QTest::newRow("trailing blank") << QStringLiteral("62 ") << QStringLiteral("62 ");
        QTest::newRow("empty") << QString() << QString();
    }

    void shown_text()
    {
        QFETCH(QString, cell);
        QFETCH(QString, shown);
        QCOMPARE(Unit_Shown(cell), shown);
    }

    void picker_opens_on_a_cell_data()
    {
        QTest::addColumn<QString>("cell");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("category"); // empty: the one chosen before
        QTest::addColumn<QString>("unit");     // empty: its first unit
        QTest::newRow("62") << QStringLiteral("62") << QStringLiteral("-> degrees-Celsius")
                            << QStringLiteral("Temperature") << QStringLiteral("degrees-Celsius");
        QTest::newRow("hex") << QStringLiteral("0x3E") << QStringLiteral("-> degrees-Celsius")
                             << QStringLiteral("Temperature") << QStringLiteral("degrees-Celsius");
        QTest::newRow("0") << QStringLiteral("0") << QStringLiteral("-> square-meters") << QStringLiteral("Area")
                           << QStringLiteral("square-meters");
        QTest::newRow("236, last of the last list")
            << QStringLiteral("236") << QStringLiteral("-> minutes-per-degree-kelvin") << QStringLiteral("Other")
            << QStringLiteral("minutes-per-degree-kelvin");
        QTest::newRow("166, the only unit")
            << QStringLiteral("166") << QStringLiteral("-> meters-per-second-per-second")
            << QStringLiteral("Acceleration") << QStringLiteral("meters-per-second-per-second");
        QTest::newRow("empty") << QString() << QStringLiteral("-> unknown") << QString() << QString();
        QTest::newRow("abc") << QStringLiteral("abc") << QStringLiteral("-> unknown") << QString() << QString();
        QTest::newRow("237") << QStringLiteral("237") << QStringLiteral("-> unknown") << QString() << QString();
    }

    void picker_opens_on_a_cell()
    {
        QFETCH(QString, cell);
        QFETCH(QString, label);
        QFETCH(QString, category);
        QFETCH(QString, unit);
        const QStringList categories = Unit_Picker::Category_Items();
        Unit_Picker picker;
        const int mass = int(categories.indexOf(QStringLiteral("Mass")));
        picker.CB_Select_TypeSelect(mass);
        picker.Pick_Unit(2);
        picker.FormShow(cell);
        QCOMPARE(picker.E_Selected_EU, cell);
        QCOMPARE(picker.Label5, label);
        QCOMPARE(categories.at(picker.Category()), category.isEmpty() ? QStringLiteral("Mass") : category);
        if (unit.isEmpty())
            QCOMPARE(picker.Unit(), 0);
        else
            QCOMPARE(picker.Unit_Items().at(picker.Unit()), unit);
        // The unit selected on opening is not a pick: OK keeps the box.
        QVERIFY(!picker.Picked_In_List());
        picker.Btn_OKClick();
        QCOMPARE(picker.E_Selected_EU, cell);
        QCOMPARE(picker.Label5, label);
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

        // The label follows the number typed into the box.
        picker.Type_Into_Box(QStringLiteral("62"));
        QCOMPARE(picker.Label5, QStringLiteral("-> degrees-Celsius"));
        picker.Type_Into_Box(QStringLiteral("300"));
        QCOMPARE(picker.E_Selected_EU, QStringLiteral("300"));
        QCOMPARE(picker.Label5, QStringLiteral("-> unknown"));

        // A cell that is no unit keeps the category for the next showing,
        // with its first unit selected.
        picker.FormShow(QStringLiteral("300"));
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

    // What OK takes after the user's actions, the last one winning: a unit
    // picked in the list (as if Select had been pressed), else the box.
    // Actions: "pick <unit of Other>", "type <text>", "select",
    // "category <name>".
    void ok_takes_the_last_action_data()
    {
        QTest::addColumn<QStringList>("actions");
        QTest::addColumn<QString>("result");
        QTest::addColumn<QString>("label");
        const QString opened = QStringLiteral("-> degrees-Celsius");
        QTest::newRow("nothing") << QStringList{} << QStringLiteral("0x3E") << opened;
        QTest::newRow("pick") << QStringList{QStringLiteral("pick per-mille")} << QStringLiteral("207")
                              << QStringLiteral("-> per-mille");
        QTest::newRow("pick, then type") << QStringList{QStringLiteral("pick per-mille"), QStringLiteral("type 300")}
                                         << QStringLiteral("300") << QStringLiteral("-> unknown");
        QTest::newRow("type, then pick") << QStringList{QStringLiteral("type 300"), QStringLiteral("pick per-mille")}
                                         << QStringLiteral("207") << QStringLiteral("-> per-mille");
        QTest::newRow("pick, select, type")
            << QStringList{QStringLiteral("pick per-mille"), QStringLiteral("select"), QStringLiteral("type 5")}
            << QStringLiteral("5") << QStringLiteral("-> ") + Desc_Unit(5);
        QTest::newRow("select, then pick") << QStringList{QStringLiteral("select"), QStringLiteral("pick percent")}
                                           << QStringLiteral("98") << QStringLiteral("-> percent");
        QTest::newRow("pick, then category: the pick is gone")
            << QStringList{QStringLiteral("pick per-mille"), QStringLiteral("category Area")} << QStringLiteral("0x3E")
            << opened;
        QTest::newRow("category, then pick") << QStringList{QStringLiteral("category Other"), QStringLiteral("pick pH")}
                                             << QStringLiteral("234") << QStringLiteral("-> pH");
    }

    void ok_takes_the_last_action()
    {
        QFETCH(QStringList, actions);
        QFETCH(QString, result);
        QFETCH(QString, label);
        const QStringList categories = Unit_Picker::Category_Items();
        Unit_Picker picker;
        picker.FormShow(QStringLiteral("0x3E"));
        for (const QString &action : std::as_const(actions)) {
            const QString verb = action.section(u' ', 0, 0);
            const QString what = action.section(u' ', 1);
            if (verb == u"pick") {
                picker.CB_Select_TypeSelect(int(categories.indexOf(QStringLiteral("Other"))));
                const int at = int(picker.Unit_Items().indexOf(what));
                QVERIFY(at >= 0);
                picker.Select_Unit(at); // the list's own signal comes first
                picker.Pick_Unit(at);
            } else if (verb == u"type") {
                picker.Type_Into_Box(what);
            } else if (verb == u"select") {
                picker.Btn_Select_Eng_UnitClick();
            } else {
                picker.CB_Select_TypeSelect(int(categories.indexOf(what)));
            }
        }
        picker.Btn_OKClick();
        QCOMPARE(picker.E_Selected_EU, result);
        QCOMPARE(picker.Label5, label);
    }
};

QTEST_APPLESS_MAIN(Test_Eng_Units)
#include "test_eng_units.moc"
