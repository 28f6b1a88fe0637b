#include "CopiaServidor.h"

#include "platform/db/Database.h"
#include "platform/db/Statement.h"
#include "platform/pg/Connection.h"
#include "shell/Installation.h"
#include "shell/Schema.h"
#include "shell/SchemaServidor.h"
#include "shell/Upgrade.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <charconv>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace orb::install {

using schema::CampoServidor;
using schema::TablaServidor;
using schema::TipoCampo;

namespace {

// Rows per hashed page, and per block handed from the file's reader to the
// COPY stream: a large office never sits whole in memory, and the server takes
// a block while the next is read.
constexpr int Tramo = 5000;
constexpr int TramoCopia = 1000;

// Money as the text the server keeps (four decimals), sent and summed alike;
// a negative zero would come back as 0.0000.
QString dinero(double d) {
    return QString::number(d == 0 ? 0.0 : d, 'f', 4);
}

// The canonical text of a row: the file's side writes it here from the values
// the data-access layer reads, the server's (canonicoCopia) from the text its
// COPY sends; both hash the same bytes. The row number, then each field
// after \x1f, then \x1e. Money with the server's four decimals (the copy sends
// exactly that text), dates with their time, yes/no as 1/0; a null is \N and
// a text's backslashes and separators are escaped, so no two rows read alike.
void numero(QByteArray& linea, qint64 n) {
    char buf[24];
    const auto r = std::to_chars(buf, buf + sizeof buf, n);
    linea.append(buf, r.ptr - buf);
}

void canonico(QByteArray& linea, const QVariant& v, TipoCampo tipo) {
    linea += '\x1f';
    if (!v.isValid() || v.isNull()) {
        linea += "\\N";
        return;
    }
    switch (tipo) {
    case TipoCampo::Entero:
        numero(linea, v.toLongLong());
        return;
    case TipoCampo::Moneda:
        linea += dinero(v.toDouble()).toLatin1();
        return;
    case TipoCampo::Doble:
        linea += QByteArray::number(v.toDouble(), 'g', QLocale::FloatingPointShortest);
        return;
    case TipoCampo::SiNo:
        linea += v.toBool() ? '1' : '0';
        return;
    case TipoCampo::Fecha:
        if (v.metaType().id() == QMetaType::QDate) {
            linea += v.toDate().toString(Qt::ISODate).toLatin1() + " 00:00:00.000";
            return;
        }
        if (v.metaType().id() == QMetaType::QDateTime) {
            linea += v.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")).toLatin1();
            return;
        }
        break;
    case TipoCampo::Texto:
        break;
    }
    const QByteArray u = v.toString().toUtf8();
    qsizetype desde = 0;
    for (qsizetype i = 0; i < u.size(); ++i)
        if (u[i] == '\\' || u[i] == '\x1f' || u[i] == '\x1e') {
            linea.append(u.constData() + desde, i - desde);
            linea += '\\';
            desde = i;
        }
    linea.append(u.constData() + desde, u.size() - desde);
}

// The same text from a field of the server's COPY output (texts unescaped,
// yes/no as t/f, dates already in the canonical form by to_char).
void canonicoCopia(QByteArray& linea, QByteArrayView campo, TipoCampo tipo) {
    linea += '\x1f';
    if (campo == QByteArrayView("\\N")) {
        linea += "\\N";
        return;
    }
    switch (tipo) {
    case TipoCampo::Entero:
    case TipoCampo::Moneda:
    case TipoCampo::Fecha:
        linea.append(campo);
        return;
    case TipoCampo::Doble:
        // Both sides write the shortest text that reads back as the same double.
        linea += QByteArray::number(campo.toByteArray().toDouble(), 'g', QLocale::FloatingPointShortest);
        return;
    case TipoCampo::SiNo:
        linea += campo == QByteArrayView("t") ? '1' : '0';
        return;
    case TipoCampo::Texto:
        break;
    }
    for (qsizetype i = 0; i < campo.size(); ++i) {
        char ch = campo[i];
        if (ch == '\\' && i + 1 < campo.size()) {
            switch (campo[++i]) {
            case 'b':
                ch = '\b';
                break;
            case 'f':
                ch = '\f';
                break;
            case 'n':
                ch = '\n';
                break;
            case 'r':
                ch = '\r';
                break;
            case 't':
                ch = '\t';
                break;
            case 'v':
                ch = '\v';
                break;
            default:
                ch = campo[i];
            }
        }
        if (ch == '\\' || ch == '\x1f' || ch == '\x1e')
            linea += '\\';
        linea += ch;
    }
}

// Counts and hashes rows given as (row number, fields…), a page of Tramo rows
// at a time: the table's sum is the SHA-256 of its pages' SHA-256s.
class Suma {
public:
    explicit Suma(const TablaServidor& t)
        : tabla_(t), pagina_(QCryptographicHash::Sha256), total_(QCryptographicHash::Sha256) {}
    void anadir(const QVariantList& fila) {
        linea_.truncate(0);
        numero(linea_, fila.value(0).toLongLong());
        for (qsizetype i = 0; i < tabla_.campos.size(); ++i)
            canonico(linea_, fila.value(i + 1), tabla_.campos[i].tipo);
        anadirLinea();
    }
    // A line of the server's COPY: the row number, then the fields after tabs.
    void anadirCopia(QByteArrayView fila) {
        linea_.truncate(0);
        qsizetype desde = 0;
        for (qsizetype i = -1; desde <= fila.size(); ++i) {
            qsizetype hasta = fila.indexOf('\t', desde);
            if (hasta < 0)
                hasta = fila.size();
            const QByteArrayView campo = fila.sliced(desde, hasta - desde);
            if (i < 0)
                linea_.append(campo);
            else if (i < tabla_.campos.size())
                canonicoCopia(linea_, campo, tabla_.campos[i].tipo);
            desde = hasta + 1;
        }
        anadirLinea();
    }
    TablaCopiada resultado() {
        if (abierta_)
            cerrarPagina();
        return {tabla_.nombre, filas_, total_.result()};
    }

private:
    void anadirLinea() {
        linea_ += '\x1e';
        pagina_.addData(linea_);
        abierta_ = true;
        if (++filas_ % Tramo == 0)
            cerrarPagina();
    }
    void cerrarPagina() {
        total_.addData(pagina_.result());
        pagina_.reset();
        abierta_ = false;
    }
    const TablaServidor& tabla_;
    QCryptographicHash pagina_, total_;
    QByteArray linea_;
    qint64 filas_ = 0;
    bool abierta_ = false;
};

QStringList columnas(const TablaServidor& t) {
    QStringList c{t.numeroFila};
    for (const CampoServidor& f : t.campos)
        c << f.nombre;
    return c;
}

QString nombreServidor(const QString& nombre) {
    return nombre.toLower();
}

// Reads a table of the file in rowid order; copia, when given, receives the
// rows in blocks. The file is read on a thread of its own meanwhile, so the
// server takes one block while the next is read: a block waits at most.
TablaCopiada leerOficina(db::Database& oficina, const TablaServidor& t,
                         const std::function<void(const QList<QVariantList>&)>& copia = {}) {
    const QString id = t.numeroFila == u"rowid" ? QStringLiteral("rowid") : t.numeroFila;
    QStringList cols = columnas(t);
    cols[0] = id;
    const QString sql = QStringLiteral("SELECT %1 FROM \"%2\" ORDER BY %3")
                            .arg(cols.join(QStringLiteral(", ")), t.nombre, id);
    Suma suma(t);
    if (!copia) {
        db::Statement st(oficina, sql);
        while (st.step())
            suma.anadir(st.row());
        return suma.resultado();
    }

    QList<int> moneda;
    for (qsizetype i = 0; i < t.campos.size(); ++i)
        if (t.campos[i].tipo == TipoCampo::Moneda)
            moneda << int(i + 1);
    std::mutex m;
    std::condition_variable cambio;
    std::deque<QList<QVariantList>> cola;
    bool fin = false, parar = false;
    std::exception_ptr error;
    std::thread lector([&] {
        try {
            db::Statement st(oficina, sql);
            QList<QVariantList> bloque;
            bool hay = true;
            while (hay) {
                bloque.reserve(TramoCopia);
                while (bloque.size() < TramoCopia && (hay = st.step())) {
                    bloque << st.row();
                    // Money goes as the four decimals the server keeps, the text the sum reads.
                    for (const int i : moneda)
                        if (!db::isNull(bloque.last()[i]))
                            bloque.last()[i] = dinero(bloque.last()[i].toDouble());
                    suma.anadir(bloque.last());
                }
                std::unique_lock lock(m);
                cambio.wait(lock, [&] { return cola.size() < 4 || parar; });
                if (parar)
                    break;
                if (!bloque.isEmpty())
                    cola.push_back(std::move(bloque));
                bloque = {};
                cambio.notify_all();
            }
        } catch (...) {
            std::lock_guard lock(m);
            error = std::current_exception();
        }
        std::lock_guard lock(m);
        fin = true;
        cambio.notify_all();
    });
    try {
        for (;;) {
            QList<QVariantList> bloque;
            {
                std::unique_lock lock(m);
                cambio.wait(lock, [&] { return !cola.empty() || fin; });
                if (cola.empty())
                    break;
                bloque = std::move(cola.front());
                cola.pop_front();
                cambio.notify_all();
            }
            copia(bloque);
        }
    } catch (...) {
        {
            std::lock_guard lock(m);
            parar = true;
            cambio.notify_all();
        }
        lector.join();
        throw;
    }
    lector.join();
    if (error)
        std::rethrow_exception(error);
    return suma.resultado();
}

// The same sums from the server: its rows in rowid order through COPY, made
// canonical here as they arrive.
TablaCopiada leerServidor(pg::Connection& c, const TablaServidor& t) {
    QStringList cols{t.numeroFila};
    for (const CampoServidor& f : t.campos)
        cols << (f.tipo == TipoCampo::Fecha
                     ? QStringLiteral("to_char(%1, 'YYYY-MM-DD HH24:MI:SS.MS')").arg(f.nombre)
                     : f.nombre);
    // Doubles in their shortest exact text, whatever the server's setting.
    c.execute(QStringLiteral("SET LOCAL extra_float_digits = 3"));
    Suma suma(t);
    c.copyOut(QStringLiteral("SELECT %1 FROM %2 ORDER BY %3")
                  .arg(cols.join(QStringLiteral(", ")), nombreServidor(t.nombre), t.numeroFila),
              [&](QByteArrayView fila) { suma.anadirCopia(fila); });
    return suma.resultado();
}

// Past the highest number copied, so the seats' new rows never reuse one.
void ajustarIdentidad(pg::Connection& c, const TablaServidor& t) {
    c.execute(QStringLiteral("SELECT setval(pg_get_serial_sequence(?, ?), coalesce(max(%1), 1), "
                             "max(%1) IS NOT NULL) FROM %2")
                  .arg(t.numeroFila, nombreServidor(t.nombre)),
              {nombreServidor(t.nombre), t.numeroFila.toLower()});
}

QString agenciaDe(const QString& nombre, const QString& web) {
    QString s = QStringLiteral("«%1»").arg(nombre);
    if (!web.isEmpty())
        s += QCoreApplication::translate("CopiaServidor", " (código web %1)").arg(web);
    return s;
}

// Whose data the server holds, against the folder's Orbalia.ini; writes this
// office's when the database has none yet.
void comprobarAgencia(pg::Connection& c, const QString& base, const InstallationFacts& f, bool nueva) {
    // A schema made by another tool may lack the record: it starts empty.
    c.execute(QStringLiteral("CREATE TABLE IF NOT EXISTS orbalia_agencia (nombre text NOT NULL, "
                             "codigo_web text NOT NULL, oficina text NOT NULL)"));
    const QList<pg::Row> filas =
        c.query(QStringLiteral("SELECT nombre, codigo_web, oficina FROM orbalia_agencia"));
    if (filas.isEmpty()) {
        if (!nueva)
            for (const TablaServidor& t : schema::tablasServidor())
                if (c.scalar(QStringLiteral("SELECT EXISTS (SELECT 1 FROM %1)").arg(nombreServidor(t.nombre)))
                        .toBool())
                    throw CopiaRechazada(
                        QCoreApplication::translate(
                            "CopiaServidor",
                            "La base de datos «%1» del servidor ya tiene datos (tabla %2) sin "
                            "decir de qué agencia son: no se ha copiado nada.")
                            .arg(base, t.nombre));
        c.execute(
            QStringLiteral("INSERT INTO orbalia_agencia (nombre, codigo_web, oficina) VALUES (?, ?, ?)"),
            {f.NombreAgencia, f.CodigoAgenciaWeb, f.CodigoOficina});
        // The office is on the server now, principal or not as its installation says.
        c.execute(
            QStringLiteral("INSERT INTO orbalia_oficinas (oficina, principal) VALUES (?, ?) ON CONFLICT "
                           "(oficina) DO UPDATE SET principal = EXCLUDED.principal"),
            {f.CodigoOficina, f.OficinaPrincipal});
        return;
    }
    const QString nombre = filas[0].value(0).toString(), web = filas[0].value(1).toString(),
                  oficina = filas[0].value(2).toString();
    if (nombre != f.NombreAgencia || web != f.CodigoAgenciaWeb)
        throw CopiaRechazada(
            QCoreApplication::translate("CopiaServidor",
                                        "La base de datos «%1» del servidor ya guarda los datos de la "
                                        "agencia %2, y esta instalación es de la agencia %3: no se ha "
                                        "copiado nada.")
                .arg(base, agenciaDe(nombre, web), agenciaDe(f.NombreAgencia, f.CodigoAgenciaWeb)));
    if (oficina != f.CodigoOficina)
        throw CopiaRechazada(
            QCoreApplication::translate("CopiaServidor",
                                        "La base de datos «%1» del servidor ya guarda los datos de la "
                                        "oficina «%2» de la agencia; los de la oficina «%3» no pueden "
                                        "unirse a ellos: no se ha copiado nada.")
                .arg(base, oficina, f.CodigoOficina));
}

void avisar(const OpcionesCopia& o, const QString& linea) {
    if (o.progreso)
        o.progreso(linea);
}

} // namespace

qint64 ResultadoCopia::filas() const {
    qint64 n = 0;
    for (const TablaCopiada& t : tablas)
        n += t.filas;
    return n;
}

ResultadoCopia copiarOficina(const QString& carpeta, pg::Connection& c, const OpcionesCopia& opciones) {
    const QString ruta = QDir(carpeta).filePath(QLatin1String(upgrade::DatabaseFileName));
    if (!QFileInfo::exists(ruta))
        throw CopiaRechazada(
            QCoreApplication::translate("CopiaServidor", "No existe la base de datos de la oficina: %1")
                .arg(QDir::toNativeSeparators(ruta)));
    db::OpenOptions soloLectura;
    soloLectura.readOnly = true;
    auto oficina = db::Database::open(ruta, soloLectura);
    const int version = oficina->userVersion();
    if (version != schema::CurrentVersion)
        throw CopiaRechazada(
            QCoreApplication::translate("CopiaServidor",
                                        "La base de datos de la oficina está en la versión %1 y el servidor "
                                        "se crea en la %2: pásela antes a la versión %2 con "
                                        "orbalia-updatedb.")
                .arg(version)
                .arg(schema::CurrentVersion));
    const InstallationFacts facts = LeerDatosInstalacion(carpeta);
    const QString base = c.scalar(QStringLiteral("SELECT current_database()")).toString();
    const QList<TablaServidor> tablas = schema::tablasServidor();

    // The file is read in one transaction too: the rows copied are the rows compared.
    db::Transaction lectura(*oficina);
    pg::Transaction tx(c);
    // Two copies into the same database wait for each other instead of both creating it.
    c.execute(QStringLiteral("SELECT pg_advisory_xact_lock(hashtext('orbalia: copia de una oficina'))"));
    const bool nueva = schema::isEmptyServerDatabase(c);
    if (nueva) {
        avisar(opciones,
               QCoreApplication::translate("CopiaServidor", "Creando las tablas de la agencia en «%1»…")
                   .arg(base));
        schema::createServerSchema(c);
    } else {
        const int enServidor = schema::serverSchemaVersion(c);
        if (enServidor < 0)
            throw CopiaRechazada(
                QCoreApplication::translate("CopiaServidor",
                                            "La base de datos «%1» del servidor no está vacía y no es de "
                                            "Orbalia: no se ha copiado nada.")
                    .arg(base));
        if (enServidor != schema::CurrentVersion)
            throw CopiaRechazada(
                QCoreApplication::translate("CopiaServidor",
                                            "La base de datos «%1» del servidor está en la versión %2 y "
                                            "esta oficina en la %3: no se ha copiado nada.")
                    .arg(base)
                    .arg(enServidor)
                    .arg(schema::CurrentVersion));
    }
    comprobarAgencia(c, base, facts, nueva);

    ResultadoCopia out;
    bool vacio = nueva;
    if (!nueva) {
        // What is there already: the same rows make a second run a no-op.
        QList<TablaCopiada> oficinaSumas, servidorSumas;
        QStringList distintas;
        bool todasVacias = true;
        for (const TablaServidor& t : tablas) {
            oficinaSumas << leerOficina(*oficina, t);
            servidorSumas << leerServidor(c, t);
            todasVacias = todasVacias && servidorSumas.last().filas == 0;
            if (servidorSumas.last().suma != oficinaSumas.last().suma ||
                servidorSumas.last().filas != oficinaSumas.last().filas)
                distintas << t.nombre;
        }
        if (distintas.isEmpty()) {
            out.yaEstaba = true;
            out.tablas = oficinaSumas;
            return out;
        }
        if (!todasVacias && !opciones.reemplazar)
            throw CopiaRechazada(
                QCoreApplication::translate("CopiaServidor",
                                            "La base de datos «%1» del servidor ya tiene datos de esta "
                                            "oficina distintos de los de su archivo (%2): no se ha "
                                            "copiado nada. Para sustituirlos, use --reemplazar.")
                    .arg(base, distintas.join(QStringLiteral(", "))));
        vacio = todasVacias;
    }
    if (!vacio) {
        avisar(opciones, QCoreApplication::translate("CopiaServidor", "Vaciando las tablas del servidor…"));
        for (const TablaServidor& t : tablas)
            c.execute(QStringLiteral("DELETE FROM %1").arg(nombreServidor(t.nombre)));
    }

    for (const TablaServidor& t : tablas) {
        pg::Connection::CopyIn copia(c, nombreServidor(t.nombre), columnas(t));
        TablaCopiada leida =
            leerOficina(*oficina, t, [&](const QList<QVariantList>& bloque) { copia.put(bloque); });
        copia.finish();
        ajustarIdentidad(c, t);
        avisar(opciones,
               QCoreApplication::translate("CopiaServidor", "%1: %n filas", nullptr, int(leida.filas))
                   .arg(t.nombre));
        out.tablas << leida;
    }

    avisar(opciones, QCoreApplication::translate("CopiaServidor", "Comprobando lo copiado…"));
    for (qsizetype i = 0; i < tablas.size(); ++i) {
        const TablaServidor& t = tablas[i];
        const TablaCopiada& enOficina = out.tablas[i];
        const TablaCopiada enServidor = leerServidor(c, t);
        if (enServidor.filas != enOficina.filas)
            throw CopiaRechazada(
                QCoreApplication::translate("CopiaServidor",
                                            "La tabla %1 tiene %n filas en la oficina y %2 en "
                                            "el servidor: la copia se ha deshecho.",
                                            nullptr, int(enOficina.filas))
                    .arg(t.nombre, QString::number(enServidor.filas)));
        if (enServidor.suma != enOficina.suma)
            throw CopiaRechazada(
                QCoreApplication::translate("CopiaServidor",
                                            "Las filas de la tabla %1 no son iguales en la oficina y en "
                                            "el servidor: la copia se ha deshecho.")
                    .arg(t.nombre));
    }
    // The planner's statistics, so that the first searches after the copy use
    // the indexes instead of waiting for the server's own analysis.
    for (const TablaServidor& t : tablas)
        c.execute(QStringLiteral("ANALYZE %1").arg(nombreServidor(t.nombre)));
    tx.commit();
    return out;
}

} // namespace orb::install
