#include "compiler/image_diff.h"

QStringList Image_Differences(const Bank_Images &before, const Bank_Images &after)
{
    // Placeholder until the field-by-field comparison lands: tells only
    // whether the bytes differ.
    QStringList lines;
    if (before.bank1 != after.bank1)
        lines << QStringLiteral("bank1");
    if (before.bank2 != after.bank2)
        lines << QStringLiteral("bank2");
    return lines;
}
