#include "ConfigStore.h"

#include "Fechas.h"
#include "Numeros.h"
#include "platform/db/Database.h"
#include "platform/db/Statement.h"

#include <QDateTime>

#include <cmath>

namespace orb {

namespace {

struct Default {
    const char* grupo;
    const char* variable;
    const char* valor; // nullptr: no default, the row is stored with a null value
};

constexpr Default kDefaults[] = {
    {"CONTADORES", "CLIENTES", "0"},
    {"CONTADORES", "PROPIEDADES", "0"},
    {"CONTADORES", "PROPIETARIOS", "0"},
    {"CONTADORES", "TIPOS", "0"},
    {"CONTADORES", "LOCALIDADES", "0"},
    {"CONTADORES", "AREAS", "0"},
    {"CODIGOS", "MASCARA", "00000"},
    {"GENERAL", "ADDAGAIN", "0"},
    {"WEB", "SERVIDOR", ""},
    {"WEB", "BASEDATOS", ""},
    {"WEB", "USUARIO", ""},
    {"WEB", "PASSWORD", ""},
    {"WEB", "FOTOANCHURA", "400"},
    {"WEB", "FOTOALTURA", "300"},
    {"WEB", "THUMBANCHURA", "80"},
    {"WEB", "THUMBALTURA", "60"},
    {"WEB", "TIPO", "0"},
    {"WEB", "THUMBPREFIJO", "tb_"},
    {"WEB", "FOTOGENERAR", "0"},
    {"WEB", "THUMBGENERAR", "0"},
    {"WEB", "PUERTORSYNC", "5535"},      // the web picture server's rsync daemon
    {"PORTALES", "URLFOTOS", ""},        // where Web/ is seen from outside: the portals fetch pictures there
    {"PORTALES", "RECHAZOMAXIMO", "20"}, // % of refused properties above which nothing is published
    {"PORTALES", "FOTOANCHURA", "1280"},
    {"PORTALES", "FOTOALTURA", "960"},
    {"COINCIDENCIAS", "TOLERANCIA", "10"}, // % above the client's maximum that still matches
    {"SINC", "FTPSERVIDOR", nullptr},
    {"SINC", "FTPUSUARIO", nullptr},
    {"SINC", "FTPPASSWORD", nullptr},
    {"SINC", "PUERTORSYNC", nullptr}, // none: the port the installer wrote into the script
};

// Spanish text form of a number: "42" for a whole 42.0, "12,5" otherwise,
// which ValorNumerico reads back to the same number.
QString numberText(double d) {
    if (!std::isfinite(d))
        return QString::number(d);
    if (std::trunc(d) == d && std::fabs(d) < 1e15)
        return QString::number(qint64(d));
    return QString::number(d, 'f', QLocale::FloatingPointShortest).replace(u'.', u',');
}

// Valor is a text column: every value is stored in its text form.
db::Value textForm(const db::Value& valor) {
    if (db::isNull(valor))
        return {};
    switch (valor.typeId()) {
    case QMetaType::Bool:
        return valor.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    case QMetaType::Int:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::Short:
        return QString::number(valor.toLongLong());
    case QMetaType::UInt:
    case QMetaType::ULong:
    case QMetaType::ULongLong:
    case QMetaType::UShort:
        return QString::number(valor.toULongLong());
    case QMetaType::Double:
    case QMetaType::Float:
        return numberText(valor.toDouble());
    case QMetaType::QDate:
        return FormatoFecha(valor);
    case QMetaType::QDateTime:
        return valor.toDateTime().toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"));
    default:
        return valor.toString();
    }
}

} // namespace

db::Value ValorPorDefecto(const QString& grupo, const QString& variable) {
    for (const Default& d : kDefaults) {
        if (grupo == QLatin1String(d.grupo) && variable == QLatin1String(d.variable))
            return d.valor ? db::Value(QString::fromLatin1(d.valor)) : db::Value();
    }
    if (grupo == QLatin1String("CONTADORES") || grupo == QLatin1String("WEB"))
        return QStringLiteral("");
    return {};
}

db::Value LeerConfig(db::Database& database, const QString& grupo, const QString& variable) {
    const QList<db::Row> rows = database.query(
        QStringLiteral("SELECT Valor FROM Config WHERE Grupo = ? AND Variable = ?"), {grupo, variable});
    if (!rows.isEmpty())
        return rows.first().value(0);
    return ValorPorDefecto(grupo, variable);
}

void GuardarValoresPorDefecto(db::Database& database) {
    db::runInTransaction(database, [&] {
        db::Statement guardar(database,
                              QStringLiteral("INSERT INTO Config (Grupo, Variable, Valor) SELECT ?, ?, ? "
                                             "WHERE NOT EXISTS (SELECT 1 FROM Config WHERE Grupo = ? AND "
                                             "Variable = ?)"));
        for (const Default& d : kDefaults) {
            const QString grupo = QString::fromLatin1(d.grupo);
            const QString variable = QString::fromLatin1(d.variable);
            guardar.execute({grupo, variable, ValorPorDefecto(grupo, variable), grupo, variable});
        }
    });
}

void GuardarConfig(db::Database& database, const QString& grupo, const QString& variable,
                   const db::Value& valor) {
    // Each path changes the table with a single statement, so a failure
    // leaves it as it was, inside or outside a caller's transaction.
    const db::Value texto = textForm(valor);
    const int changed =
        database.execute(QStringLiteral("UPDATE Config SET Valor = ? WHERE Grupo = ? AND Variable = ?"),
                         {texto, grupo, variable});
    if (changed == 0) {
        database.execute(QStringLiteral("INSERT INTO Config (Grupo, Variable, Valor) VALUES (?, ?, ?)"),
                         {grupo, variable, texto});
    }
}

} // namespace orb
