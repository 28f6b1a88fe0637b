// Values and fields as the server gives them, in the forms and types the
// file's fields have.

#include "ServerEngine.h"

#include <QDateTime>
#include <QRegularExpression>

namespace db::detail {

FieldInfo fieldInfoFromServerType(const QString& type) {
    const QString t = type.trimmed().toLower();
    static const QRegularExpression varchar(QStringLiteral("^character(?: varying)?\\((\\d+)\\)$"));
    FieldInfo f;
    if (const auto m = varchar.match(t); m.hasMatch()) {
        f.type = FieldType::Text;
        f.size = m.captured(1).toInt();
    } else if (t == u"text" || t == u"character varying") {
        f.type = FieldType::Memo;
    } else if (t == u"smallint") {
        f.type = FieldType::Integer;
        f.size = 2;
    } else if (t == u"integer" || t == u"bigint") {
        f.type = FieldType::Long;
        f.size = 4;
    } else if (t == u"numeric(19,4)") {
        f.type = FieldType::Currency;
        f.size = 8;
    } else if (t.startsWith(u"numeric") || t == u"double precision" || t == u"real") {
        f.type = FieldType::Double;
        f.size = 8;
    } else if (t.startsWith(u"timestamp") || t == u"date") {
        f.type = FieldType::Date;
        f.size = 8;
    } else if (t == u"boolean") {
        f.type = FieldType::Boolean;
        f.size = 1;
    }
    return f;
}

QString declTypeOf(const FieldInfo& f) {
    switch (f.type) {
    case FieldType::Boolean:
        return QStringLiteral("BOOLEAN");
    case FieldType::Integer:
        return QStringLiteral("SMALLINT");
    case FieldType::Long:
        return QStringLiteral("INTEGER");
    case FieldType::Currency:
        return QStringLiteral("CURRENCY");
    case FieldType::Double:
        return QStringLiteral("DOUBLE");
    case FieldType::Date:
        return QStringLiteral("DATE");
    case FieldType::Text:
        return QStringLiteral("VARCHAR(%1)").arg(f.size);
    case FieldType::Memo:
        return QStringLiteral("TEXT");
    case FieldType::Unknown:
        break;
    }
    return {};
}

Value fromServer(const QVariant& v) {
    switch (v.metaType().id()) {
    case QMetaType::Int:
        return QVariant(qint64(v.toInt()));
    case QMetaType::QDateTime: {
        const QDateTime t = v.toDateTime();
        if (t.time() == QTime(0, 0))
            return QVariant(t.date());
        return v;
    }
    default:
        return v;
    }
}

Value typedFromServer(const QVariant& v, FieldType type) {
    if (!v.isValid() || v.isNull())
        return {};
    const int id = v.typeId();
    switch (type) {
    case FieldType::Boolean:
        if (id == QMetaType::Bool)
            return v;
        break;
    case FieldType::Integer:
    case FieldType::Long:
        if (id == QMetaType::Int || id == QMetaType::LongLong)
            return v.toLongLong();
        break;
    case FieldType::Currency:
    case FieldType::Double:
        if (id == QMetaType::Double)
            return v;
        break;
    case FieldType::Text:
    case FieldType::Memo:
        if (id == QMetaType::QString)
            return v;
        break;
    case FieldType::Date:
    case FieldType::Unknown:
        break;
    }
    return fromStorage(toStorage(fromServer(v), type), type);
}

} // namespace db::detail
