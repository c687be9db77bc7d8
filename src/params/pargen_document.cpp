#include "params/pargen_document.h"

#include "core/file_io.h"
#include "core/xml_document.h"
#include "params/lora_tables.h"
#include "params/pargen_form.h"

namespace {

constexpr const char *Root_Name = "Par_Gen";

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

ParGen_Values No_Document_ParGen_Values()
{
    ParGen_Values values;
    values[ParGen_Key::LoRa_DataRate] = No_Document_DataRate();
    values[ParGen_Key::LoRa_Payload_Size] =
        QString::number(Find_Max_PayLoad(values[ParGen_Key::LoRa_RF_Band], values[ParGen_Key::LoRa_DataRate]));
    return values;
}

ParGen_Values Load_ParGen(const QString &path, QString *problem)
{
    Xml_Document doc;
    const Xml_Document::State state = doc.Load(path);
    if (problem)
        *problem = doc.Problem();
    if (state != Xml_Document::State::Loaded)
        return No_Document_ParGen_Values();

    const pugi::xml_node root = doc.Root();
    ParGen_Values values;
    for (ParGen_Key key : All_ParGen_Keys()) {
        QString text;
        if (Child_Text(root, Key_Info(key).Name, &text))
            values[key] = text;
        else if (key == ParGen_Key::LoRa_DataRate)
            values[key] = First_DataRate(values[ParGen_Key::LoRa_RF_Band]);
    }
    QString stored;
    if (!Child_Text(root, Key_Info(ParGen_Key::LoRa_Payload_Size).Name, &stored)) {
        // The window never uses the stored payload; its default is what the
        // window computes for the stored band and data rate.
        ParGen_Form form;
        form.Load(values);
        values[ParGen_Key::LoRa_Payload_Size] = form.Text(ParGen_Key::LoRa_Payload_Size);
    }
    return values;
}

QByteArray Serialise_ParGen(const ParGen_Values &values)
{
    Xml_Document doc;
    pugi::xml_node root = doc.Begin(Root_Name, true);
    for (ParGen_Key key : All_ParGen_Keys())
        Add_Key(root, Key_Info(key).Name, values[key]);
    return doc.Serialise();
}

bool Save_ParGen(const ParGen_Values &values, const QString &path, QString *problem)
{
    return Write_File_Atomic(path, Serialise_ParGen(values), problem);
}
