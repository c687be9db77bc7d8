#pragma once

#include "compiler/compile_project.h"
#include "snapshot/configuration_snapshot.h"

#include <QString>
#include <QStringList>
#include <optional>

struct Workspace;

// Whether an output may be made, and why not.
struct Gate_Report
{
    // Each a complete message as `check` prints it, one a line, in that
    // order. Empty: the output may be made.
    QStringList Problems;
    // Messages the user should read that refuse nothing (two objects under
    // one name, say); `check` prints them after the problems.
    QStringList Warnings;
    // For the images: the pair the check compiled, when it passed. They are
    // what gets written; nothing compiles the configuration a second time.
    std::optional<Bank_Images> Images;

    bool Ok() const { return Problems.isEmpty(); }
    // The problems as one text, one a line: the error box, and what the
    // command line prints.
    QString Problem() const { return Problems.join(u'\n'); }
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
Gate_Report Check_Configuration(const Configuration_Snapshot &configuration, Output what);
// The same, reading the open configuration of `ws` first.
Gate_Report Check_Configuration(const Workspace &ws, Output what);
