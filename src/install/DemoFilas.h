#pragma once

// The pieces demo rows are made of: a prepared INSERT, a row built column by
// column, and the personal data, codes and captions drawn for demo records.

#include "Artwork.h"
#include "platform/db/Database.h"
#include "platform/db/Statement.h"

#include <QStringList>
#include <QVariant>
#include <stdexcept>

namespace orb::install::demo {

// A prepared INSERT reused for every row of one table.
class Inserter {
public:
    Inserter(db::Database& database, const QString& table, const QStringList& columns)
        : columns_(columns),
          stmt_(database,
                QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                    .arg(table, columns.join(QStringLiteral(", ")),
                         QStringList(columns.size(), QStringLiteral("?")).join(QStringLiteral(", ")))) {}

    void insert(const db::Params& values) {
        if (values.size() != columns_.size())
            throw std::logic_error("demo row with a wrong number of values");
        stmt_.execute(values);
    }

private:
    QStringList columns_;
    db::Statement stmt_;
};

// Builds one row as (column, value) pairs, so the long property rows stay readable.
class Row {
public:
    Row& set(const char* column, const QVariant& value) {
        columns_ << QString::fromLatin1(column);
        values_ << value;
        return *this;
    }
    const QStringList& columns() const { return columns_; }
    const db::Params& values() const { return values_; }

private:
    QStringList columns_;
    db::Params values_;
};

struct Person {
    QString cod;
    QString nombre;
    bool alquiler = false;
};

QVariant orNull(const QString& s);
QString asciiFold(const QString& text);
QString emailFor(const QString& name, int n);
QString dniFor(DemoRandom& rnd);
QString nieFor(DemoRandom& rnd);
QString landline(DemoRandom& rnd);
QString mobile(DemoRandom& rnd);
Row personalRow(DemoRandom& rnd, int index, const QString& agencia, int quickId, bool alquiler,
                Person* person);
int weightedType(DemoRandom& rnd);
double roundTo(double value, double step);
QString photoCaption(PhotoScene scene, int type, DemoRandom& rnd);

} // namespace orb::install::demo
