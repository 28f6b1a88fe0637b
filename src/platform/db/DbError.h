#pragma once

#include <QCoreApplication>
#include <QString>
#include <stdexcept>

namespace db {

// Error numbers callers test for. They keep the numbers the agency's
// staff and older tools know from the previous database engine.
enum ErrorNumber : int {
    ErrGeneric = 3000,           // any other engine failure (description says which)
    ErrUpdateWithoutEdit = 3020, // Update/CancelUpdate without AddNew or Edit
    ErrNoCurrentRecord = 3021,   // BOF/EOF or deleted record
    ErrDuplicateKey = 3022,      // unique index or primary key refused the value
    ErrCannotOpen = 3024,        // file missing or not a database
    ErrReadOnly = 3027,          // recordset or database not updatable
    ErrSyntax = 3075,            // SQL that does not parse or names an unknown column/table
    ErrFieldTooSmall = 3163,     // text longer than the field's size
    ErrNotSupported = 3251,      // operation not available for this kind of recordset (Seek on a dynaset)
    ErrItemNotFound = 3265,      // unknown field name or position, unknown index or table
    ErrNullNotAllowed = 3314,    // required field left empty
    ErrConstraint = 3317,        // other CHECK or foreign-key refusal
    ErrConversion = 3421,        // value that the field's type cannot hold ("abc" for a number)
    ErrLocked = 3260,            // file busy/locked by another process
    ErrChangedByOther = 3197,    // the row changed (its Version moved) since it was read for editing
    ErrLoginRefused = 3029,      // the server refused the user or the password
    ErrServerUnreachable = 3151, // nothing answers at the server's address, or it timed out
    ErrConnectionLost = 3146,    // the connection to the server broke during a statement
    ErrPermissionDenied = 3033,  // the server refused the change to this user (the office rules)
};

class DbError : public std::runtime_error {
public:
    DbError(int number, const QString& description, int engineCode = 0)
        : std::runtime_error(description.toStdString()), number_(number), description_(description),
          engineCode_(engineCode) {}

    // The row moved on since it was read for editing: another seat stored it.
    static DbError cambiadoPorOtro() {
        return DbError(ErrChangedByOther,
                       QCoreApplication::translate(
                           "db::DbError", "Otro puesto ha modificado este registro mientras lo editaba."));
    }

    int number() const { return number_; }
    const QString& description() const { return description_; }
    // SQLite's extended result code when the engine raised it (SQLITE_FULL, …), else 0;
    // lets the program tell the user the cause (a full disk) in plain words.
    int engineCode() const { return engineCode_; }

private:
    int number_;
    QString description_;
    int engineCode_;
};

} // namespace db
