#pragma once

#include "core/result.h"

#include <QByteArray>
#include <QString>

class ParGen_Document;
struct Workspace;
class Rule_Document;
class Object_Document;

// The two images of a configuration: "bank1.bin" (2048 bytes, for device
// address 0x7000) and "bank2.bin" (75776 bytes, for 0x80000).
struct Bank_Images
{
    QByteArray bank1;
    QByteArray bank2;
};

// Builds both images from the three documents of a configuration, as they
// were read; nothing touches the disk. A missing document leaves its part of
// the images at the initial values. Fails, with a message that names the
// file, key or row, when a document is damaged or holds something the images
// cannot carry exactly; then no image exists.
Result<Bank_Images> Compile_Project(const ParGen_Document &pargen, const Rule_Document &rules,
                                    const Object_Document &objects);
// The same, reading the three documents first (an empty path names no
// document).
Result<Bank_Images> Compile_Project(const QString &file_pargen, const QString &file_lorawan,
                                    const QString &file_bacnet);
// The same for the documents of the open configuration of `ws`.
Result<Bank_Images> Compile_Project(const Workspace &ws);
