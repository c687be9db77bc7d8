#include "tables/ui/lora_set_access.h"

#include "tables/bacnet_access.h"
#include "tables/data_map.h"
#include "tables/table_messages.h"
#include "tables/ui/table_grid.h"
#include "widgets/texts.h"
#include "workspace/workspace.h"

#include <QTabWidget>

namespace {

QStringList Column_Hints(const Text_Table &table)
{
    QStringList hints;
    for (int c = 0; c < table.Column_Count(); ++c)
        hints.append(Msg(table.Column(c).hint_message));
    return hints;
}

} // namespace

TFLoRa_Set_Access::TFLoRa_Set_Access(Workspace &ws, QWidget *parent)
    : Table_Window(ws,
                   {.title = Msg_LoRa_Access_Title,
                    .desc = Msg_LoRa_Access_Description,
                    .first_caption = Msg_LoRa_Access_First_Button,
                    .first_hint = Msg_LoRa_Access_First_Button_Hint,
                    .first_page = Msg_LoRa_Uplink,
                    .number_titles = {Msg_Uplink_Number_Title, Msg_Downlink_Number_Title},
                    .shown_hints = {}},
                   parent)
{
    setObjectName(QStringLiteral("FLoRa_Set_Access"));
    Watch_Problems([this] { return Rule_Live_Problems(Access); });
    PC_LoRa = new QTabWidget(this);
    PC_LoRa->setObjectName(QStringLiteral("PC_LoRa"));
    ACG_LoRa_Uplink = new Table_Grid(Access.Uplink);
    ACG_LoRa_Uplink->setObjectName(QStringLiteral("ACG_LoRa_Uplink"));
    ACG_LoRa_Downlink = new Table_Grid(Access.Downlink);
    ACG_LoRa_Downlink->setObjectName(QStringLiteral("ACG_LoRa_Downlink"));
    TS_LoRa_Uplink = Page_Holding(ACG_LoRa_Uplink, "TS_LoRa_Uplink");
    TS_LoRa_Downlink = Page_Holding(ACG_LoRa_Downlink, "TS_LoRa_Downlink");
    Build(PC_LoRa, TS_LoRa_Uplink, TS_LoRa_Downlink, false);
    Set_Grids(ACG_LoRa_Uplink, ACG_LoRa_Downlink);
    Set_Opening_Size(900);
    Set_Lang();
}

void TFLoRa_Set_Access::Set_Lang()
{
    Table_Window::Set_Lang();
    Hint_UpLink = Column_Hints(Access.Uplink);
    Hint_DownLink = Column_Hints(Access.Downlink);
}

Load_Report TFLoRa_Set_Access::Load_Documents()
{
    return Access.Load(ws_.File_ParGen, ws_.File_LoRaWAN_Access);
}

Problem_List TFLoRa_Set_Access::Check_Documents()
{
    return Access.Check_Before_Save();
}

Result<> TFLoRa_Set_Access::Save_Documents()
{
    return Access.Save(ws_.File_LoRaWAN_Access);
}

Data_Map TFLoRa_Set_Access::Map_Of_Tables() const
{
    BACnet_Slave_Set_Access objects;
    (void)objects.Load(ws_.File_ParGen, ws_.File_BACnet_Slave_Access);
    return Build_Data_Map(objects, Access);
}
