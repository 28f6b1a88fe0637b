#include "BulkRows.h"

#include "MysqlError.h"

#include <QCoreApplication>
#include <QLocale>
#include <cmath>

namespace mysql {

BulkRows::BulkRows(int columns) : columns_(std::size_t(std::max(0, columns))) {}

void BulkRows::clear() {
    for (Column& c : columns_) {
        c.kinds.clear();
        c.ints.clear();
        c.reals.clear();
        c.offsets.clear();
        c.lengths.clear();
        c.arena.clear();
    }
    rows_ = 0;
    filled_ = 0;
    bytes_ = 0;
}

BulkRows::Column& BulkRows::next() {
    if (filled_ >= columnCount())
        throw MysqlError(2034, QStringLiteral("HY000"),
                         QCoreApplication::translate("mysql::BulkRows", "Una fila trae más de %1 valores")
                             .arg(columnCount()));
    Column& c = columns_[std::size_t(filled_++)];
    c.ints.push_back(0);
    c.reals.push_back(0);
    c.offsets.push_back(0);
    c.lengths.push_back(0);
    return c;
}

void BulkRows::addNull() {
    next().kinds.push_back(Kind::Null);
    bytes_ += 1;
}

void BulkRows::addInteger(qint64 v) {
    Column& c = next();
    c.kinds.push_back(Kind::Integer);
    c.ints.back() = v;
    bytes_ += 8;
}

void BulkRows::addReal(double v) {
    Column& c = next();
    c.kinds.push_back(Kind::Real);
    c.reals.back() = v;
    bytes_ += 8;
}

void BulkRows::addText(const char* utf8, qsizetype size) {
    Column& c = next();
    c.kinds.push_back(Kind::Text);
    c.offsets.back() = c.arena.size();
    c.lengths.back() = static_cast<unsigned long>(size);
    c.arena.append(utf8, size);
    bytes_ += size + 4;
}

void BulkRows::addText(const QString& text) {
    const QByteArray b = text.toUtf8();
    addText(b.constData(), b.size());
}

namespace {

// What QVariant makes of a text read as a number: 0 when it is not one.
qint64 integerOf(const db::Cell& c) {
    switch (c.kind) {
    case db::Cell::Kind::Integer:
        return c.integer;
    case db::Cell::Kind::Real:
        return qint64(std::llround(c.real));
    default:
        return QByteArray::fromRawData(c.data, c.size).trimmed().toLongLong();
    }
}

double realOf(const db::Cell& c) {
    switch (c.kind) {
    case db::Cell::Kind::Integer:
        return double(c.integer);
    case db::Cell::Kind::Real:
        return c.real;
    default:
        return QByteArray::fromRawData(c.data, c.size).trimmed().toDouble();
    }
}

} // namespace

void BulkRows::add(const db::Cell& cell, db::FieldType declared) {
    if (cell.kind == db::Cell::Kind::Null) {
        addNull();
        return;
    }
    switch (declared) {
    case db::FieldType::Boolean:
        addInteger(integerOf(cell) != 0 ? 1 : 0);
        return;
    case db::FieldType::Integer:
    case db::FieldType::Long:
        addInteger(integerOf(cell));
        return;
    case db::FieldType::Currency:
    case db::FieldType::Double:
        addReal(realOf(cell));
        return;
    case db::FieldType::Text:
    case db::FieldType::Memo:
        if (cell.kind == db::Cell::Kind::Integer)
            addText(QString::number(cell.integer));
        else if (cell.kind == db::Cell::Kind::Real)
            addText(QString::number(cell.real, 'g', QLocale::FloatingPointShortest));
        else
            addText(cell.data, cell.size);
        return;
    default:
        // As stored: dates keep their ISO text, numbers their kind.
        if (cell.kind == db::Cell::Kind::Integer)
            addInteger(cell.integer);
        else if (cell.kind == db::Cell::Kind::Real)
            addReal(cell.real);
        else
            addText(cell.data, cell.size);
        return;
    }
}

void BulkRows::endRow() {
    if (filled_ != columnCount())
        throw MysqlError(2034, QStringLiteral("HY000"),
                         QCoreApplication::translate("mysql::BulkRows",
                                                     "La sentencia espera %1 valores y una fila trae %2")
                             .arg(columnCount())
                             .arg(filled_));
    filled_ = 0;
    ++rows_;
}

QVariant BulkRows::valueAt(const Column& c, int r) const {
    switch (c.kinds[std::size_t(r)]) {
    case Kind::Integer:
        return QVariant::fromValue<qlonglong>(c.ints[std::size_t(r)]);
    case Kind::Real:
        return c.reals[std::size_t(r)];
    case Kind::Text:
        return QString::fromUtf8(c.arena.constData() + c.offsets[std::size_t(r)],
                                 qsizetype(c.lengths[std::size_t(r)]));
    case Kind::Null:
        break;
    }
    return {};
}

Params BulkRows::row(int r) const {
    Params p;
    p.reserve(columnCount());
    for (const Column& c : columns_)
        p << valueAt(c, r);
    return p;
}

QList<Params> BulkRows::toParams() const {
    QList<Params> out;
    out.reserve(rows_);
    for (int r = 0; r < rows_; ++r)
        out << row(r);
    return out;
}

} // namespace mysql
