#pragma once

#include "core/text.h"

#include <QString>
#include <QStringView>

// Upper-cased and trimmed, the form the band, network and activation texts are
// compared in.
inline QString Upper_Trimmed(QStringView text)
{
    return Ascii_Upper(Trim_Controls(text));
}
