#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace db {
class Database;
}

namespace orb {

// What a new or changed owner or client is compared by.
struct PersonaComparada {
    QString tabla; // Propietarios or Clientes
    bool alquiler = false;
    QString cod; // the record itself when it is stored already (never a candidate)
    QString nombre;
    QStringList telefonos; // every phone box
    QString email;
    QStringList documentos; // DNI, NIE and passport
};

// Another record that may be the same person or the same property.
struct Candidato {
    QString cod;
    QString nombre; // a property's address
    QString telefonos;
    QString email;
    QString oficina;
    QStringList motivos; // what they share: "DNI/NIE", "teléfono", "e-mail", "nombre"
};

// The records of the same table and side that share an identity number, a
// phone (any box against any box) or an e-mail with p; the name alone never
// makes one, but is named among the reasons when it also matches. Each
// comparison is one lookup in its index.
QList<Candidato> BuscarPersonasDuplicadas(db::Database& base, const PersonaComparada& p);

// An address as compared: without accents, case or punctuation, words apart
// by one space ("C/ Mayor, 12" → "c mayor 12").
QString DireccionComparable(const QString& texto);

// Available properties (on sale, or free to rent) of the same side and
// locality whose address, floor and door are those of the one typed.
QList<Candidato> BuscarPropiedadesDuplicadas(db::Database& base, bool alquiler, const QString& cod,
                                             qint64 codLocalidad, const QString& direccion,
                                             const QString& planta, const QString& puerta);

} // namespace orb
