#pragma once

#include <QString>
#include <QStringView>

// How the compiler compares the choice texts of the documents. Upper-casing
// touches the letters a-z only: every text the converter knows is plain
// ASCII, and a non-ASCII letter that some case mapping would turn into one of
// them (a dotless i, a long s) is not the word the user meant to write.
QString Ascii_Upper(QStringView text);

// Removes blanks and control characters (codes up to 32) at both ends.
QStringView Trim_Controls(QStringView text);

// Upper-cased and trimmed, the form the band, network and activation texts are
// compared in.
inline QString Upper_Trimmed(QStringView text)
{
    return Ascii_Upper(Trim_Controls(text));
}
