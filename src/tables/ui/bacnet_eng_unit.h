#pragma once

#include "tables/eng_units.h"
#include "widgets/lang_window.h"

#include <QDialog>

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
struct Workspace;

// The engineering unit picker: a unit chosen by category and name, or a
// number typed into the box. The caller opens it on a cell's text and, on
// OK, takes the box's text into the cell unchanged. It opens on the cell's
// unit (its category, the unit selected in the list); OK takes a unit the
// user picked in the list last, as "Select Engineering Unit" would, and
// otherwise the box (the rule in full: Unit_Picker).
class TFBACnet_Eng_Unit : public QDialog, public Lang_Window
{
    Q_OBJECT

public:
    explicit TFBACnet_Eng_Unit(Workspace &ws, QWidget *parent = nullptr);

    void Set_Lang() override;

    // The caller's part: the box takes the cell's text, the label names
    // the number it reads as, and the lists show its unit.
    void Open_On(const QString &cell_text);
    // The showing: the lists show the picker's category and unit.
    void FormShow();
    void CB_Select_TypeSelect(int category);
    void Btn_Select_Eng_UnitClick();
    // OK: a unit picked in the list last goes to the box, then the picker
    // closes with OK.
    void Btn_OKClick();

    // The picker's state, kept between showings (the chosen category).
    Unit_Picker Picker;

    QLabel *L_SW_Code;
    QLabel *L_SW_Desc;
    QLabel *Label1;
    QLineEdit *E_Selected_EU;
    QLabel *Label5;
    QFrame *Shape1;
    QLabel *Label2;
    QLabel *Label3;
    QComboBox *CB_Select_Type;
    QLabel *Label4;
    QComboBox *CB_Select_Unit;
    QPushButton *Btn_Select_Eng_Unit;
    QFrame *Shape2;
    QPushButton *Btn_OK;
    QPushButton *Btn_Cancel;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void Show_Picker_State();
    // The category list, and the unit list refilled for it, as in Picker.
    void Show_Lists();
};
