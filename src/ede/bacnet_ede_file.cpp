#include "ede/bacnet_ede_file.h"

#include "core/file_io.h"
#include "core/int_read.h"
#include "core/messages.h"
#include "ede/ede_messages.h"
#include "params/pargen_document.h"
#include "snapshot/configuration_snapshot.h"
#include "tables/csv_text.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace {

struct EDE_Group
{
    Object_Group group;
    const char *table; // the table as the object window names it
    char16_t area;     // the data area in the vendor-specific address
    bool settable;     // whether BACnet clients write its objects
};

// Read objects first: their numbering goes on in the written objects.
constexpr EDE_Group EDE_Groups[] = {
    {Object_Group::Read, "BACnet in Read", u'R', false},
    {Object_Group::Write, "BACnet in Write", u'W', true},
};

// The cells that reach the file as they are; the Data_Type only becomes a
// number.
constexpr Object_Column Written_Cells[] = {Obj_Mnemonic, Obj_Eng_Unit};

QString Native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

} // namespace

Result<> EDE_File::Read_Device_Settings(const ParGen_Document &document)
{
    device_instance_.clear();
    device_key_ = ParGen_Key::BACnet_DEV_IDE;
    long_names_ = false;
    if (document.Is_Damaged())
        return Fail(document.Problem());
    // A missing file holds no key, so every key takes its fallback.
    if (document.Int_Or(ParGen_Key::BACnet_Type, 0) == 1)
        device_key_ = ParGen_Key::BACnet_Ser_DEV_IDE;
    device_instance_ = document.Text_Or(device_key_, QString());
    long_names_ = document.Flag(ParGen_Key::BACnet_Desc_Chars_Limit);
    return {};
}

Result<> EDE_File::Collect_Objects(const Object_Document &objects)
{
    // A missing file gives the header lines only.
    return When_Loaded(objects, [&]() -> Result<> {
        // A missing group would silently drop objects the integrator expects, so
        // both must be there before anything is collected.
        for (const EDE_Group &group : EDE_Groups) {
            if (!objects.Has_Group(group.group))
                return Fail(
                    Messages()
                        .Get(Msg_EDE_Group_Missing)
                        .arg(Native(objects.Path()), QLatin1StringView(Object_Document::Group_Element(group.group))));
        }
        for (const EDE_Group &group : EDE_Groups) {
            int row = 0;
            Result<> result;
            objects.For_Each_Object(group.group, [&](const Object_Row_Text &object) {
                ++row;
                if (!result)
                    return;
                for (const Object_Column cell : Written_Cells) {
                    const QString text = object.Text(cell);
                    // Each cell starts a field of its own (the object name and
                    // the description start as the Mnemonic does).
                    // A cell that a spreadsheet would run as a formula is
                    // refused, not written behind an apostrophe: the object
                    // name must be the one the device serves.
                    const int refusal = EDE_Breaks_Columns(text)    ? Msg_EDE_Cell_Breaks_Columns
                                        : EDE_Starts_Quoted(text)   ? Msg_EDE_Cell_Starts_Quoted
                                        : Csv_Runs_As_Formula(text) ? Msg_EDE_Cell_Runs_As_Formula
                                                                    : 0;
                    if (refusal != 0) {
                        result = Fail(Messages().Get(refusal).arg(QString::number(row), QLatin1StringView(group.table),
                                                                  QLatin1StringView(Object_Attributes[cell])));
                        return;
                    }
                }
                const QString data_type = object.Text(Obj_Data_Type);
                const QString address =
                    EDE_Vendor_Address(QChar(group.area), object.Text(Obj_Position), object.Text(Obj_Bit),
                                       object.Text(Obj_Length), EDE_Is_Binary(EDE_Object_Type(data_type)));
                Add_Object(data_type, object.Text(Obj_Eng_Unit), object.Text(Obj_Mnemonic), group.settable, address);
            });
            if (!result)
                return result;
        }
        return {};
    });
}

void EDE_File::Add_Object(const QString &data_type, const QString &eng_unit, const QString &mnemonic, bool settable,
                          const QString &address)
{
    const int code = EDE_Object_Type(data_type);
    const QString instance = QString::number(Next_EDE_Instance(code));
    const QString name = EDE_Object_Name(mnemonic, long_names_);
    objects_.append(EDE_Classic_Obj{
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

int EDE_File::Next_EDE_Instance(int code)
{
    const int index = EDE_Type_Index(code);
    return counters_[index < 0 ? 0 : index]++;
}

QStringList EDE_File::Lines(const QString &project_name, const QString &time_stamp) const
{
    QStringList lines = EDE_Header_Lines(project_name, time_stamp);
    lines.reserve(lines.size() + objects_.size());
    for (const EDE_Classic_Obj &obj : objects_)
        lines << EDE_Object_Line(obj);
    return lines;
}

QStringList EDE_File::Standard_Lines(const QString &project_name, const QString &time_stamp) const
{
    QStringList lines = EDE_Standard_Header_Lines(project_name, time_stamp);
    for (const EDE_Standard_Obj &obj : standard_)
        lines << EDE_Standard_Object_Line(obj);
    return lines;
}

QStringList EDE_File::State_Text_Lines() const
{
    return EDE_State_Text_Lines(state_text_references_);
}

QStringList EDE_File::Unit_Lines() const
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

Result<> Create_EDE_File(const Configuration_Snapshot &configuration, const QString &file_name, const QDateTime &at,
                         const EDE_Options &options)
{
    // A folder that is gone would give a file of default documents: no objects.
    if (!configuration.Folder)
        return configuration.Folder;
    const QString &project_name = configuration.Project_Name;
    if (EDE_Breaks_Columns(project_name))
        return Fail(Messages().Get(Msg_EDE_Name_Breaks_Columns).arg(project_name));
    EDE_File ede;
    if (Result<> settings = ede.Read_Device_Settings(configuration.ParGen); !settings)
        return settings;
    if (Result<> objects = ede.Collect_Objects(configuration.Objects); !objects)
        return objects;
    // The device instance appears only in object lines.
    if (!ede.Objects().isEmpty() && EDE_Breaks_Columns(ede.Device_Instance()))
        return Fail(Messages()
                        .Get(Msg_EDE_Key_Breaks_Columns)
                        .arg(Key_Name(ede.Device_Key()), Native(configuration.ParGen.Path())));
    if (options.layout == EDE_Layout::Classic)
        return Write_File_Atomic(file_name, Encode_EDE_Lines(ede.Lines(project_name, EDE_Time_Stamp(at))));
    const EDE_File_Set files = EDE_Files_For(file_name);
    auto bytes = [&](const QStringList &lines) { return Encode_EDE_Lines(lines, options.charset); };
    return Write_Files_Atomic({
        {files.main, bytes(ede.Standard_Lines(project_name, EDE_Standard_Time_Stamp(at)))},
        {files.state_texts, bytes(ede.State_Text_Lines())},
        {files.units, bytes(ede.Unit_Lines())},
        {files.object_types, bytes(EDE_Object_Type_Lines())},
    });
}

Result<> Create_EDE_File(const Workspace &ws, const QString &file_name, const QDateTime &at, const EDE_Options &options)
{
    return Create_EDE_File(Read_Configuration(ws, Output::EDE), file_name, at, options);
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
