// SPDX-License-Identifier: MIT
#include "database/Values.h"

#include "RuntimeError.h"

#include <QDateTime>

#include <cmath>
#include <limits>

namespace values {
namespace {

double toNumber(const QVariant& value)
{
    if (value.isNull())
        throw RuntimeError(ErrorNumber::InvalidUseOfNull, QStringLiteral("Null の使い方が不正です。"));
    double number = 0;
    if (!readNumber(value, number))
        throw runtimeerror::typeMismatch(value.toString());
    return std::nearbyint(number); // the default rounding mode rounds half to even
}

template <typename T> T toWhole(const QVariant& value)
{
    const double number = toNumber(value);
    if (number < double(std::numeric_limits<T>::min()) || number > double(std::numeric_limits<T>::max()))
        throw RuntimeError(ErrorNumber::Overflow,
                           QStringLiteral("オーバーフローしました。(%1)").arg(value.toString()));
    return T(number);
}

} // namespace

bool readNumber(const QVariant& value, double& number)
{
    if (value.isNull())
        return false;
    bool ok = false;
    number =
        value.typeId() == QMetaType::QString ? value.toString().trimmed().toDouble(&ok) : value.toDouble(&ok);
    return ok && std::isfinite(number);
}

qint16 toInteger16(const QVariant& value)
{
    return toWhole<qint16>(value);
}

qint32 toInteger32(const QVariant& value)
{
    return toWhole<qint32>(value);
}

QString textOrEmpty(const QVariant& value)
{
    return value.isNull() ? QString() : value.toString();
}

QString now()
{
    return QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QString trimBlanks(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin) == QLatin1Char(' '))
        ++begin;
    while (end > begin && text.at(end - 1) == QLatin1Char(' '))
        --end;
    return text.mid(begin, end - begin);
}

} // namespace values
