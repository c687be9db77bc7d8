#include "tables/bacnet_access.h"

#include "core/file_io.h"
#include "core/int_read.h"
#include "core/messages.h"
#include "core/xml_document.h"
#include "params/pargen_document.h"
#include "tables/eng_units.h"
#include "tables/table_messages.h"

namespace {

constexpr unsigned Colour_Type = 0xE0FAFE;
constexpr unsigned Colour_Place = 0xFCD6F4;
constexpr unsigned Colour_Swap = 0xFFFFA8;
constexpr unsigned Colour_Text = 0xFFFFFF;

QStringList Numbers(int count)
{
    QStringList items;
    items.reserve(count);
    for (int i = 0; i < count; ++i)
        items.append(QString::number(i));
    return items;
}

struct Table_Messages
{
    int eng_unit;
    int position;
    int last_byte;
};

// Appends every failure of the objects of one table, in grid order and, in
// a row, in the order the rules run; `count` runs over both tables. A row's
// Length and last byte are not judged again once its place has failed.
void Check_Objects(const Text_Table &t, const Object_Rows &rows, int page, const Table_Messages &m, int nbyte,
                   int *count, Problem_List &problems)
{
    const auto fail_with = [&](int message, const QString &rule, int r, int c) {
        const QString text = Messages().Get(Msg_Object_Error_Row) + QString::number(t.Row_Number(r)) + rule;
        problems.Add({.Text = text, .Message = message, .Page = page, .Row = r, .Column = c});
    };
    const auto fail = [&](int message, int r, int c, const QString &limit = QString()) {
        fail_with(message, Messages().Get(message) + limit, r, c);
    };
    const QString caption = Messages().Get(page == Page_Read ? Msg_BACnet_Read : Msg_BACnet_Write);
    for (int r = 0; r < int(rows.size()); ++r) {
        const Object_Row &row = rows[size_t(r)];
        ++*count;
        // The compiler and the EDE file read the type as the check does; a
        // type this table does not offer would reach them as another object.
        const Object_Type *type = row.type;
        const bool offered = type && Offers(page, *type);
        if (!offered)
            fail_with(Msg_Object_Type_Not_Offered,
                      Messages().Get(Msg_Object_Type_Not_Offered).arg(caption, t.Cell(r, Obj_Data_Type)), r,
                      Obj_Data_Type);
        if (row.unit < 0 || row.unit > 65535)
            fail(m.eng_unit, r, Obj_Eng_Unit);
        const int position = row.position;
        if (position < 0 || position > nbyte - 1) {
            fail(m.position, r, Obj_Position, QString::number(nbyte - 1));
            continue;
        }
        // The Start Bit and Length rules are the type's.
        if (!offered)
            continue;

        const int rule = type->Message(page);
        const int length = row.length;
        // Wide arithmetic: a Length near the 32-bit limit must not wrap.
        qint64 last_byte = position;
        if (rule >= 0 && type->binary) {
            if (t.Cell(r, Obj_Bit).isEmpty()) {
                fail(rule, r, Obj_Bit);
                continue;
            }
        } else {
            if (rule >= 0 && (length < type->min_length || length > type->max_length)) {
                fail(rule, r, Obj_Length);
                continue;
            }
            last_byte = qint64(position) + length - 1;
        }
        // The compiler reads the Length of every object, binary ones and
        // those without a Length rule included, and stops at one that is
        // not an integer.
        if (!row.length_read) {
            fail_with(Msg_Object_Length_Not_Integer,
                      Messages().Get(Msg_Object_Length_Not_Integer).arg(caption, t.Cell(r, Obj_Data_Type)), r,
                      Obj_Length);
            continue;
        }
        if (last_byte >= nbyte)
            fail(m.last_byte, r, Obj_Length);
    }
}

} // namespace

Object_Rows Read_Object_Rows(const Text_Table &table)
{
    const int end = End_Of_Table(table, Obj_Data_Type);
    Object_Rows rows(size_t(std::max(end, 0)));
    for (int r = 0; r < end; ++r) {
        Object_Row &row = rows[size_t(r)];
        const QString &data_type = table.Cell(r, Obj_Data_Type);
        row.type = Find_Object_Type(data_type);
        row.unit = Str_To_Int_Def(table.Cell(r, Obj_Eng_Unit), -1);
        row.position = Str_To_Int_Def(table.Cell(r, Obj_Position), -1);
        // Only a binary object has a Start Bit to read.
        if (row.type && row.type->binary)
            row.bit = Str_To_Int_Def(table.Cell(r, Obj_Bit), -1);
        row.length_read = Try_Str_To_Int(table.Cell(r, Obj_Length), &row.length);
        if (!row.length_read)
            row.length = 0;
    }
    return rows;
}

QList<Column_Desc> Object_Columns(int page)
{
    using K = Cell_Kind;
    const int h = page == Page_Read ? Msg_Read_Data_Type : Msg_Write_Data_Type;
    // Made once: 1500 texts, the same for every table.
    static const QStringList positions = Numbers(Data_Area_Bytes);
    static const QStringList bits = Numbers(8);
    return {
        {.attribute = Object_Attributes[Obj_Data_Type],
         .kind = K::Combo,
         .header_message = h,
         .width = 150,
         .colour = Colour_Type,
         .items = Data_Type_Items(page)},
        // Wide enough for a number and a common name such as "62  degrees-Celsius";
        // the Mnemonic gives up what this takes, so that the window keeps its
        // width, and gets it back as the window grows.
        {.attribute = Object_Attributes[Obj_Eng_Unit],
         .header_message = h + 1,
         .width = 150,
         .colour = Colour_Type,
         .shown = Unit_Shown},
        {.attribute = Object_Attributes[Obj_Position],
         .kind = K::Combo,
         .header_message = h + 2,
         .width = 64,
         .colour = Colour_Place,
         .items = positions},
        {.attribute = Object_Attributes[Obj_Bit],
         .kind = K::Combo,
         .header_message = h + 3,
         .width = 64,
         .colour = Colour_Place,
         .items = bits},
        {.attribute = Object_Attributes[Obj_Length], .header_message = h + 4, .width = 64, .colour = Colour_Place},
        {.attribute = Object_Attributes[Obj_Swap],
         .kind = K::Check,
         .header_message = h + 5,
         .width = 40,
         .colour = Colour_Swap,
         .hidden = true,
         .missing = QStringLiteral("N")},
        {.attribute = Object_Attributes[Obj_Mnemonic],
         .header_message = h + 6,
         .width = 200,
         .colour = Colour_Text,
         .cut_at = Desc_Chars_Short},
    };
}

BACnet_Slave_Set_Access::BACnet_Slave_Set_Access()
    : Read(Object_Columns(Page_Read), Objects_Short_Desc)
    , Write(Object_Columns(Page_Write), Objects_Short_Desc)
{
    Read.Cell_Edited = [this](int r, int c) {
        if (c == Obj_Data_Type)
            Data_Type_Chosen(Read, Page_Read, r);
    };
    Write.Cell_Edited = [this](int r, int c) {
        if (c == Obj_Data_Type)
            Data_Type_Chosen(Write, Page_Write, r);
    };
}

Load_Report BACnet_Slave_Set_Access::Load(const ParGen_Document &pargen, const Object_Document &objects)
{
    Load_Report report;
    NByte_IN = Data_Area_Bytes;
    NByte_OUT = Data_Area_Bytes;
    // Made once: 1500 texts, the same at every load.
    static const QStringList positions = Numbers(Data_Area_Bytes);
    Read.Set_Items(Obj_Position, positions);
    Write.Set_Items(Obj_Position, positions);

    report.ParGen_Problem = pargen.Problem();
    Desc_Length = pargen.Flag(ParGen_Key::BACnet_Desc_Chars_Limit);
    Read.Set_Cut_At(Obj_Mnemonic, Desc_Chars());
    Write.Set_Cut_At(Obj_Mnemonic, Desc_Chars());
    if (!report.ParGen_Problem.isEmpty())
        report.Warnings.append(report.ParGen_Problem);
    const int rows = Max_Objects();

    if (objects.Is_Damaged()) {
        report.Document_Problem = objects.Problem();
        report.Warnings.append(Messages()
                                   .Get(objects.Xml().Is_Unreadable() ? Msg_Table_Unreadable : Msg_Table_Damaged)
                                   .arg(objects.Problem()));
    }
    const Xml_Document &doc = objects.Xml();
    const int read_rows = Load_Group(
        Read, Table_Group(doc, objects.Path(), Read_Group_Element, Messages().Get(Msg_BACnet_Read), report), rows);
    const int write_rows = Load_Group(
        Write, Table_Group(doc, objects.Path(), Write_Group_Element, Messages().Get(Msg_BACnet_Write), report), rows);
    Note_Rows_At_Risk(report, Read, read_rows, Obj_Data_Type, Messages().Get(Msg_BACnet_Read));
    Note_Rows_At_Risk(report, Write, write_rows, Obj_Data_Type, Messages().Get(Msg_BACnet_Write));
    return report;
}

Load_Report BACnet_Slave_Set_Access::Load(const QString &file_pargen, const QString &file_access)
{
    return Load(Read_ParGen_Document(file_pargen), Read_Object_Document(file_access));
}

Problem_List BACnet_Slave_Set_Access::Controllo_Dati() const
{
    return All_Problems().First_Error();
}

Problem_List BACnet_Slave_Set_Access::All_Problems() const
{
    return All_Problems(Read_Object_Rows(Read), Read_Object_Rows(Write));
}

Problem_List BACnet_Slave_Set_Access::All_Problems(const Object_Rows &read, const Object_Rows &write) const
{
    int count = 0;
    Problem_List problems;
    Check_Objects(Read, read, Page_Read, {Msg_Read_Eng_Unit_Range, Msg_Read_Position_Range, Msg_Read_Too_Many_Bytes},
                  NByte_IN, &count, problems);
    Check_Objects(Write, write, Page_Write,
                  {Msg_Write_Eng_Unit_Range, Msg_Write_Position_Range, Msg_Write_Too_Many_Bytes}, NByte_OUT, &count,
                  problems);
    if (count > Max_Objects())
        problems.Add({.Text = Messages().Get(Msg_Too_Many_Objects) + QString::number(Max_Objects()),
                      .Message = Msg_Too_Many_Objects});
    return problems;
}

QByteArray BACnet_Slave_Set_Access::Serialise() const
{
    Xml_Document doc;
    pugi::xml_node root = doc.Begin(Object_Root_Element, true);
    Save_Group(root, Read_Group_Element, Read, Obj_Data_Type);
    Save_Group(root, Write_Group_Element, Write, Obj_Data_Type);
    return doc.Serialise();
}

Result<> BACnet_Slave_Set_Access::Save(const QString &path) const
{
    return Write_Document_Atomic(path, Serialise());
}

Problem_List BACnet_Slave_Set_Access::Check_Before_Save() const
{
    Problem_List check = Controllo_Dati();
    if (!check)
        return check;
    check = Check_Table_End(Read, Page_Read, Obj_Data_Type, Messages().Get(Msg_BACnet_Read));
    if (!check)
        return check;
    return Check_Table_End(Write, Page_Write, Obj_Data_Type, Messages().Get(Msg_BACnet_Write));
}

Problem_List BACnet_Slave_Set_Access::Confirm(const QString &path) const
{
    return Check_And_Save(*this, path);
}

void Data_Type_Chosen(Text_Table &table, int page, int r)
{
    if (r < 0 || r >= table.Row_Count())
        return;
    const QString length = Length_For(table.Cell(r, Obj_Data_Type), page);
    if (!length.isNull())
        table.Set_Cell(r, Obj_Length, length);
}
