// SPDX-License-Identifier: MIT
// Feeds arbitrary text to the binder that turns the program's statements into the engine's, as a whole
// statement and as a typed value inside the statements the program builds.
#include "FuzzProperties.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString failure =
        fuzzchecks::checkSqlBinder(QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size)));
    if (!failure.isEmpty()) {
        std::fprintf(stderr, "%s\n", failure.toUtf8().constData());
        std::abort();
    }
    return 0;
}
