#pragma once

#include "Database.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <memory>

namespace db {

enum class EditMode { None, InProgress, Add };

// A cursor over a table or a SELECT, in the three kinds of Database::openRecordset.
//
// - Snapshot: the whole result read at open; read-only (edits throw ErrReadOnly).
// - Dynaset: for a SELECT over one table (or the table name alone): the rowids
//   of the result are taken at open in the statement's order, each row is read
//   when it becomes current. Updatable. New rows are appended at the end of the
//   keyset until the recordset is opened again; deleted rows leave it.
//   A dynaset over a join or a view is read-only.
// - Table: the whole table in rowid order (or index order after setIndex),
//   updatable, with seek on the current index.
//
// Positioning: after open the first row is current (BOF and EOF both true when
// empty). moveNext past the last row sets EOF, movePrevious before the first
// sets BOF; moving further throws ErrNoCurrentRecord. Reading or writing a
// field with no current row throws ErrNoCurrentRecord.
class Recordset {
public:
    ~Recordset();
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;

    RecordsetType type() const;
    bool updatable() const;
    Database& database() const;

    bool isEOF() const;
    bool isBOF() const;
    void moveFirst();
    void moveLast();
    void moveNext();
    void movePrevious();
    // Rows in the recordset now (added rows included, deleted excluded).
    qint64 recordCount() const;
    // 0-based position of the current row, -1 when none.
    qint64 absolutePosition() const;

    // Opaque position of the current row; valid for this recordset and its clones.
    QByteArray bookmark() const;
    void setBookmark(const QByteArray& bookmark); // ErrNoCurrentRecord if the row is gone
    // Bookmark of the row last added or edited through update().
    QByteArray lastModified() const;
    // Independent cursor over the same rows (same keyset), positioned on the first row.
    std::unique_ptr<Recordset> clone() const;

    // criterion is an SQL boolean expression over the recordset's columns, with
    // '?' parameters ("Cod = ?"). Moves to the first matching row in recordset
    // order and returns true; without a match the position stays and noMatch() is true.
    bool findFirst(const QString& criterion, const Params& params = {});
    bool findNext(const QString& criterion, const Params& params = {});
    bool noMatch() const;

    // Table recordsets: choose an index by name (its columns give the order),
    // then seek "=" on its leading columns. Text compares case-insensitively.
    void setIndex(const QString& indexName);
    bool seek(const QString& comparison, const Params& keys);

    // Editing. addNew() starts a new row with every field null (or its
    // declared default); edit() copies the current row; setValue() changes the
    // copy (a Text longer than its size throws ErrFieldTooSmall); update()
    // writes it in one statement and makes the new row current for addNew
    // (DAO leaves the position; we keep the new row current so callers see it);
    // cancelUpdate() drops the copy. deleteRecord() removes the current row; the
    // position then has no current row until a move.
    void addNew();
    void edit();
    void update();
    void cancelUpdate();
    EditMode editMode() const;
    void deleteRecord();

    int fieldCount() const;
    const FieldInfo& field(int index) const;   // ErrItemNotFound when out of range
    int fieldIndex(const QString& name) const; // case-insensitive; -1 when unknown
    const FieldInfo& field(const QString& name) const;
    Value value(int index) const;
    Value value(const QString& name) const;
    void setValue(int index, const Value& value);
    void setValue(const QString& name, const Value& value);

    void close();

    struct Impl;

private:
    friend class Database;
    explicit Recordset(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> d;
};

} // namespace db
