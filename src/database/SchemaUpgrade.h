// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QVariant>

struct DatabaseState;

// The schema version the program works with.
inline constexpr int kCurrentSchemaVersion = 1050;

// Brings the open database to the current schema: reads MST.dbver (a database without the column is the
// oldest form), adds the columns the stored version lacks, converts the identifier columns of the oldest
// form and stores 1050. The whole upgrade runs in one transaction: a failure leaves the file as it was and
// throws, so the next start tries again.
void UpgradeSchema(DatabaseState& database);

namespace upgrade {

// 事業者.事業者番号 of the oldest form as ten-character text: "0" for the number 0 (later stored as null),
// else the value formatted with at least ten digits and cut to its last ten characters.
QString providerNumberText(const QVariant& value);
// 利用者.被保険者番号 (width 10) and 保険者番号 (width 6): the trimmed text zero-padded on the left and cut
// to its last `width` characters; the empty text for an empty or null value.
QString paddedNumberText(const QVariant& value, int width);

} // namespace upgrade
