#include "core/messages.h"
#include "tables/eng_units.h"
#include "tables/ui/bacnet_eng_unit.h"
#include "window_fixture.h"
#include "window_requirements.h"
#include "workspace/workspace.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

class Test_Unit_Picker_Window : public QObject
{
    Q_OBJECT

    Workspace ws_;
    TFBACnet_Eng_Unit *w_ = nullptr;

    QString Box() const { return w_->E_Selected_EU->text(); }
    QString Label() const { return w_->Label5->text(); }

    // Chooses by typing into the closed lists, as a user may (a blank
    // would open the list instead).
    void Choose(const QString &category, const QString &unit)
    {
        QTest::keyClicks(w_->CB_Select_Type, category);
        QCOMPARE(w_->CB_Select_Type->currentText(), category);
        QTest::keyClicks(w_->CB_Select_Unit, unit);
        QCOMPARE(w_->CB_Select_Unit->currentText(), unit);
    }

private slots:
    void init() { w_ = new TFBACnet_Eng_Unit(ws_); }
    void cleanup()
    {
        delete w_;
        Messages().Build_Default_Messages();
    }

    void texts_and_layout()
    {
        QCOMPARE(w_->size(), required::Unit_Picker);
        QCOMPARE(w_->minimumSize(), w_->maximumSize());
        QCOMPARE(w_->windowTitle(), Messages().Get(1600));
        QCOMPARE(w_->L_SW_Desc->text(), Messages().Get(1601));
        QCOMPARE(w_->Label1->text(), QStringLiteral("Selected BACnet Engineering Unit"));
        QCOMPARE(w_->Btn_Select_Eng_Unit->text(), QStringLiteral("&Select Engineering Unit"));
        QCOMPARE(w_->E_Selected_EU->width(), required::Unit_Box_Width);
        QCOMPARE(w_->CB_Select_Type->count(), required::Unit_Categories);
        QVERIFY(!w_->CB_Select_Type->isEditable() && !w_->CB_Select_Unit->isEditable());
        // At start: "Acceleration" and its only unit.
        QCOMPARE(w_->CB_Select_Type->currentText(), QStringLiteral("Acceleration"));
        QCOMPARE(w_->CB_Select_Unit->currentText(), QStringLiteral("meters-per-second-per-second"));
        Messages().Set(1608, QStringLiteral("Scegli"));
        w_->Set_Lang();
        QCOMPARE(w_->Btn_Select_Eng_Unit->text(), QStringLiteral("Scegli"));
    }

    void select_button_data()
    {
        QTest::addColumn<QString>("category");
        QTest::addColumn<QString>("unit");
        QTest::addColumn<QString>("number");
        QTest::newRow("per-mille") << QStringLiteral("Other") << QStringLiteral("per-mille") << QStringLiteral("207");
        QTest::newRow("139") << QStringLiteral("Other") << QStringLiteral("megajoules-per-square-meter")
                             << QStringLiteral("139");
        QTest::newRow("unit 0") << QStringLiteral("Area") << QStringLiteral("square-meters") << QStringLiteral("0");
        QTest::newRow("last unit of a list")
            << QStringLiteral("Velocity") << QStringLiteral("miles-per-hour") << QStringLiteral("78");
    }

    void select_button()
    {
        QFETCH(QString, category);
        QFETCH(QString, unit);
        QFETCH(QString, number);
        w_->Open_On(QStringLiteral("62"));
        test::When_Shown(w_, [&] {
            QCOMPARE(Box(), QStringLiteral("62"));
            QCOMPARE(Label(), QStringLiteral("-> degrees-Celsius"));
            Choose(category, unit);
            // Choosing alone takes nothing; the button does.
            QCOMPARE(Box(), QStringLiteral("62"));
            QTest::mouseClick(w_->Btn_Select_Eng_Unit, Qt::LeftButton);
            QCOMPARE(Box(), number);
            QCOMPARE(Label(), QStringLiteral("-> ") + Desc_Unit(number.toInt()));
            QTest::mouseClick(w_->Btn_OK, Qt::LeftButton);
        });
        QCOMPARE(w_->exec(), int(QDialog::Accepted));
        QCOMPARE(Box(), number);
    }

    void typed_number_and_cancel()
    {
        w_->Open_On(QStringLiteral("abc"));
        test::When_Shown(w_, [&] {
            QCOMPARE(Label(), QStringLiteral("-> unknown"));
            w_->E_Selected_EU->selectAll();
            QTest::keyClicks(w_->E_Selected_EU, QStringLiteral("62"));
            QCOMPARE(Label(), QStringLiteral("-> degrees-Celsius")); // the label follows the number typed
            // Enter is OK, with the box as typed.
            QTest::keyClick(w_->E_Selected_EU, Qt::Key_Return);
        });
        QCOMPARE(w_->exec(), int(QDialog::Accepted));
        QCOMPARE(Box(), QStringLiteral("62"));

        w_->Open_On(QString());
        test::When_Shown(w_, [&] { QTest::mouseClick(w_->Btn_Cancel, Qt::LeftButton); });
        QCOMPARE(w_->exec(), int(QDialog::Rejected));
    }

    void category_kept_between_showings()
    {
        w_->Open_On(QStringLiteral("300"));
        test::When_Shown(w_, [&] {
            Choose(QStringLiteral("Temperature"), QStringLiteral("degrees-Kelvin"));
            QTest::mouseClick(w_->Btn_Cancel, Qt::LeftButton);
        });
        w_->exec();
        // A cell that holds no unit: the category stays, its list starts
        // again at its first unit.
        w_->Open_On(QStringLiteral("300"));
        test::When_Shown(w_, [&] {
            QCOMPARE(w_->CB_Select_Type->currentText(), QStringLiteral("Temperature"));
            QCOMPARE(w_->CB_Select_Unit->count(), required::Temperature_Units);
            QCOMPARE(w_->CB_Select_Unit->currentText(), QStringLiteral("degrees-Celsius"));
            QCOMPARE(Box(), QStringLiteral("300"));
            QTest::mouseClick(w_->Btn_Select_Eng_Unit, Qt::LeftButton);
            QCOMPARE(Box(), QStringLiteral("62"));
            QTest::mouseClick(w_->Btn_OK, Qt::LeftButton);
        });
        QCOMPARE(w_->exec(), int(QDialog::Accepted));
    }

    // The picker opens on the cell's unit, also after another category was
    // chosen; the unit it opens on is not a pick, so OK keeps the box.
    void opens_on_the_cells_unit_data()
    {
        QTest::addColumn<QString>("cell");
        QTest::addColumn<QString>("category");
        QTest::addColumn<QString>("unit");
        QTest::newRow("62") << QStringLiteral("62") << QStringLiteral("Temperature")
                            << QStringLiteral("degrees-Celsius");
        QTest::newRow("207") << QStringLiteral("207") << QStringLiteral("Other") << QStringLiteral("per-mille");
        QTest::newRow("0") << QStringLiteral("0") << QStringLiteral("Area") << QStringLiteral("square-meters");
        QTest::newRow("78, last of its list")
            << QStringLiteral("78") << QStringLiteral("Velocity") << QStringLiteral("miles-per-hour");
        QTest::newRow("hex 0x62") << QStringLiteral("0x62") << QStringLiteral("Other") << QStringLiteral("percent");
    }

    void opens_on_the_cells_unit()
    {
        QFETCH(QString, cell);
        QFETCH(QString, category);
        QFETCH(QString, unit);
        // Another category chosen at the previous showing.
        w_->Open_On(QStringLiteral("abc"));
        test::When_Shown(w_, [&] {
            Choose(QStringLiteral("Mass"), QStringLiteral("tons"));
            QTest::mouseClick(w_->Btn_Cancel, Qt::LeftButton);
        });
        w_->exec();

        w_->Open_On(cell);
        test::When_Shown(w_, [&] {
            QCOMPARE(w_->CB_Select_Type->currentText(), category);
            QCOMPARE(w_->CB_Select_Unit->currentText(), unit);
            QCOMPARE(w_->CB_Select_Unit->count(),
                     int(Unit_Catalogue()[w_->CB_Select_Type->currentIndex()].units.size()));
            QCOMPARE(Box(), cell);
            QTest::mouseClick(w_->Btn_OK, Qt::LeftButton);
        });
        QCOMPARE(w_->exec(), int(QDialog::Accepted));
        QCOMPARE(Box(), cell);
    }

    // OK takes a unit picked in the list as Select would, unless a number
    // is typed into the box afterwards: the later action wins.
    void ok_takes_the_pick_data()
    {
        QTest::addColumn<bool>("type_first");
        QTest::addColumn<bool>("type_after");
        QTest::addColumn<QString>("result");
        QTest::addColumn<QString>("label");
        QTest::newRow("pick") << false << false << QStringLiteral("207") << QStringLiteral("-> per-mille");
        QTest::newRow("type, pick") << true << false << QStringLiteral("207") << QStringLiteral("-> per-mille");
        QTest::newRow("pick, type") << false << true << QStringLiteral("300") << QStringLiteral("-> unknown");
    }

    void ok_takes_the_pick()
    {
        QFETCH(bool, type_first);
        QFETCH(bool, type_after);
        QFETCH(QString, result);
        QFETCH(QString, label);
        const auto type = [&] {
            w_->E_Selected_EU->selectAll();
            QTest::keyClicks(w_->E_Selected_EU, QStringLiteral("300"));
        };
        w_->Open_On(QStringLiteral("62"));
        test::When_Shown(w_, [&] {
            if (type_first)
                type();
            Choose(QStringLiteral("Other"), QStringLiteral("per-mille"));
            if (type_after)
                type();
            // Enter in the box is OK, as the button.
            QTest::keyClick(w_->E_Selected_EU, Qt::Key_Return);
        });
        QCOMPARE(w_->exec(), int(QDialog::Accepted));
        QCOMPARE(Box(), result);
        QCOMPARE(Label(), label);
    }
};

QTEST_MAIN(Test_Unit_Picker_Window)
#include "test_unit_picker_window.moc"
