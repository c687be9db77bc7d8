#pragma once

#include "core/result.h"
#include "params/pargen_document.h"
#include "tables/object_document.h"
#include "tables/rule_document.h"

#include <QString>

struct Workspace;

// What may be made from a configuration.
enum class Output {
    Images, // bank1.bin and bank2.bin: the parameters, the rules and the objects
    EDE,    // the EDE file: the parameters and the objects; the rules are not read
};

// A configuration as one operation sees it: each of its documents read once,
// at the start, and handed on from there. The gate checks it, the compiler
// builds the images from it, the EDE export and the map read their objects
// and rules from it; nothing inside the operation reads a document again, so
// every step sees the same bytes even when the file changes meanwhile.
struct Configuration_Snapshot
{
    QString Project_Name;
    QString Path_Project;
    // Ok when the configuration's folder was there to read from. Without an
    // open configuration, or with its folder gone, it fails (message 18, then
    // a line naming the folder) and no document was read: nothing may be made
    // from the defaults missing documents would give.
    Result<> Folder;
    ParGen_Document ParGen;
    Rule_Document Rules; // never read for the EDE file: missing
    Object_Document Objects;
};

// Reads the open configuration of `ws` for `what`.
Configuration_Snapshot Read_Configuration(const Workspace &ws, Output what);
