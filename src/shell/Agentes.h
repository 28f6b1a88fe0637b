#pragma once

// The agency's agents: the catalogue's names for lists, and who is at the
// seat, found once at start-up.

#include <QStringList>

class QWidget;

namespace db {
class Database;
}

namespace orb {

struct AppContext;

// Names of the active agents, in name order; of one office when oficina is given.
QStringList NombresAgentes(db::Database& database, const QString& oficina = {});

// The offices whose agents work on this server (orbalia_oficinas), in code
// order; none on the file. Their records are here already: the office
// exchange skips them.
QStringList OficinasDelServidor(db::Database& database);

// After the database is open. On a server: the agent whose role signed in,
// whose office becomes the seat's (principal or not as the server says); a
// role that is no agent (the administrator's) keeps the installation's
// office. On the file: the agent chosen from the office's list, the last one
// offered first; none when the agency keeps no agents or the choice is
// cancelled. A database error leaves the seat without an agent (logged).
void IdentificarAgente(AppContext& ctx, QWidget* parent);

// The agent the seat offers first at its next start (its own settings; never a password).
QString UltimoAgente();
void GuardarUltimoAgente(const QString& nombre);

} // namespace orb
