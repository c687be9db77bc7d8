#pragma once

#include <QStringView>

// The one integer reading of the program, used for every number taken from a
// document, a table cell or an edit field. Leading blanks are skipped, an
// optional sign follows, then decimal digits (signed 32-bit range) or
// hexadecimal digits after "$", "x", "X", "0x" or "0X" (at most 32 bits,
// taken as a 32-bit pattern). Nothing may follow the digits. Any other text,
// the empty text included, gives `fallback`.
int Str_To_Int_Def(QStringView text, int fallback);

// The same reading, telling whether the text was a number.
bool Try_Str_To_Int(QStringView text, int *value);

// The same reading of a raw UTF-8 text (an attribute value as the XML
// library holds it), without making a QString for the short ASCII texts that
// table rows hold.
bool Try_Utf8_To_Int(const char *value, int *result);
