#pragma once

#include "bacnet/bacnet_value.h"
#include "core/result.h"
#include "inspector/image_model.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <cstdint>

struct Configuration_Snapshot;

// One object as the converter serves it, read from the two images: its type
// and instance from bank 1's counts, its name (the description bank 2 keeps,
// cut to 16 or 32 characters) and the bytes it maps in its data area.
struct Served_Object
{
    int kind = 0;               // index into Object_Catalogue
    int type_code = 0;          // the standard object type
    std::uint32_t instance = 0; // from 0 within its type, as the image gives it
    QString name;               // object-name and description
    bool write = false;         // a Write object: the output area; else the input area
    std::uint32_t position = 0; // first byte in its area
    std::uint8_t length = 0;    // bytes
    std::uint8_t start_bit = 0; // a binary object's bit within the byte at position
    std::uint16_t units = 0;    // engineering unit number

    bool Commandable() const; // an output type: a priority array and a relinquish default
    bool Has_Units() const;   // an analog or integer type: it serves units
};

// The device the converter is: its BACnet settings from bank 1 and its
// objects from bank 2.
struct Served_Device
{
    std::uint32_t instance = 0;
    QString name;
    std::uint16_t port = 47808;
    bool mstp = false;            // configured for MS/TP: the same device is served over IP
    QList<Served_Object> objects; // in the records' order
    QStringList warnings;         // what `check` warns of (two objects under one name, ...)
};

// The device the two decoded images describe. Fails when the images hold
// records whose type the counts do not give.
Result<Served_Device> Served_Device_Of(const Decoded_Pair &pair);

// The configuration compiled in memory through the gate (refused with the
// text `check` prints) and its images decoded into the served device; the
// gate's warnings go into `warnings`.
Result<Served_Device> Load_Served_Device(const Configuration_Snapshot &configuration);
