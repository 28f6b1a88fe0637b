#pragma once

// Shared set-up of the web export tests: a fresh installation whose WEB
// settings point at the test MariaDB server, the web tables created from
// docs/web-schema.sql, properties and real JPEG photographs.

#include "TestInstallation.h"
#include "TestServers.h"
#include "platform/mysql/Connection.h"
#include "shell/ConfigStore.h"
#include "webexport/ExportacionWeb.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QVariantMap>

namespace webtest {

inline void createWebTables(mysql::Connection& c) {
    c.execute("DROP TABLE IF EXISTS webproperties");
    c.execute("DROP TABLE IF EXISTS webrentals");
    QFile f(QStringLiteral(ORBALIA_SOURCE_DIR "/docs/web-schema.sql"));
    if (!f.open(QIODevice::ReadOnly))
        throw std::runtime_error("docs/web-schema.sql missing");
    QString sql;
    for (const QString& line : QString::fromUtf8(f.readAll()).split(u'\n'))
        if (!line.trimmed().startsWith(QStringLiteral("--")))
            sql += line + u'\n';
    for (const QString& stmt : sql.split(u';'))
        if (!stmt.trimmed().isEmpty())
            c.execute(stmt);
}

// Values of a row as text, NULL for a null, so rows compare as string lists.
inline QStringList texts(const mysql::Row& r) {
    QStringList out;
    for (const QVariant& v : r)
        out << (v.isNull() ? QStringLiteral("NULL") : v.toString());
    return out;
}

// A web agency's rows of one table, every exported column as text, by ident.
inline QList<QStringList> rows(mysql::Connection& c, const QString& table, const QString& agency) {
    QList<QStringList> out;
    const QString cols =
        orb::ColumnasWeb(table == "webproperties" ? orb::Pasada::Venta : orb::Pasada::Alquiler).join(',');
    for (const mysql::Row& r :
         c.query("SELECT " + cols + " FROM " + table + " WHERE agency = ? ORDER BY ident", {agency}))
        out << texts(r);
    return out;
}

// Files under a folder, hidden ones included, as sorted relative paths.
inline QStringList filesUnder(const QString& dir) {
    QStringList out;
    QDirIterator it(dir, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        out << QDir(dir).relativeFilePath(it.next());
    out.sort();
    return out;
}

inline QByteArray contents(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        throw std::runtime_error("cannot write " + path.toStdString());
    f.write(bytes);
}

// The export of a context, its log collected.
struct Run {
    orb::ExportacionWeb exp;
    QStringList log;
    // Called with each log line as the run writes it, as its window shows it.
    std::function<void(const QString&)> alVer;
    explicit Run(orb::AppContext& ctx) : exp(ctx, orb::AjustesWeb::leer(ctx)) {
        exp.alLog = [this](const QString& l) {
            log << l;
            if (alVer)
                alVer(l);
        };
    }
    QString text() const { return log.join(u'\n'); }
};

inline void writeJpeg(const QString& path, QSize size = {1600, 1200}) {
    QImage img(size, QImage::Format_RGB32);
    img.fill(QColor(30, 120, 200));
    QPainter p(&img);
    p.fillRect(0, 0, size.width() / 2, size.height() / 2, Qt::yellow);
    p.end();
    QDir().mkpath(QFileInfo(path).absolutePath());
    img.save(path, "JPEG", 90);
}

struct Fixture {
    TestInstallation inst;
    orb::AppContext& ctx = inst.context();

    // WEB settings pointing at the server; the office and web agency codes.
    void configure(const testservers::Mysql& s, const QString& oficina, const QString& agenciaWeb) {
        auto put = [&](const char* var, const QString& v) {
            orb::GuardarConfig(ctx.db(), "WEB", QString::fromLatin1(var), v);
        };
        put("SERVIDOR", QStringLiteral("%1:%2").arg(s.options.host).arg(s.options.port));
        put("BASEDATOS", s.options.database);
        put("USUARIO", s.options.user);
        put("PASSWORD", s.options.password);
        // The pictures go to the tests' rsync daemon, set as a user would.
        if (const auto r = testservers::rsyncServer())
            put("PUERTORSYNC", QString::number(r->port));
        ctx.facts.CodigoOficina = oficina;
        ctx.facts.CodigoAgenciaWeb = agenciaWeb;
    }

    void catalogues() {
        ctx.db().execute("INSERT INTO Tipos (Cod, Nombre, NombreIdioma1, NombreIdioma2) "
                         "VALUES (901, 'Ático', 'Penthouse', 'Attique')");
        ctx.db().execute("INSERT INTO Localidades (Cod, Nombre) VALUES (901, 'Marbella')");
        ctx.db().execute("INSERT INTO Areas (Cod, Nombre, CodLocalidad) VALUES (901, 'Puerto Banús', 901)");
    }

    // A web-marked property of office "B" in its side's published state;
    // fields override or add.
    void property(bool alquiler, qint64 quickId, const QVariantMap& fields = {}) {
        QVariantMap m{{"Cod", QStringLiteral("B%1").arg(quickId, 5, 10, QLatin1Char('0'))},
                      {"Agencia", "B"},
                      {"QuickID", quickId},
                      {"Alquiler", alquiler},
                      {"Estado", alquiler ? "Libre" : "En Venta"},
                      {"ExportacionWeb", true}};
        for (auto it = fields.begin(); it != fields.end(); ++it)
            m[it.key()] = it.value();
        QStringList cols, marks;
        db::Params params;
        for (auto it = m.begin(); it != m.end(); ++it) {
            cols << it.key();
            marks << "?";
            params << it.value();
        }
        ctx.db().execute("INSERT INTO Propiedades (" + cols.join(',') + ") VALUES (" + marks.join(',') + ")",
                         params);
    }

    QString foto(const QString& name) const { return ctx.RutaFotos + name; }
};

} // namespace webtest
