#include "ImportacionOficina.h"

#include "shell/Agentes.h"
#include "shell/AppContext.h"
#include "shell/ConfigStore.h"
#include "shell/ErrorReport.h"
#include "shell/Ficheros.h"
#include "shell/Installation.h"
#include "shell/Log.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <limits>
#include <optional>

namespace orb {

namespace {

// The log's line for each row (%1: its code) and the count after the table (%1: the rows).
struct TablaImportada {
    const char16_t* tabla;
    const char* fila;
    const char* importadas;
};

constexpr TablaImportada Tablas[] = {
    {u"Tipos", QT_TRANSLATE_NOOP("ImportacionOficina", "Importando tipo %1"),
     QT_TRANSLATE_NOOP("ImportacionOficina", "Se han importado %1 tipos.")},
    {u"Localidades", QT_TRANSLATE_NOOP("ImportacionOficina", "Importando localidad %1"),
     QT_TRANSLATE_NOOP("ImportacionOficina", "Se han importado %1 localidades.")},
    {u"Areas", QT_TRANSLATE_NOOP("ImportacionOficina", "Importando area %1"),
     QT_TRANSLATE_NOOP("ImportacionOficina", "Se han importado %1 areas.")},
    {u"Propiedades", QT_TRANSLATE_NOOP("ImportacionOficina", "Importando propiedad %1"),
     QT_TRANSLATE_NOOP("ImportacionOficina", "Se han importado %1 propiedades.")},
    {u"Propietarios", QT_TRANSLATE_NOOP("ImportacionOficina", "Importando propietario %1"),
     QT_TRANSLATE_NOOP("ImportacionOficina", "Se han importado %1 propietarios.")},
    {u"Clientes", QT_TRANSLATE_NOOP("ImportacionOficina", "Importando cliente %1"),
     QT_TRANSLATE_NOOP("ImportacionOficina", "Se han importado %1 clientes.")},
};

// The principal office's agents travel when its file has them (an office not
// yet upgraded sends none, and the agents here stay).
// They come without row or count lines, as they leave: the log stays the one
// the offices know; only a refused agent is told.
constexpr TablaImportada TablaAgentes = {u"Agentes", nullptr, nullptr};

// Any other name is the agents' (the only table imported beside the six).
const TablaImportada& datosTabla(const QString& tabla) {
    for (const TablaImportada& t : Tablas)
        if (tabla == QString::fromUtf16(t.tabla))
            return t;
    return TablaAgentes;
}

const QString Alias = QStringLiteral("intercambio");

// The larger page cache for one import; the connection's own comes back after.
class CacheAmplia {
public:
    CacheAmplia(db::Database& database, int kib)
        : database_(database), antes_(database.scalar(QStringLiteral("PRAGMA main.cache_size"))) {
        database_.execute(QStringLiteral("PRAGMA main.cache_size = %1").arg(-kib));
    }
    ~CacheAmplia() {
        try {
            database_.execute(QStringLiteral("PRAGMA main.cache_size = %1").arg(antes_.toLongLong()));
        } catch (const db::DbError&) {
            // A cache left larger costs memory until the program closes, nothing else.
        }
    }
    CacheAmplia(const CacheAmplia&) = delete;
    CacheAmplia& operator=(const CacheAmplia&) = delete;

private:
    db::Database& database_;
    db::Value antes_;
};

// The largest rowid of a table: every row stored next is numbered above it
// (-1 when there is no room above, and SQLite would number them anywhere).
qint64 ultimaFila(db::Database& agencia, const QString& tabla) {
    const db::Value v = agencia.scalar(QStringLiteral("SELECT max(rowid) FROM main.\"%1\"").arg(tabla));
    if (db::isNull(v))
        return 0;
    const qint64 n = v.toLongLong();
    return n == std::numeric_limits<qint64>::max() ? -1 : n;
}

// "2 registros de propiedades no importados."
QString noImportados(qint64 n, const QString& tabla) {
    return QCoreApplication::translate("ImportacionOficina", "%n registros de %1 no importados.", nullptr,
                                       int(n))
        .arg(NombreFilasTabla(tabla));
}

// The setting that remembers the stamp of the last file imported from an office.
QString claveUltimaImportacion(const QString& oficina) {
    return QStringLiteral("IMPORTADO") + oficina;
}

} // namespace

ImportacionOficina::ImportacionOficina(AppContext& ctx, InformeIntercambio informe)
    : ctx_(ctx), informe_(std::move(informe)) {
    cuenta_ = LeerCuentaIntercambio(ctx_.db());
}

void ImportacionOficina::log(const QString& linea) const {
    if (informe_.log)
        informe_.log(linea);
}

QString ImportacionOficina::carpetaOficina(const QString& oficina) const {
    return ctx_.RutaExchange + oficina + u'/';
}

QString ImportacionOficina::motivoCarpeta(const QString& oficina) const {
    if (const QString problema = ProblemaCodigoOficina(oficina); !problema.isEmpty())
        return QCoreApplication::translate("ImportacionOficina",
                                           "%1 Corrija la clave RedAgencias de Orbalia.ini.")
            .arg(problema);
    // The download mirrors the server's folder into this one, deleting what
    // the server lacks: never Exchange/ itself nor anything outside it.
    if (!CarpetaDentroDe(carpetaOficina(oficina), ctx_.RutaExchange))
        return QCoreApplication::translate("ImportacionOficina", "La carpeta %1 no está dentro de %2.")
            .arg(QDir::toNativeSeparators(carpetaOficina(oficina)),
                 QDir::toNativeSeparators(ctx_.RutaExchange));
    return {};
}

bool ImportacionOficina::ejecutar(proc::ProcessRunner& runner) {
    progreso_ = {};
    const QStringList red = CodigosRed(ctx_.facts.RedAgencias, ctx_.facts.CodigoOficina);
    if (red.isEmpty())
        return true;
    const QString principal = red.first();
    QStringList aqui;
    try {
        aqui = OficinasDelServidor(ctx_.db());
    } catch (const db::DbError& e) {
        RegistrarError(QCoreApplication::translate("ImportacionOficina", "leer las oficinas del servidor"),
                       e);
        log(QCoreApplication::translate("ImportacionOficina", "Error: %1")
                .arg(CausaError(e, {}, ctx_.RutaBaseDatos)));
        log(QCoreApplication::translate("ImportacionOficina", "No se ha importado nada."));
        return false;
    }
    bool ok = true;
    for (const QString& oficina : red) {
        if (oficina == ctx_.facts.CodigoOficina)
            continue;
        if (aqui.contains(oficina)) {
            log(QCoreApplication::translate(
                    "ImportacionOficina",
                    "La oficina %1 trabaja en este mismo servidor: sus datos ya están aquí y no "
                    "se importan.")
                    .arg(oficina));
            continue;
        }
        if (const QString motivo = motivoCarpeta(oficina); !motivo.isEmpty()) {
            log(QCoreApplication::translate("ImportacionOficina",
                                            "No se importa la oficina %1. %2 No se ha borrado nada.")
                    .arg(EntreComillas(oficina), motivo));
            ok = false;
            continue;
        }
        ok = Bajar(runner, oficina) && ok;
        ok = Importar(oficina, principal) && ok;
    }
    return ok;
}

bool ImportacionOficina::Bajar(proc::ProcessRunner& runner, const QString& oficina) {
    log(QCoreApplication::translate("ImportacionOficina", "Iniciando bajada ..."));
    if (const QString motivo = motivoCarpeta(oficina); !motivo.isEmpty()) {
        log(QCoreApplication::translate("ImportacionOficina", "No se baja la oficina %1. %2")
                .arg(EntreComillas(oficina), motivo));
        return false;
    }
    const QString remota = RutaRemota(cuenta_, oficina);
    const QString local = carpetaOficina(oficina);
    QDir().mkpath(local);
    QString fallo;
    const int code = EjecutarScript(runner, ScriptIntercambio(ctx_, cuenta_.usuario), remota, local,
                                    cuenta_.puerto, informe_, &fallo);
    if (code != 0) {
        log(QCoreApplication::translate("ImportacionOficina", "La bajada ha fallado: %1.").arg(fallo));
        return false;
    }
    log(QCoreApplication::translate("ImportacionOficina", "Bajada finalizada."));
    return true;
}

bool ImportacionOficina::Importar(const QString& oficina, const QString& principal) {
    log(QCoreApplication::translate("ImportacionOficina", "Iniciando importación ..."));
    if (const QString motivo = motivoCarpeta(oficina); !motivo.isEmpty()) {
        log(QCoreApplication::translate("ImportacionOficina", "No se importa la oficina %1. %2")
                .arg(EntreComillas(oficina), motivo));
        return false;
    }
    const QString fichero = carpetaOficina(oficina) + QStringLiteral("Export.db");
    SelloIntercambio sello;
    const QString motivo = comprobarFichero(fichero, oficina, oficina == principal, sello);
    if (!motivo.isEmpty()) {
        log(QCoreApplication::translate("ImportacionOficina", "No se importa la oficina %1: %2.")
                .arg(oficina, motivo));
        return false;
    }
    db::Database& agencia = ctx_.db();
    try {
        std::optional<CacheAmplia> cache;
        std::optional<Adjunta> adjunta;
        if (agencia.onServer())
            // The server cannot attach the file: its rows are read through a connection of their own.
            fichero_ = db::Database::open(fichero, {.readOnly = true, .durable = false});
        else {
            cache.emplace(agencia, CacheImportacionKiB);
            adjunta.emplace(agencia, fichero, Alias);
        }
        struct Cierra {
            std::unique_ptr<db::Database>& f;
            ~Cierra() { f.reset(); }
        } cierra{fichero_};
        db::Transaction tx(agencia);
        // Read in the transaction that advances it: a failed import leaves it where it was.
        const QString clave = claveUltimaImportacion(oficina);
        const db::Value guardada = LeerConfig(agencia, QStringLiteral("SINC"), clave);
        const QDateTime ultima = db::isNull(guardada) ? QDateTime() : LeerSello(guardada.toString());
        if (ultima.isValid() && sello.fecha < ultima) {
            log(QCoreApplication::translate(
                    "ImportacionOficina",
                    "No se importa la oficina %1: su archivo es del %2 y ya se importó uno más "
                    "reciente, del %3.")
                    .arg(oficina, SelloVisible(sello.fecha), SelloVisible(ultima)));
            return false;
        }
        if (oficina == principal) {
            for (const QString& tabla : TablasCatalogo())
                importarTabla(tabla, oficina, false);
            if (columnas_.contains(QStringLiteral("Agentes")))
                importarTabla(QStringLiteral("Agentes"), oficina, false);
        }
        for (const QString& tabla : TablasOficina())
            importarTabla(tabla, oficina, true);
        importarVisitas(oficina);
        GuardarConfig(agencia, QStringLiteral("SINC"), clave, TextoSello(sello.fecha));
        tx.commit();
        // The windows showing these tables read them again.
        if (oficina == principal) {
            for (const QString& tabla : TablasCatalogo())
                ctx_.cambios.avisar(tabla, {});
            if (columnas_.contains(QStringLiteral("Agentes")))
                ctx_.cambios.avisar(QStringLiteral("Agentes"), {});
        }
        for (const QString& tabla : TablasOficina())
            ctx_.cambios.avisar(tabla, {});
        ctx_.cambios.avisar(QStringLiteral("Visitas"), {});
    } catch (const db::DbError& e) {
        RegistrarError(QCoreApplication::translate("ImportacionOficina", "importar la oficina %1 desde %2")
                           .arg(oficina, fichero),
                       e);
        log(QCoreApplication::translate("ImportacionOficina", "Error: %1")
                .arg(CausaError(e, {}, ctx_.RutaBaseDatos)));
        log(QCoreApplication::translate(
                "ImportacionOficina", "No se ha importado nada de la oficina %1; sus datos no han cambiado.")
                .arg(oficina));
        return false;
    }
    copiarFotos(oficina);
    log(QCoreApplication::translate("ImportacionOficina", "Importación finalizada."));
    return true;
}

// Replaces the rows of one table (of one office, or all of a catalogue) with
// those of the exchange file, copying by column name in one statement. A row
// the agency database refuses (a code another office already uses, a value
// too long) is left out and counted.
void ImportacionOficina::importarTabla(const QString& tabla, const QString& oficina, bool deOficina) {
    db::Database& agencia = ctx_.db();
    const TablaImportada& t = datosTabla(tabla);
    const QString filtro = deOficina ? QStringLiteral(" WHERE Agencia = ?") : QString();
    const db::Params params = deOficina ? db::Params{oficina} : db::Params{};

    // On a server the file's rows are read through its own connection, where it is main.
    const QString principal = fichero_ ? QString() : QStringLiteral("main.");
    const QString origen = fichero_ ? QStringLiteral("main") : Alias;
    db::Database& fuente = fichero_ ? *fichero_ : agencia;
    if (tabla == u"Clientes")
        // Before the clients go: their places are found through them.
        agencia.execute(QStringLiteral("DELETE FROM %1ClientesZonas WHERE CodCliente IN "
                                       "(SELECT Cod FROM %1Clientes WHERE Agencia = ?)")
                            .arg(principal),
                        params);
    if (fichero_) {
        agencia.execute(QStringLiteral("DELETE FROM %1%2").arg(principal, tabla) + filtro, params);
    } else {
        // A row the file brings again unchanged stays as it is, with its row
        // version: only the others are deleted and stored again, which spares
        // most of the index work of a daily import.
        const QString y = deOficina ? QStringLiteral(" WHERE y.Agencia = ?") : QString();
        const QString y2 = deOficina ? QStringLiteral(" AND Agencia = ?") : QString();
        agencia.execute(
            QStringLiteral("DELETE FROM main.\"%1\" WHERE rowid NOT IN (SELECT m.rowid FROM %2.\"%1\" y "
                           "JOIN main.\"%1\" m ON m.Cod = y.Cod AND %3%4)%5")
                .arg(tabla, Alias,
                     MismosValores(columnas_.value(tabla), QStringLiteral("m"), QStringLiteral("y")), y, y2),
            deOficina ? db::Params{oficina, oficina} : db::Params{});
    }
    // The rows kept count as imported: the file holds them as they are here.
    const qint64 iguales =
        fichero_
            ? 0
            : agencia.scalar(QStringLiteral("SELECT count(*) FROM main.\"%1\"%2").arg(tabla, filtro), params)
                  .toLongLong();

    const QList<db::Row> codigos = fuente.query(
        // As text: a code that is not a number ("x9" in a catalogue) is named as it is.
        QStringLiteral("SELECT CAST(Cod AS TEXT) FROM %1.\"%2\"%3 ORDER BY rowid").arg(origen, tabla, filtro),
        params);
    const QString fila = t.fila ? QCoreApplication::translate("ImportacionOficina", t.fila) : QString();
    if (!fila.isEmpty() && (informe_.filas || informe_.log)) {
        QStringList lineas;
        lineas.reserve(codigos.size());
        for (const db::Row& r : codigos)
            lineas << fila.arg(r.value(0).toString());
        if (informe_.filas)
            informe_.filas(lineas);
        else
            for (const QString& l : lineas)
                informe_.log(l);
    }

    qint64 importadas = 0;
    if (fichero_) {
        importadas = importarEnServidor(tabla, QStringLiteral("Cod"), filtro, params);
    } else {
        const QString lista = ListaColumnas(columnas_.value(tabla));
        const qint64 ultima = ultimaFila(agencia, tabla);
        // A row whose code is here already is one kept above or another
        // office's: it is not offered, which spares checking all its fields
        // only to ignore it (the rule still ignores any other clash).
        agencia.execute(
            QStringLiteral("INSERT OR IGNORE INTO main.\"%1\" (%2) SELECT %2 FROM %3.\"%1\" y WHERE "
                           "%4NOT EXISTS (SELECT 1 FROM main.\"%1\" m WHERE m.Cod = y.Cod) "
                           "ORDER BY y.rowid")
                .arg(tabla, lista, Alias, deOficina ? QStringLiteral("y.Agencia = ? AND ") : QString()),
            params);
        importadas = iguales + FilasCambiadas(agencia);
        // The rows kept are the file's as they stand here: only those just stored are checked.
        importadas -= quitarTiposIncorrectos(tabla, QStringLiteral("Cod"),
                                             deOficina ? QStringLiteral("Agencia = ?") : QStringLiteral("1"),
                                             params, ultima);
    }
    const qint64 fallidas = qint64(codigos.size()) - importadas;
    progreso_.filas += importadas;
    if (informe_.progreso)
        informe_.progreso(progreso_);
    if (importadas > 0 && t.importadas)
        log(QCoreApplication::translate("ImportacionOficina", t.importadas).arg(importadas));
    if (fallidas > 0)
        log(noImportados(fallidas, tabla));
    if (tabla == u"Clientes")
        importarZonas(oficina);
    if (trasTabla)
        trasTabla(tabla);
}

// SQLite keeps a text that does not read as a number in a number column
// ("caro" as a price): such rows are refused like those that break a rule of
// their fields, each with a line naming it.
qint64 ImportacionOficina::quitarTiposIncorrectos(const QString& tabla, const QString& codigo,
                                                  const QString& filtro, db::Params params,
                                                  qint64 despuesDe) {
    db::Database& agencia = ctx_.db();
    const TextoEnNumero casos =
        CasosTextoEnNumero(ColumnasNumericas(agencia, QStringLiteral("main"), tabla), columnas_.value(tabla));
    if (!casos.hay())
        return 0;
    QString donde = QStringLiteral(" WHERE (%1) AND (%2) IS NOT NULL").arg(filtro, casos.campo);
    if (despuesDe >= 0) {
        donde += QStringLiteral(" AND rowid > ?");
        params.append(despuesDe);
    }
    const QList<db::Row> malas =
        agencia.query(QStringLiteral("SELECT CAST(%1 AS TEXT), %2, %3 FROM main.\"%4\"%5 ORDER BY rowid")
                          .arg(ListaColumnas({codigo}), casos.campo, casos.valor, tabla, donde),
                      params);
    if (malas.isEmpty())
        return 0;
    for (const db::Row& r : malas)
        log(QCoreApplication::translate(
                "ImportacionOficina",
                "No se importa el registro %1 de %2: el campo %3 tiene «%4», que no es un número.")
                .arg(r.value(0).toString(), tabla, r.value(1).toString(), r.value(2).toString()));
    agencia.execute(QStringLiteral("DELETE FROM main.\"%1\"%2").arg(tabla, donde), params);
    return FilasCambiadas(agencia);
}

// Only for clients this import stored: a client refused because another
// office uses its code must not lend its places to that other client.
void ImportacionOficina::importarZonas(const QString& oficina) {
    const QStringList columnas = columnas_.value(QStringLiteral("ClientesZonas"));
    if (columnas.isEmpty())
        return;
    db::Database& agencia = ctx_.db();
    if (fichero_) {
        progreso_.filas += importarEnServidor(
            QStringLiteral("ClientesZonas"), QStringLiteral("CodCliente"),
            QStringLiteral(" WHERE CodCliente IN (SELECT Cod FROM Clientes WHERE Agencia = ?)"), {oficina},
            QStringLiteral("codcliente IN (SELECT Cod FROM Clientes WHERE Agencia = ?)"), {oficina});
        return;
    }
    const QString lista = ListaColumnas(columnas);
    agencia.execute(QStringLiteral("INSERT INTO main.ClientesZonas (%1) SELECT %1 FROM %2.ClientesZonas z "
                                   "WHERE z.CodCliente IN (SELECT Cod FROM %2.Clientes WHERE Agencia = ?) "
                                   "AND z.CodCliente IN (SELECT Cod FROM main.Clientes WHERE Agencia = ?) "
                                   "ORDER BY z.rowid")
                        .arg(lista, Alias),
                    {oficina, oficina});
    progreso_.filas += FilasCambiadas(agencia);
    progreso_.filas -= quitarTiposIncorrectos(
        QStringLiteral("ClientesZonas"), QStringLiteral("CodCliente"),
        QStringLiteral("CodCliente IN (SELECT Cod FROM main.Clientes WHERE Agencia = ?)"), {oficina});
}

// The office's visits are replaced by the file's, inside the office's transaction.
void ImportacionOficina::importarVisitas(const QString& oficina) {
    const QStringList columnas = columnas_.value(QStringLiteral("Visitas"));
    if (columnas.isEmpty())
        return;
    db::Database& agencia = ctx_.db();
    agencia.execute(QStringLiteral("DELETE FROM %1Visitas WHERE Agencia = ?")
                        .arg(fichero_ ? QString() : QStringLiteral("main.")),
                    {oficina});
    const QString lista = ListaColumnas(columnas);
    const qint64 total = (fichero_ ? *fichero_ : agencia)
                             .scalar(QStringLiteral("SELECT count(*) FROM %1.Visitas WHERE Agencia = ?")
                                         .arg(fichero_ ? QStringLiteral("main") : Alias),
                                     {oficina})
                             .toLongLong();
    // A row that breaks a rule of its fields is left out and counted, as in the other tables.
    const qint64 n = fichero_ ? importarEnServidor(QStringLiteral("Visitas"), QStringLiteral("CodPropiedad"),
                                                   QStringLiteral(" WHERE Agencia = ?"), {oficina})
                              : importarVisitasFichero(oficina, lista);
    progreso_.filas += n;
    if (n > 0)
        log(QCoreApplication::translate("ImportacionOficina", "Se han importado %1 visitas.").arg(n));
    if (total > n)
        log(noImportados(total - n, QStringLiteral("Visitas")));
}

qint64 ImportacionOficina::importarVisitasFichero(const QString& oficina, const QString& lista) {
    db::Database& agencia = ctx_.db();
    agencia.execute(QStringLiteral("INSERT OR IGNORE INTO main.Visitas (%1) SELECT %1 FROM %2.Visitas "
                                   "WHERE Agencia = ? ORDER BY rowid")
                        .arg(lista, Alias),
                    {oficina});
    return FilasCambiadas(agencia) - quitarTiposIncorrectos(QStringLiteral("Visitas"),
                                                            QStringLiteral("CodPropiedad"),
                                                            QStringLiteral("Agencia = ?"), {oficina});
}

void ImportacionOficina::copiarFotos(const QString& oficina) {
    const QString origen = carpetaOficina(oficina);
    const QList<db::Row> filas =
        ctx_.db().query(QStringLiteral("SELECT Foto1, Foto2, Foto3, Foto4, Foto5, Foto6 FROM Propiedades "
                                       "WHERE Agencia = ? ORDER BY rowid"),
                        {oficina});
    QStringList nombres;
    QSet<QString> vistos;
    for (const db::Row& fila : filas)
        for (const db::Value& v : fila) {
            const QString nombre = db::isNull(v) ? QString() : v.toString();
            if (!NombreFotoValido(nombre) || vistos.contains(nombre))
                continue;
            vistos.insert(nombre);
            if (QFileInfo(origen + nombre).isFile())
                nombres << nombre;
        }
    progreso_.fotos = 0;
    progreso_.fotosTotal = int(nombres.size());
    for (const QString& nombre : nombres) {
        // Copied beside the photograph first, so a failed copy never leaves half a file.
        const QString destino = ctx_.RutaFotos + nombre;
        const QString temporal = destino + QStringLiteral(".part");
        QFile::remove(temporal);
        if (!QFile::copy(origen + nombre, temporal)) {
            log(QCoreApplication::translate("ImportacionOficina", "No se ha podido copiar la foto %1.")
                    .arg(nombre));
            continue;
        }
        QFile::remove(destino);
        if (!QFile::rename(temporal, destino)) {
            QFile::remove(temporal);
            log(QCoreApplication::translate("ImportacionOficina", "No se ha podido copiar la foto %1.")
                    .arg(nombre));
        }
        ++progreso_.fotos;
        if (informe_.progreso)
            informe_.progreso(progreso_);
    }
}

} // namespace orb
