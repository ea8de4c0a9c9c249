// SPDX-License-Identifier: MIT
// Feeds arbitrary text to the record set's filter and sort parsers, a filter on the first line and a sort
// after it, and applies what parses to fixed rows.
#include "FuzzProperties.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString failure =
        fuzzchecks::checkRecordFilter(QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size)));
    if (!failure.isEmpty()) {
        std::fprintf(stderr, "%s\n", failure.toUtf8().constData());
        std::abort();
    }
    return 0;
}
