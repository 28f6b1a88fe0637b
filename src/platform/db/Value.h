#pragma once

#include <QDate>
#include <QString>
#include <QVariant>

namespace db {

// A field value. A null is an invalid QVariant (QVariant()); Text/Memo are
// QString, Integer/Long qint64, Currency/Double double, Date QDate
// (QDateTime when the stored text carries a time), Yes/No bool.
using Value = QVariant;
using Params = QVariantList;

// Field types, derived from the declared column types of the schema.
enum class FieldType {
    Boolean,  // BOOLEAN   (stored 0/1)
    Integer,  // SMALLINT
    Long,     // INTEGER
    Currency, // CURRENCY  (stored REAL)
    Double,   // DOUBLE / REAL / FLOAT
    Date,     // DATE      (stored ISO text YYYY-MM-DD)
    Text,     // VARCHAR(n): size n
    Memo,     // TEXT
    Unknown,  // expression columns with no declared type
};

struct FieldInfo {
    QString name; // column name as the statement returns it
    FieldType type = FieldType::Unknown;
    int size = 0;   // VARCHAR(n) → n; fixed sizes for numbers (2, 4, 8); 0 for Memo
    QString table;  // base table ("" for expressions)
    QString column; // base column ("" for expressions)
};

// Declared SQL type → field type and size ("VARCHAR(50)" → Text, 50).
FieldInfo fieldInfoFromDeclType(const QString& declType);

// Value as read from SQLite → typed value by field type (ISO text → QDate, 0/1 → bool…).
Value fromStorage(const QVariant& stored, FieldType type);
// Typed value → what SQLite stores (QDate → "YYYY-MM-DD", bool → 0/1…).
QVariant toStorage(const Value& v, FieldType type);

inline bool isNull(const Value& v) {
    return !v.isValid() || v.isNull();
}

} // namespace db
