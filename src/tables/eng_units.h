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

// The engineering unit picker without its window: the chosen category
// (kept from one showing to the next), the chosen unit of it, the number
// box and its label.
class Unit_Picker
{
public:
    // Opens the picker on an Eng. Unit cell: the box takes the cell's text,
    // the label names the number it reads as (a non-number: "unknown"), and
    // the unit list is refilled for the chosen category.
    void FormShow(const QString &cell_text);

    // A category chosen: its units fill the list and the first is chosen.
    void CB_Select_TypeSelect(int category);
    // A unit chosen in the list; the box and label stay as they are.
    void Select_Unit(int index);
    // The button "Select Engineering Unit": the chosen unit goes to the box
    // and the label (0 when no unit is chosen).
    void Btn_Select_Eng_UnitClick();
    // The user typed into the box; the label stays as it was.
    void Type_Into_Box(const QString &text) { E_Selected_EU = text; }

    static QStringList Category_Items();
    QStringList Unit_Items() const;
    int Category() const { return category_; }
    int Unit() const { return unit_; }

    // The result on OK, taken unchanged into the cell.
    QString E_Selected_EU;
    QString Label5;

private:
    int category_ = 0; // "Acceleration" at start
    int unit_ = -1;
};
