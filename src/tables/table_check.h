#pragma once

#include "tables/table_document.h"

#include <QStringList>

class ParGen_Document;
class Rule_Document;
class Object_Document;

// A table document of a configuration, loaded and checked as its window
// would on OK, without a window: for the gate and the command line.
struct Table_Check
{
    Load_Report Report;
    Check_Result Check;
    // What refuses nothing but the user should read: the object names that
    // are empty or shared (the object table only).
    QStringList Name_Warnings;
    // Every failure of the check (its first is `Check`), the overlap
    // warnings, the table captions by page and the number the grid gives row 0.
    QList<Table_Problem> All;
    QList<Table_Problem> Overlaps;
    QStringList Captions;
    int Row_Base = 0;

    // Everything the user must read: the load's warnings, then the check's failure.
    QStringList Texts() const;
    // The check passed and the load put no row at risk nor met a damaged file.
    bool Clean() const;
};

// The rule table and the object table of documents already read.
Table_Check Check_LoRaWAN_Access(const ParGen_Document &pargen, const Rule_Document &rules);
Table_Check Check_BACnet_Slave_Access(const ParGen_Document &pargen, const Object_Document &objects);
