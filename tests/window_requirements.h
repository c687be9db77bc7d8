#pragma once

// The sizes and counts that the windows and documents must have, kept in one
// place for the suites. They are written from what each window is built to
// show, never taken from the program's own constants: a window drawn at
// another size, a column of another width or a table of another length fails
// the suites that compare against these figures.

#include <QRect>
#include <QSize>
#include <array>

namespace required {

// Main window.
inline constexpr QSize Main_Window{694, 484};                // fixed client area
inline constexpr QRect Main_New_Button{80, 112, 170, 36};    // step 1, "New Configuration"
inline constexpr QRect Main_Update_Button{80, 332, 170, 36}; // step 6, "Update Device UDP"

// The two images that the update step writes.
inline constexpr qint64 Bank1_Bytes = 2048;  // "bank1.bin", the parameter block
inline constexpr qint64 Bank2_Bytes = 75776; // "bank2.bin", rules and objects

// Parameter window; positions inside a group are from the group's left edge
// and from the top of its rows.
inline constexpr int Parameter_Width = 460;       // client width; resizing snaps back to it
inline constexpr int Parameter_Height = 700;      // client height when it opens
inline constexpr int Parameter_Row_Pitch = 28;    // from one row to the next
inline constexpr int Parameter_Label_Left = 14;   // a row's label
inline constexpr int Parameter_Input_Left = 191;  // a row's input
inline constexpr int Parameter_Input_Width = 238; // a single input
inline constexpr int Parameter_Octet_Width = 55;  // one octet of a dotted address
inline constexpr int Parameter_Group_Margin = 12; // below a group's last input
// LoRaWAN row 8 (device address), where OTAA moves the application key row.
inline constexpr int Parameter_Row8_Label_Top = 208;
inline constexpr int Parameter_Row8_Input_Top = 205;
// LoRaWAN row 1 (RF band), seven rows above row 8.
inline constexpr int Parameter_Row1_Label_Top = Parameter_Row8_Label_Top - 7 * Parameter_Row_Pitch;
inline constexpr int Parameter_Row1_Input_Top = Parameter_Row8_Input_Top - 7 * Parameter_Row_Pitch;
inline constexpr int Parameter_Button_Width = 110; // OK and Cancel
inline constexpr int RF_Bands = 7;                 // items of the band list
inline constexpr int Data_Rate_Visible_Items = 9;  // shown when the data-rate list drops down

// Parameter document "ParGen.xml": one element per key, in three groups.
inline constexpr int ParGen_LoRa_Keys = 12;
inline constexpr int ParGen_Ethernet_Keys = 20;
inline constexpr int ParGen_BACnet_Keys = 26;
inline constexpr int ParGen_Keys = 58; // all of them
static_assert(ParGen_LoRa_Keys + ParGen_Ethernet_Keys + ParGen_BACnet_Keys == ParGen_Keys);

// The two table windows open tall enough for their grids to show this many
// rows, and the last column shown takes the width they gain.
inline constexpr int Table_Rows_Shown = 20;

// LoRaWAN rule window.
inline constexpr int Rule_Window_Width = 900; // client area
inline constexpr int Rule_Rows = 256;         // data rows of each grid
inline constexpr int Rule_Number_Width = 40;  // the fixed row-number column
inline constexpr int Uplink_Data_Columns = 8; // Enable to Mnemonic
inline constexpr int Downlink_Data_Columns = 4;
inline constexpr std::array<int, Uplink_Data_Columns> Uplink_Widths{50, 80, 80, 70, 55, 65, 80, 340};
inline constexpr std::array<int, Downlink_Data_Columns> Downlink_Widths{50, 80, 80, 610};

// BACnet object window.
inline constexpr int Object_Window_Width = 764; // client area
// Rows of each grid, and objects of both grids together, by description length.
inline constexpr int Objects_Short_Desc = 2000; // 16-character descriptions
inline constexpr int Objects_Long_Desc = 1000;  // 32-character descriptions
inline constexpr int Object_Number_Width = 40;  // the fixed row-number column
inline constexpr int Object_Data_Columns = 7;   // Data Type to Mnemonic, the hidden Swap included
inline constexpr std::array<int, Object_Data_Columns> Object_Widths{150, 150, 64, 64, 64, 40, 200};
inline constexpr int Data_Area_Bytes = 1500; // items of each Position list, "0" up
inline constexpr int Read_Types = 13;        // Data Type items of the Read grid
inline constexpr int Write_Types = 10;       // Data Type items of the Write grid

// Engineering unit picker.
inline constexpr QSize Unit_Picker{548, 306}; // fixed client area
inline constexpr int Unit_Box_Width = 49;     // the unit number box
inline constexpr int Unit_Categories = 23;
inline constexpr int Eng_Units = 237; // numbers 0 to 236, each in one category
inline constexpr int Temperature_Units = 9;

// Update window.
inline constexpr QSize Update_Window{449,
                                     294}; // fixed client area: panels of 69, 64 (what will be sent), 49, 72 and 40
inline constexpr int Update_Options = 3;   // firmware and configuration, firmware, configuration

} // namespace required
