#pragma once

#include "inspector/image_model.h"

#include <QString>

// The decoded images as a report for people: a section for each part of the
// images, fields as aligned "name  value" lines, rule entries and object
// records as tables with aligned columns, names beside their codes, "-" where
// a field has no value.
QString Dump_Table(const Decoded_Bank1 &bank1);
QString Dump_Table(const Decoded_Bank2 &bank2);
QString Dump_Table(const Decoded_Pair &pair);
