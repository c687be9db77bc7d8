#pragma once

// What the fault suites share: the real program run as a child, the ways of
// making a folder read-only or a disk full, and a configuration to run on.
//
// Read-only and full folders: a user other than root gets them from the
// permission bits and a small file-size limit. Root ignores permission bits,
// so the suites enter a mount namespace of their own at start
// (Enter_Private_Mount_Namespace, before any thread exists) and use a
// read-only bind mount (read_only_folder.h) or a small tmpfs there; nothing of
// it is seen outside the test process and its children. Where neither works
// the cases skip and say why.

#include "compiler/fixtures.h"
#include "read_only_folder.h"
#include "test_support.h"

#include <QCryptographicHash>
#include <QDirIterator>
#include <QMap>
#include <QProcess>
#include <QStorageInfo>
#include <QString>
#include <QStringList>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

namespace faults {

// ---- The program ------------------------------------------------------------

struct Run_Result
{
    int code = -1;
    bool crashed = false;
    bool hung = false;
    QString out;
    QString err;

    // For failure messages.
    QString Describe() const
    {
        return QStringLiteral("exit %1%2%3\nstdout: %4\nstderr: %5")
            .arg(code)
            .arg(crashed ? QStringLiteral(", crashed") : QString())
            .arg(hung ? QStringLiteral(", hung") : QString())
            .arg(out, err);
    }
};

struct Run_Options
{
    qint64 file_size_limit = -1;                // RLIMIT_FSIZE of the child in bytes; -1 none
    QList<QPair<QString, QString>> environment; // added to the child's
    // A guard against a hang, not a measure of speed: far beyond what any
    // case needs, even in the sanitizer build.
    int guard_ms = 300000;
};

// Runs build/sw52k31 with `args`, offscreen, and waits for it.
inline Run_Result Run_Program(const QStringList &args, const Run_Options &options = Run_Options())
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    // No request may leave the machine from a test.
    env.insert(QStringLiteral("SW52K31_WEB_HOST"), QStringLiteral("127.0.0.1:9"));
    for (const auto &[name, value] : options.environment)
        env.insert(name, value);
    process.setProcessEnvironment(env);
    const qint64 limit = options.file_size_limit;
    process.setChildProcessModifier([limit] {
        if (limit >= 0) {
            // A write past the limit fails with EFBIG instead of killing the program.
            std::signal(SIGXFSZ, SIG_IGN);
            struct rlimit rl;
            getrlimit(RLIMIT_FSIZE, &rl);
            rl.rlim_cur = rlim_t(limit);
            setrlimit(RLIMIT_FSIZE, &rl);
        }
    });
    process.start(QStringLiteral(SW52K31_PROGRAM), args);
    Run_Result result;
    if (!process.waitForStarted()) {
        result.err = process.errorString();
        return result;
    }
    if (!process.waitForFinished(options.guard_ms)) {
        result.hung = true;
        process.kill();
        process.waitForFinished();
    }
    result.crashed = process.exitStatus() == QProcess::CrashExit;
    result.code = process.exitCode();
    result.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    result.err = QString::fromLocal8Bit(process.readAllStandardError());
    return result;
}

inline Run_Result Run_In(const QString &workspace, const QStringList &args, const Run_Options &options = Run_Options())
{
    return Run_Program(QStringList{QStringLiteral("--workspace"), workspace} + args, options);
}

// ---- Mounts -----------------------------------------------------------------

// The mount namespace and the read-only folder are shared with suites
// outside the fault suites (read_only_folder.h).
using test::Enter_Private_Mount_Namespace;
using test::Errno_Text;
using test::Private_Mounts;
using test::Private_Mounts_Reason;
using test::Read_Only_Folder;

// A tmpfs of `kilobytes` at `dir` (which must exist) until destroyed.
class Small_Disk
{
public:
    Small_Disk(const QString &dir, int kilobytes)
        : dir_(dir)
    {
        if (!Private_Mounts()) {
            problem_ = QStringLiteral("no mount namespace of its own: ") + Private_Mounts_Reason();
            return;
        }
        const QByteArray options = "size=" + QByteArray::number(kilobytes) + "k,mode=0755";
        if (mount("tmpfs", QFile::encodeName(dir).constData(), "tmpfs", 0, options.constData()) != 0)
            problem_ = QStringLiteral("tmpfs: ") + Errno_Text();
        else
            mounted_ = true;
    }

    ~Small_Disk()
    {
        if (mounted_)
            umount2(QFile::encodeName(dir_).constData(), MNT_DETACH);
    }

    Small_Disk(const Small_Disk &) = delete;
    Small_Disk &operator=(const Small_Disk &) = delete;

    const QString &Problem() const { return problem_; }

    // Fills the disk with a filler file until at most `keep_bytes` remain.
    void Fill(qint64 keep_bytes)
    {
        QFile filler(dir_ + QStringLiteral("/filler"));
        if (!filler.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
            return;
        const QByteArray block(4096, 'f');
        while (Free_Bytes() > keep_bytes && filler.write(block) == block.size()) {
        }
    }

    qint64 Free_Bytes() const { return QStorageInfo(dir_).bytesFree(); }

private:
    QString dir_;
    QString problem_;
    bool mounted_ = false;
};

// Lowers this process's own file-size limit until destroyed: a write past it
// fails (SIGXFSZ is ignored meanwhile), as on a full disk.
class File_Size_Limit
{
public:
    explicit File_Size_Limit(qint64 bytes)
    {
        old_handler_ = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &old_);
        struct rlimit rl = old_;
        rl.rlim_cur = rlim_t(bytes);
        setrlimit(RLIMIT_FSIZE, &rl);
    }
    ~File_Size_Limit()
    {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, old_handler_);
    }
    File_Size_Limit(const File_Size_Limit &) = delete;
    File_Size_Limit &operator=(const File_Size_Limit &) = delete;

private:
    struct rlimit old_;
    void (*old_handler_)(int) = nullptr;
};

// ---- Files ------------------------------------------------------------------

// Every file below `dir` with a digest of its bytes: two snapshots are equal
// when no file was added, removed or changed.
inline QMap<QString, QByteArray> Snapshot(const QString &dir)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(dir, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files.insert(QDir(dir).relativeFilePath(path),
                     QCryptographicHash::hash(test::Read(path), QCryptographicHash::Sha256).toHex());
    }
    return files;
}

// A workspace with the configuration `name`: parameters, one uplink and one
// downlink rule, two objects, all valid, written as the windows write them.
inline void Make_Configuration(const QString &root, const QString &name)
{
    const QString project = root + QStringLiteral("/PROJECTS/") + name;
    QDir().mkpath(project + QStringLiteral("/bin"));
    QDir().mkpath(root + QStringLiteral("/MASTER"));
    QDir().mkpath(root + QStringLiteral("/LANGUAGE"));
    fixture::Write_ParGen(project + QStringLiteral("/ParGen.xml"), fixture::Window_ParGen());
    fixture::Write_Rules(project + QStringLiteral("/LoRaWAN_SetAccess.xml"),
                         {fixture::Uplink(QStringLiteral("Y"), QStringLiteral("0"), QStringLiteral("6"),
                                          QStringLiteral("Y"), QStringLiteral("N"), QStringLiteral("Y"),
                                          QStringLiteral("600"), QStringLiteral("temperatures"))},
                         {fixture::Downlink(QStringLiteral("Y"), QStringLiteral("10"), QStringLiteral("4"),
                                            QStringLiteral("set points"))});
    fixture::Write_Objects(project + QStringLiteral("/BACnet_Slave_SetAccess.xml"),
                           {fixture::Object(QStringLiteral("Analog Input"), QStringLiteral("62"), QStringLiteral("0"),
                                            QString(), QStringLiteral("4"), QStringLiteral("Supply air"))},
                           {fixture::Object(QStringLiteral("Binary Out"), QStringLiteral("95"), QStringLiteral("0"),
                                            QStringLiteral("3"), QStringLiteral("1"), QStringLiteral("Fan"))});
}

} // namespace faults
