#pragma once

#include "tables/rule_document.h"
#include "tables/table_document.h"
#include "tables/text_table.h"

#include <QByteArray>

class ParGen_Document;

// Pages of the rule window.
enum LoRa_Page : int { Page_Uplink, Page_Downlink };

inline constexpr int LoRa_Rule_Rows = 256;
// The converter's data area ends at byte 1536; a rule's start byte may not pass it.
inline constexpr int LoRa_Max_Start_Byte = 1536;

QList<Column_Desc> Uplink_Columns();
QList<Column_Desc> Downlink_Columns();

// The LoRaWAN uplink and downlink rules of a configuration, as the rule
// window shows them: loaded from "LoRaWAN_SetAccess.xml", checked, written.
class LoRa_Set_Access
{
public:
    LoRa_Set_Access();

    // Takes the payload size from "ParGen.xml" and the rules from their
    // document; never fails. The report carries the warnings to show.
    Load_Report Load(const ParGen_Document &pargen, const Rule_Document &rules);
    // The same, reading both documents.
    Load_Report Load(const QString &file_pargen, const QString &file_access);

    // Checks the enabled rules of both tables; the first failure of `All_Problems`.
    Problem_List Controllo_Dati() const;
    // Every failure of that check: the uplink rules', then the downlink
    // rules', in grid order and, in a rule, by column.
    Problem_List All_Problems() const;

    // The document of the current tables, in its raw form.
    QByteArray Serialise() const;
    Result<> Save(const QString &path) const;

    // What OK refuses before it writes: the check, then, for each table,
    // rows with text that the end of the table would drop.
    Problem_List Check_Before_Save() const;

    // The OK button: `Check_Before_Save`, then the write.
    Problem_List Confirm(const QString &path) const;

    Text_Table &Table(int page) { return page == Page_Uplink ? Uplink : Downlink; }
    const Text_Table &Table(int page) const { return page == Page_Uplink ? Uplink : Downlink; }

    Text_Table Uplink;
    Text_Table Downlink;
    // The project's LoRaWAN payload size; 0 when it is not set.
    int MaxPayloadSize = 0;
};
