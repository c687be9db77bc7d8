#pragma once

#include <QString>
#include <QStringList>
#include <span>

// The BACnet engineering units (numbers 0 to 236 of the standard's
// enumeration), grouped into the picker's own 23 categories. Each number
// occurs exactly once; the texts are the standard's names and are never
// translated.
struct Eng_Unit
{
    const char16_t *text;
    int number;
};

struct Unit_Category
{
    const char16_t *name;
    std::span<const Eng_Unit> units;
};

inline constexpr int Eng_Unit_Count = 237;

std::span<const Unit_Category> Unit_Catalogue();

// The name of unit `Num_Unit`, or "unknown" outside 0 to 236.
QString Desc_Unit(int Num_Unit);

// The picker's label for a unit number: "-> " and its name.
QString Unit_Label(int Num_Unit);

// What an Eng. Unit cell shows: its text, two blanks and the unit's name
// ("62  degrees-Celsius"), read by the integer reading as the converter
// reads it; a text that is not a unit number (outside 0 to 236, or not a
// number) shows as it is. The cell and the document keep the text alone.
QString Unit_Shown(const QString &cell);

// The engineering unit picker without its window: the chosen category,
// the chosen unit of it, the number box and its label.
//
// What OK takes: the number box, unless the user's last action among
// "picked a unit in the list", "typed into the box" and "pressed Select
// Engineering Unit" was a pick in the list; then the picked unit, as if
// Select had been pressed. So the later action wins: a unit picked and then
// a number typed gives the typed number; a number typed and then a unit
// picked gives the unit. Choosing a category is not a pick (its first unit
// shows selected, but the user did not choose it) and forgets an earlier
// pick, whose unit is no longer in the list; the unit selected when the
// picker opens is not a pick either.
class Unit_Picker
{
public:
    // Opens the picker on an Eng. Unit cell: the box takes the cell's text
    // and the label names the number it reads as (a non-number: "unknown").
    // A unit number opens on its category with the unit selected in the
    // list; any other text keeps the category chosen last ("Acceleration"
    // at start) with its first unit selected.
    void FormShow(const QString &cell_text);

    // The label names the unit OK would take: the box's number, or the unit
    // picked in the list when that was the last action.
    //
    // A category chosen: its units fill the list and the first is selected.
    void CB_Select_TypeSelect(int category);
    // The list's selection moved (by the program or the user); the box and
    // label stay as they are.
    void Select_Unit(int index);
    // The user chose a unit in the list: OK takes it unless the user types
    // into the box or chooses a category afterwards; the label names it.
    void Pick_Unit(int index);
    // The button "Select Engineering Unit": the selected unit goes to the
    // box and the label (0 when no unit is selected).
    void Btn_Select_Eng_UnitClick();
    // The user typed into the box; the label names the number typed.
    void Type_Into_Box(const QString &text);
    // OK: a unit picked in the list last goes to the box and the label;
    // the box is then the result.
    void Btn_OKClick();

    static QStringList Category_Items();
    QStringList Unit_Items() const;
    int Category() const { return category_; }
    int Unit() const { return unit_; }
    // The user's last action was a pick in the list.
    bool Picked_In_List() const { return list_pick_; }

    // The result on OK, taken unchanged into the cell.
    QString E_Selected_EU;
    QString Label5;

private:
    int category_ = 0; // "Acceleration" at start
    int unit_ = -1;
    bool list_pick_ = false;
};
