#pragma once

#include "core/result.h"

#include <QString>
#include <memory>

class QLockFile;

// Who holds a lock file: as its lock file names it, and the note written
// beside it (what the holder is doing, such as the address being updated).
struct Lock_Holder
{
    qint64 pid = 0;
    QString host;
    QString application;
    QString note;
};

// An advisory lock between processes, held in a lock file until released or
// destroyed. A lock left by a process that no longer runs on this machine is
// taken over. Movable, so that a lock taken early can be handed on.
class File_Lock
{
public:
    File_Lock();
    ~File_Lock();
    File_Lock(File_Lock &&other) noexcept;
    File_Lock &operator=(File_Lock &&other) noexcept;

    // Takes the lock file `path`, waiting at most `wait_ms` for its holder.
    // False when another holds it (then `holder`, when given, says who).
    // True when taken, and also when the folder lets no lock file be made at
    // all (a read-only folder): nothing can be written there either, and the
    // writer that tries says why. `note` is written beside the lock file
    // while it is held; `want_note` gives a holder that has only just taken
    // the lock a moment to write its note.
    bool Take(const QString &path, int wait_ms, const QString &note = QString(), Lock_Holder *holder = nullptr,
              bool want_note = false);
    void Release();
    bool Held() const { return lock_ != nullptr; }

private:
    std::unique_ptr<QLockFile> lock_;
    QString note_path_;
};

// The note file beside the lock file `path`.
QString Lock_Note_Path(const QString &path);

struct Workspace;
// How long a writer waits for another that changes the same configuration.
inline constexpr int Configuration_Lock_Wait_Ms = 3000;

// The lock file of a configuration's documents, in its folder.
QString Configuration_Lock_Path(const QString &path_project);

// Takes the lock of the configuration open in `ws` before its documents are
// read to be changed and written, waiting `wait_ms` for another writer; held
// until the lock is released. When another holds it still, the failure names
// the configuration and who holds it, and nothing may be written.
Result<File_Lock> Lock_Configuration(const Workspace &ws, int wait_ms = Configuration_Lock_Wait_Ms);
