#include "workspace/settings.h"

#include "core/int_read.h"
#include "core/xml_document.h"
#include "workspace/workspace.h"

namespace {

bool Setting_Text(pugi::xml_node root, const char *group, const char *key, QString *text)
{
    return Child_Text(root.child(group), key, text);
}

bool Flag(pugi::xml_node group, const char *key)
{
    QString text;
    return Child_Text(group, key, &text) && text == u"1";
}

QString Flag_Text(bool on)
{
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

} // namespace

Result<> Load_Settings(Workspace &ws)
{
    const Workspace defaults;
    ws.Project_Name.clear();
    ws.Last_IP_Address = defaults.Last_IP_Address;
    ws.Language_Name = defaults.Language_Name;
    ws.Enable_Internet = ws.Enable_Update = ws.Enable_Jump_Field_Tables = ws.Double_Click_Auto_Size = false;
    ws.Update_Option = defaults.Update_Option;
    ws.Update_Read_Back = defaults.Update_Read_Back;

    Xml_Document doc;
    if (doc.Load(ws.Settings_File()) != Xml_Document::State::Loaded) {
        ws.Path_Project.clear();
        if (doc.Is_Damaged())
            return Fail(doc.Problem());
        return {};
    }
    const pugi::xml_node root = doc.Root();
    QString text;
    if (Setting_Text(root, "lastproj", "projectname", &text))
        ws.Project_Name = text;
    if (Setting_Text(root, "lastipadd", "ipaddress", &text))
        ws.Last_IP_Address = text;
    if (Setting_Text(root, "lastlang", "language", &text))
        ws.Language_Name = text;
    const pugi::xml_node flags = root.child("lastinternet");
    ws.Enable_Internet = Flag(flags, "enable_internet");
    ws.Enable_Update = Flag(flags, "enable_update");
    ws.Enable_Jump_Field_Tables = Flag(flags, "enable_jump_field_tables");
    ws.Double_Click_Auto_Size = Flag(flags, "Double_Click_Auto_Size");
    // The update window's choices: an option of the three, read back unless "0".
    const pugi::xml_node update = root.child("lastupdate");
    if (Child_Text(update, "option", &text)) {
        const int option = Str_To_Int_Def(text, -1);
        if (option >= 0 && option < Workspace::Update_Option_Count)
            ws.Update_Option = option;
    }
    if (Child_Text(update, "read_back", &text))
        ws.Update_Read_Back = text != u"0";
    return {};
}

Result<> Save_Setting(const Workspace &ws)
{
    Xml_Document doc;
    pugi::xml_node root = doc.Begin("Conf_Settings", false);
    Add_Key(root.append_child("lastproj"), "projectname", ws.Project_Name);
    Add_Key(root.append_child("lastipadd"), "ipaddress", ws.Last_IP_Address);
    Add_Key(root.append_child("lastlang"), "language", ws.Language_Name);
    pugi::xml_node flags = root.append_child("lastinternet");
    Add_Key(flags, "enable_internet", Flag_Text(ws.Enable_Internet));
    Add_Key(flags, "enable_update", Flag_Text(ws.Enable_Update));
    Add_Key(flags, "enable_jump_field_tables", Flag_Text(ws.Enable_Jump_Field_Tables));
    Add_Key(flags, "Double_Click_Auto_Size", Flag_Text(ws.Double_Click_Auto_Size));
    pugi::xml_node update = root.append_child("lastupdate");
    Add_Key(update, "option", QString::number(ws.Update_Option));
    Add_Key(update, "read_back", Flag_Text(ws.Update_Read_Back));

    return doc.Save(ws.Settings_File());
}
