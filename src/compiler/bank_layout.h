#pragma once

#include <cstddef>
#include <cstdint>

// Where everything lies in the two images the converter loads: "bank1.bin" at
// device address 0x7000 (the parameter block) and "bank2.bin" at 0x80000 (the
// LoRaWAN section, then the BACnet object section). Every number is unsigned
// and little-endian.
namespace bank {

// ---- Bank 1: the parameter block -------------------------------------------
inline constexpr std::size_t Bank1_Size = 2048;

inline constexpr std::size_t Fixed_Word_0 = 0x000;   // 32-bit, 250000
inline constexpr std::size_t Fixed_Word_1 = 0x004;   // 32-bit, 250000
inline constexpr std::size_t Fixed_Word_2 = 0x008;   // 32-bit, 0
inline constexpr std::size_t Fixed_Word_3 = 0x00C;   // 32-bit, 9600
inline constexpr std::size_t Ip_Address = 0x028;     // 4 octets, first octet first
inline constexpr std::size_t Subnet_Mask = 0x02C;    // 4 octets
inline constexpr std::size_t Gateway = 0x030;        // 4 octets; 255.255.255.255 = none
inline constexpr std::size_t Fixed_Port_0 = 0x034;   // 16-bit, 10000
inline constexpr std::size_t Fixed_Port_1 = 0x036;   // 16-bit, 10001
inline constexpr std::size_t Fixed_Port_2 = 0x038;   // 16-bit, 10001
inline constexpr std::size_t Bacnet_Ip_Port = 0x03A; // 16-bit
inline constexpr std::size_t Device_Name = 0x050;    // 16 bytes, zero-filled
inline constexpr std::size_t Device_Name_Size = 16;
inline constexpr std::size_t Object_Section_Pointer = 0x0F8; // 32-bit device address
inline constexpr std::size_t Mstp_Mac_Address = 0x100;       // byte
inline constexpr std::size_t Mstp_Max_Master = 0x101;        // byte
inline constexpr std::size_t Mstp_Max_Info_Frames = 0x102;   // byte
inline constexpr std::size_t Mstp_Network = 0x10E;           // 16-bit
inline constexpr std::size_t Mstp_Device_Instance = 0x12C;   // 32-bit
inline constexpr std::size_t Bacnet_Ip_Device_Id = 0x134;    // 32-bit
inline constexpr std::size_t Serial_Baud_Rate = 0x190;       // 6 x 32-bit, channels 0 to 5
inline constexpr std::size_t Serial_Parity = 0x1A8;          // 6 bytes
inline constexpr std::size_t Serial_Stop_Bits = 0x1AE;       // 6 bytes
inline constexpr std::size_t Serial_Data_Bits = 0x1B4;       // 8 bytes (6 channels and two more)
inline constexpr int Serial_Channels = 6;
inline constexpr int Serial_Data_Bits_Count = 8;
inline constexpr std::size_t Dns_Server = 0x58C;           // 4 octets; 255.255.255.255 = none
inline constexpr std::size_t LoRa_Section_Pointer = 0x65C; // 32-bit device address
inline constexpr std::size_t Checksum = 0x7FC;             // 32-bit sum of bytes 0 to 2043

inline constexpr std::uint32_t Fixed_Word_0_Value = 250000;
inline constexpr std::uint32_t Fixed_Word_1_Value = 250000;
inline constexpr std::uint32_t Fixed_Word_2_Value = 0;
inline constexpr std::uint32_t Fixed_Word_3_Value = 9600;
inline constexpr std::uint16_t Fixed_Port_0_Value = 10000;
inline constexpr std::uint16_t Fixed_Port_1_Value = 10001;
inline constexpr std::uint16_t Fixed_Port_2_Value = 10001;
inline constexpr std::uint8_t Initial_Data_Bits = 8;

// ---- Device addresses ------------------------------------------------------
inline constexpr std::uint32_t Bank1_Address = 0x7000;
inline constexpr std::uint32_t LoRa_Section_Address = 0x80000;
inline constexpr std::uint32_t Uplink_Table_Address = 0x80400;
inline constexpr std::uint32_t Downlink_Table_Address = 0x81000;
inline constexpr std::uint32_t Object_Section_Address = 0x82000;

// ---- Bank 2 -----------------------------------------------------------------
inline constexpr std::size_t LoRa_Section_Size = 0x2000;
inline constexpr std::size_t Object_Section_Offset = 0x2000;
inline constexpr std::size_t Object_Section_Size = 0x10800;
inline constexpr std::size_t Bank2_Size = LoRa_Section_Size + Object_Section_Size; // 75776

// LoRa_Block: the first 84 bytes of the LoRaWAN section.
inline constexpr std::size_t LoRa_Block_Size = 84;
inline constexpr std::size_t LoRa_Band = 0x00;             // byte
inline constexpr std::size_t LoRa_Network_Type = 0x01;     // byte
inline constexpr std::size_t LoRa_Activation = 0x02;       // byte
inline constexpr std::size_t LoRa_Data_Rate = 0x03;        // byte
inline constexpr std::size_t LoRa_Device_Address = 0x04;   // 4 bytes
inline constexpr std::size_t LoRa_App_Identifier = 0x08;   // 8 bytes
inline constexpr std::size_t LoRa_Nwk_Session_Key = 0x10;  // 16 bytes
inline constexpr std::size_t LoRa_App_Session_Key = 0x20;  // 16 bytes
inline constexpr std::size_t LoRa_App_Key = 0x30;          // 16 bytes
inline constexpr std::size_t LoRa_Adaptive_Rate = 0x40;    // byte
inline constexpr std::size_t LoRa_Transmission = 0x41;     // byte
inline constexpr std::size_t LoRa_Max_Payload = 0x42;      // byte
inline constexpr std::size_t LoRa_Reserved = 0x43;         // byte
inline constexpr std::size_t LoRa_Interval = 0x44;         // 32-bit
inline constexpr std::size_t LoRa_Uplink_Pointer = 0x48;   // 32-bit
inline constexpr std::size_t LoRa_Downlink_Pointer = 0x4C; // 32-bit
inline constexpr std::size_t LoRa_Uplink_Count = 0x50;     // 16-bit
inline constexpr std::size_t LoRa_Downlink_Count = 0x52;   // 16-bit
inline constexpr std::uint8_t Initial_Data_Rate = 6;
inline constexpr std::uint8_t Initial_Max_Payload = 1;
inline constexpr std::uint32_t Initial_Interval = 1;

// Rule tables inside the LoRaWAN section.
inline constexpr std::size_t Uplink_Table_Offset = 0x400;
inline constexpr std::size_t Downlink_Table_Offset = 0x1000;
inline constexpr int Rule_Entries = 256;
inline constexpr std::size_t Rule_Entry_Size = 12;
inline constexpr std::size_t Rule_Table_Size = Rule_Entries * Rule_Entry_Size; // 3072
inline constexpr std::size_t Rule_Start_Byte = 0;                              // 16-bit
inline constexpr std::size_t Rule_Num_Bytes = 2;                               // 16-bit
inline constexpr std::size_t Rule_Triggers = 4;                                // byte (uplink only)
inline constexpr std::size_t Rule_Period = 8;                                  // 32-bit (uplink only)
inline constexpr std::uint8_t Trigger_On_Change = 0x01;
inline constexpr std::uint8_t Trigger_On_Command = 0x02;
inline constexpr std::uint8_t Trigger_On_Timer = 0x04;

// BACnet object section: N records of 16 bytes, then the text area.
inline constexpr int Object_Records_In_Memory = 2048;
inline constexpr int Records_Long_Descriptions = 1023;  // 32-character descriptions
inline constexpr int Records_Short_Descriptions = 2047; // 16-character descriptions
inline constexpr int Long_Description = 32;
inline constexpr int Short_Description = 16;
inline constexpr std::size_t Object_Record_Size = 16;
inline constexpr std::size_t Record_Position = 0;     // 32-bit
inline constexpr std::size_t Record_Eng_Unit = 4;     // 16-bit
inline constexpr std::size_t Record_Length = 6;       // byte
inline constexpr std::size_t Record_Group = 7;        // byte: 0 Read, 1 Write
inline constexpr std::size_t Record_Description = 8;  // 32-bit device address
inline constexpr std::size_t Record_Row = 12;         // 16-bit
inline constexpr std::size_t Record_Start_Bit = 14;   // byte
inline constexpr std::size_t Text_Area_Size = 0x8800; // 34816

// N for a description length choice.
constexpr int Object_Records(bool desc_limit)
{
    return desc_limit ? Records_Long_Descriptions : Records_Short_Descriptions;
}
constexpr int Description_Limit(bool desc_limit)
{
    return desc_limit ? Long_Description : Short_Description;
}
// Device address of the text area for a description length choice.
constexpr std::uint32_t Text_Area_Address(bool desc_limit)
{
    return Object_Section_Address + std::uint32_t(Object_Records(desc_limit)) * std::uint32_t(Object_Record_Size);
}

static_assert(Bank2_Size == 75776);
static_assert(Text_Area_Address(true) == 0x85FF0 && Text_Area_Address(false) == 0x89FF0);
static_assert(Records_Short_Descriptions * Object_Record_Size + Text_Area_Size <= Object_Section_Size);
static_assert(Downlink_Table_Offset + Rule_Table_Size <= LoRa_Section_Size);

} // namespace bank
