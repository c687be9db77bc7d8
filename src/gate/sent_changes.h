#pragma once

#include "core/result.h"

#include <QString>
#include <QStringList>

// "Changes since last update": the images an update of the configuration
// would send now (the files the job document names) against the copy kept by
// the last successful update to the same converter address. It lives here
// because it joins the copy that update/ keeps with the compiler's
// field-by-field comparison.
struct Sent_Changes
{
    enum class Kind {
        Nothing_Kept, // no successful update to that address was kept
        Same,         // the images are those sent last time
        Changed,      // `differences` lists what changed
    };
    Kind kind = Kind::Nothing_Kept;
    QString heading;         // the outcome in a sentence (a Msg_Changes_ text)
    QStringList differences; // one line a difference (Image_Differences), in image order
    // What the user is shown: the heading, then the list, one a line.
    QString Text() const { return (QStringList{heading} + differences).join(u'\n'); }
};

// Compares for `address` (the text of the address boxes). Fails with
// Msg_Check_IP_Address when the address is not one the ping could use, and naming the file
// when an image to send or a kept one cannot be read.
Result<Sent_Changes> Changes_Since_Last_Update(const QString &path_project, const QString &address);
