#pragma once

#include "compiler/bank_layout.h"
#include "core/object_catalogue.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <array>
#include <cstdint>
#include <optional>

// The two images as the decoder reads them: every field of the layout as a
// number or its bytes, nothing formatted. The dump's JSON, the table report
// and the comparisons are printers of these; names beside codes (bands,
// parities, units) are looked up where they are printed.

using Octets = std::array<std::uint8_t, 4>; // an IPv4 address, first octet first

struct Serial_Channel
{
    std::uint32_t baud_rate = 0;
    std::uint8_t parity = 0;
    std::uint8_t stop_bits = 0;
    std::uint8_t data_bits = 0;

    bool operator==(const Serial_Channel &) const = default;
};

// Bank 1, the parameter block.
struct Decoded_Bank1
{
    qsizetype size = 0;
    std::array<std::uint32_t, 4> fixed_words{}; // 0x000 to 0x00C
    Octets ip_address{};
    Octets subnet_mask{};
    Octets gateway{};
    std::array<std::uint16_t, 3> fixed_ports{}; // 0x034 to 0x038
    std::uint16_t bacnet_ip_port = 0;
    std::array<std::uint8_t, bank::Device_Name_Size> device_name{}; // zero-filled
    std::uint32_t object_section_address = 0;
    std::uint8_t mstp_mac_address = 0;
    std::uint8_t mstp_max_master = 0;
    std::uint8_t mstp_max_info_frames = 0;
    std::uint16_t mstp_network = 0;
    std::uint32_t mstp_device_instance = 0;
    std::uint32_t bacnet_ip_device_identifier = 0;
    std::array<std::uint32_t, Object_Kind_Count> object_counts{}; // by Object_Catalogue
    std::array<Serial_Channel, bank::Serial_Channels> serial_channels{};
    std::array<std::uint8_t, bank::Serial_Data_Bits_Count - bank::Serial_Channels> data_bits_6_7{};
    Octets dns_server{};
    std::uint32_t lorawan_section_address = 0;
    QList<std::uint32_t> nonzero_reserved_bytes; // offsets outside every field
    std::uint32_t checksum_stored = 0;
    std::uint32_t checksum_computed = 0;

    bool operator==(const Decoded_Bank1 &) const = default;
};

// The LoRa block at the start of bank 2.
struct LoRa_Block
{
    std::uint8_t band_code = 0;
    std::uint8_t network_type = 0;
    std::uint8_t activation_method = 0;
    std::uint8_t data_rate = 0;
    std::array<std::uint8_t, 4> device_address{};
    std::array<std::uint8_t, 8> application_identifier{};
    std::array<std::uint8_t, 16> network_session_key{};
    std::array<std::uint8_t, 16> application_session_key{};
    std::array<std::uint8_t, 16> application_key{};
    std::uint8_t adaptive_data_rate = 0;
    std::uint8_t transmission_type = 0;
    std::uint8_t max_payload_size = 0;
    std::uint8_t reserved_0x43 = 0;
    std::uint32_t transmit_interval = 0;
    std::uint32_t uplink_table_address = 0;
    std::uint32_t downlink_table_address = 0;
    std::uint16_t uplink_count = 0;
    std::uint16_t downlink_count = 0;

    bool operator==(const LoRa_Block &) const = default;
};

// A filled entry of the uplink table (the first uplink_count entries).
struct Uplink_Rule
{
    int entry = 0;
    std::uint16_t start_byte = 0;
    std::uint16_t num_bytes = 0;
    std::uint8_t triggers = 0; // bank::Trigger_On_* flags
    std::uint32_t period = 0;

    bool operator==(const Uplink_Rule &) const = default;
};

struct Downlink_Rule
{
    int entry = 0;
    std::uint16_t start_byte = 0;
    std::uint16_t num_bytes = 0;

    bool operator==(const Downlink_Rule &) const = default;
};

// Which of the two layouts the object section has: 1023 records with
// 32-character descriptions or 2047 with 16.
struct Object_Geometry
{
    int records = 0;
    int description_length = 0;
    std::uint32_t text_area_address = 0;

    bool operator==(const Object_Geometry &) const = default;
};

// An object's type and instance, known from the counts of bank 1 (the records
// lie sorted by type, the instances of a type count from 0). `type` indexes
// Object_Catalogue; -1 for a record the counts do not reach.
struct Object_Place
{
    int type = -1;
    qint64 instance = 0;

    bool operator==(const Object_Place &) const = default;
};

struct Object_Record
{
    qint64 record = 0;
    std::uint32_t position = 0;
    std::optional<Object_Place> place; // only when decoded with bank 1
    std::uint16_t eng_unit = 0;
    std::uint8_t length = 0;
    std::uint8_t group = 0; // 0 Read, 1 Write
    std::uint16_t row = 0;
    std::uint8_t start_bit = 0;
    std::uint32_t description_address = 0;
    std::optional<QString> description; // none when the address lies outside the text area

    bool operator==(const Object_Record &) const = default;
};

// Bank 2: the LoRa section and the object section.
struct Decoded_Bank2
{
    qsizetype size = 0;
    LoRa_Block lora;
    QList<Uplink_Rule> uplink;
    QList<Downlink_Rule> downlink;
    std::optional<Object_Geometry> geometry; // none without objects, or when it cannot be read
    QList<Object_Record> objects;            // the filled records, from record 0
    qint64 stray_nonzero_bytes = 0;          // non-zero bytes where the layout keeps zeros

    bool operator==(const Decoded_Bank2 &) const = default;
};

struct Decoded_Pair
{
    Decoded_Bank1 bank1;
    Decoded_Bank2 bank2;

    bool operator==(const Decoded_Pair &) const = default;
};
