#include "widgets/guarded_save.h"

#include "widgets/message_box.h"
#include "widgets/texts.h"
#include "workspace/document_guard.h"
#include "workspace/file_lock.h"
#include "workspace/workspace_messages.h"

#include <QDir>

Guarded_Save Save_Guarded(QWidget *parent, Document_Guard &guard, const std::function<Result<>()> &save,
                          const Workspace *configuration)
{
    for (;;) {
        File_Lock lock;
        if (configuration) {
            Result<File_Lock> taken = Lock_Configuration(*configuration);
            if (!taken) {
                Message_Box::Error(parent, taken.Problem());
                return Guarded_Save::Failed;
            }
            lock = std::move(taken).Value();
        }
        if (!guard.Changed_Since()) {
            const Result<> saved = save();
            if (!saved) {
                Message_Box::Error(parent, saved.Problem());
                return Guarded_Save::Failed;
            }
            guard.Saved();
            return Guarded_Save::Saved;
        }
        // Not held while the user thinks it over.
        lock.Release();
        switch (Message_Box::Choose(parent,
                                    Msg(Msg_Document_Changed_Elsewhere).arg(QDir::toNativeSeparators(guard.Path())),
                                    Msg(Msg_Document_Overwrite), Msg(Msg_Document_Reload))) {
        case QMessageBox::Yes:
            guard.Accept_Current();
            break; // saved on the next turn, unless it changed yet again
        case QMessageBox::No:
            return Guarded_Save::Reload;
        default:
            return Guarded_Save::Cancelled;
        }
    }
}
