#pragma once

#include <QStringList>
#include <QStringView>
#include <span>

// The LoRaWAN regional tables of the converter's radio: per band the offered
// data rates, and per band and data rate the largest application payload of
// one uplink. The data-rate texts are stored in ParGen.xml as chosen and the
// payload lookup compares them exactly, so every blank and tab of every text
// is part of the document format.

struct LoRa_DataRate_Item
{
    QStringView Text;
    int Max_Payload;
};

struct LoRa_Band
{
    QStringView Name;
    std::span<const LoRa_DataRate_Item> Items;
};

// The seven bands, in the order of the band list.
std::span<const LoRa_Band> LoRa_Bands();

// The band texts, in the order of the band list.
QStringList LoRa_Band_Texts();

// The band whose text equals `band_text` exactly (letter case significant);
// null for any other text.
const LoRa_Band *Find_LoRa_Band(QStringView band_text);

// The data-rate list of a band, in table order (item 0 is the one chosen
// after a band change). Empty for a text that is none of the seven bands.
QStringList Change_LoRa_DataRate(QStringView band_text);

// The maximum payload in bytes (0 to 242) of a band and data rate, both
// compared exactly, character for character; 0 when either matches nothing.
int Find_Max_PayLoad(QStringView band_text, QStringView datarate_text);

// The data-rate text that a configuration without any ParGen.xml starts with:
// the AS923 item numbered 6.
QString No_Document_DataRate();
