#pragma once

#include <QString>
#include <QStringList>

namespace db {
class Database;
}

namespace orb::schema {

inline constexpr int CurrentVersion = 10;

// Creates every table, index and view of the agency database at CurrentVersion
// in an empty database and sets its version.
void createAgencyDatabase(db::Database& database);

// Brings a database of an older version to CurrentVersion, one step per
// version, each step in its own transaction. Returns the steps applied.
QStringList migrate(db::Database& database);

// Creates the six exchange tables (Config excluded) of ExportSchema.db.
void createExportSchema(db::Database& database);

} // namespace orb::schema
