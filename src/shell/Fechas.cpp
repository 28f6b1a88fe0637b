#include "Fechas.h"

#include <QStringList>

namespace orb {

namespace {

bool allDigits(QStringView s) {
    for (const QChar c : s)
        if (c < u'0' || c > u'9')
            return false;
    return true;
}

QDate toDate(const db::Value& fecha) {
    if (db::isNull(fecha))
        return {};
    switch (fecha.typeId()) {
    case QMetaType::QDate:
        return fecha.toDate();
    case QMetaType::QDateTime:
        return fecha.toDateTime().date();
    case QMetaType::QString: {
        const QString text = fecha.toString().trimmed();
        const QDate d = LeerFecha(text);
        return d.isValid() ? d : QDate::fromString(text.left(10), Qt::ISODate);
    }
    default:
        return {};
    }
}

} // namespace

QString FechaSQL(const db::Value& fecha) {
    const QDate d = toDate(fecha);
    return d.isValid() ? d.toString(QStringLiteral("yyyy-MM-dd")) : QString();
}

QDate LeerFecha(const QString& texto) {
    const QString text = texto.trimmed();
    QStringList parts;
    for (const QChar sep : {u'/', u'-', u'.'}) {
        parts = text.split(sep);
        if (parts.size() == 3)
            break;
    }
    if (parts.size() != 3)
        return {};
    for (const QString& p : parts)
        if (p.isEmpty() || !allDigits(p))
            return {};
    if (parts[0].size() > 2 || parts[1].size() > 2)
        return {};
    const int day = parts[0].toInt();
    const int month = parts[1].toInt();
    int year = parts[2].toInt();
    if (parts[2].size() <= 2)
        year += year < 30 ? 2000 : 1900; // the usual two-digit window: 00–29 → 2000s
    else if (parts[2].size() != 4)
        return {};
    const QDate d(year, month, day);
    return d.isValid() ? d : QDate();
}

QString FormatoFecha(const db::Value& fecha) {
    const QDate d = toDate(fecha);
    return d.isValid() ? d.toString(QStringLiteral("dd/MM/yyyy")) : QString();
}

} // namespace orb
