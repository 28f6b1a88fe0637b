#include "ImportacionOficina.h"

#include "shell/AppContext.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>

namespace orb {

namespace {

struct TablaImportada {
    const char16_t* tabla;
    const char16_t* fila;
    const char16_t* cola;
};

constexpr TablaImportada Tablas[] = {
    {u"Tipos", u"Importando tipo ", u" tipos."},
    {u"Localidades", u"Importando localidad ", u" localidades."},
    {u"Areas", u"Importando area ", u" areas."},
    {u"Propiedades", u"Importando propiedad ", u" propiedades."},
    {u"Propietarios", u"Importando propietario ", u" propietarios."},
    {u"Clientes", u"Importando cliente ", u" clientes."},
};

const TablaImportada& datosTabla(const QString& tabla) {
    for (const TablaImportada& t : Tablas)
        if (tabla == QString::fromUtf16(t.tabla))
            return t;
    return Tablas[0];
}

const QString Alias = QStringLiteral("intercambio");

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

bool ImportacionOficina::ejecutar(proc::ProcessRunner& runner) {
    progreso_ = {};
    const QStringList red = CodigosRed(ctx_.facts.RedAgencias);
    if (red.isEmpty())
        return true;
    const QString principal = red.first();
    bool ok = true;
    for (const QString& oficina : red) {
        if (oficina == ctx_.facts.CodigoOficina)
            continue;
        ok = Bajar(runner, oficina) && ok;
        ok = Importar(oficina, principal) && ok;
    }
    return ok;
}

bool ImportacionOficina::Bajar(proc::ProcessRunner& runner, const QString& oficina) {
    const QString remota = RutaRemota(cuenta_, oficina);
    const QString local = carpetaOficina(oficina);
    QDir().mkpath(local);
    log(QStringLiteral("Iniciando bajada ..."));
    QString fallo;
    const int code =
        EjecutarScript(runner, ScriptIntercambio(ctx_, cuenta_.usuario), remota, local, informe_, &fallo);
    if (code != 0)
        log(QStringLiteral("La bajada ha fallado (código %1)%2")
                .arg(code)
                .arg(fallo.isEmpty() ? QStringLiteral(".") : QStringLiteral(": ") + fallo));
    log(QStringLiteral("Bajada finalizada."));
    return code == 0;
}

QString ImportacionOficina::comprobarFichero(const QString& fichero) {
    const QFileInfo info(fichero);
    if (!info.isFile())
        return QStringLiteral("no se encuentra %1").arg(QDir::toNativeSeparators(fichero));
    if (info.size() == 0)
        return QStringLiteral("%1 está vacío").arg(QDir::toNativeSeparators(fichero));
    columnas_.clear();
    try {
        auto exch = db::Database::open(fichero, {.readOnly = true, .durable = false});
        db::Database& agencia = ctx_.db();
        for (const TablaImportada& t : Tablas) {
            const QString tabla = QString::fromUtf16(t.tabla);
            const QStringList origen = ColumnasTabla(*exch, QStringLiteral("main"), tabla);
            if (origen.isEmpty())
                return QStringLiteral("no es una base de datos de intercambio: falta la tabla %1").arg(tabla);
            const QStringList destino = ColumnasTabla(agencia, QStringLiteral("main"), tabla);
            for (const QString& c : origen)
                if (!destino.contains(c, Qt::CaseInsensitive))
                    return QStringLiteral("el campo %1 de la tabla %2 no existe en esta base de datos")
                        .arg(c, tabla);
            for (const char* necesario : {"Cod", "Agencia"})
                if ((tabla == u"Tipos" || tabla == u"Localidades" || tabla == u"Areas") &&
                    necesario[0] == 'A')
                    continue;
                else if (!origen.contains(QLatin1String(necesario), Qt::CaseInsensitive))
                    return QStringLiteral(
                               "no es una base de datos de intercambio: la tabla %1 no tiene el campo %2")
                        .arg(tabla, QLatin1String(necesario));
            // Reading every page of the table finds most damage before anything is deleted.
            exch->scalar(QStringLiteral("SELECT count(*) FROM \"%1\"").arg(tabla));
            columnas_.insert(tabla, origen);
        }
        // The clients' wanted places: a file from an office not yet upgraded has none.
        const QStringList zonas =
            ColumnasTabla(*exch, QStringLiteral("main"), QStringLiteral("ClientesZonas"));
        if (!zonas.isEmpty()) {
            const QStringList destino =
                ColumnasTabla(agencia, QStringLiteral("main"), QStringLiteral("ClientesZonas"));
            for (const QString& c : zonas)
                if (!destino.contains(c, Qt::CaseInsensitive))
                    return QStringLiteral(
                               "el campo %1 de la tabla ClientesZonas no existe en esta base de datos")
                        .arg(c);
            exch->scalar(QStringLiteral("SELECT count(*) FROM ClientesZonas"));
            // The row number is this database's own.
            columnas_.insert(QStringLiteral("ClientesZonas"),
                             zonas.filter(QRegularExpression(QStringLiteral("^(?!Cod$)"),
                                                             QRegularExpression::CaseInsensitiveOption)));
        }
    } catch (const db::DbError& e) {
        return e.description();
    }
    return {};
}

bool ImportacionOficina::Importar(const QString& oficina, const QString& principal) {
    log(QStringLiteral("Iniciando importación ..."));
    const QString fichero = carpetaOficina(oficina) + QStringLiteral("Export.db");
    const QString motivo = comprobarFichero(fichero);
    if (!motivo.isEmpty()) {
        log(QStringLiteral("No se importa la oficina %1: %2.").arg(oficina, motivo));
        return false;
    }
    db::Database& agencia = ctx_.db();
    try {
        Adjunta adjunta(agencia, fichero, Alias);
        db::Transaction tx(agencia);
        if (oficina == principal)
            for (const QString& tabla : TablasCatalogo())
                importarTabla(tabla, oficina, false);
        for (const QString& tabla : TablasOficina())
            importarTabla(tabla, oficina, true);
        tx.commit();
    } catch (const db::DbError& e) {
        log(QStringLiteral("Error %1: %2").arg(e.number()).arg(e.description()));
        log(QStringLiteral("No se ha importado nada de la oficina %1; sus datos no han cambiado.")
                .arg(oficina));
        return false;
    }
    copiarFotos(oficina);
    log(QStringLiteral("Importación finalizada."));
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

    if (tabla == u"Clientes")
        // Before the clients go: their places are found through them.
        agencia.execute(QStringLiteral("DELETE FROM main.ClientesZonas WHERE CodCliente IN "
                                       "(SELECT Cod FROM main.Clientes WHERE Agencia = ?)"),
                        params);
    agencia.execute(QStringLiteral("DELETE FROM main.\"%1\"").arg(tabla) + filtro, params);

    const QList<db::Row> codigos = agencia.query(
        QStringLiteral("SELECT Cod FROM %1.\"%2\"%3 ORDER BY rowid").arg(Alias, tabla, filtro), params);
    if (informe_.log) {
        const QString fila = QString::fromUtf16(t.fila);
        for (const db::Row& r : codigos)
            informe_.log(fila + r.value(0).toString());
    }

    const QString lista = ListaColumnas(columnas_.value(tabla));
    agencia.execute(
        QStringLiteral("INSERT OR IGNORE INTO main.\"%1\" (%2) SELECT %2 FROM %3.\"%1\"%4 ORDER BY rowid")
            .arg(tabla, lista, Alias, filtro),
        params);
    const qint64 importadas = FilasCambiadas(agencia);
    const qint64 fallidas = qint64(codigos.size()) - importadas;
    progreso_.filas += importadas;
    if (informe_.progreso)
        informe_.progreso(progreso_);
    const QString cola = QString::fromUtf16(t.cola);
    if (importadas > 0)
        log(QStringLiteral("Se han importado %1%2").arg(importadas).arg(cola));
    if (fallidas > 0)
        log(QStringLiteral("%1 registros de %2 no importados.").arg(fallidas).arg(cola.mid(1).chopped(1)));
    if (tabla == u"Clientes")
        importarZonas(oficina);
    if (trasTabla)
        trasTabla(tabla);
}

// Only for clients this import stored: a client refused because another
// office uses its code must not lend its places to that other client.
void ImportacionOficina::importarZonas(const QString& oficina) {
    const QStringList columnas = columnas_.value(QStringLiteral("ClientesZonas"));
    if (columnas.isEmpty())
        return;
    db::Database& agencia = ctx_.db();
    const QString lista = ListaColumnas(columnas);
    agencia.execute(QStringLiteral("INSERT INTO main.ClientesZonas (%1) SELECT %1 FROM %2.ClientesZonas z "
                                   "WHERE z.CodCliente IN (SELECT Cod FROM %2.Clientes WHERE Agencia = ?) "
                                   "AND z.CodCliente IN (SELECT Cod FROM main.Clientes WHERE Agencia = ?) "
                                   "ORDER BY z.rowid")
                        .arg(lista, Alias),
                    {oficina, oficina});
    progreso_.filas += FilasCambiadas(agencia);
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
            log(QStringLiteral("No se ha podido copiar la foto %1.").arg(nombre));
            continue;
        }
        QFile::remove(destino);
        if (!QFile::rename(temporal, destino)) {
            QFile::remove(temporal);
            log(QStringLiteral("No se ha podido copiar la foto %1.").arg(nombre));
        }
        ++progreso_.fotos;
        if (informe_.progreso)
            informe_.progreso(progreso_);
    }
}

} // namespace orb
