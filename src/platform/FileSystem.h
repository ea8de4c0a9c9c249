// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// File-system services in the form the program uses them. Paths are written with "\" between their
// pieces, joined as given, and turned into the platform's separators by nativePath() once.
//
// The operations that mirror statements of the Windows runtime (copy, delete, folder creation, setting
// attributes) throw RuntimeError with that runtime's error numbers when they fail.
namespace platform {

// Windows file attribute values.
namespace FileAttribute {
inline constexpr int Normal = 0;
inline constexpr int ReadOnly = 1;
inline constexpr int Hidden = 2;
inline constexpr int System = 4;
} // namespace FileAttribute

// A path joined from pieces written with "\", in the platform's own separators.
QString nativePath(const QString& joined);

bool fileExists(const QString& path);
bool folderExists(const QString& path);
// The size of a file in bytes; 0 for a file that does not exist.
qint64 fileSize(const QString& path);

// Creates one folder level; its parent must exist.
void createFolder(const QString& path);
// Copies a file, replacing an existing target that may be written.
void copyFile(const QString& source, const QString& target);
// Deletes a file.
void deleteFile(const QString& path);
// Deletes a file the program made or left, if it is there (a path joined with "\"): its attributes are reset
// to normal first (a read-only, hidden or system copy is deleted all the same) and pending window messages
// run before and after.
void removeFileIfPresent(const QString& joined);

// Read-only maps to the write permission bits; hidden and system are advisory and kept in an extended
// attribute where the file system allows one.
void setFileAttributes(const QString& path, int attributes);
// As setFileAttributes(), reporting failure instead of throwing.
bool trySetFileAttributes(const QString& path, int attributes);
// The attributes of a file, or -1 when it does not exist.
int fileAttributes(const QString& path);

// Lets only the owner read and write the file (it may hold passwords).
void restrictToOwner(const QString& path);

} // namespace platform
