#include "workspace/file_lock.h"

#include "core/messages.h"
#include "core/result.h"
#include "workspace/workspace.h"
#include "workspace/workspace_messages.h"

#include <QFile>
#include <QLockFile>
#include <QThread>

namespace {

constexpr int Note_Wait_Ms = 1000;

} // namespace

QString Lock_Note_Path(const QString &path)
{
    return path + QStringLiteral(".note");
}

File_Lock::File_Lock() = default;

File_Lock::~File_Lock()
{
    Release();
}

File_Lock::File_Lock(File_Lock &&other) noexcept
    : lock_(std::move(other.lock_))
    , note_path_(std::move(other.note_path_))
{}

File_Lock &File_Lock::operator=(File_Lock &&other) noexcept
{
    if (this != &other) {
        Release();
        lock_ = std::move(other.lock_);
        note_path_ = std::move(other.note_path_);
    }
    return *this;
}

bool File_Lock::Take(const QString &path, int wait_ms, const QString &note, Lock_Holder *holder, bool want_note)
{
    Release();
    auto lock = std::make_unique<QLockFile>(path);
    // Never stale by age (an update may run for minutes); only when the
    // process that made it no longer runs.
    lock->setStaleLockTime(0);
    if (lock->tryLock(wait_ms)) {
        note_path_ = Lock_Note_Path(path);
        QFile file(note_path_);
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            file.write(note.toUtf8());
        lock_ = std::move(lock);
        return true;
    }
    if (lock->error() != QLockFile::LockFailedError)
        return true; // no lock file can be made here: see above
    if (holder) {
        *holder = Lock_Holder();
        lock->getLockInfo(&holder->pid, &holder->host, &holder->application);
        // The holder writes its note just after taking the lock: a moment
        // is given for it to appear.
        for (int waited = 0; waited <= Note_Wait_Ms; waited += 20) {
            QFile file(Lock_Note_Path(path));
            if (file.open(QIODevice::ReadOnly))
                holder->note = QString::fromUtf8(file.read(4096));
            if (!holder->note.isEmpty() || !want_note)
                break;
            QThread::msleep(20);
        }
    }
    return false;
}

void File_Lock::Release()
{
    if (!lock_)
        return;
    // The note first: while the lock is held no other writes it.
    QFile::remove(note_path_);
    lock_->unlock();
    lock_.reset();
    note_path_.clear();
}

QString Configuration_Lock_Path(const QString &path_project)
{
    return path_project + QStringLiteral("/Configuration.lock");
}

Result<File_Lock> Lock_Configuration(const Workspace &ws, int wait_ms)
{
    File_Lock lock;
    Lock_Holder holder;
    if (lock.Take(Configuration_Lock_Path(ws.Path_Project), wait_ms, QString(), &holder))
        return lock;
    return Fail(Messages()
                    .Get(Msg_Configuration_Locked)
                    .arg(ws.Project_Name, holder.application)
                    .arg(holder.pid)
                    .arg(holder.host)
                    .arg(wait_ms / 1000));
}
