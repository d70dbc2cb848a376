#pragma once

#include <QByteArray>
#include <QString>

#include <sys/resource.h>

// A disk that refuses: folders and files nobody may write, a disk that fills up.

// Makes a file or folder unwritable even for root (the immutable flag); an
// ordinary user, who may not set that flag, gets read-only permissions.
bool setImmutable(const QString &path, bool immutable);

// Makes its path writable again when it goes.
struct ImmutableGuard
{
    QString path;
    ~ImmutableGuard();
};

// Files may not grow beyond `bytes` while it lives: the disk is full.
class FileSizeLimit
{
public:
    FileSizeLimit() = default;
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;
    ~FileSizeLimit() { release(); }

    // False when the limit could not be set.
    bool apply(rlim_t bytes);
    void release();

private:
    rlimit previous{};
    void (*previousHandler)(int) = nullptr;
    bool active = false;
    bool handlerSet = false;
};

// The file's bytes; empty when it cannot be read.
QByteArray readAll(const QString &path);

// Makes the file unwritable for this process, also for root where the file
// system allows it; false when that cannot be done here.
bool makeUnwritable(const QString &path);

// Undoes makeUnwritable: writable for its owner again.
void makeWritable(const QString &path);

// Whether a folder made immutable here (a probe inside `parent`) refuses a new file.
bool immutableFolderRefusesFiles(const QString &parent);
