#pragma once

#include "compiler/compile_project.h"
#include "core/problems.h"
#include "snapshot/configuration_snapshot.h"

#include <QString>
#include <optional>

struct Workspace;

// How much of the configuration's faults to tell.
enum class Check_Depth {
    As_OK,     // what the windows' OK buttons say: the first failure of each document
    Everything // every failure of every document (`check --all`)
};

// Whether an output may be made, and why not.
struct Gate_Report
{
    // The errors refuse the output; the warnings (two objects under one
    // name, say) refuse nothing. Each names its document, and a table's
    // problem its table and row.
    Problem_List Problems;
    // For the images: the pair the check compiled, when it passed. They are
    // what gets written; nothing compiles the configuration a second time.
    std::optional<Bank_Images> Images;

    bool Ok() const { return Problems.Ok(); }
    // The errors as one text, one a line: the error box, and what the
    // command line prints.
    QString Problem() const { return Problems.Problem_Text(); }
};

// The one decision whether a configuration may be output: the checks the
// windows run on OK (the parameters as the parameter window holds them after
// loading, the rule table and the object table as their windows load them),
// the update step's uplink check, and then whatever the compiler would
// refuse, found by compiling in memory (numbers in object rows, key and
// device-name lengths, counts). A damaged document refuses.
//
// A damaged parameter document is the only problem reported: every other
// check reads it. The compiler runs only when the window checks pass, so
// that one fault is never reported twice in two wordings. For the EDE file
// the rule document is not read.
//
// As_OK lists the errors in the order OK meets them: the parameters, the
// tables, the uplink check, the compiler; then the object-name warnings.
// Everything lists every failure of the parameters, the problems that are no
// table's, every failure and load warning of each table, then the name
// warnings and the overlapping rows.
Gate_Report Check_Configuration(const Configuration_Snapshot &configuration, Output what,
                                Check_Depth depth = Check_Depth::As_OK);
// The same, reading the open configuration of `ws` first.
Gate_Report Check_Configuration(const Workspace &ws, Output what);
