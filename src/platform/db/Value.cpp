#include "Value.h"

#include <QDateTime>
#include <QRegularExpression>

namespace db {

FieldInfo fieldInfoFromDeclType(const QString& declType) {
    FieldInfo info;
    const QString t = declType.trimmed().toUpper();
    static const QRegularExpression varchar(QStringLiteral("^(?:VAR)?CHAR\\s*\\(\\s*(\\d+)\\s*\\)$"));
    if (const auto m = varchar.match(t); m.hasMatch()) {
        info.type = FieldType::Text;
        info.size = m.captured(1).toInt();
    } else if (t == u"TEXT" || t == u"MEMO") {
        info.type = FieldType::Memo;
    } else if (t == u"SMALLINT") {
        info.type = FieldType::Integer;
        info.size = 2;
    } else if (t == u"INTEGER" || t == u"INT" || t == u"BIGINT") {
        info.type = FieldType::Long;
        info.size = 4;
    } else if (t == u"CURRENCY") {
        info.type = FieldType::Currency;
        info.size = 8;
    } else if (t == u"DOUBLE" || t == u"REAL" || t == u"FLOAT") {
        info.type = FieldType::Double;
        info.size = 8;
    } else if (t == u"DATE" || t == u"DATETIME") {
        info.type = FieldType::Date;
        info.size = 8;
    } else if (t == u"BOOLEAN" || t == u"BOOL") {
        info.type = FieldType::Boolean;
        info.size = 1;
    }
    return info;
}

Value fromStorage(const QVariant& stored, FieldType type) {
    if (!stored.isValid() || stored.isNull())
        return {};
    switch (type) {
    case FieldType::Boolean:
        return stored.toLongLong() != 0;
    case FieldType::Integer:
    case FieldType::Long:
        return stored.toLongLong();
    case FieldType::Currency:
    case FieldType::Double:
        return stored.toDouble();
    case FieldType::Date: {
        const QString s = stored.toString();
        if (s.size() > 10) {
            const QDateTime dt = QDateTime::fromString(s, Qt::ISODate);
            if (dt.isValid())
                return dt;
        }
        const QDate d = QDate::fromString(s.left(10), Qt::ISODate);
        return d.isValid() ? Value(d) : Value();
    }
    case FieldType::Text:
    case FieldType::Memo:
        return stored.toString();
    case FieldType::Unknown:
        break;
    }
    return stored;
}

QVariant toStorage(const Value& v, FieldType type) {
    if (isNull(v))
        return {};
    switch (v.typeId()) {
    case QMetaType::QDate:
        return v.toDate().toString(Qt::ISODate);
    case QMetaType::QDateTime:
        return type == FieldType::Date && v.toDateTime().time() == QTime(0, 0)
                   ? v.toDateTime().date().toString(Qt::ISODate)
                   : v.toDateTime().toString(Qt::ISODate);
    case QMetaType::Bool:
        return qint64(v.toBool() ? 1 : 0);
    default:
        break;
    }
    switch (type) {
    case FieldType::Boolean:
        return qint64(v.toBool() ? 1 : 0);
    case FieldType::Integer:
    case FieldType::Long:
        return v.toLongLong();
    case FieldType::Currency:
    case FieldType::Double:
        return v.toDouble();
    case FieldType::Text:
    case FieldType::Memo:
        return v.toString();
    default:
        return v;
    }
}

} // namespace db
