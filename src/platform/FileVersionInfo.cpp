// SPDX-License-Identifier: MIT
// The version information of program files on a system without its own functions for it: the program's
// reader of the PE format.
#include "platform/FileVersion.h"

namespace platform {

quint32 fileVersionInfoSize(const QString& path)
{
    return quint32(versionInfoOfFile(path).size());
}

QByteArray fileVersionInfo(const QString& path, quint32 length)
{
    return versionInfoOfFile(path).left(qsizetype(length));
}

std::optional<FixedFileInfo> queryFixedFileInfo(QByteArrayView versionInfo)
{
    return fixedFileInfoOfBlock(versionInfo);
}

} // namespace platform
