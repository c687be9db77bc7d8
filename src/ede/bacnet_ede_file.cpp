#include "ede/bacnet_ede_file.h"

#include "core/file_io.h"
#include "core/int_read.h"
#include "core/messages.h"
#include "core/xml_document.h"
#include "params/pargen_document.h"
#include "workspace/configurations.h"
#include "workspace/workspace.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace {

struct Object_Group
{
    const char *element; // group element of the document
    const char *table;   // the table as the object window names it
    char16_t area;       // the data area in the vendor-specific address
    bool settable;       // whether BACnet clients write its objects
};

// Read objects first: their numbering goes on in the written objects.
constexpr Object_Group Object_Groups[] = {
    {"BACnet_in_Read", "BACnet in Read", u'R', false},
    {"BACnet_in_Write", "BACnet in Write", u'W', true},
};

// The cells that reach the file as they are; the Data_Type only becomes a
// number.
constexpr const char *Written_Cells[] = {"Mnemonic", "Eng_Unit"};

QString Native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

} // namespace

Result<> TBACnet_EDE_File::Read_Device_Settings(const QString &par_gen)
{
    device_instance_.clear();
    device_key_ = ParGen_Key::BACnet_DEV_IDE;
    long_names_ = false;
    const ParGen_Document document = Read_ParGen_Document(par_gen);
    if (document.Is_Damaged())
        return Fail(document.Problem());
    // A missing file holds no key, so every key takes its fallback.
    if (document.Int_Or(ParGen_Key::BACnet_Type, 0) == 1)
        device_key_ = ParGen_Key::BACnet_Ser_DEV_IDE;
    device_instance_ = document.Text_Or(device_key_, QString());
    long_names_ = document.Flag(ParGen_Key::BACnet_Desc_Chars_Limit);
    return {};
}

Result<> TBACnet_EDE_File::Collect_Objects(const QString &bacnet_doc)
{
    Xml_Document doc;
    doc.Load(bacnet_doc);
    // A missing file gives the header lines only.
    return When_Loaded(doc, [&]() -> Result<> {
        // A missing group would silently drop objects the integrator expects, so
        // both must be there before anything is collected.
        for (const Object_Group &group : Object_Groups) {
            if (!doc.Root().child(group.element))
                return Fail(
                    Messages().Get(Msg_EDE_Group_Missing).arg(Native(bacnet_doc), QLatin1StringView(group.element)));
        }
        for (const Object_Group &group : Object_Groups) {
            int row = 0;
            Result<> result;
            For_Each_Row(doc.Root().child(group.element), [&](pugi::xml_node node) {
                ++row;
                if (!result)
                    return;
                for (const char *cell : Written_Cells) {
                    const QString text = Attr_Text_Def(node, cell, QString());
                    // Each cell starts a field of its own (the object name and
                    // the description start as the Mnemonic does).
                    const int refusal = EDE_Breaks_Columns(text)  ? Msg_EDE_Cell_Breaks_Columns
                                        : EDE_Starts_Quoted(text) ? Msg_EDE_Cell_Starts_Quoted
                                                                  : 0;
                    if (refusal != 0) {
                        result = Fail(Messages().Get(refusal).arg(QString::number(row), QLatin1StringView(group.table),
                                                                  QLatin1StringView(cell)));
                        return;
                    }
                }
                const QString data_type = Attr_Text_Def(node, "Data_Type", QString());
                const QString address = EDE_Vendor_Address(
                    QChar(group.area), Attr_Text_Def(node, "Position", QString()),
                    Attr_Text_Def(node, "Bit", QString()), Attr_Text_Def(node, "Length", QString()),
                    EDE_Is_Binary(EDE_Object_Type(data_type)));
                Add_Object(data_type, Attr_Text_Def(node, "Eng_Unit", QString()),
                           Attr_Text_Def(node, "Mnemonic", QString()), group.settable, address);
            });
            if (!result)
                return result;
        }
        return {};
    });
}

void TBACnet_EDE_File::Add_Object(const QString &data_type, const QString &eng_unit, const QString &mnemonic,
                                  bool settable, const QString &address)
{
    const int code = EDE_Object_Type(data_type);
    const QString instance = QString::number(Next_EDE_Instance(code));
    const QString name = EDE_Object_Name(mnemonic, long_names_);
    objects_.append(TBACnet_EDE_Obj{
        device_instance_ + u'_' + mnemonic + u'_' + instance,
        device_instance_,
        name,
        QString::number(code),
        instance,
        name,
        eng_unit,
    });
    // The type in the keyname keeps it unique: type and instance identify
    // the object, and the last two "_" parts of the keyname are always
    // these two (neither holds a "_").
    int unit = 0;
    standard_.append(EDE_Standard_Obj{
        device_instance_ + u'_' + mnemonic + u'_' + EDE_Type_Abbreviation(code) + u'_' + instance,
        device_instance_,
        name,
        QString::number(code),
        instance,
        mnemonic,
        settable ? QStringLiteral("Y") : QStringLiteral("N"),
        EDE_Is_Multi_State(code) ? QString::number(++state_text_references_) : QString(),
        Try_Str_To_Int(eng_unit, &unit) ? QString::number(unit) : eng_unit,
        address,
    });
}

int TBACnet_EDE_File::Next_EDE_Instance(int code)
{
    const int index = EDE_Type_Index(code);
    return counters_[index < 0 ? 0 : index]++;
}

QStringList TBACnet_EDE_File::Lines(const QString &project_name, const QString &time_stamp) const
{
    QStringList lines = EDE_Header_Lines(project_name, time_stamp);
    lines.reserve(lines.size() + objects_.size());
    for (const TBACnet_EDE_Obj &obj : objects_)
        lines << EDE_Object_Line(obj);
    return lines;
}

QStringList TBACnet_EDE_File::Standard_Lines(const QString &project_name, const QString &time_stamp) const
{
    QStringList lines = EDE_Standard_Header_Lines(project_name, time_stamp);
    for (const EDE_Standard_Obj &obj : standard_)
        lines << EDE_Standard_Object_Line(obj);
    return lines;
}

QStringList TBACnet_EDE_File::State_Text_Lines() const
{
    return EDE_State_Text_Lines(state_text_references_);
}

QStringList TBACnet_EDE_File::Unit_Lines() const
{
    // Each unit the objects use, once, in ascending order.
    QList<int> codes;
    for (const EDE_Standard_Obj &obj : standard_) {
        int code = 0;
        if (Try_Str_To_Int(obj.UnitCode, &code) && !codes.contains(code))
            codes.append(code);
    }
    std::sort(codes.begin(), codes.end());
    return EDE_Unit_Lines(codes);
}

Result<> Create_EDE_File(const Workspace &ws, const QString &file_name, const QDateTime &at,
                         const EDE_Options &options)
{
    // A folder that is gone would give a file of default documents: no objects.
    if (const Result<> folder = Check_Configuration_Folder(ws.Path_Project); !folder)
        return folder;
    if (EDE_Breaks_Columns(ws.Project_Name))
        return Fail(Messages().Get(Msg_EDE_Name_Breaks_Columns).arg(ws.Project_Name));
    TBACnet_EDE_File ede;
    if (Result<> settings = ede.Read_Device_Settings(ws.File_ParGen); !settings)
        return settings;
    if (Result<> objects = ede.Collect_Objects(ws.File_BACnet_Slave_Access); !objects)
        return objects;
    // The device instance appears only in object lines.
    if (!ede.Objects().isEmpty() && EDE_Breaks_Columns(ede.Device_Instance()))
        return Fail(Messages().Get(Msg_EDE_Key_Breaks_Columns).arg(Key_Name(ede.Device_Key()), Native(ws.File_ParGen)));
    if (options.layout == EDE_Layout::Classic)
        return Write_File_Atomic(file_name, Encode_EDE_Lines(ede.Lines(ws.Project_Name, EDE_Time_Stamp(at))));
    const EDE_File_Set files = EDE_Files_For(file_name);
    auto bytes = [&](const QStringList &lines) { return Encode_EDE_Lines(lines, options.charset); };
    return Write_Files_Atomic({
        {files.main, bytes(ede.Standard_Lines(ws.Project_Name, EDE_Standard_Time_Stamp(at)))},
        {files.state_texts, bytes(ede.State_Text_Lines())},
        {files.units, bytes(ede.Unit_Lines())},
        {files.object_types, bytes(EDE_Object_Type_Lines())},
    });
}

EDE_Target EDE_Target_For(const QString &chosen, EDE_Layout layout)
{
    EDE_Target target;
    target.file_name = EDE_File_Name(chosen);
    target.ask_overwrite = QFileInfo::exists(target.file_name);
    if (layout == EDE_Layout::Standard) {
        const EDE_File_Set files = EDE_Files_For(target.file_name);
        for (const QString &companion : {files.state_texts, files.units, files.object_types})
            target.ask_overwrite = target.ask_overwrite || QFileInfo::exists(companion);
    }
    return target;
}
