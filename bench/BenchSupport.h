#pragma once

// What the benchmarks share: a demo installation of N properties, the median
// of several runs, the process's resident memory, and the one-line figure
// format "name: value unit (ratio× floor)".

#include "install/Installer.h"
#include "shell/AppContext.h"
#include "shell/Installation.h"

#include <QElapsedTimer>
#include <QFile>
#include <QList>
#include <QString>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <sqlite3.h>

namespace bench {

inline double medianMs(int runs, const std::function<void()>& work) {
    QList<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        work();
        times << double(t.nsecsElapsed()) / 1e6;
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// Resident set size now, in MB.
inline double rssMb() {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    return 0;
}

inline void figure(const char* name, double value, const char* unit, double floor) {
    if (floor > 0)
        std::printf("%s: %.2f %s (%.2f× floor)\n", name, value, unit, value / floor);
    else
        std::printf("%s: %.2f %s\n", name, value, unit);
    std::fflush(stdout);
}

// An installation folder (ending in "/") with n demo properties and no photographs.
inline void createDemo(const QString& dir, int n) {
    orb::install::InstallOptions options;
    options.demoProperties = n;
    options.demoPhotos = false;
    options.facts = orb::install::demoFacts();
    orb::install::createInstallation(dir, options);
}

// A context on an installation folder (ending in "/") with its database open, as start-up leaves it.
inline void openContext(orb::AppContext& ctx, const QString& dir) {
    ctx.PonerCarpeta(dir);
    ctx.facts = orb::LeerDatosInstalacion(dir);
    ctx.BaseDatosAgencia = db::Database::shared(ctx.RutaBaseDatos);
}

// Steps a statement with plain SQLite on an open handle: the floor every
// layer above is compared with. Reads column 0 of at most limit rows.
inline qint64 plainSteps(sqlite3* db, const char* sql, int limit = -1, int bindInt = -1) {
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, sql, -1, &st, nullptr);
    if (bindInt >= 0)
        sqlite3_bind_int(st, 1, bindInt);
    qint64 n = 0;
    while ((limit < 0 || n < limit) && sqlite3_step(st) == SQLITE_ROW) {
        sqlite3_column_int64(st, 0);
        ++n;
    }
    sqlite3_finalize(st);
    return n;
}

// The query plan's lines, for showing which index a statement uses.
inline void printPlan(sqlite3* db, const QString& sql) {
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, ("EXPLAIN QUERY PLAN " + sql).toUtf8().constData(), -1, &st, nullptr);
    while (st && sqlite3_step(st) == SQLITE_ROW)
        std::printf("  plan: %s\n", reinterpret_cast<const char*>(sqlite3_column_text(st, 3)));
    sqlite3_finalize(st);
}

} // namespace bench
