#pragma once

#include "tables/lora_access.h"
#include "tables/ui/table_window.h"

#include <QStringList>

class QTabWidget;
class QWidget;
class Table_Grid;

// The LoRaWAN rule window: the uplink and downlink rules of the open
// configuration, each table on its own page. The row buttons act on the
// table of the page shown; the column descriptions show as cell tips. The
// grids have no Enter jump and no column fitting of their own.
class TFLoRa_Set_Access : public Table_Window
{
    Q_OBJECT

public:
    explicit TFLoRa_Set_Access(Workspace &ws, QWidget *parent = nullptr);

    void Set_Lang() override;

    // The rule tables, the payload size and the document.
    LoRa_Set_Access Access;

    QTabWidget *PC_LoRa;
    QWidget *TS_LoRa_Uplink;
    QWidget *TS_LoRa_Downlink;
    Table_Grid *ACG_LoRa_Uplink;
    Table_Grid *ACG_LoRa_Downlink;
    // One description per data column, as the cell tips show them.
    QStringList Hint_UpLink;
    QStringList Hint_DownLink;

protected:
    Text_Table &Table(int page) override { return Access.Table(page); }
    Load_Report Load_Documents() override;
    Problem_List Check_Documents() override;
    Result<> Save_Documents() override;
    Points_Tables Points() const override { return Points_Of(Access); }
    Data_Map Map_Of_Tables() const override;
    bool Holds_Rules() const override { return true; }
    int Position_Column() const override { return Up_StartByte; }
    QString Points_File() const override { return QStringLiteral("LoRaWAN_Rules.csv"); }
};
