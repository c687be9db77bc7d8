#include "compiler/compiler_buffers.h"

#include "compiler/le_bytes.h"

void Init_Parameter_Block(Compiler_Buffers &b)
{
    using namespace bank;
    auto &p = b.Parameter_Block;
    p.fill(0);
    le::Put_U32(p, Fixed_Word_0, Fixed_Word_0_Value);
    le::Put_U32(p, Fixed_Word_1, Fixed_Word_1_Value);
    le::Put_U32(p, Fixed_Word_2, Fixed_Word_2_Value);
    le::Put_U32(p, Fixed_Word_3, Fixed_Word_3_Value);
    // An address nobody set: the converter's factory address, no gateway.
    const std::uint8_t ip[] = {192, 168, 2, 205};
    const std::uint8_t mask[] = {255, 255, 255, 0};
    for (std::size_t i = 0; i < 4; ++i) {
        le::Put_U8(p, Ip_Address + i, ip[i]);
        le::Put_U8(p, Subnet_Mask + i, mask[i]);
        le::Put_U8(p, Gateway + i, 255);
        le::Put_U8(p, Dns_Server + i, 0);
    }
    le::Put_U16(p, Fixed_Port_0, Fixed_Port_0_Value);
    le::Put_U16(p, Fixed_Port_1, Fixed_Port_1_Value);
    le::Put_U16(p, Fixed_Port_2, Fixed_Port_2_Value);
    for (int i = 0; i < Serial_Data_Bits_Count; ++i)
        le::Put_U8(p, Serial_Data_Bits + std::size_t(i), Initial_Data_Bits);
}

void Init_LoRa_Section(Compiler_Buffers &b)
{
    using namespace bank;
    b.LoRa_Block.fill(0);
    le::Put_U8(b.LoRa_Block, LoRa_Data_Rate, Initial_Data_Rate);
    le::Put_U8(b.LoRa_Block, LoRa_Max_Payload, Initial_Max_Payload);
    le::Put_U32(b.LoRa_Block, LoRa_Interval, Initial_Interval);
    b.Uplink_Table.fill(0);
    b.Downlink_Table.fill(0);
}

void Init_Object_Section(Compiler_Buffers &b)
{
    b.Object_Records.fill(0);
    b.Text_Area.fill(0);
}

std::unique_ptr<Compiler_Buffers> Make_Initial_Buffers()
{
    auto b = std::make_unique<Compiler_Buffers>();
    Init_Parameter_Block(*b);
    Init_LoRa_Section(*b);
    Init_Object_Section(*b);
    b->Object_Counts.fill(0);
    b->Desc_Limit = false;
    return b;
}
