// SPDX-License-Identifier: MIT
// Feeds arbitrary bytes to the reader of version resources of PE program files.
#include "platform/FileVersion.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray block =
        platform::versionInfoOfImage(QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size)));
    // A version block is never longer than its 16-bit length field allows, nor than the file.
    if (block.size() > 0xFFFF || block.size() > qsizetype(size))
        std::abort();
    const std::optional<platform::FixedFileInfo> info = platform::queryFixedFileInfo(block);
    if (info && info->signature != platform::FixedFileInfo::expectedSignature)
        std::abort();
    // Truncated copies, as a caller with a short buffer holds them, are read safely too.
    platform::queryFixedFileInfo(QByteArrayView(block).first(block.size() / 2));
    return 0;
}
