#include "gate/sent_changes.h"

#include "core/messages.h"
#include "inspector/image_diff.h"
#include "update/ip_address.h"
#include "update/sent_images.h"
#include "update/update_messages.h"

#include <QDir>
#include <QLocale>

Result<Sent_Changes> Changes_Since_Last_Update(const QString &path_project, const QString &address)
{
    if (!Split_IP_Address(address))
        return Fail(Messages().Get(Msg_Check_IP_Address));
    const QString folder = Sent_Images_Folder(path_project, address);
    // The address as the folder names it, so "010" and "10" read alike.
    const QString shown = QDir(folder).dirName();
    const Result<Sent_Images> now = Read_Job_Images(path_project);
    if (!now)
        return Fail(now.Problem());
    const Result<std::optional<Sent_Images>> kept = Read_Sent_Images(path_project, address);
    if (!kept)
        return Fail(kept.Problem());

    Sent_Changes changes;
    if (!kept.Value()) {
        changes.kind = Sent_Changes::Kind::Nothing_Kept;
        changes.heading = Messages().Get(Msg_Changes_Nothing_Kept).arg(shown, QDir::toNativeSeparators(folder));
        return changes;
    }
    const Sent_Images &before = *kept.Value();
    const QString when = QLocale().toString(before.kept_at, QLocale::ShortFormat);
    changes.differences = Image_Differences({before.bank1, before.bank2}, {now->bank1, now->bank2});
    if (changes.differences.isEmpty()) {
        changes.kind = Sent_Changes::Kind::Same;
        changes.heading = Messages().Get(Msg_Changes_None).arg(shown, when);
        return changes;
    }
    changes.kind = Sent_Changes::Kind::Changed;
    changes.heading = Messages().Get(Msg_Changes_Listed).arg(shown, when).arg(changes.differences.size());
    return changes;
}
