#pragma once

// What the benchmarks share: a demo installation of N properties, the one
// measuring loop (floor and program interleaved round by round, after a
// warm-up, so a busy machine weighs on both alike; medians and minima), the
// process's resident memory, and the one-line figure format
// "name: value unit (ratio× floor)" ("× peer" when the comparison is a named
// peer, not the least work that gives the same result).

#include "install/Installer.h"
#include "platform/db/SqliteSupport.h"
#include "shell/AppContext.h"
#include "shell/Installation.h"

#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QList>
#include <QProcess>
#include <QRandomGenerator>
#include <QString>
#include <QVariant>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <functional>
#include <sqlite3.h>
#include <vector>

namespace bench {

// The times of several runs of one piece of work, in ms.
struct Sample {
    QList<double> ms;
    double median() const {
        if (ms.isEmpty())
            return 0;
        QList<double> s = ms;
        std::sort(s.begin(), s.end());
        return s[s.size() / 2];
    }
    double min() const { return ms.isEmpty() ? 0 : *std::min_element(ms.begin(), ms.end()); }
};

inline double timeMs(const std::function<void()>& work) {
    QElapsedTimer t;
    t.start();
    work();
    return double(t.nsecsElapsed()) / 1e6;
}

// The processor time of the whole process so far, in ms (every thread's):
// against wall time it tells work that waits from work that competes.
inline double cpuMs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// A piece of work that also notes its processor time in cpu (ms per run).
inline std::function<void()> withCpu(const std::function<void()>& work, QList<double>& cpu) {
    return [work, &cpu] {
        const double c0 = cpuMs();
        work();
        cpu << cpuMs() - c0;
    };
}

// The machine's load over the last minute (/proc/loadavg): a second core
// taken by another program is why a two-thread figure can fall to one.
inline double loadAverage() {
    QFile f(QStringLiteral("/proc/loadavg"));
    return f.open(QIODevice::ReadOnly) ? f.readAll().split(' ').value(0).toDouble() : 0;
}

// The shared loop: warmup untimed rounds, then runs rounds, each running
// every piece of work once in the order given (floor first, then the
// program's variants). A piece may time only part of itself by returning
// from a Timed callable; plain callables are timed whole.
using Timed = std::function<double()>; // returns its own ms

inline std::vector<Sample> interleaveTimed(int runs, const std::vector<Timed>& work, int warmup = 1) {
    std::vector<Sample> out(work.size());
    for (int r = 0; r < warmup; ++r)
        for (const Timed& w : work)
            w();
    for (int r = 0; r < std::max(1, runs); ++r)
        for (std::size_t i = 0; i < work.size(); ++i)
            out[i].ms << work[i]();
    return out;
}

inline std::vector<Sample> interleave(int runs, const std::vector<std::function<void()>>& work,
                                      int warmup = 1) {
    std::vector<Timed> timed;
    for (const auto& w : work)
        timed.push_back([w] { return timeMs(w); });
    return interleaveTimed(runs, timed, warmup);
}

// A floor and the program, interleaved.
struct Pair {
    Sample floor, program;
    double ratio() const { return floor.median() > 0 ? program.median() / floor.median() : 0; }
};

inline Pair compare(int runs, const std::function<void()>& floor, const std::function<void()>& program,
                    int warmup = 1) {
    const auto s = interleave(runs, {floor, program}, warmup);
    return {s[0], s[1]};
}

inline Pair compareTimed(int runs, const Timed& floor, const Timed& program, int warmup = 1) {
    const auto s = interleaveTimed(runs, {floor, program}, warmup);
    return {s[0], s[1]};
}

// Kept for one-sided figures (no floor): the median of runs, no warm-up.
inline double medianMs(int runs, const std::function<void()>& work) {
    Sample s;
    for (int i = 0; i < runs; ++i)
        s.ms << timeMs(work);
    return s.median();
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

// The one line per figure: "name: value unit (ratio× floor)", or "× peer".
inline void figure(const char* name, double value, const char* unit, double floor, const char* against) {
    if (floor > 0)
        std::printf("%s: %.2f %s (%.2f× %s)\n", name, value, unit, value / floor, against);
    else
        std::printf("%s: %.2f %s\n", name, value, unit);
    std::fflush(stdout);
}

inline void figure(const char* name, double value, const char* unit, double floor) {
    figure(name, value, unit, floor, "floor");
}

inline void peer(const char* name, double value, const char* unit, double peerValue) {
    figure(name, value, unit, peerValue, "peer");
}

// A measured pair: the medians' line, then the minima on a line of their own
// (indented, so the figure stays one line), scaled (per item) by divide.
inline void figure(const char* name, const Pair& p, const char* unit = "ms", double divide = 1,
                   const char* against = "floor") {
    figure(name, p.program.median() / divide, unit, p.floor.median() / divide, against);
    std::printf("  medians %.2f / %.2f, minima %.2f / %.2f %s (program / %s, %lld rounds)\n",
                p.program.median() / divide, p.floor.median() / divide, p.program.min() / divide,
                p.floor.min() / divide, unit, against, qint64(p.program.ms.size()));
    std::fflush(stdout);
}

// The floor's own line, for reading the program's ratio against an absolute.
inline void floorLine(const char* name, const Sample& s, const char* unit = "ms", double divide = 1) {
    std::printf("%s (floor): %.2f %s, minimum %.2f\n", name, s.median() / divide, unit, s.min() / divide);
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

// The program's connection settings on a plain connection (the floors' own):
// the same memory map, so both read the file through the same pages.
inline void programSettings(sqlite3* db) {
    sqlite3_exec(db, "PRAGMA mmap_size = 268435456", nullptr, nullptr, nullptr);
}

inline int bytesCmp(void*, int la, const void* a, int lb, const void* b) {
    const int r = memcmp(a, b, std::size_t(std::min(la, lb)));
    return r != 0 ? r : la - lb;
}

// A plain read-only connection with the program's settings and its own SQL
// functions and collation "es" (the same matches and the same order, so the
// same result): what a floor measures is everything the program adds above
// the engine. The schema is read here, as the program's connection has read
// it before any search: parsing it is not part of the statement's work.
inline sqlite3* openPlain(const QString& path) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    programSettings(db);
    db::detail::registerFunctions(db);
    sqlite3_exec(db, "SELECT 1 FROM sqlite_schema LIMIT 0", nullptr, nullptr, nullptr);
    return db;
}

// Every column of the current row read as what it holds (a number as a
// number, text as its bytes): the least a reader does to have the values.
inline void readColumns(sqlite3_stmt* st) {
    const int n = sqlite3_column_count(st);
    for (int c = 0; c < n; ++c)
        switch (sqlite3_column_type(st, c)) {
        case SQLITE_INTEGER:
            sqlite3_column_int64(st, c);
            break;
        case SQLITE_FLOAT:
            sqlite3_column_double(st, c);
            break;
        case SQLITE_NULL:
            break;
        default:
            sqlite3_column_blob(st, c);
            sqlite3_column_bytes(st, c);
        }
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

// Every value of every row of a statement with one bound value (plain SQLite,
// each column read as what it holds): the floor of reading a record.
inline qint64 plainRows(sqlite3* db, const char* sql, const QVariant& bound) {
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, sql, -1, &st, nullptr);
    const QByteArray b = bound.toString().toUtf8();
    if (bound.typeId() == QMetaType::LongLong || bound.typeId() == QMetaType::Int)
        sqlite3_bind_int64(st, 1, bound.toLongLong());
    else
        sqlite3_bind_text(st, 1, b.constData(), int(b.size()), SQLITE_STATIC);
    qint64 n = 0;
    while (sqlite3_step(st) == SQLITE_ROW) {
        readColumns(st);
        ++n;
    }
    sqlite3_finalize(st);
    return n;
}

// A camera-sized JPEG with the detail of a photograph (what decoding and
// scaling cost depends on): ImageMagick's plasma fractal at quality 90 when
// convert is installed, else a generated image of gradients and fine noise.
inline bool photographicJpeg(const QString& path, int seed, int width = 4000, int height = 3000) {
    QProcess magick;
    magick.start(QStringLiteral("convert"),
                 {QStringLiteral("-size"), QStringLiteral("%1x%2").arg(width).arg(height),
                  QStringLiteral("-seed"), QString::number(seed), QStringLiteral("plasma:fractal"),
                  QStringLiteral("-quality"), QStringLiteral("90"), path});
    if (magick.waitForFinished(120000) && magick.exitStatus() == QProcess::NormalExit &&
        magick.exitCode() == 0 && QImage(path).width() == width)
        return true;
    QImage img(width, height, QImage::Format_RGB32);
    QRandomGenerator rng(static_cast<quint32>(seed));
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const int n = int(rng.bounded(64u));
            line[x] = qRgb((x * 255 / width + n) & 255, (y * 255 / height + n) & 255, (128 + n * 2) & 255);
        }
    }
    return img.save(path, "JPEG", 90);
}

// n such photographs under dir (two distinct pictures, copied: decoding each
// costs the same as a new one), their paths in order.
inline QStringList photographicJpegs(const QString& dir, const QString& stem, int n) {
    QStringList out;
    for (int i = 0; i < n; ++i) {
        const QString path = dir + u'/' + stem + QString::number(i + 1) + QStringLiteral(".jpg");
        if (i < 2)
            photographicJpeg(path, i + 1);
        else
            QFile::copy(out[i % 2], path);
        out << path;
    }
    return out;
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
