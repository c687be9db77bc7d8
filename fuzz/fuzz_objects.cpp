// The object window's load of a document: both object tables, their check
// and their save. The same input serves as the parameter document the window
// reads the description length from. Properties: the reading is strict; what
// the window loads and then saves reads back the same; a second save writes
// the same bytes.

#include "fuzz_support.h"
#include "table_round_trip.h"
#include "tables/bacnet_access.h"
#include "tables/object_document.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString path = fuzz::Scratch(QStringLiteral("objects.xml"));
    const QByteArray input = fuzz::Bytes(data, size);
    fuzz::Put_File(path, input);
    Xml_Document doc;
    doc.Load(path);
    fuzz::Check_Strict_Reading(input, doc);
    fuzz::Table_Round_Trip<BACnet_Slave_Set_Access>(Read_ParGen_Document(path), path, Read_Object_Document, "objects");
    return 0;
}
