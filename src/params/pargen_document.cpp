#include "params/pargen_document.h"

#include "core/file_io.h"
#include "core/int_read.h"
#include "params/lora_tables.h"
#include "params/pargen_form.h"

namespace {

constexpr const char *Root_Name = "Par_Gen";

std::optional<QString> Child(pugi::xml_node root, const char *name)
{
    QString text;
    if (!Child_Text(root, name, &text))
        return std::nullopt;
    return text;
}

// The first data rate of the stored band, the band matched as the window
// matches it (whole text, letter case ignored); empty for an unknown band.
QString First_DataRate(const QString &band_text)
{
    const QStringList bands = LoRa_Band_Texts();
    const int band = Find_Item_Ignoring_Case(bands, band_text);
    if (band < 0)
        return QString();
    return Change_LoRa_DataRate(bands[band]).value(0);
}

} // namespace

int ParGen_Document::Int_Or(ParGen_Key key, int fallback) const
{
    const std::optional<QString> &text = Text(key);
    return text ? Str_To_Int_Def(*text, fallback) : fallback;
}

bool ParGen_Document::Flag(ParGen_Key key) const
{
    const std::optional<QString> &text = Text(key);
    return text && *text == u"1";
}

ParGen_Document Read_ParGen_Document(const QString &path)
{
    ParGen_Document document;
    Xml_Document doc;
    document.state_ = doc.Load(path);
    document.problem_ = doc.Problem();
    document.path_ = path;
    // A missing or damaged file has a null root: no key is found.
    const pugi::xml_node root = doc.Root();
    for (ParGen_Key key : All_ParGen_Keys())
        document.texts_[std::size_t(key)] = Child(root, Key_Info(key).Name);
    document.transmit_interval_ = Child(root, Transmit_Interval_Element);
    return document;
}

ParGen_Values No_Document_ParGen_Values()
{
    ParGen_Values values;
    values[ParGen_Key::LoRa_DataRate] = No_Document_DataRate();
    values[ParGen_Key::LoRa_Payload_Size] =
        QString::number(Find_Max_PayLoad(values[ParGen_Key::LoRa_RF_Band], values[ParGen_Key::LoRa_DataRate]));
    return values;
}

ParGen_Values Load_ParGen(const ParGen_Document &document)
{
    if (document.Status() != ParGen_Document::State::Loaded)
        return No_Document_ParGen_Values();

    ParGen_Values values;
    for (ParGen_Key key : All_ParGen_Keys()) {
        if (const std::optional<QString> &text = document.Text(key))
            values[key] = *text;
        else if (key == ParGen_Key::LoRa_DataRate)
            values[key] = First_DataRate(values[ParGen_Key::LoRa_RF_Band]);
    }
    if (!document.Has(ParGen_Key::LoRa_Payload_Size)) {
        // The window never uses the stored payload; its default is what the
        // window computes for the stored band and data rate.
        ParGen_Form form;
        form.Load(values);
        values[ParGen_Key::LoRa_Payload_Size] = form.Text(ParGen_Key::LoRa_Payload_Size);
    }
    return values;
}

ParGen_Values Load_ParGen(const QString &path)
{
    return Load_ParGen(Read_ParGen_Document(path));
}

QByteArray Serialise_ParGen(const ParGen_Values &values)
{
    Xml_Document doc;
    pugi::xml_node root = doc.Begin(Root_Name, true);
    for (ParGen_Key key : All_ParGen_Keys())
        Add_Key(root, Key_Info(key).Name, values[key]);
    return doc.Serialise();
}

Result<> Save_ParGen(const ParGen_Values &values, const QString &path)
{
    return Write_Document_Atomic(path, Serialise_ParGen(values));
}
