#pragma once

#include <QString>

// What a file was at one moment: whether it was there, its size, its last
// change and the CRC-32 of its bytes. Two stamps differ when anything
// changed the file in between, also a change that kept its size and time.
struct File_Stamp
{
    bool exists = false;
    qint64 size = 0;
    qint64 modified_ms = 0;
    quint32 crc = 0;

    bool operator==(const File_Stamp &) const = default;
};

File_Stamp Stamp_File(const QString &path);

// The document a window shows and saves, as it was when the window read it:
// before OK replaces it, the window learns whether something else (another
// window, a command) changed it since, so that a change made elsewhere is
// never overwritten without a word.
class Document_Guard
{
public:
    // The window has just read `path`.
    void Loaded(const QString &path);
    // Whether the file is no longer as it was read (or as last accepted).
    bool Changed_Since() const;
    // The user chose to replace the change made elsewhere: the file as it is
    // now counts as read.
    void Accept_Current();
    // The window has just written the file.
    void Saved() { Accept_Current(); }
    const QString &Path() const { return path_; }

private:
    QString path_;
    File_Stamp stamp_;
};
