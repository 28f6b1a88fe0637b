#pragma once

#include <QString>
#include <QStringList>

namespace db {
class Database;
}

namespace orb::schema {

inline constexpr int CurrentVersion = 18;

// Width of Agencia, the office code that opens every property, owner and client code.
inline constexpr int LongitudAgencia = 10;
// Width of Cod in properties, owners and clients: the office code and the masked number.
inline constexpr int LongitudCodigo = 20;

// Creates every table, index and view of the agency database at CurrentVersion
// in an empty database and sets its version.
void createAgencyDatabase(db::Database& database);

struct MigrationOptions {
    // Office code given to the upgrader ("0100000" → "01"). Rows of Propiedades,
    // Propietarios and Clientes receive it when a step has to add their Agencia
    // field; nothing else uses it.
    QString codigoOficina;
};

// Brings a database of an older version to CurrentVersion, one step per
// version, each step in its own transaction. Returns the steps applied.
// A version-0 database without tables is created whole. A newer database is
// left alone (no steps).
QStringList migrate(db::Database& database);
QStringList migrate(db::Database& database, const MigrationOptions& options);

// Creates the exchange tables of ExportSchema.db: the six of the agency
// (Config excluded), the clients' wanted places and Intercambio, the file's
// own record of the office that exported it.
void createExportSchema(db::Database& database);
// Creates Intercambio in the database attached as schemaName when it lacks it
// (templates made before the table existed).
void createExchangeStamp(db::Database& database, const QString& schemaName);
// The same for Agentes, which the principal office's export carries.
void createExchangeAgents(db::Database& database, const QString& schemaName);

// True when the database holds no table of its own (a new, empty file).
bool isEmptyDatabase(db::Database& database);

} // namespace orb::schema
