#pragma once

// The office rules on a server that all offices of an agency share: every
// agent reads every office's records but writes only those of the office
// the agent belongs to, and only the principal office's agents write the
// catalogues. The server enforces them for every writer that is not the
// tables' owner (row-level security and triggers), so a seat that bypasses
// the program gets the same refusal, with the program's own Spanish messages.

#include <QString>
#include <QStringList>

namespace pg {
class Connection;
}

namespace orb::schema {

// The offices on this server (orbalia_oficinas), the functions that tell the
// signed-in agent's office, the policies and triggers. Idempotent; inside the
// caller's transaction.
void crearReglasOficina(pg::Connection& c);

// The role every agent of this database belongs to: "<database>_agentes".
QString grupoAgentes(pg::Connection& c);

// What the group may do on every table and sequence of the agency (the rules
// above decide which rows). Done again after every step that adds a table;
// nothing when the group does not exist yet (no agent was ever created).
void concederAgentes(pg::Connection& c);

// Creates the group when missing and an agent's login role in it (or sets a
// new password of an existing one), and records the agent in Agentes with
// its office; the office joins orbalia_oficinas. Needs a connection of the
// database's owner with the right to create roles. Throws pg::PgError or
// std::runtime_error worded for the user.
struct AgenteNuevo {
    QString usuario; // the login role
    QString nombre;  // as the catalogue shows it; the role when empty
    QString oficina;
    QString email;
    QString clave;
    bool principal = false; // the office is the agency's principal one
};
void crearAgente(pg::Connection& c, const AgenteNuevo& agente);

// The tables each rule covers (folded names).
QStringList tablasRegistrosOficina();
QStringList tablasCatalogo();

} // namespace orb::schema
