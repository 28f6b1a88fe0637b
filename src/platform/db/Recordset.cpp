// Opening a recordset of the kind asked for, and moving a cursor over it.

#include "RecordsetImpl.h"
#include "ServerEngine.h"

#include <QCoreApplication>

#include <algorithm>

namespace db {

using namespace detail;

namespace {

bool isTable(Database& database, const QString& name, QString* canonical = nullptr) {
    if (database.onServer()) {
        const QString found = database.server()->tableNamed(name);
        if (canonical && !found.isEmpty())
            *canonical = found;
        return !found.isEmpty();
    }
    const Value v = database.scalar(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' AND "
                                                   "name = ? COLLATE NOCASE"),
                                    {name});
    if (canonical && !isNull(v))
        *canonical = v.toString();
    return !isNull(v);
}

} // namespace

std::unique_ptr<Recordset> Database::openRecordset(const QString& source, RecordsetType type,
                                                   const Params& params, ReadOnlyFallback fallback) {
    ParsedSource p = parseSource(source);
    QString plainSql = p.bareName ? QStringLiteral("SELECT * FROM ") + p.fromClause : source;
    if (server_ && p.bareName) {
        // The server keeps the name in lower case, and its "*" would add the rowid.
        const QString table = server_->tableNamed(p.table);
        p.fromClause = quoteId(table.isEmpty() ? p.table.toLower() : table);
        p.fromOn = QStringLiteral("FROM ") + p.fromClause;
        plainSql = QStringLiteral("SELECT %1 FROM %2")
                       .arg(server_->selectListOf(table.isEmpty() ? p.table : table), p.fromClause);
    }
    std::unique_ptr<Recordset::Impl> impl;
    if (type == RecordsetType::Table) {
        QString table;
        if (!p.bareName)
            throw DbError(ErrNotSupported,
                          QCoreApplication::translate(
                              "db::Recordset", "Un recordset de tabla se abre con el nombre de una tabla: %1")
                              .arg(source));
        if (!isTable(*this, p.table, &table))
            throw DbError(
                ErrItemNotFound,
                QCoreApplication::translate("db::Recordset", "No se encuentra la tabla '%1'.").arg(p.table));
        ParsedSource t = p;
        t.table = table;
        t.fromClause = quoteId(table);
        impl = openKeyed(*this, t, params, type);
    } else if (type == RecordsetType::Dynaset) {
        QString why = p.notSimpleBecause;
        if (why.isEmpty() && !isTable(*this, p.table))
            why = QCoreApplication::translate("db::Recordset", "'%1' no es una tabla").arg(p.table);
        if (why.isEmpty()) {
            try {
                impl = openKeyed(*this, p, params, type);
            } catch (const DbError& e) {
                if (e.number() != ErrSyntax)
                    throw;
                // A source that is wrong in itself fails here with its own message;
                // otherwise the table has no rowids to build a keyset from.
                if (server_)
                    throw;
                Stmt check(handle(), plainSql);
                why = e.description();
            }
        }
        if (!impl && fallback == ReadOnlyFallback::Refuse)
            throw DbError(
                ErrNotSupported,
                QCoreApplication::translate(
                    "db::Recordset", "No se puede abrir como dynaset actualizable porque el origen %1: %2")
                    .arg(why, source));
    }
    if (!impl) // a snapshot, or a dynaset whose caller accepts reading one
        impl = openSnapshot(*this, plainSql, params, type);
    return std::unique_ptr<Recordset>(new Recordset(std::move(impl)));
}

Recordset::Recordset(std::unique_ptr<Impl> impl) : d(std::move(impl)) {}
Recordset::~Recordset() = default;

RecordsetType Recordset::type() const {
    auto& I = checked(d);
    return I.m->type;
}

bool Recordset::updatable() const {
    auto& I = checked(d);
    return I.m->updatable;
}

QString Recordset::tableName() const {
    auto& I = checked(d);
    return I.m->type == RecordsetType::Snapshot ? QString() : I.m->table;
}

bool Recordset::isEOF() const {
    auto& I = checked(d);
    return I.eof;
}

bool Recordset::isBOF() const {
    auto& I = checked(d);
    return I.bof;
}

void Recordset::moveFirst() {
    auto& I = checked(d);
    I.dropEdit();
    if (I.live() == 0 || !I.settle(0, 1)) {
        I.hasRow = false;
        I.pos = -1;
        I.bof = I.eof = true;
        noCurrentRecord();
    }
    I.bof = I.eof = false;
}

void Recordset::moveLast() {
    auto& I = checked(d);
    I.dropEdit();
    if (I.live() == 0 || !I.settle(I.size() - 1, -1)) {
        I.hasRow = false;
        I.pos = -1;
        I.bof = I.eof = true;
        noCurrentRecord();
    }
    I.bof = I.eof = false;
}

void Recordset::moveNext() {
    auto& I = checked(d);
    if (I.eof)
        noCurrentRecord();
    I.dropEdit();
    if (I.settle(I.bof ? 0 : I.pos + 1, 1)) {
        I.bof = false;
        return;
    }
    I.hasRow = false;
    I.pos = I.size();
    I.eof = true;
    I.bof = I.live() == 0;
}

void Recordset::movePrevious() {
    auto& I = checked(d);
    if (I.bof)
        noCurrentRecord();
    I.dropEdit();
    if (I.settle(I.eof ? I.size() - 1 : I.pos - 1, -1)) {
        I.eof = false;
        return;
    }
    I.hasRow = false;
    I.pos = -1;
    I.bof = true;
    I.eof = I.live() == 0;
}

qint64 Recordset::recordCount() const {
    auto& I = checked(d);
    return I.live();
}

qint64 Recordset::absolutePosition() const {
    auto& I = checked(d);
    if (!I.current())
        return -1;
    if (!I.k || I.k->live == I.k->size())
        return I.pos;
    return I.pos - std::count(I.k->deleted.begin(), I.k->deleted.begin() + I.pos, char(1));
}

void Recordset::setAbsolutePosition(qint64 position) {
    auto& I = checked(d);
    if (position < 0 || I.live() == 0)
        noCurrentRecord();
    I.dropEdit();
    qsizetype i = qsizetype(std::min<qint64>(position, I.live() - 1));
    if (I.k && I.k->live != I.k->size()) {
        // Live rows only: the n-th one is past the tombstones before it.
        qsizetype vivas = 0, j = 0;
        for (; j < I.size(); ++j)
            if (!I.k->deleted[j] && vivas++ == i)
                break;
        i = j;
    }
    if (!I.settle(i, 1) && !I.settle(i - 1, -1))
        noCurrentRecord();
    I.bof = I.eof = false;
}

QByteArray Recordset::bookmark() const {
    auto& I = checked(d);
    I.requireCurrent();
    return encodeBookmark(I.k ? I.k->ids[I.pos] : I.pos, I.pos);
}

void Recordset::setBookmark(const QByteArray& bookmark) {
    auto& I = checked(d);
    const auto b = decodeBookmark(bookmark);
    if (!b)
        noCurrentRecord();
    qsizetype i = b->key;
    if (I.k) {
        const bool atHint = b->hint >= 0 && b->hint < I.size() && I.k->ids[b->hint] == b->key;
        i = atHint && !I.k->deleted[b->hint] ? b->hint : I.k->find(b->key);
    }
    if (i < 0 || i >= I.size())
        noCurrentRecord();
    I.dropEdit();
    I.goTo(i);
}

QByteArray Recordset::lastModified() const {
    auto& I = checked(d);
    return I.lastModified;
}

std::unique_ptr<Recordset> Recordset::clone() const {
    auto& I = checked(d);
    auto c = std::make_unique<Impl>();
    c->m = I.m;
    c->k = I.k;
    c->indexName = I.indexName;
    c->indexColumns = I.indexColumns;
    c->openAtFirst();
    return std::unique_ptr<Recordset>(new Recordset(std::move(c)));
}

// ----- finding

bool Recordset::Impl::find(const QString& criterion, const Params& params, qsizetype start) {
    const qsizetype i = k ? findKeyed(criterion, params, start) : findSnapshot(criterion, params, start);
    noMatch = i < 0;
    if (noMatch)
        return false;
    dropEdit();
    goTo(i);
    return true;
}

bool Recordset::findFirst(const QString& criterion, const Params& params) {
    auto& I = checked(d);
    return I.find(criterion, params, 0);
}

bool Recordset::findNext(const QString& criterion, const Params& params) {
    auto& I = checked(d);
    if (I.eof)
        return I.noMatch = true, false;
    return I.find(criterion, params, I.bof ? 0 : I.pos + 1);
}

bool Recordset::noMatch() const {
    auto& I = checked(d);
    return I.noMatch;
}

// ----- fields

int Recordset::fieldCount() const {
    auto& I = checked(d);
    return int(I.m->fields.size());
}

const FieldInfo& Recordset::field(int index) const {
    auto& I = checked(d);
    return I.fieldAt(index);
}

int Recordset::fieldIndex(const QString& name) const {
    auto& I = checked(d);
    return I.m->indexOf(name);
}

const FieldInfo& Recordset::field(const QString& name) const {
    auto& I = checked(d);
    return I.fieldAt(I.fieldByName(name));
}

Value Recordset::value(int index) const {
    auto& I = checked(d);
    const FieldInfo& f = I.fieldAt(index);
    if (I.mode != EditMode::None)
        return fromStorage(I.buffer[index], f.type);
    I.requireCurrent();
    return fromStorage(I.row[index], f.type);
}

Value Recordset::value(const QString& name) const {
    auto& I = checked(d);
    return value(I.fieldByName(name));
}

void Recordset::close() {
    d.reset();
}

} // namespace db
