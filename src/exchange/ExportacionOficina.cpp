#include "ExportacionOficina.h"

#include "IntercambioServidor.h"

#include "platform/image/PicturePool.h"
#include "shell/AppContext.h"
#include "shell/ErrorReport.h"
#include "shell/Ficheros.h"
#include "shell/Installation.h"
#include "shell/Log.h"
#include "shell/Schema.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

namespace orb {

namespace {

// The log's lines around each table: before it, and its count after.
struct TablaExportada {
    const char16_t* tabla;
    const char* mensaje;
    const char* exportadas; // %1: the rows
};

constexpr TablaExportada Catalogos[] = {
    {u"Tipos", QT_TRANSLATE_NOOP("ExportacionOficina", "Exportando tipos..."),
     QT_TRANSLATE_NOOP("ExportacionOficina", "Se han exportado %1 tipos.")},
    {u"Localidades", QT_TRANSLATE_NOOP("ExportacionOficina", "Exportando localidades..."),
     QT_TRANSLATE_NOOP("ExportacionOficina", "Se han exportado %1 localidades.")},
    {u"Areas", QT_TRANSLATE_NOOP("ExportacionOficina", "Exportando areas ..."),
     QT_TRANSLATE_NOOP("ExportacionOficina", "Se han exportado %1 areas.")},
};
constexpr TablaExportada DeOficina[] = {
    {u"Propiedades", QT_TRANSLATE_NOOP("ExportacionOficina", "Exportando propiedades..."),
     QT_TRANSLATE_NOOP("ExportacionOficina", "Se han exportado %1 propiedades.")},
    {u"Propietarios", QT_TRANSLATE_NOOP("ExportacionOficina", "Exportando propietarios..."),
     QT_TRANSLATE_NOOP("ExportacionOficina", "Se han exportado %1 propietarios.")},
    {u"Clientes", QT_TRANSLATE_NOOP("ExportacionOficina", "Exportando clientes..."),
     QT_TRANSLATE_NOOP("ExportacionOficina", "Se han exportado %1 clientes.")},
};

QString traducir(const char* texto) {
    return QCoreApplication::translate("ExportacionOficina", texto);
}

const QString Alias = QStringLiteral("intercambio");

// A reason of our own to stop the export (a template that lacks a field),
// told as it is; the engine's errors are told by their cause.
struct Rechazo {
    QString motivo;
};

} // namespace

ExportacionOficina::ExportacionOficina(AppContext& ctx, InformeIntercambio informe)
    : ctx_(ctx), informe_(std::move(informe)) {
    cuenta_ = LeerCuentaIntercambio(ctx_.db());
    carpeta_ = ctx_.RutaExchange + ctx_.facts.CodigoOficina + u'/';
    if (motivoRechazo().isEmpty())
        QDir().mkpath(carpeta_);
}

void ExportacionOficina::log(const QString& linea) const {
    if (informe_.log)
        informe_.log(linea);
}

QString ExportacionOficina::motivoRechazo() const {
    if (const QString problema = ProblemaCodigoOficina(ctx_.facts.CodigoOficina); !problema.isEmpty())
        return QCoreApplication::translate("ExportacionOficina",
                                           "%1 Corrija la clave CodigoOficina de Orbalia.ini.")
            .arg(problema);
    // The folder is emptied and mirrored onto the server: never the exchange
    // folder itself nor anything outside it.
    if (!CarpetaDentroDe(carpeta_, ctx_.RutaExchange))
        return QCoreApplication::translate("ExportacionOficina",
                                           "La carpeta de intercambio %1 no está dentro de %2.")
            .arg(QDir::toNativeSeparators(carpeta_), QDir::toNativeSeparators(ctx_.RutaExchange));
    return {};
}

bool ExportacionOficina::ejecutar(proc::ProcessRunner& runner) {
    if (!Exportar()) {
        log(QCoreApplication::translate(
            "ExportacionOficina", "Resumen: la exportación no se ha completado y no se ha subido nada."));
        return false;
    }
    const bool subida = Subir(runner);
    log(resumen(subida));
    return subida;
}

QString ExportacionOficina::resumen(bool subida) const {
    const auto filas = [&](const QString& tabla) { return int(filas_.value(tabla)); };
    const int tipos = filas(QStringLiteral("Tipos"));
    const int localidades = filas(QStringLiteral("Localidades"));
    const int areas = filas(QStringLiteral("Areas"));
    const int propiedades = filas(QStringLiteral("Propiedades"));
    const int propietarios = filas(QStringLiteral("Propietarios"));
    const int clientes = filas(QStringLiteral("Clientes"));
    QStringList partes;
    if (ctx_.facts.OficinaPrincipal) {
        partes << QCoreApplication::translate("ExportacionOficina", "%n tipos", nullptr, tipos);
        partes << QCoreApplication::translate("ExportacionOficina", "%n localidades", nullptr, localidades);
        partes << QCoreApplication::translate("ExportacionOficina", "%n áreas", nullptr, areas);
    }
    partes << QCoreApplication::translate("ExportacionOficina", "%n propiedades", nullptr, propiedades);
    partes << QCoreApplication::translate("ExportacionOficina", "%n propietarios", nullptr, propietarios);
    partes << QCoreApplication::translate("ExportacionOficina", "%n clientes", nullptr, clientes);
    partes << QCoreApplication::translate("ExportacionOficina", "%n fotos", nullptr, fotosHechas_);
    const QString ultima = partes.takeLast();
    const QString lista = QCoreApplication::translate("ExportacionOficina", "%1 y %2")
                              .arg(partes.join(QStringLiteral(", ")), ultima);
    return subida
               ? QCoreApplication::translate("ExportacionOficina", "Resumen: exportados %1; subida correcta.")
                     .arg(lista)
               : QCoreApplication::translate("ExportacionOficina",
                                             "Resumen: exportados %1; la subida ha fallado y las demás "
                                             "oficinas no los recibirán hasta que se suban.")
                     .arg(lista);
}

bool ExportacionOficina::Exportar() {
    progreso_ = {};
    filas_.clear();
    fotosHechas_ = 0;
    log(QCoreApplication::translate("ExportacionOficina", "Iniciando exportación ..."));
    if (const QString motivo = motivoRechazo(); !motivo.isEmpty()) {
        log(QCoreApplication::translate("ExportacionOficina", "No se exporta: %1 No se ha borrado nada.")
                .arg(motivo));
        return false;
    }
    QDir().mkpath(carpeta_);
    VaciarCarpeta(carpeta_);
    const QString plantilla = ctx_.RutaAplicacion + QStringLiteral("ExportSchema.db");
    const QString destino = carpeta_ + QStringLiteral("Export.db");
    if (!QFileInfo(plantilla).isFile()) {
        log(QCoreApplication::translate("ExportacionOficina",
                                        "Error: no se encuentra la plantilla de intercambio %1.")
                .arg(QDir::toNativeSeparators(plantilla)));
        return false;
    }
    if (!QFile::copy(plantilla, destino)) {
        log(QCoreApplication::translate("ExportacionOficina",
                                        "Error: no se puede copiar la plantilla de intercambio en %1.")
                .arg(QDir::toNativeSeparators(destino)));
        return false;
    }
    QFile::setPermissions(destino, QFile::permissions(destino) | QFileDevice::WriteOwner);

    db::Database& agencia = ctx_.db();
    bool hecho = false;
    const auto copiarTodo = [&] {
        if (ctx_.facts.OficinaPrincipal) {
            for (const TablaExportada& t : Catalogos)
                exportarTabla(QString::fromUtf16(t.tabla), traducir(t.mensaje), traducir(t.exportadas),
                              false);
            exportarAgentes();
        }
        for (const TablaExportada& t : DeOficina) {
            const QString tabla = QString::fromUtf16(t.tabla);
            log(traducir(t.mensaje));
            const qint64 n = exportarTabla(tabla, QString(), QString(), true);
            if (tabla == u"Propiedades")
                procesarFotos();
            if (n > 0)
                log(traducir(t.exportadas).arg(n));
        }
        exportarZonas();
        exportarVisitas();
        escribirSello();
    };
    try {
        if (agencia.onServer()) {
            // The file cannot be attached to the server: it gets a connection of its own.
            auto fichero = db::Database::open(destino, {.durable = false});
            fichero->execute(QStringLiteral("PRAGMA journal_mode = OFF"));
            fichero->execute(QStringLiteral("PRAGMA synchronous = OFF"));
            fichero_ = fichero.get();
            struct Suelta {
                db::Database*& f;
                ~Suelta() { f = nullptr; }
            } suelta{fichero_};
            db::Transaction lectura(agencia);
            // One moment of the office for every table, as the file's transaction gives.
            agencia.execute(QStringLiteral("SET TRANSACTION ISOLATION LEVEL REPEATABLE READ, READ ONLY"));
            db::Transaction tx(*fichero);
            copiarTodo();
            tx.commit();
            lectura.commit();
        } else {
            Adjunta adjunta(agencia, destino, Alias);
            // A throw-away file made again by every run: no journal to keep.
            agencia.execute(QStringLiteral("PRAGMA %1.journal_mode = OFF").arg(Alias));
            agencia.execute(QStringLiteral("PRAGMA %1.synchronous = OFF").arg(Alias));
            db::Transaction tx(agencia);
            copiarTodo();
            tx.commit();
        }
        hecho = true;
    } catch (const Rechazo& r) {
        log(QCoreApplication::translate("ExportacionOficina", "Error: %1.").arg(r.motivo));
    } catch (const db::DbError& e) {
        RegistrarError(QCoreApplication::translate("ExportacionOficina", "exportar la oficina %1 en %2")
                           .arg(ctx_.facts.CodigoOficina, destino),
                       e);
        log(QCoreApplication::translate("ExportacionOficina",
                                        "Error: no se ha podido escribir el archivo de intercambio %1. %2")
                .arg(QDir::toNativeSeparators(destino), CausaError(e, {}, destino)));
    }
    if (!hecho) {
        // Nothing half made stays behind to be taken for an export.
        QFile::remove(destino);
        return false;
    }
    log(QCoreApplication::translate("ExportacionOficina", "Exportación finalizada."));
    return true;
}

// The file says which office wrote it, when, and how much it holds, so the
// import can tell it from the bare template or another office's file.
void ExportacionOficina::escribirSello() {
    db::Database& agencia = fichero_ ? *fichero_ : ctx_.db();
    const QString esquema = fichero_ ? QStringLiteral("main") : Alias;
    schema::createExchangeStamp(agencia, esquema);
    agencia.execute(QStringLiteral("DELETE FROM %1.Intercambio").arg(esquema));
    db::Params params{ctx_.facts.CodigoOficina, TextoSello(QDateTime::currentDateTimeUtc())};
    for (const QString& tabla : TablasCatalogo() + TablasOficina())
        params << filas_.value(tabla);
    agencia.execute(QStringLiteral("INSERT INTO %1.Intercambio (Oficina, Fecha, Tipos, Localidades, Areas, "
                                   "Propiedades, Propietarios, Clientes) VALUES (?, ?, ?, ?, ?, ?, ?, ?)")
                        .arg(esquema),
                    params);
}

// Copies one table by column name: the agency table's columns, each of which
// must exist in the template. A message given here is logged before and the
// count line after (exportadas, %1 the rows); the office tables log theirs
// around the photographs.
qint64 ExportacionOficina::exportarTabla(const QString& tabla, const QString& mensaje,
                                         const QString& exportadas, bool deOficina) {
    db::Database& agencia = ctx_.db();
    if (!mensaje.isEmpty())
        log(mensaje);
    QStringList columnas = ColumnasTabla(agencia, QStringLiteral("main"), tabla);
    if (columnas.isEmpty())
        throw Rechazo{QCoreApplication::translate("ExportacionOficina",
                                                  "no existe la tabla %1 en la base de datos de la agencia")
                          .arg(tabla)};
    // The row version counts this database's own stores; the receiving office starts its own.
    columnas.removeIf([](const QString& c) { return c.compare(u"Version", Qt::CaseInsensitive) == 0; });
    const QStringList destino = fichero_ ? ColumnasTabla(*fichero_, QStringLiteral("main"), tabla)
                                         : ColumnasTabla(agencia, Alias, tabla);
    for (const QString& c : columnas)
        if (!destino.contains(c, Qt::CaseInsensitive))
            throw Rechazo{
                QCoreApplication::translate(
                    "ExportacionOficina", "El campo %1 de la tabla %2 no está en la plantilla de intercambio")
                    .arg(c, tabla)};
    // An empty office code selects the rows whose Agencia is '', never the null ones.
    const QString donde = deOficina ? QStringLiteral(" WHERE Agencia = ?") : QString();
    const db::Params params = deOficina ? db::Params{ctx_.facts.CodigoOficina} : db::Params{};
    qint64 n = 0;
    if (fichero_) {
        n = CopiarAlFichero(agencia, *fichero_, tabla, columnas, donde, params);
    } else {
        const QString lista = ListaColumnas(columnas);
        agencia.execute(
            QStringLiteral("INSERT INTO %1.\"%2\" (%3) SELECT %3 FROM main.\"%2\"%4 ORDER BY rowid")
                .arg(Alias, tabla, lista, donde),
            params);
        n = FilasCambiadas(agencia);
    }
    filas_[tabla] = n;
    progreso_.filas += n;
    if (informe_.progreso)
        informe_.progreso(progreso_);
    if (n > 0 && !exportadas.isEmpty())
        log(exportadas.arg(n));
    return n;
}

// The agents are a catalogue of the principal office's too; a template made
// before they existed gets their table here.
void ExportacionOficina::exportarAgentes() {
    db::Database& agencia = ctx_.db();
    if (ColumnasTabla(agencia, QStringLiteral("main"), QStringLiteral("Agentes")).isEmpty())
        return;
    schema::createExchangeAgents(fichero_ ? *fichero_ : agencia, fichero_ ? QStringLiteral("main") : Alias);
    // Without lines of its own: the export's log stays the one the offices know.
    exportarTabla(QStringLiteral("Agentes"), QString(), QString(), false);
}

// The wanted places of this office's clients travel with them.
void ExportacionOficina::exportarZonas() {
    db::Database& agencia = ctx_.db();
    const QStringList columnas =
        ColumnasTabla(agencia, QStringLiteral("main"), QStringLiteral("ClientesZonas"));
    if (columnas.isEmpty() ||
        (fichero_ ? ColumnasTabla(*fichero_, QStringLiteral("main"), QStringLiteral("ClientesZonas"))
                  : ColumnasTabla(agencia, Alias, QStringLiteral("ClientesZonas")))
            .isEmpty())
        return;
    if (fichero_) {
        progreso_.filas += CopiarAlFichero(agencia, *fichero_, QStringLiteral("ClientesZonas"), columnas,
                                           QStringLiteral(" WHERE CodCliente IN (SELECT Cod FROM Clientes "
                                                          "WHERE Agencia = ?)"),
                                           {ctx_.facts.CodigoOficina});
        return;
    }
    const QString lista = ListaColumnas(columnas);
    agencia.execute(QStringLiteral("INSERT INTO %1.ClientesZonas (%2) SELECT %2 FROM main.ClientesZonas "
                                   "WHERE CodCliente IN (SELECT Cod FROM main.Clientes WHERE Agencia = ?) "
                                   "ORDER BY rowid")
                        .arg(Alias, lista),
                    {ctx_.facts.CodigoOficina});
    progreso_.filas += FilasCambiadas(agencia);
}

// The visits this office booked travel with its records.
void ExportacionOficina::exportarVisitas() {
    db::Database& agencia = ctx_.db();
    const QStringList columnas = ColumnasTabla(agencia, QStringLiteral("main"), QStringLiteral("Visitas"));
    if (columnas.isEmpty() ||
        (fichero_ ? ColumnasTabla(*fichero_, QStringLiteral("main"), QStringLiteral("Visitas"))
                  : ColumnasTabla(agencia, Alias, QStringLiteral("Visitas")))
            .isEmpty())
        return;
    qint64 n = 0;
    if (fichero_)
        n = CopiarAlFichero(agencia, *fichero_, QStringLiteral("Visitas"), columnas,
                            QStringLiteral(" WHERE Agencia = ?"), {ctx_.facts.CodigoOficina});
    else {
        agencia.execute(
            QStringLiteral("INSERT INTO %1.Visitas (%2) SELECT %2 FROM main.Visitas WHERE Agencia = ? "
                           "ORDER BY rowid")
                .arg(Alias, ListaColumnas(columnas)),
            {ctx_.facts.CodigoOficina});
        n = FilasCambiadas(agencia);
    }
    progreso_.filas += n;
    if (n > 0)
        log(QCoreApplication::translate("ExportacionOficina", "Se han exportado %1 visitas.").arg(n));
}

// One picture per distinct photograph file, in the order the properties name
// them; the pool makes them while the other tables are copied.
void ExportacionOficina::procesarFotos() {
    db::Database& exportado = fichero_ ? *fichero_ : ctx_.db();
    const QList<db::Row> filas = exportado.query(
        QStringLiteral("SELECT Foto1, Foto2, Foto3, Foto4, Foto5, Foto6 FROM %1.Propiedades ORDER BY rowid")
            .arg(fichero_ ? QStringLiteral("main") : Alias));
    QStringList nombres;
    QSet<QString> vistos;
    for (const db::Row& fila : filas)
        for (const db::Value& v : fila) {
            const QString nombre = db::isNull(v) ? QString() : v.toString();
            if (nombre.isEmpty() || vistos.contains(nombre))
                continue;
            vistos.insert(nombre);
            if (NombreFotoValido(nombre) && ExisteFichero(ctx_.RutaFotos + nombre))
                nombres << nombre;
        }
    if (nombres.isEmpty())
        return;

    image::PictureSizes sizes;
    sizes.web = TamanoFoto;
    sizes.thumb = QSize(1, 1);
    image::PicturePool pool(sizes);
    progreso_.fotosTotal = int(nombres.size());
    QObject::connect(&pool, &image::PicturePool::progress, [this](int hechas, int) {
        progreso_.fotos = hechas;
        if (informe_.progreso)
            informe_.progreso(progreso_);
    });
    const QString procesando = QCoreApplication::translate("ExportacionOficina", "- Procesando foto %1");
    for (const QString& nombre : nombres) {
        log(procesando.arg(nombre));
        pool.submit({ctx_.RutaFotos + nombre, carpeta_ + nombre, QString()});
    }
    const QList<image::PictureResult> resultados = pool.waitForAll();
    for (qsizetype i = 0; i < resultados.size(); ++i) {
        if (resultados[i].ok) {
            ++fotosHechas_;
            continue;
        }
        // The image library's words go to Orbalia.log; the user reads what to look at.
        EscribirLog(
            QCoreApplication::translate("ExportacionOficina", "Exportación de la oficina: foto %1: %2")
                .arg(nombres[i], resultados[i].error));
        // The pool already knows why: no second decoding of the photograph.
        const QString origen = QDir::toNativeSeparators(ctx_.RutaFotos + nombres[i]);
        QString causa;
        switch (resultados[i].fault) {
        case image::Fault::Missing:
        case image::Fault::CannotOpen:
            causa =
                QCoreApplication::translate("ExportacionOficina", "no hay permiso para leer el archivo %1")
                    .arg(origen);
            break;
        case image::Fault::Damaged:
            causa =
                QCoreApplication::translate("ExportacionOficina",
                                            "el archivo %1 no es una imagen que se pueda leer o está dañado")
                    .arg(origen);
            break;
        default:
            causa = QCoreApplication::translate(
                        "ExportacionOficina",
                        "no se ha podido guardar su copia en %1 (¿disco lleno o sin permiso?)")
                        .arg(QDir::toNativeSeparators(carpeta_));
            break;
        }
        log(QCoreApplication::translate("ExportacionOficina", "No se ha podido procesar la foto %1: %2.")
                .arg(nombres[i], causa));
    }
}

bool ExportacionOficina::Subir(proc::ProcessRunner& runner) {
    const QString origen = carpeta_;
    const QString destino = RutaRemota(cuenta_, ctx_.facts.CodigoOficina);
    log(QCoreApplication::translate("ExportacionOficina", "Iniciando subida ..."));
    QString fallo;
    const int code = EjecutarScript(runner, ScriptIntercambio(ctx_, cuenta_.usuario), origen, destino,
                                    cuenta_.puerto, informe_, &fallo);
    if (code != 0) {
        log(QCoreApplication::translate("ExportacionOficina", "La subida ha fallado: %1.").arg(fallo));
        return false;
    }
    log(QCoreApplication::translate("ExportacionOficina", "Subida finalizada."));
    return true;
}

} // namespace orb
