#include "BusquedaRapida.h"

#include "platform/db/Database.h"
#include "platform/db/TextMatching.h"
#include "shell/Identidad.h"
#include "shell/Puesto.h"
#include "shell/SchemaBusquedaRapida.h"
#include "shell/SchemaTablas.h"

#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QSettings>
#include <array>

namespace orb {

namespace {

constexpr int kRecientes = 10;

QString Unir(const QStringList& partes) {
    QStringList llenas;
    for (const QString& p : partes)
        if (!p.trimmed().isEmpty())
            llenas << p.trimmed();
    return llenas.join(QStringLiteral(" · "));
}

// The kinds of person, in the order they are shown.
const std::array<std::pair<ClaseRapida, QString>, 2>& Personas() {
    static const std::array<std::pair<ClaseRapida, QString>, 2> personas{
        std::pair{ClaseRapida::Propietario, QStringLiteral("Propietarios")},
        std::pair{ClaseRapida::Cliente, QStringLiteral("Clientes")}};
    return personas;
}

} // namespace

QList<ConsultaRapida> ConsultasRapidas(const QString& texto, int limite, FormaRapida forma) {
    const QString t = texto.trimmed();
    if (t.size() < 2)
        return {};
    QList<ConsultaRapida> out;
    // SQLite's planner would read the people's wide rows instead of their
    // search index; the server has no such hint (nor needs it).
    const auto pista = [&](const QString& tabla) {
        return forma == FormaRapida::Servidor ? QString()
                                              : QStringLiteral(" INDEXED BY %1_BusquedaRapida").arg(tabla);
    };
    if (t.toUcs4().size() >= 3 && forma != FormaRapida::IndiceTexto) {
        // "Contains", the user's text taken literally, over the texts folded
        // as the file's index holds them: on the file each statement reads
        // one index holding every column it tests and returns; on the server
        // the trigram indexes over the same folded texts answer it.
        const QString patron = db::containsPattern(t);
        out.append({ClaseRapida::Propiedad,
                    QStringLiteral("SELECT Cod, Alquiler, Direccion, Estado FROM Propiedades "
                                   "WHERE likesinacentos(?, Cod, '\\') OR likesinacentos(?, Direccion, '\\') "
                                   "LIMIT ?"),
                    {patron, patron, limite},
                    true});
        for (const auto& [clase, tabla] : Personas())
            out.append(
                {clase,
                 QStringLiteral("SELECT Cod, Alquiler, Nombre, Email FROM %1%2 "
                                "WHERE likesinacentos(?, Nombre, '\\') OR likesinacentos(?, Email, '\\') "
                                "LIMIT ?")
                     .arg(tabla, pista(tabla)),
                 {patron, patron, limite},
                 true});
    } else if (t.toUcs4().size() >= 3) {
        // Anywhere in the text: the trigram index's phrase is the text
        // itself, without accents as the index holds it. A row is taken
        // only while its rowid holds the code it was indexed with.
        const QString propiedades = schema::indiceTextoDe(QStringLiteral("Propiedades"));
        QString sinAcentos = db::stripAccents(t);
        const QString frase = u'"' + sinAcentos.replace(u'"', QStringLiteral("\"\"")) + u'"';
        out.append(
            {ClaseRapida::Propiedad,
             QStringLiteral("SELECT p.Cod, p.Alquiler, p.Direccion, p.Estado FROM %1 CROSS JOIN "
                            "Propiedades p ON p.rowid = %1.rowid AND p.Cod = %1.Cod WHERE %1 MATCH ? LIMIT ?")
                 .arg(propiedades),
             {frase, limite},
             true});
        for (const auto& [clase, tabla] : Personas())
            out.append({clase,
                        QStringLiteral("SELECT p.Cod, p.Alquiler, p.Nombre, p.Email FROM %1 CROSS JOIN %2 p "
                                       "ON p.rowid = %1.rowid AND p.Cod = %1.Cod WHERE %1 MATCH ? LIMIT ?")
                            .arg(schema::indiceTextoDe(tabla), tabla),
                        {frase, limite},
                        true});
    } else {
        // Two characters are in too many texts to mean anything anywhere:
        // references and names that begin with them, a range of an index in
        // the Spanish order (case and accents ignored). The lowest text of
        // that start (no accents, lower case) to the start followed by the
        // character that sorts after every other.
        const QString desde = db::stripAccents(t).toCaseFolded();
        const QString hasta = desde + QChar(0xFFFF);
        out.append({ClaseRapida::Propiedad,
                    QStringLiteral("SELECT Cod, Alquiler, Direccion, Estado FROM Propiedades "
                                   "WHERE Cod >= ? AND Cod < ? ORDER BY Cod LIMIT ?"),
                    {desde, hasta, limite}});
        for (const auto& [clase, tabla] : Personas())
            out.append({clase,
                        QStringLiteral("SELECT Cod, Alquiler, Nombre, Email FROM %1%2 "
                                       "WHERE Nombre >= ? AND Nombre < ? ORDER BY Nombre LIMIT ?")
                            .arg(tabla, pista(tabla)),
                        {desde, hasta, limite}});
    }

    const QString telefono = TelefonoComparable(t);
    static const QRegularExpression soloTelefono(QStringLiteral("^\\+?[0-9 .()/-]+$"));
    const bool esTelefono = soloTelefono.match(t).hasMatch() && telefono.size() >= 3;
    const QString documento = DocumentoLimpio(t);
    static const QRegularExpression esDocumento(QStringLiteral("^[A-Z]?[0-9]{5,}[A-Z0-9]?$"));
    // The compared forms as each engine's expression indexes hold them.
    const auto dialecto =
        forma == FormaRapida::Servidor ? schema::detail::Dialect::Postgres : schema::detail::Dialect::Sqlite;
    for (const auto& [clase, tabla] : Personas()) {
        // A phone by its start, in each box and each stored form: a range of its index.
        if (esTelefono)
            for (const char* c : {"Telefono", "Movil", "Fax"}) {
                const QString expr =
                    schema::detail::indexExpression(SqlTelefono(QString::fromLatin1(c)), dialecto);
                for (const QString& inicio : FormasTelefono(telefono)) {
                    QString hasta = inicio;
                    hasta.back() = QChar(hasta.back().unicode() + 1);
                    out.append(
                        {clase,
                         QStringLiteral(
                             "SELECT Cod, Alquiler, Nombre, Email FROM %1 WHERE Alquiler IN (FALSE, TRUE) "
                             "AND %2 >= ? AND %2 < ? LIMIT ?")
                             .arg(tabla, expr),
                         {inicio, hasta, limite}});
                }
            }
        if (esDocumento.match(documento).hasMatch())
            for (const char* c : {"Dni", "Nie", "Pasaporte"})
                out.append({clase,
                            QStringLiteral(
                                "SELECT Cod, Alquiler, Nombre, Email FROM %1 WHERE Alquiler IN (FALSE, TRUE) "
                                "AND %2 = ? LIMIT ?")
                                .arg(tabla, schema::detail::indexExpression(
                                                SqlDocumento(QString::fromLatin1(c)), dialecto)),
                            {documento, limite}});
    }
    // Owners and clients each in one run, as the kinds are shown.
    std::stable_sort(out.begin(), out.end(), [](const ConsultaRapida& a, const ConsultaRapida& b) {
        return int(a.clase) < int(b.clase);
    });
    return out;
}

bool TieneIndiceTexto(db::Database& base) {
    return !base.onServer() && base.tableExists(schema::indiceTextoDe(QStringLiteral("Propiedades")));
}

FormaRapida FormaDe(db::Database& base) {
    if (base.onServer())
        return FormaRapida::Servidor;
    return TieneIndiceTexto(base) ? FormaRapida::IndiceTexto : FormaRapida::Tablas;
}

QList<Encontrado> BuscarRapido(db::Database& base, const QString& texto, int limite) {
    return FilasRapidas(base, ConsultasRapidas(texto, limite, FormaDe(base)), limite);
}

QList<Encontrado> FilasRapidas(db::Database& base, const QList<ConsultaRapida>& consultas, int limite) {
    QList<Encontrado> out;
    QSet<QString> vistos;
    QHash<int, int> porClase;
    for (const ConsultaRapida& c : consultas) {
        if (porClase.value(int(c.clase)) >= limite)
            continue;
        QList<db::Row> filas = base.query(c.sql, c.params);
        if (c.ordenar)
            std::stable_sort(filas.begin(), filas.end(), [](const db::Row& a, const db::Row& b) {
                return db::compareSpanish(a.value(2).toString(), b.value(2).toString()) < 0;
            });
        for (const db::Row& r : filas) {
            const QString clave = QString::number(int(c.clase)) + u'|' + r.value(0).toString();
            if (vistos.contains(clave) || porClase.value(int(c.clase)) >= limite)
                continue;
            vistos.insert(clave);
            ++porClase[int(c.clase)];
            out.append({c.clase, r.value(1).toBool(), r.value(0).toString(),
                        Unir({r.value(2).toString(), r.value(3).toString()})});
        }
    }
    return out;
}

QList<Encontrado> Recientes() {
    const auto ajustes = AjustesPuesto();
    QList<Encontrado> out;
    const int n = ajustes->beginReadArray(QStringLiteral("BusquedaRapida/Recientes"));
    for (int i = 0; i < n && i < kRecientes; ++i) {
        ajustes->setArrayIndex(i);
        const int clase = ajustes->value(QStringLiteral("clase")).toInt();
        if (clase < 0 || clase > 2)
            continue;
        out.append({ClaseRapida(clase), ajustes->value(QStringLiteral("alquiler")).toBool(),
                    ajustes->value(QStringLiteral("cod")).toString(),
                    ajustes->value(QStringLiteral("texto")).toString()});
    }
    ajustes->endArray();
    return out;
}

void RecordarReciente(const Encontrado& e) {
    QList<Encontrado> lista = Recientes();
    lista.removeIf([&](const Encontrado& x) {
        return x.clase == e.clase && x.alquiler == e.alquiler &&
               x.cod.compare(e.cod, Qt::CaseInsensitive) == 0;
    });
    lista.prepend(e);
    while (lista.size() > kRecientes)
        lista.removeLast();
    const auto ajustes = AjustesPuesto();
    ajustes->beginWriteArray(QStringLiteral("BusquedaRapida/Recientes"), int(lista.size()));
    for (int i = 0; i < lista.size(); ++i) {
        ajustes->setArrayIndex(i);
        ajustes->setValue(QStringLiteral("clase"), int(lista.at(i).clase));
        ajustes->setValue(QStringLiteral("alquiler"), lista.at(i).alquiler);
        ajustes->setValue(QStringLiteral("cod"), lista.at(i).cod);
        ajustes->setValue(QStringLiteral("texto"), lista.at(i).texto);
    }
    ajustes->endArray();
}

} // namespace orb
