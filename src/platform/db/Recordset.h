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
//   keyset until the recordset is opened again; deleted rows leave it; rows
//   changed so that they no longer match the WHERE stay.
//   Over a join, a view or a grouping no keyset can be built: opening a
//   dynaset there throws ErrNotSupported saying why, unless the caller passes
//   ReadOnlyFallback::Snapshot and gets a read-only snapshot (updatable() false).
// - Table: the whole table in rowid order (or index order after setIndex),
//   updatable, with seek on the current index. Rows added through it go to
//   the end of its order, as in a dynaset.
//
// Positioning: after open the first row is current (BOF and EOF both true when
// empty). moveNext past the last row sets EOF, movePrevious before the first
// sets BOF; moving further throws ErrNoCurrentRecord, and so do moveFirst and
// moveLast on an empty recordset. Reading or writing a field with no current
// row throws ErrNoCurrentRecord. Any move drops a pending addNew/edit.
// Rows deleted through a clone, or by other statements, are skipped.
class Recordset {
public:
    ~Recordset();
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;

    RecordsetType type() const;
    bool updatable() const;
    // The table a dynaset or table recordset is over, spelt as its source
    // names it (SQL names compare case-insensitively); empty for a snapshot.
    QString tableName() const;

    bool isEOF() const;
    bool isBOF() const;
    void moveFirst();
    void moveLast();
    void moveNext();
    void movePrevious();
    // Rows in the recordset now (added rows included, deleted excluded; a row
    // deleted by another statement counts until a move reaches it).
    qint64 recordCount() const;
    // 0-based position of the current row, -1 when none.
    qint64 absolutePosition() const;
    // Makes the row at that position current, reading only that row (a row
    // deleted since the open is skipped forward, as moveNext does); past the
    // last row, the last. ErrNoCurrentRecord on an empty recordset or a
    // negative position.
    void setAbsolutePosition(qint64 position);

    // Opaque position of the current row; valid for this recordset and its clones.
    QByteArray bookmark() const;
    void setBookmark(const QByteArray& bookmark); // ErrNoCurrentRecord if the row is gone
    // Bookmark of the row last added or edited through update().
    QByteArray lastModified() const;
    // Independent cursor over the same rows, positioned on the first row. Clones
    // share the keyset: rows added or deleted through one are seen by all.
    std::unique_ptr<Recordset> clone() const;

    // criterion is an SQL boolean expression over the recordset's columns, with
    // '?' parameters ("Cod = ?"). Moves to the first matching row in recordset
    // order and returns true; without a match the position stays and noMatch() is true.
    bool findFirst(const QString& criterion, const Params& params = {});
    bool findNext(const QString& criterion, const Params& params = {});
    bool noMatch() const;

    // Table recordsets: choose an index by name (its columns give the order;
    // "PrimaryKey" names the primary key), then seek "=" on its leading columns;
    // the first row in index order wins. Text compares case-insensitively.
    // Other kinds throw ErrNotSupported; without a match the position stays.
    void setIndex(const QString& indexName);
    bool seek(const QString& comparison, const Params& keys);

    // Editing. addNew() starts a new row with every field null (or its
    // declared default); edit() copies the current row; setValue() changes the
    // copy (a Text longer than its size throws ErrFieldTooSmall); update()
    // writes it in one statement and makes the new row current for addNew
    // (DAO leaves the position; we keep the new row current so callers see it);
    // only the fields set are written, so unset fields of a new row take their
    // column defaults. A refused update (duplicate key 3022, …) changes nothing
    // and keeps the copy, so the caller can correct it and update again.
    // setValue() checks the value against the field's type (ErrConversion) and
    // converts it (text "12" to a number, QDate to the stored ISO text).
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
    // The current row's Version as stored now (a dynaset or table over a base
    // table that has that column); null otherwise.
    Value rowVersion();
    // The rowid of the current row of a dynaset or table recordset; 0 without one.
    qint64 rowId() const;
    // Whether the current row of a dynaset or table recordset is still stored,
    // read now without changing the recordset (the row it holds, an edit in
    // progress and the keyset stay as they are); false when another statement
    // deleted it. version gets its stored Version (null without the column).
    bool storedVersion(Value* version);
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
