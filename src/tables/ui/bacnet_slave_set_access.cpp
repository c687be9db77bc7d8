#include "tables/ui/bacnet_slave_set_access.h"

#include "tables/data_map.h"
#include "tables/lora_access.h"
#include "tables/object_names.h"
#include "tables/table_messages.h"
#include "tables/ui/bacnet_eng_unit.h"
#include "tables/ui/table_grid.h"
#include "widgets/message_box.h"
#include "workspace/workspace.h"

#include <QLineEdit>
#include <QTabWidget>

TFBACnetSlaveSetAccess::TFBACnetSlaveSetAccess(Workspace &ws, TFBACnet_Eng_Unit *picker, QWidget *parent)
    : Table_Window(ws,
                   {.title = Msg_BACnet_Access_Title,
                    .desc = Msg_BACnet_Access_Description,
                    .first_caption = Msg_BACnet_Access_First_Button,
                    .first_hint = Msg_BACnet_Access_First_Button_Hint,
                    .first_page = Msg_BACnet_Read,
                    .number_titles = {Msg_Read_Number_Title, Msg_Write_Number_Title},
                    // Only Copy Row and Paste Row show their hints.
                    .shown_hints = {4, 5}},
                   parent)
    , picker_(picker)
{
    setObjectName(QStringLiteral("FBACnetSlaveSetAccess"));
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    QFont tahoma = font();
    tahoma.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("Verdana"), QStringLiteral("DejaVu Sans"),
                        QStringLiteral("Sans Serif")});
    setFont(tahoma);

    Watch_Problems([this] { return Object_Live_Problems(Access); });
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    ACG_BACnet_in_Read = Make_Grid(Page_Read, "ACG_BACnet_in_Read");
    ACG_BACnet_in_Write = Make_Grid(Page_Write, "ACG_BACnet_in_Write");
    TS_BACnet_in_Read = Page_Holding(ACG_BACnet_in_Read, "TS_BACnet_in_Read");
    TS_BACnet_in_Write = Page_Holding(ACG_BACnet_in_Write, "TS_BACnet_in_Write");
    Build(PageControl1, TS_BACnet_in_Read, TS_BACnet_in_Write, true);
    Set_Grids(ACG_BACnet_in_Read, ACG_BACnet_in_Write);
    Set_Opening_Size(764);
    Set_Lang();
}

Table_Grid *TFBACnetSlaveSetAccess::Make_Grid(int page, const char *name)
{
    auto *grid = new Table_Grid(Access.Table(page));
    grid->setObjectName(QLatin1StringView(name));
    Workspace &ws = ws_;
    // The settings are read when the key or the click comes: the options
    // dialog may have changed them since the window was built.
    grid->Jump_Enabled = [&ws] { return ws.Enable_Jump_Field_Tables; };
    grid->Auto_Size_Enabled = [&ws] { return ws.Double_Click_Auto_Size; };
    grid->Cell_Double_Click = [this, page](int row, int column) {
        if (column != Obj_Eng_Unit)
            return false;
        Pick_Unit(page, row);
        return true;
    };
    return grid;
}

void TFBACnetSlaveSetAccess::Pick_Unit(int page, int row)
{
    Text_Table &table = Access.Table(page);
    if (!picker_ || row < 0 || row >= table.Row_Count())
        return;
    picker_->Open_On(table.Cell(row, Obj_Eng_Unit));
    if (picker_->exec() == QDialog::Accepted)
        table.setData(table.index(row, Obj_Eng_Unit), picker_->E_Selected_EU->text());
}

Load_Report TFBACnetSlaveSetAccess::Load_Documents()
{
    return Access.Load(ws_.File_ParGen, ws_.File_BACnet_Slave_Access);
}

Problem_List TFBACnetSlaveSetAccess::Check_Documents()
{
    return Access.Check_Before_Save();
}

Result<> TFBACnetSlaveSetAccess::Save_Documents()
{
    return Access.Save(ws_.File_BACnet_Slave_Access);
}

bool TFBACnetSlaveSetAccess::Warnings_Accepted()
{
    const QStringList warnings = Object_Name_Warnings(Access, Access.Desc_Length);
    return warnings.isEmpty() || Message_Box::Confirm(this, Object_Names_Question(warnings, Access.Desc_Length));
}

Data_Map TFBACnetSlaveSetAccess::Map_Of_Tables() const
{
    LoRa_Set_Access rules;
    (void)rules.Load(ws_.File_ParGen, ws_.File_LoRaWAN_Access);
    return Build_Data_Map(Access, rules);
}
