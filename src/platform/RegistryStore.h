// SPDX-License-Identifier: MIT
#pragma once

#include "platform/RegistryValue.h"

#include <QByteArrayView>
#include <QHash>
#include <QString>

#include <map>
#include <optional>

namespace platform {

class Environment;

// The registry store: the registry of a system without one (the Linux stand-in behind
// querySystemRegistryValue), a text file in the regedit export format, read whole.
//
// The file starts with "Windows Registry Editor Version 5.00" or "REGEDIT4" and is UTF-8, or UTF-16LE with
// a byte-order mark. Sections "[HKEY_LOCAL_MACHINE\...]" and "[HKEY_CLASSES_ROOT\...]" open keys; "[-...]"
// deletes a key with everything below it. Value lines are `"name"=...` or `@=...` (the default value) with
// `"text"` (escapes \\ and \"), `dword:hhhhhhhh`, `hex:bb,bb,...` or `hex(t):bb,...` (a line ending in "\"
// goes on in the next one), or `-`, which deletes the value. Lines starting with ";" are comments. Key paths
// and value names compare without regard to letter case.
//
// A line that cannot be read is skipped; a section that cannot be read (or names another root) drops the
// lines up to the next section, so that its values land nowhere rather than in the wrong key. A file that
// is missing, unreadable, larger than maxFileSize or without the header reads as an empty registry.
class RegistryStore
{
public:
    static constexpr qint64 maxFileSize = 8 * 1024 * 1024;

    // The store's file: the environment variable HANAPLAN_REGISTRY, else system.reg in the program's folder.
    static QString path(const Environment& environment);
    // Reads the store at path(environment).
    static RegistryStore open(const Environment& environment);
    // Reads the store in a file.
    static RegistryStore fromFile(const QString& path);
    // Reads the store from the contents of a file.
    static RegistryStore fromBytes(QByteArrayView bytes);

    // The value of a key; the empty name stands for the key's default value. A trailing "\" in the key
    // path is accepted.
    std::optional<RegistryValue> value(RegistryRoot root, const QString& keyPath, const QString& name) const;

private:
    using Values = QHash<QString, RegistryValue>;

    void parseText(QStringView text);
    // Deletes a key (given by its full path as m_keys holds it) and everything below it.
    void deleteKey(const QString& id);

    // Keys by their case-folded full path, "HKLM\software\..." or "HKCR\...", in sorted order so that a key
    // and everything below it form one run.
    std::map<QString, Values> m_keys;
};

} // namespace platform
