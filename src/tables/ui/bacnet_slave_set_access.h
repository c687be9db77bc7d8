#pragma once

#include "tables/bacnet_access.h"
#include "tables/ui/table_window.h"

class QTabWidget;
class QWidget;
class Table_Grid;
class TFBACnet_Eng_Unit;

// The BACnet object window: the Read and Write object tables of the open
// configuration on two pages, with drop-down lists for the type, position
// and start bit, the unit picker on a double click in Eng. Unit, the Enter
// jump and the column fitting of the settings, and the row buttons.
class TFBACnetSlaveSetAccess : public Table_Window
{
    Q_OBJECT

public:
    TFBACnetSlaveSetAccess(Workspace &ws, TFBACnet_Eng_Unit *picker, QWidget *parent = nullptr);

    // A double click on the Eng. Unit cell of `row`: the picker, opened on
    // the cell's text; on OK the cell takes the picker's number box.
    void Pick_Unit(int page, int row);

    bool Do_Copy_Read() const { return Copy().Do_Copy_Read(); }
    bool Do_Copy_Write() const { return Copy().Do_Copy_Write(); }

    // The object tables, the data-area sizes and the document.
    BACnet_Slave_Set_Access Access;

    QTabWidget *PageControl1;
    QWidget *TS_BACnet_in_Read;
    QWidget *TS_BACnet_in_Write;
    Table_Grid *ACG_BACnet_in_Read;
    Table_Grid *ACG_BACnet_in_Write;

protected:
    Text_Table &Table(int page) override { return Access.Table(page); }
    Load_Report Load_Documents() override;
    Problem_List Check_Documents() override;
    bool Warnings_Accepted() override;
    Result<> Save_Documents() override;
    Points_Tables Points() const override { return Points_Of(Access); }
    Data_Map Map_Of_Tables() const override;
    bool Holds_Rules() const override { return false; }
    int Position_Column() const override { return Obj_Position; }
    QString Points_File() const override { return QStringLiteral("BACnet_Objects.csv"); }

private:
    Table_Grid *Make_Grid(int page, const char *name);

    TFBACnet_Eng_Unit *picker_;
};
