#pragma once

#include <QString>
#include <QStringView>

// Removes blanks and control characters (codes up to 32) at both ends: the
// trimming of language lines, address boxes, the version reply and the
// documents' choice texts.
QStringView Trim_Controls(QStringView text);

// Upper-casing that touches the letters a-z only: every text the converter
// knows is plain ASCII, and a non-ASCII letter that some case mapping would
// turn into one of them (a dotless i, a long s) is not the word the user
// meant to write.
QString Ascii_Upper(QStringView text);
