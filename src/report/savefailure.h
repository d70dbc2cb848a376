#pragma once

#include <QString>

// Why a report could not be written at a path, as far as can be told after the fact.
enum class SaveFailure {
    Other,             // none of the causes below (a full disk, an I/O error)
    NameTooLong,       // the file name or the path is longer than the file system takes
    FolderNotWritable, // the folder is missing or takes no new file
    FileLocked         // the file exists and cannot be opened for writing
};

// Looks at the path once the write failed; creates nothing that stays.
SaveFailure saveFailureCause(const QString &path);
