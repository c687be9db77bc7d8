#pragma once

#include "compiler/bank_layout.h"
#include "core/object_catalogue.h"

#include <array>
#include <cstdint>
#include <memory>
#include <span>

// The buffers of one compilation. Each compilation makes its own, so nothing
// of an earlier one can leak into the next.
struct Compiler_Buffers
{
    std::array<std::uint8_t, bank::Bank1_Size> Parameter_Block{};
    std::array<std::uint8_t, bank::LoRa_Block_Size> LoRa_Block{};
    std::array<std::uint8_t, bank::Rule_Table_Size> Uplink_Table{};
    std::array<std::uint8_t, bank::Rule_Table_Size> Downlink_Table{};
    std::array<std::uint8_t, bank::Object_Records_In_Memory * bank::Object_Record_Size> Object_Records{};
    std::array<std::uint8_t, bank::Text_Area_Size> Text_Area{};
    std::array<std::uint32_t, Object_Kind_Count> Object_Counts{};
    bool Desc_Limit = false;
};

// The initial values of the images, before any document is read.
void Init_Parameter_Block(Compiler_Buffers &b);
void Init_LoRa_Section(Compiler_Buffers &b);
void Init_Object_Section(Compiler_Buffers &b);

// A fresh set of buffers holding the initial values (steps 1 to 4 of a
// compilation).
std::unique_ptr<Compiler_Buffers> Make_Initial_Buffers();
