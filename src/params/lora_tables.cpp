#include "params/lora_tables.h"

#include <array>

namespace {

// The separators differ from band to band and, in some bands, from item to
// item. They are kept exactly: the converter's documents hold these texts.

constexpr LoRa_DataRate_Item AS923[] = {
    {u"0\t- LoRa: SF12/125kHz 250 [bit/s]", 59},   {u"1\t- LoRa: SF11/125kHz 440 [bit/s]", 59},
    {u"2\t- LoRa: SF10/125kHz 980 [bit/s]", 59},   {u"3\t- LoRa: SF9/125kHz 1760 [bit/s]", 123},
    {u"4\t- LoRa: SF8/125kHz 3125 [bit/s]", 230},  {u"5\t- LoRa: SF7/125kHz 5470 [bit/s]", 230},
    {u"6\t- LoRa: SF7/250kHz 11000 [bit/s]", 230}, {u"7\t- FSK: 50kbps 50000 [bit/s]", 230},
};

constexpr LoRa_DataRate_Item AU915[] = {
    {u"0  - LoRa: SF12/125kHz 250 [bit/s]", 51},   {u"1  - LoRa: SF11/125kHz 440 [bit/s]", 51},
    {u"2  - LoRa: SF10/125kHz 980 [bit/s]", 51},   {u"3  - LoRa: SF9/125kHz 1760 [bit/s]", 115},
    {u"4  - LoRa: SF8/125kHz 3125 [bit/s]", 222},  {u"5  - LoRa: SF7/125kHz 5470 [bit/s]", 222},
    {u"6  - LoRa: SF8/500kHz 12500 [bit/s]", 222}, {u"8  - LoRa: SF12/500kHz 980 [bit/s]", 33},
    {u"9  - LoRa: SF11/500kHz 1760 [bit/s]", 109}, {u"10 - LoRa: SF10/500kHz 3900 [bit/s]", 222},
    {u"11 - LoRa: SF9/500kHz 7000 [bit/s]", 222},  {u"12 - LoRa: SF8/500kHz 12500 [bit/s]", 222},
    {u"13 - LoRa: SF7/500kHz 21900 [bit/s]", 222},
};

constexpr LoRa_DataRate_Item EU868[] = {
    {u"0 -\tLoRa: SF12/125kHz 250 [bit/s]", 51},  {u"1 -\tLoRa: SF11/125kHz 440 [bit/s]", 51},
    {u"2 -\tLoRa: SF10/125kHz 980 [bit/s]", 51},  {u"3 -\tLoRa: SF9/125kHz 1760 [bit/s]", 115},
    {u"4 -\tLoRa: SF8/125kHz 3125 [bit/s]", 222}, {u"5 -\tLoRa: SF7/125kHz 5470 [bit/s]", 222},
    {u"6 - LoRa: SF7/250kHz 11000 [bit/s]", 222}, {u"7 - FSK: 50kbps 50000 [bit/s]", 222},
};

constexpr LoRa_DataRate_Item KR920[] = {
    {u"0 - LoRa: SF12/125kHz 250 [bit/s]", 51},   {u"1 -\tLoRa: SF11/125kHz 440 [bit/s]", 51},
    {u"2 -\tLoRa: SF10/125kHz 980 [bit/s]", 51},  {u"3 -\tLoRa: SF9/125kHz 1760 [bit/s]", 115},
    {u"4 -\tLoRa: SF8/125kHz 3125 [bit/s]", 222}, {u"5 -\tLoRa: SF7/125kHz 5470 [bit/s]", 222},
};

// IN865 has no data rate 6.
constexpr LoRa_DataRate_Item IN865[] = {
    {u"0 - LoRa: SF12/125kHz 250 [bit/s]", 51},   {u"1 -\tLoRa: SF11/125kHz 440 [bit/s]", 51},
    {u"2 -\tLoRa: SF10/125kHz 980 [bit/s]", 51},  {u"3 -\tLoRa: SF9/125kHz 1760 [bit/s]", 115},
    {u"4 -\tLoRa: SF8/125kHz 3125 [bit/s]", 222}, {u"5 -\tLoRa: SF7/125kHz 5470 [bit/s]", 222},
    {u"7 -\tFSK: 50kbps 50000 [bit/s]", 222},
};

constexpr LoRa_DataRate_Item US915[] = {
    {u"0  -\tLoRa: SF10/125kHz 980 [bit/s]", 11},   {u"1  -\tLoRa: SF9/125kHz 1760 [bit/s]", 53},
    {u"2  -\tLoRa: SF8/125kHz 3125 [bit/s]", 125},  {u"3  -\tLoRa: SF7/125kHz 5470 [bit/s]", 242},
    {u"4  -\tLoRa: SF8/500kHz 12500 [bit/s]", 242}, {u"8  -\tLoRa: SF12/500kHz 980 [bit/s]", 33},
    {u"9  -\tLoRa: SF11/500kHz 1760 [bit/s]", 109}, {u"10 - LoRa: SF10/500kHz 3900 [bit/s]", 222},
    {u"11 - LoRa: SF9/500kHz 7000 [bit/s]", 222},   {u"12 - LoRa: SF8/500kHz 12500 [bit/s]", 222},
    {u"13 - LoRa: SF7/500kHz 21900 [bit/s]", 222},
};

// The same data rates and payloads as US915, with blanks where US915 has tabs.
constexpr LoRa_DataRate_Item US915_Hybrid[] = {
    {u"0  - LoRa: SF10/125kHz 980 [bit/s]", 11},   {u"1  - LoRa: SF9/125kHz 1760 [bit/s]", 53},
    {u"2  - LoRa: SF8/125kHz 3125 [bit/s]", 125},  {u"3  - LoRa: SF7/125kHz 5470 [bit/s]", 242},
    {u"4  - LoRa: SF8/500kHz 12500 [bit/s]", 242}, {u"8  - LoRa: SF12/500kHz 980 [bit/s]", 33},
    {u"9  - LoRa: SF11/500kHz 1760 [bit/s]", 109}, {u"10 - LoRa: SF10/500kHz 3900 [bit/s]", 222},
    {u"11 - LoRa: SF9/500kHz 7000 [bit/s]", 222},  {u"12 - LoRa: SF8/500kHz 12500 [bit/s]", 222},
    {u"13 - LoRa: SF7/500kHz 21900 [bit/s]", 222},
};

constexpr std::array<LoRa_Band, 7> Bands = {{
    {u"AS923", AS923},
    {u"AU915", AU915},
    {u"EU868", EU868},
    {u"KR920", KR920},
    {u"IN865", IN865},
    {u"US915", US915},
    {u"US915-Hybrid", US915_Hybrid},
}};

} // namespace

std::span<const LoRa_Band> LoRa_Bands()
{
    return Bands;
}

QStringList LoRa_Band_Texts()
{
    QStringList texts;
    for (const LoRa_Band &band : Bands)
        texts.append(band.Name.toString());
    return texts;
}

const LoRa_Band *Find_LoRa_Band(QStringView band_text)
{
    for (const LoRa_Band &band : Bands) {
        if (band.Name == band_text)
            return &band;
    }
    return nullptr;
}

QStringList Change_LoRa_DataRate(QStringView band_text)
{
    QStringList items;
    if (const LoRa_Band *band = Find_LoRa_Band(band_text)) {
        for (const LoRa_DataRate_Item &item : band->Items)
            items.append(item.Text.toString());
    }
    return items;
}

int Find_Max_PayLoad(QStringView band_text, QStringView datarate_text)
{
    const LoRa_Band *band = Find_LoRa_Band(band_text);
    if (!band)
        return 0;
    for (const LoRa_DataRate_Item &item : band->Items) {
        if (item.Text == datarate_text)
            return item.Max_Payload;
    }
    return 0;
}

QString No_Document_DataRate()
{
    return AS923[6].Text.toString();
}
