#include "tables/lora_access.h"

#include "core/file_io.h"
#include "core/int_read.h"
#include "core/messages.h"
#include "core/xml_document.h"
#include "params/pargen_document.h"
#include "tables/table_messages.h"

namespace {

const QString Yes = QStringLiteral("Y");
const QString No = QStringLiteral("N");

constexpr unsigned Colour_Enable = 0xFFD8B0;
constexpr unsigned Colour_Block = 0xE0FAFE;
constexpr unsigned Colour_Trigger = 0xA8FFA8;
constexpr unsigned Colour_Text = 0xFFFFFF;

// One table's rules: the limits and messages differ between uplink and downlink.
struct Rule_Messages
{
    int start_byte;
    int num_byte;
    int time; // -1: the table has no timer
};

// Appends every failure of the enabled rules of one table, in grid order;
// a rule's three values are judged each by itself.
void Check_Rules(const Text_Table &t, int page, const Rule_Messages &m, qint64 max_bytes, Problem_List &problems)
{
    const int enable = 0;
    const int start = 1;
    const int num = 2;
    const auto fail = [&](int message, int r, int c, const QString &limit = QString()) {
        const QString text =
            Messages().Get(Msg_Rule_Error_Row) + QString::number(t.Row_Number(r)) + Messages().Get(message) + limit;
        problems.Add({.Text = text, .Message = message, .Page = page, .Row = r, .Column = c});
    };
    const int end = End_Of_Table(t, start);
    for (int r = 0; r < end; ++r) {
        if (!Is_Flag_Set(t.Cell(r, enable)))
            continue;
        const int start_byte = Str_To_Int_Def(t.Cell(r, start), -1);
        if (start_byte < 0 || start_byte > LoRa_Max_Start_Byte)
            fail(m.start_byte, r, start);
        const int num_byte = Str_To_Int_Def(t.Cell(r, num), -1);
        if (num_byte < 0 || num_byte > max_bytes)
            fail(m.num_byte, r, num, QString::number(max_bytes));
        if (m.time >= 0 && Is_Flag_Set(t.Cell(r, Up_OnTimer))) {
            const int time = Str_To_Int_Def(t.Cell(r, Up_Time), -1);
            if (time < 30 || time > 86400)
                fail(m.time, r, Up_Time);
        }
    }
}

} // namespace

QList<Column_Desc> Uplink_Columns()
{
    using K = Cell_Kind;
    return {
        {.attribute = Uplink_Attributes[Up_Enable],
         .kind = K::Check,
         .header_message = Msg_Uplink_Enable,
         .hint_message = Msg_Uplink_Enable_Hint,
         .width = 50,
         .colour = Colour_Enable,
         .fresh = Yes,
         .missing = Yes},
        {.attribute = Uplink_Attributes[Up_StartByte],
         .header_message = Msg_Uplink_Start_Byte,
         .hint_message = Msg_Uplink_Start_Byte_Hint,
         .width = 80,
         .colour = Colour_Block},
        {.attribute = Uplink_Attributes[Up_NumByte],
         .header_message = Msg_Uplink_Num_Byte,
         .hint_message = Msg_Uplink_Num_Byte_Hint,
         .width = 80,
         .colour = Colour_Block},
        {.attribute = Uplink_Attributes[Up_OnChange],
         .kind = K::Check,
         .header_message = Msg_Uplink_On_Change,
         .hint_message = Msg_Uplink_On_Change_Hint,
         .width = 70,
         .colour = Colour_Trigger,
         .missing = No},
        {.attribute = Uplink_Attributes[Up_OnCMD],
         .kind = K::Check,
         .header_message = Msg_Uplink_On_CMD,
         .hint_message = Msg_Uplink_On_CMD_Hint,
         .width = 55,
         .colour = Colour_Trigger,
         .missing = No},
        {.attribute = Uplink_Attributes[Up_OnTimer],
         .kind = K::Check,
         .header_message = Msg_Uplink_On_Timer,
         .hint_message = Msg_Uplink_On_Timer_Hint,
         .width = 65,
         .colour = Colour_Trigger,
         .missing = No},
        {.attribute = Uplink_Attributes[Up_Time],
         .header_message = Msg_Uplink_Time,
         .hint_message = Msg_Uplink_Time_Hint,
         .width = 80,
         .colour = Colour_Trigger},
        {.attribute = Uplink_Attributes[Up_Mnemonic],
         .header_message = Msg_Uplink_Mnemonic,
         .hint_message = Msg_Uplink_Mnemonic_Hint,
         .width = 340,
         .colour = Colour_Text},
    };
}

QList<Column_Desc> Downlink_Columns()
{
    using K = Cell_Kind;
    return {
        {.attribute = Downlink_Attributes[Down_Enable],
         .kind = K::Check,
         .header_message = Msg_Downlink_Enable,
         .hint_message = Msg_Downlink_Enable_Hint,
         .width = 50,
         .colour = Colour_Enable,
         .fresh = Yes,
         .missing = Yes},
        {.attribute = Downlink_Attributes[Down_StartByte],
         .header_message = Msg_Downlink_Start_Byte,
         .hint_message = Msg_Downlink_Start_Byte_Hint,
         .width = 80,
         .colour = Colour_Block},
        {.attribute = Downlink_Attributes[Down_NumByte],
         .header_message = Msg_Downlink_Num_Byte,
         .hint_message = Msg_Downlink_Num_Byte_Hint,
         .width = 80,
         .colour = Colour_Block},
        {.attribute = Downlink_Attributes[Down_Mnemonic],
         .header_message = Msg_Downlink_Mnemonic,
         .hint_message = Msg_Downlink_Mnemonic_Hint,
         .width = 610,
         .colour = Colour_Text},
    };
}

LoRa_Set_Access::LoRa_Set_Access()
    : Uplink(Uplink_Columns(), LoRa_Rule_Rows)
    , Downlink(Downlink_Columns(), LoRa_Rule_Rows)
{}

Load_Report LoRa_Set_Access::Load(const ParGen_Document &pargen, const Rule_Document &rules)
{
    Load_Report report;

    report.ParGen_Problem = pargen.Problem();
    MaxPayloadSize = pargen.Int_Or(ParGen_Key::LoRa_Payload_Size, 0);
    if (!report.ParGen_Problem.isEmpty())
        report.Warnings.append(report.ParGen_Problem);
    if (MaxPayloadSize == 0)
        report.Warnings.append(Messages().Get(Msg_Payload_Size_Not_Set));

    if (rules.Is_Damaged()) {
        report.Document_Problem = rules.Problem();
        report.Warnings.append(Messages()
                                   .Get(rules.Xml().Is_Unreadable() ? Msg_Table_Unreadable : Msg_Table_Damaged)
                                   .arg(rules.Problem()));
    }
    const Xml_Document &doc = rules.Xml();
    const int up_rows = Load_Group(
        Uplink, Table_Group(doc, rules.Path(), Uplink_Group_Element, Messages().Get(Msg_LoRa_Uplink), report),
        LoRa_Rule_Rows);
    const int down_rows = Load_Group(
        Downlink, Table_Group(doc, rules.Path(), Downlink_Group_Element, Messages().Get(Msg_LoRa_Downlink), report),
        LoRa_Rule_Rows);
    Note_Rows_At_Risk(report, Uplink, up_rows, Up_StartByte, Messages().Get(Msg_LoRa_Uplink));
    Note_Rows_At_Risk(report, Downlink, down_rows, Down_StartByte, Messages().Get(Msg_LoRa_Downlink));
    return report;
}

Load_Report LoRa_Set_Access::Load(const QString &file_pargen, const QString &file_access)
{
    return Load(Read_ParGen_Document(file_pargen), Read_Rule_Document(file_access));
}

Problem_List LoRa_Set_Access::Controllo_Dati() const
{
    return All_Problems().First_Error();
}

Problem_List LoRa_Set_Access::All_Problems() const
{
    // Computed wide: a payload size near the 32-bit limit must not wrap.
    const qint64 max_bytes = qint64(MaxPayloadSize) - 2;
    Problem_List problems;
    Check_Rules(Uplink, Page_Uplink, {Msg_Uplink_Start_Byte_Range, Msg_Uplink_Num_Byte_Range, Msg_Uplink_Time_Range},
                max_bytes, problems);
    Check_Rules(Downlink, Page_Downlink, {Msg_Downlink_Start_Byte_Range, Msg_Downlink_Num_Byte_Range, -1}, max_bytes,
                problems);
    return problems;
}

QByteArray LoRa_Set_Access::Serialise() const
{
    Xml_Document doc;
    pugi::xml_node root = doc.Begin(Rule_Root_Element, true);
    Save_Group(root, Uplink_Group_Element, Uplink, Up_StartByte);
    Save_Group(root, Downlink_Group_Element, Downlink, Down_StartByte);
    return doc.Serialise();
}

Result<> LoRa_Set_Access::Save(const QString &path) const
{
    return Write_Document_Atomic(path, Serialise());
}

Problem_List LoRa_Set_Access::Check_Before_Save() const
{
    Problem_List check = Controllo_Dati();
    if (!check)
        return check;
    check = Check_Table_End(Uplink, Page_Uplink, Up_StartByte, Messages().Get(Msg_LoRa_Uplink));
    if (!check)
        return check;
    return Check_Table_End(Downlink, Page_Downlink, Down_StartByte, Messages().Get(Msg_LoRa_Downlink));
}

Problem_List LoRa_Set_Access::Confirm(const QString &path) const
{
    return Check_And_Save(*this, path);
}
