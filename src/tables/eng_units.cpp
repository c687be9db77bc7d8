#include "tables/eng_units.h"

#include "core/int_read.h"

namespace {

// Each unit under the name the BACnet standard gives its number. The names
// matter: 51 is "horsepower", 77 "feet-per-minute", 103 "radians", 128
// "joules-per-kilogram-degree-Kelvin", 139 and 140 "megajoules-per-square-
// meter/-foot" and 172 "ohm-meters"; a misspelt or wrong name there would
// lead an engineer to the wrong unit.
const Eng_Unit Units_0[] = {
    {u"meters-per-second-per-second", 166},
};
const Eng_Unit Units_1[] = {
    {u"square-meters", 0},
    {u"square-centimeters", 116},
    {u"square-feet", 1},
    {u"square-inches", 115},
};
const Eng_Unit Units_2[] = {
    {u"currency1", 105}, {u"currency2", 106}, {u"currency3", 107}, {u"currency4", 108}, {u"currency5", 109},
    {u"currency6", 110}, {u"currency7", 111}, {u"currency8", 112}, {u"currency9", 113}, {u"currency10", 114},
};
const Eng_Unit Units_3[] = {
    {u"milliamperes", 2},
    {u"amperes", 3},
    {u"amperes-per-meter", 167},
    {u"amperes-per-square-meter", 168},
    {u"ampere-square-meters", 169},
    {u"decibels", 199},
    {u"decibels-millivolt", 200},
    {u"decibels-volt", 201},
    {u"farads", 170},
    {u"henrys", 171},
    {u"ohms", 4},
    {u"ohm-meters", 172},
    {u"milliohms", 145},
    {u"kilohms", 122},
    {u"megohms", 123},
    {u"microsiemens", 190},
    {u"millisiemens", 202},
    {u"siemens", 173},
    {u"siemens-per-meter", 174},
    {u"teslas", 175},
    {u"volts", 5},
    {u"millivolts", 124},
    {u"kilovolts", 6},
    {u"megavolts", 7},
    {u"volt-amperes", 8},
    {u"kilovolt-amperes", 9},
    {u"megavolt-amperes", 10},
    {u"volt-amperes-reactive", 11},
    {u"kilovolt-amperes-reactive", 12},
    {u"megavolt-amperes-reactive", 13},
    {u"volts-per-degree-Kelvin", 176},
    {u"volts-per-meter", 177},
    {u"degrees-phase", 14},
    {u"power-factor", 15},
    {u"webers", 178},
};
const Eng_Unit Units_4[] = {
    {u"joules", 16},
    {u"kilojoules", 17},
    {u"kilojoules-per-kilogram", 125},
    {u"megajoules", 126},
    {u"watt-hours", 18},
    {u"kilowatt-hours", 19},
    {u"megawatt-hours", 146},
    {u"watt-hours-reactive", 203},
    {u"kilowatt-hours-reactive", 204},
    {u"megawatt-hours-reactive", 205},
    {u"btus", 20},
    {u"kilo-btus", 147},
    {u"mega-btus", 148},
    {u"therms", 21},
    {u"ton-hours", 22},
};
const Eng_Unit Units_5[] = {
    {u"joules-per-kilogram-dry-air", 23},
    {u"kilojoules-per-kilogram-dry-air", 149},
    {u"megajoules-per-kilogram-dry-air", 150},
    {u"btus-per-pound-dry-air", 24},
    {u"btus-per-pound", 117},
};
const Eng_Unit Units_6[] = {
    {u"joules-per-degree-Kelvin", 127},
    {u"kilojoules-per-degree-Kelvin", 151},
    {u"megajoules-per-degree-Kelvin", 152},
    {u"joules-per-kilogram-degree-Kelvin", 128},
};
const Eng_Unit Units_7[] = {
    {u"newton", 153},
};
const Eng_Unit Units_8[] = {
    {u"cycles-per-hour", 25}, {u"cycles-per-minute", 26}, {u"hertz", 27},
    {u"kilohertz", 129},      {u"megahertz", 130},        {u"per-hour", 131},
};
const Eng_Unit Units_9[] = {
    {u"grams-of-water-per-kilogram-dry-air", 28},
    {u"percent-relative-humidity", 29},
};
const Eng_Unit Units_10[] = {
    {u"micrometers", 194}, {u"millimeters", 30}, {u"centimeters", 118}, {u"kilometers", 193},
    {u"meters", 31},       {u"inches", 32},      {u"feet", 33},
};
const Eng_Unit Units_11[] = {
    {u"candelas", 179},
    {u"candelas-per-square-meter", 180},
    {u"watts-per-square-foot", 34},
    {u"watts-per-square-meter", 35},
    {u"lumens", 36},
    {u"luxes", 37},
    {u"foot-candles", 38},
};
const Eng_Unit Units_12[] = {
    {u"milligrams", 196}, {u"grams", 195}, {u"kilograms", 39}, {u"pounds-mass", 40}, {u"tons", 41},
};
const Eng_Unit Units_13[] = {
    {u"grams-per-second", 154},      {u"grams-per-minute", 155},    {u"kilograms-per-second", 42},
    {u"kilograms-per-minute", 43},   {u"kilograms-per-hour", 44},   {u"pounds-mass-per-second", 119},
    {u"pounds-mass-per-minute", 45}, {u"pounds-mass-per-hour", 46}, {u"tons-per-hour", 156},
};
const Eng_Unit Units_14[] = {
    {u"milliwatts", 132},   {u"watts", 47},
    {u"kilowatts", 48},     {u"megawatts", 49},
    {u"btus-per-hour", 50}, {u"kilo-btus-per-hour", 157},
    {u"horsepower", 51},    {u"tons-refrigeration", 52},
};
const Eng_Unit Units_15[] = {
    {u"pascals", 53},
    {u"hectopascals", 133},
    {u"kilopascals", 54},
    {u"millibars", 134},
    {u"bars", 55},
    {u"pounds-force-per-square-inch", 56},
    {u"millimeters-of-water", 206},
    {u"centimeters-of-water", 57},
    {u"inches-of-water", 58},
    {u"millimeters-of-mercury", 59},
    {u"centimeters-of-mercury", 60},
    {u"inches-of-mercury", 61},
};
const Eng_Unit Units_16[] = {
    {u"degrees-Celsius", 62},          {u"degrees-Kelvin", 63},
    {u"degrees-Kelvin-per-hour", 181}, {u"degrees-Kelvin-per-minute", 182},
    {u"degrees-Fahrenheit", 64},       {u"degree-days-Celsius", 65},
    {u"degree-days-Fahrenheit", 66},   {u"delta-degrees-Fahrenheit", 120},
    {u"delta-degrees-Kelvin", 121},
};
const Eng_Unit Units_17[] = {
    {u"years", 67},         {u"months", 68},  {u"weeks", 69},   {u"days", 70},
    {u"hours", 71},         {u"minutes", 72}, {u"seconds", 73}, {u"hundredths-seconds", 158},
    {u"milliseconds", 159},
};
const Eng_Unit Units_18[] = {
    {u"newton-meters", 160},
};
const Eng_Unit Units_19[] = {
    {u"millimeters-per-second", 161}, {u"millimeters-per-minute", 162}, {u"meters-per-second", 74},
    {u"meters-per-minute", 163},      {u"meters-per-hour", 164},        {u"kilometers-per-hour", 75},
    {u"feet-per-second", 76},         {u"feet-per-minute", 77},         {u"miles-per-hour", 78},
};
const Eng_Unit Units_20[] = {
    {u"cubic-feet", 79},   {u"cubic-meters", 80}, {u"imperial-gallons", 81},
    {u"milliliters", 197}, {u"liters", 82},       {u"us-gallons", 83},
};
const Eng_Unit Units_21[] = {
    {u"cubic-feet-per-second", 142},      {u"cubic-feet-per-minute", 84},    {u"cubic-feet-per-hour", 191},
    {u"cubic-meters-per-second", 85},     {u"cubic-meters-per-minute", 165}, {u"cubic-meters-per-hour", 135},
    {u"imperial-gallons-per-minute", 86}, {u"milliliters-per-second", 198},  {u"liters-per-second", 87},
    {u"liters-per-minute", 88},           {u"liters-per-hour", 136},         {u"us-gallons-per-minute", 89},
    {u"us-gallons-per-hour", 192},
};
const Eng_Unit Units_22[] = {
    {u"degrees-angular", 90},
    {u"degrees-Celsius-per-hour", 91},
    {u"degrees-Celsius-per-minute", 92},
    {u"degrees-Fahrenheit-per-hour", 93},
    {u"degrees-Fahrenheit-per-minute", 94},
    {u"joule-seconds", 183},
    {u"kilograms-per-cubic-meter", 186},
    {u"kilowatt-hours-per-square-meter", 137},
    {u"kilowatt-hours-per-square-foot", 138},
    {u"megajoules-per-square-meter", 139},
    {u"megajoules-per-square-foot", 140},
    {u"no-units", 95},
    {u"newton-seconds", 187},
    {u"newtons-per-meter", 188},
    {u"parts-per-million", 96},
    {u"parts-per-billion", 97},
    {u"percent", 98},
    {u"percent-obscuration-per-foot", 143},
    {u"percent-obscuration-per-meter", 144},
    {u"percent-per-second", 99},
    {u"per-minute", 100},
    {u"per-second", 101},
    {u"psi-per-degree-Fahrenheit", 102},
    {u"radians", 103},
    {u"radians-per-second", 184},
    {u"revolutions-per-minute", 104},
    {u"square-meters-per-Newton", 185},
    {u"watts-per-meter-per-degree-Kelvin", 189},
    {u"watts-per-square-meter-degree-kelvin", 141},
    {u"per-mille", 207},
    {u"grams-per-gram", 208},
    {u"kilograms-per-kilogram", 209},
    {u"grams-per-kilogram", 210},
    {u"milligrams-per-gram", 211},
    {u"milligrams-per-kilogram", 212},
    {u"grams-per-milliliter", 213},
    {u"grams-per-liter", 214},
    {u"milligrams-per-liter", 215},
    {u"micrograms-per-liter", 216},
    {u"grams-per-cubic-meter", 217},
    {u"milligrams-per-cubic-meter", 218},
    {u"micrograms-per-cubic-meter", 219},
    {u"nanograms-per-cubic-meter", 220},
    {u"grams-per-cubic-centimeter", 221},
    {u"becquerels", 222},
    {u"kilobecquerels", 223},
    {u"megabecquerels", 224},
    {u"gray", 225},
    {u"milligray", 226},
    {u"microgray", 227},
    {u"sieverts", 228},
    {u"millisieverts", 229},
    {u"microsieverts", 230},
    {u"microsieverts-per-hour", 231},
    {u"decibels-a", 232},
    {u"nephelometric-turbidity-unit", 233},
    {u"pH", 234},
    {u"grams-per-square-meter", 235},
    {u"minutes-per-degree-kelvin", 236},
};

const Unit_Category Categories[] = {
    {u"Acceleration", Units_0}, {u"Area", Units_1},
    {u"Currency", Units_2},     {u"Electrical", Units_3},
    {u"Energy", Units_4},       {u"Enthalpy", Units_5},
    {u"Entropy", Units_6},      {u"Force", Units_7},
    {u"Frequency", Units_8},    {u"Humidity", Units_9},
    {u"Length", Units_10},      {u"Light", Units_11},
    {u"Mass", Units_12},        {u"Mass Flow", Units_13},
    {u"Power", Units_14},       {u"Pressure", Units_15},
    {u"Temperature", Units_16}, {u"Time", Units_17},
    {u"Torque", Units_18},      {u"Velocity", Units_19},
    {u"Volume", Units_20},      {u"Volumetric Flow", Units_21},
    {u"Other", Units_22},
};

// Where each number stands in the catalogue, built once: the name, its
// category and its place in that category's list.
struct Unit_Places
{
    struct Place
    {
        const char16_t *name = nullptr;
        int category = -1;
        int index = -1;
    };
    Place of[Eng_Unit_Count];
    Unit_Places()
    {
        for (int c = 0; c < int(std::size(Categories)); ++c)
            for (int i = 0; i < int(Categories[c].units.size()); ++i) {
                const Eng_Unit &unit = Categories[c].units[i];
                of[unit.number] = {unit.text, c, i};
            }
    }
};

const Unit_Places::Place *Place_Of(int number)
{
    static const Unit_Places places;
    if (number < 0 || number >= Eng_Unit_Count || !places.of[number].name)
        return nullptr;
    return &places.of[number];
}

} // namespace

std::span<const Unit_Category> Unit_Catalogue()
{
    return Categories;
}

QString Desc_Unit(int Num_Unit)
{
    const auto *place = Place_Of(Num_Unit);
    return place ? QString::fromUtf16(place->name) : QStringLiteral("unknown");
}

QString Unit_Label(int Num_Unit)
{
    return QStringLiteral("-> ") + Desc_Unit(Num_Unit);
}

QString Unit_Shown(const QString &cell)
{
    int number = -1;
    if (!Try_Str_To_Int(cell, &number))
        return cell;
    const auto *place = Place_Of(number);
    if (!place)
        return cell;
    const QStringView name(place->name);
    QString shown;
    shown.reserve(cell.size() + 2 + name.size());
    shown.append(cell).append(u"  ").append(name);
    return shown;
}

void Unit_Picker::FormShow(const QString &cell_text)
{
    E_Selected_EU = cell_text;
    const int number = Str_To_Int_Def(cell_text, -1);
    Label5 = Unit_Label(number);
    list_pick_ = false;
    if (const auto *place = Place_Of(number)) {
        category_ = place->category;
        unit_ = place->index;
    } else {
        CB_Select_TypeSelect(category_);
    }
}

void Unit_Picker::CB_Select_TypeSelect(int category)
{
    if (category < 0 || category >= int(std::size(Categories)))
        return;
    category_ = category;
    unit_ = Categories[category_].units.empty() ? -1 : 0;
    // The unit picked before is no longer in the list: OK takes the box.
    list_pick_ = false;
    Label5 = Unit_Label(Str_To_Int_Def(E_Selected_EU, -1));
}

void Unit_Picker::Select_Unit(int index)
{
    if (index >= -1 && index < int(Categories[category_].units.size()))
        unit_ = index;
}

void Unit_Picker::Pick_Unit(int index)
{
    Select_Unit(index);
    list_pick_ = unit_ >= 0;
    if (list_pick_)
        Label5 = Unit_Label(Categories[category_].units[unit_].number);
}

void Unit_Picker::Type_Into_Box(const QString &text)
{
    E_Selected_EU = text;
    list_pick_ = false;
    Label5 = Unit_Label(Str_To_Int_Def(text, -1));
}

void Unit_Picker::Btn_Select_Eng_UnitClick()
{
    const int n = unit_ >= 0 ? Categories[category_].units[unit_].number : 0;
    E_Selected_EU = QString::number(n);
    Label5 = Unit_Label(n);
    list_pick_ = false;
}

void Unit_Picker::Btn_OKClick()
{
    if (list_pick_)
        Btn_Select_Eng_UnitClick();
}

QStringList Unit_Picker::Category_Items()
{
    QStringList items;
    for (const Unit_Category &category : Categories)
        items.append(QString::fromUtf16(category.name));
    return items;
}

QStringList Unit_Picker::Unit_Items() const
{
    QStringList items;
    for (const Eng_Unit &unit : Categories[category_].units)
        items.append(QString::fromUtf16(unit.text));
    return items;
}
