// The import's checks of a downloaded exchange file, before anything of the
// office is deleted: what it holds, whether this database can take it, and
// its own record of who exported it and when.

#include "ImportacionOficina.h"

#include "shell/AppContext.h"
#include "shell/ErrorReport.h"
#include "shell/Log.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace orb {

namespace {

// "El disco está lleno." → "el disco está lleno", to go inside a sentence.
QString enFrase(QString texto) {
    if (texto.endsWith(u'.'))
        texto.chop(1);
    if (!texto.isEmpty())
        texto[0] = texto[0].toLower();
    return texto;
}

} // namespace

QString ImportacionOficina::comprobarFichero(const QString& fichero, const QString& oficina, bool principal,
                                             SelloIntercambio& sello) {
    const QFileInfo info(fichero);
    if (!info.isFile())
        return QCoreApplication::translate("ImportacionOficina", "no se encuentra %1")
            .arg(QDir::toNativeSeparators(fichero));
    if (info.size() == 0)
        return QCoreApplication::translate("ImportacionOficina", "%1 está vacío")
            .arg(QDir::toNativeSeparators(fichero));
    columnas_.clear();
    try {
        auto exch = db::Database::open(fichero, {.readOnly = true, .durable = false});
        db::Database& agencia = ctx_.db();
        for (const QString& tabla : TablasCatalogo() + TablasOficina()) {
            const QStringList origen = ColumnasTabla(*exch, QStringLiteral("main"), tabla);
            if (origen.isEmpty())
                return QCoreApplication::translate(
                           "ImportacionOficina", "no es una base de datos de intercambio: falta la tabla %1")
                    .arg(tabla);
            const QStringList destino = ColumnasTabla(agencia, QStringLiteral("main"), tabla);
            for (const QString& c : origen)
                if (!destino.contains(c, Qt::CaseInsensitive))
                    return QCoreApplication::translate(
                               "ImportacionOficina",
                               "el campo %1 de la tabla %2 no existe en esta base de datos")
                        .arg(c, tabla);
            for (const char* necesario : {"Cod", "Agencia"})
                if ((tabla == u"Tipos" || tabla == u"Localidades" || tabla == u"Areas") &&
                    necesario[0] == 'A')
                    continue;
                else if (!origen.contains(QLatin1String(necesario), Qt::CaseInsensitive))
                    return QCoreApplication::translate(
                               "ImportacionOficina",
                               "no es una base de datos de intercambio: la tabla %1 no tiene el campo %2")
                        .arg(tabla, QLatin1String(necesario));
            columnas_.insert(tabla, origen);
        }
        // A table a file from an office not yet upgraded may lack: its columns
        // (but the one this database numbers itself) when both have it; a
        // column this database lacks stops the import.
        const auto opcional = [&](const QString& tabla, const QString& propia) -> QString {
            const QStringList origen = ColumnasTabla(*exch, QStringLiteral("main"), tabla);
            const QStringList destino = ColumnasTabla(agencia, QStringLiteral("main"), tabla);
            if (origen.isEmpty() || destino.isEmpty())
                return {};
            for (const QString& c : origen)
                if (!destino.contains(c, Qt::CaseInsensitive))
                    return QCoreApplication::translate(
                               "ImportacionOficina",
                               "el campo %1 de la tabla %2 no existe en esta base de datos")
                        .arg(c, tabla);
            QStringList columnas = origen;
            columnas.removeIf([&](const QString& c) { return c.compare(propia, Qt::CaseInsensitive) == 0; });
            columnas_.insert(tabla, columnas);
            return {};
        };
        // The clients' wanted places, and the visits (without them in the
        // file, the office's visits here are kept rather than wiped).
        for (const QString& t : {QStringLiteral("ClientesZonas"), QStringLiteral("Visitas")})
            if (const QString motivo = opcional(t, QStringLiteral("Cod")); !motivo.isEmpty())
                return motivo;
        // The agents, from the principal, on the file: on a server each agent's
        // row names the office its role writes for, and only the installer
        // gives those.
        if (principal && !agencia.onServer())
            if (const QString motivo = opcional(QStringLiteral("Agentes"), QStringLiteral("Version"));
                !motivo.isEmpty())
                return motivo;
        // Reading every page of every table and index finds most damage before anything is deleted.
        const QString salud = exch->scalar(QStringLiteral("PRAGMA quick_check(1)")).toString();
        if (salud != u"ok") {
            EscribirLog(
                QCoreApplication::translate("ImportacionOficina", "Archivo de intercambio %1 dañado: %2")
                    .arg(fichero, salud));
            return QCoreApplication::translate(
                       "ImportacionOficina",
                       "no se puede leer %1 (el archivo no es una base de datos de Orbalia o está "
                       "dañado)")
                .arg(QDir::toNativeSeparators(fichero));
        }
        return comprobarSello(*exch, oficina, principal, sello);
    } catch (const db::DbError& e) {
        RegistrarError(
            QCoreApplication::translate("ImportacionOficina", "comprobar el archivo de intercambio %1")
                .arg(fichero),
            e);
        return QCoreApplication::translate("ImportacionOficina", "no se puede leer %1 (%2)")
            .arg(QDir::toNativeSeparators(fichero), enFrase(CausaError(e, {}, fichero)));
    }
}

// The file's own record: which office exported it, when, and how many rows.
// Without it the file cannot be told from the bare template, whose import
// would delete every row of the office.
QString ImportacionOficina::comprobarSello(db::Database& exch, const QString& oficina, bool principal,
                                           SelloIntercambio& sello) {
    if (ColumnasTabla(exch, QStringLiteral("main"), QStringLiteral("Intercambio")).isEmpty())
        return QCoreApplication::translate(
            "ImportacionOficina", "el archivo no dice qué oficina lo ha exportado (lo ha hecho una versión "
                                  "anterior del programa); exporte de nuevo en esa oficina");
    const QStringList tablas = TablasCatalogo() + TablasOficina();
    const QList<db::Row> filas =
        exch.query(QStringLiteral("SELECT Oficina, Fecha, %1 FROM Intercambio").arg(ListaColumnas(tablas)));
    if (filas.isEmpty())
        return QCoreApplication::translate(
            "ImportacionOficina", "el archivo es la plantilla de intercambio vacía, no una exportación de la "
                                  "oficina");
    if (filas.size() > 1)
        return QCoreApplication::translate("ImportacionOficina",
                                           "el archivo tiene más de un registro de exportación");
    const db::Row& fila = filas.first();
    sello.oficina = db::isNull(fila.value(0)) ? QString() : fila.value(0).toString();
    if (sello.oficina != oficina)
        return QCoreApplication::translate("ImportacionOficina",
                                           "el archivo lo ha exportado la oficina %1, no la %2")
            .arg(EntreComillas(sello.oficina), oficina);
    sello.fecha = LeerSello(fila.value(1).toString());
    if (!sello.fecha.isValid())
        return QCoreApplication::translate("ImportacionOficina",
                                           "la fecha de exportación del archivo no es válida");
    sello.filas.clear();
    for (qsizetype i = 0; i < tablas.size(); ++i)
        sello.filas.insert(tablas[i], fila.value(int(i) + 2).toLongLong());

    // The rows it says it holds are there: an office with none left says 0.
    for (const QString& tabla : tablas) {
        const bool deOficina = TablasOficina().contains(tabla);
        if (!deOficina && !principal)
            continue;
        const qint64 hay =
            deOficina
                ? exch.scalar(QStringLiteral("SELECT count(*) FROM \"%1\" WHERE Agencia = ?").arg(tabla),
                              {oficina})
                      .toLongLong()
                : exch.scalar(QStringLiteral("SELECT count(*) FROM \"%1\"").arg(tabla)).toLongLong();
        if (hay != sello.filas.value(tabla))
            return QCoreApplication::translate("ImportacionOficina",
                                               "el archivo está incompleto: dice tener %1 %2 y tiene %3")
                .arg(QString::number(sello.filas.value(tabla)), NombreFilasTabla(tabla),
                     QString::number(hay));
    }
    // Catalogues replace this office's whole: empty ones would leave every
    // property without its type and locality.
    if (principal)
        for (const QString& tabla : {QStringLiteral("Tipos"), QStringLiteral("Localidades")})
            if (sello.filas.value(tabla) == 0)
                return QCoreApplication::translate(
                           "ImportacionOficina",
                           "la oficina principal ha exportado vacío el catálogo de %1; se "
                           "conservan los catálogos de esta oficina")
                    .arg(NombreFilasTabla(tabla));
    return {};
}

} // namespace orb
