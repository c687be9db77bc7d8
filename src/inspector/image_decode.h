#pragma once

#include "inspector/image_model.h"

#include <QByteArray>
#include <QStringList>

// The images read into the model, for an engineer who wants to see what the
// converter will get. The two images are told apart by their size; each
// decoder expects an image of its own size.
enum class Bank_Kind { Bank1, Bank2, Unknown };
Bank_Kind Bank_Kind_Of(qsizetype size);

// Each decoder adds to `problems` what makes the image unsound, one message
// each: what the compiler never writes (a wrong checksum, a fixed field or a
// table address changed, non-zero bytes where the layout keeps zeros, a count
// beyond its table, an object geometry that cannot be read, a description
// address that points at no description). A sound image adds nothing. Bank 2
// has no checksum, so a changed value inside a record goes unnoticed.
Decoded_Bank1 Decode_Bank1(const QByteArray &image, QStringList &problems);
Decoded_Bank2 Decode_Bank2(const QByteArray &image, QStringList &problems);

// The two images together: each object record of bank 2 also gets its type
// and instance from the counts of bank 1, and one more problem is added when
// the counts and the records disagree.
Decoded_Pair Decode_Pair(const QByteArray &bank1, const QByteArray &bank2, QStringList &problems);
