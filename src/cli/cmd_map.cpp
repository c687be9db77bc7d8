#include "cli/commands.h"
#include "core/messages.h"
#include "snapshot/configuration_snapshot.h"
#include "tables/bacnet_access.h"
#include "tables/data_map.h"
#include "tables/lora_access.h"
#include "workspace/workspace.h"
#include "workspace/workspace_messages.h"

#include <QTextStream>

// `map NAME`: the lists of the data-area map, one a line, then a picture of
// each area and of each rule direction. Ends with 1 when an overlap or an
// overrun is listed, or a document could not be read, so that a script can
// stop before compiling.
int Command_Map(const Command_Context &c)
{
    if (!Open_Existing(c.ws, c.args.at(0))) {
        c.Message(Msg_Project_Not_Valid);
        return 1;
    }
    const Configuration_Snapshot configuration = Read_Configuration(c.ws, Output::Images);
    BACnet_Slave_Set_Access objects;
    LoRa_Set_Access rules;
    bool damaged = false;
    for (const Load_Report &report : {objects.Load(configuration.ParGen, configuration.Objects),
                                      rules.Load(configuration.ParGen, configuration.Rules)}) {
        // A damaged document loads as empty tables: the map would hide it.
        if (!report.Document_Problem.isEmpty()) {
            c.Message(report.Document_Problem);
            damaged = true;
        }
    }
    const Data_Map map = Build_Data_Map(objects, rules);
    for (const QString &line : Data_Map_Lines(map))
        c.out << line << Qt::endl;
    c.out << Qt::endl << Messages().Get(Msg_Map_Legend) << Qt::endl;
    for (const auto &[is_rules, page] : {std::pair{false, int(Page_Read)}, std::pair{false, int(Page_Write)},
                                         std::pair{true, int(Page_Uplink)}, std::pair{true, int(Page_Downlink)}}) {
        c.out << Qt::endl;
        for (const QString &line : Area_Picture(map, is_rules, page))
            c.out << line << Qt::endl;
    }
    return damaged || map.Faulty() ? 1 : 0;
}
