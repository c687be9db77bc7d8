#pragma once

// A folder the code under test may read but not write, for the root of a CI
// container as for a user.
//
// A user other than root gets it from the permission bits. Root ignores
// permission bits, so a suite enters a mount namespace of its own at start
// (Enter_Private_Mount_Namespace, first thing in main(), before any thread
// exists) and gets a read-only bind mount there; nothing of it is seen
// outside the test process and its children. Where neither works the case
// skips and says why (Problem()).

#include <QDirIterator>
#include <QFile>
#include <QString>
#include <QStringList>
#include <cerrno>
#include <cstring>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

namespace test {

// Whether this process has a mount namespace of its own.
inline bool &Private_Mounts()
{
    static bool on = false;
    return on;
}

// Why it has none, for the skip messages.
inline QString &Private_Mounts_Reason()
{
    static QString reason;
    return reason;
}

inline QString Errno_Text()
{
    return QString::fromLocal8Bit(strerror(errno));
}

// Call first thing in main(), before Qt starts any thread: unshare() of the
// mount namespace fails in a process with threads.
inline void Enter_Private_Mount_Namespace()
{
    if (geteuid() != 0) {
        Private_Mounts_Reason() = QStringLiteral("not root: permission bits make folders read-only");
        return;
    }
    if (unshare(CLONE_NEWNS) != 0) {
        Private_Mounts_Reason() = QStringLiteral("unshare(CLONE_NEWNS): ") + Errno_Text();
        return;
    }
    // Nothing mounted here may reach the system's namespace.
    if (mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
        Private_Mounts_Reason() = QStringLiteral("private mounts: ") + Errno_Text();
        return;
    }
    Private_Mounts() = true;
}

// Makes the folder `dir` (and everything below) read-only for this process
// and its children until destroyed. Check Problem() first: empty when done.
class Read_Only_Folder
{
public:
    explicit Read_Only_Folder(const QString &dir)
        : dir_(dir)
    {
        const QByteArray path = QFile::encodeName(dir);
        if (Private_Mounts()) {
            if (mount(path.constData(), path.constData(), nullptr, MS_BIND | MS_REC, nullptr) != 0) {
                problem_ = QStringLiteral("bind mount: ") + Errno_Text();
                return;
            }
            mounted_ = true;
            if (mount(nullptr, path.constData(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) != 0)
                problem_ = QStringLiteral("read-only remount: ") + Errno_Text();
        } else if (geteuid() != 0) {
            Set_Writable(false);
            chmodded_ = true;
        } else {
            problem_ = QStringLiteral("root without a mount namespace of its own (") + Private_Mounts_Reason() +
                       QStringLiteral("): permission bits do not bind root");
        }
    }

    ~Read_Only_Folder()
    {
        if (mounted_)
            umount2(QFile::encodeName(dir_).constData(), MNT_DETACH);
        if (chmodded_)
            Set_Writable(true);
    }

    Read_Only_Folder(const Read_Only_Folder &) = delete;
    Read_Only_Folder &operator=(const Read_Only_Folder &) = delete;

    const QString &Problem() const { return problem_; }

private:
    void Set_Writable(bool on)
    {
        QStringList all{dir_};
        QDirIterator it(dir_, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext())
            all << it.next();
        for (const QString &path : all) {
            QFile::Permissions p = QFile::permissions(path);
            const QFile::Permissions write =
                QFile::WriteOwner | QFile::WriteUser | QFile::WriteGroup | QFile::WriteOther;
            QFile::setPermissions(path, on ? (p | QFile::WriteOwner | QFile::WriteUser) : (p & ~write));
        }
    }

    QString dir_;
    QString problem_;
    bool mounted_ = false;
    bool chmodded_ = false;
};

} // namespace test
