#pragma once

#include <QString>

// Why a report could not be written at a path, as far as can be told after the fact.
enum class SaveFailureCause {
    NameTooLong,       // the file name or the path is longer than the file system takes
    FolderNotWritable, // the folder is missing or takes no new file
    FileOpen,          // the file exists and cannot be opened for writing
    Unknown            // none of the above (a full disk, an I/O error)
};

// Looks at the path once the write failed; creates nothing that stays.
SaveFailureCause saveFailureCause(const QString &path);
