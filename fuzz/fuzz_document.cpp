// A project document through the windows' loads: the parameter document and
// the rule tables, each with its check (the object tables have a target of
// their own, fuzz_objects: their thousands of cells make it slower). The
// root's name is not checked by any reader, so one input is read as both.
// Properties: the reading is strict (bytes invalid in the encoding, an
// attribute twice: damaged); what a window loads and then saves reads back
// the same; a second save writes the same bytes.

#include "core/xml_document.h"
#include "fuzz_support.h"
#include "params/pargen_check.h"
#include "params/pargen_document.h"
#include "params/pargen_form.h"
#include "table_round_trip.h"
#include "tables/lora_access.h"
#include "tables/rule_document.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString path = fuzz::Scratch(QStringLiteral("doc.xml"));
    const QByteArray input = fuzz::Bytes(data, size);
    fuzz::Put_File(path, input);

    Xml_Document doc;
    const Xml_Document::State state = doc.Load(path);
    fuzz::Check_Strict_Reading(input, doc);
    FUZZ_CHECK((state == Xml_Document::State::Damaged) == !doc.Problem().isEmpty(), "a problem without damage");
    FUZZ_CHECK(state == Xml_Document::State::Loaded || !doc.Root(), "a damaged document with a root");

    // The parameter window: open, OK, open again.
    const ParGen_Document document = Read_ParGen_Document(path);
    FUZZ_CHECK(document.Status() == state && document.Problem() == doc.Problem(),
               "the parameter reader sees another file");
    const ParGen_Values values = Load_ParGen(document);
    for (ParGen_Key key : All_ParGen_Keys())
        FUZZ_CHECK(!document.Has(key) || values[key] == *document.Text(key), "%s: the window does not show \"%s\"",
                   Key_Info(key).Name, qPrintable(*document.Text(key)));
    ParGen_Form form;
    form.Load(values);
    (void)Controllo_Dati(form);
    const ParGen_Values saved = form.Values();
    const QString copy = fuzz::Scratch(QStringLiteral("pargen_copy.xml"));
    fuzz::Put_File(copy, Serialise_ParGen(saved));
    const ParGen_Document copied = Read_ParGen_Document(copy);
    FUZZ_CHECK(copied.Problem().isEmpty(), "the saved parameter document is damaged: %s", qPrintable(copied.Problem()));
    ParGen_Form reopened;
    reopened.Load(Load_ParGen(copied));
    // Taken once: the form composes every value anew at each call.
    const ParGen_Values read_back = reopened.Values();
    for (ParGen_Key key : All_ParGen_Keys())
        FUZZ_CHECK(read_back[key] == saved[key], "%s: \"%s\" reads back as \"%s\"", Key_Info(key).Name,
                   qPrintable(saved[key]), qPrintable(read_back[key]));

    // The rule window; the same file also serves as its parameter document.
    fuzz::Table_Round_Trip<LoRa_Set_Access>(document, path, Read_Rule_Document, "rules");
    return 0;
}
