#pragma once

#include "core/problems.h"
#include "tables/table_document.h"

class ParGen_Document;
class Rule_Document;
class Object_Document;

// A table document of a configuration, loaded and checked as its window
// would on OK, without a window: for the gate and the command line. Every
// problem names the document (its file name), and those of a row its table
// and the row as the grid numbers it.
struct Table_Check
{
    Load_Report Report;
    // The load's warnings, as errors while the load put rows at risk or met
    // a damaged file (they refuse OK then); empty otherwise.
    Problem_List Load_Problems;
    // Every failure of the check, in the order OK meets them.
    Problem_List Failures;
    // What refuses nothing: the overlapping rows, and the object names that
    // are empty or shared (the object table only; one warning a name, not a
    // row).
    Problem_List Overlaps;
    Problem_List Name_Warnings;

    // What OK says: the load's problems, then the check's first failure.
    Problem_List As_OK() const;
};

// The rule table and the object table of documents already read.
Table_Check Check_LoRaWAN_Access(const ParGen_Document &pargen, const Rule_Document &rules);
Table_Check Check_BACnet_Slave_Access(const ParGen_Document &pargen, const Object_Document &objects);
