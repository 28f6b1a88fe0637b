// The program's Unicode LIKE against a peer, SQLite's built-in one, interleaved
// on the same file, the same ASCII text and the same memory map. A peer, not a
// floor: the built-in LIKE reads its pattern again on every row, ours compiles
// it once per statement and skips to the bytes a piece can start with, so ours
// may well be the quicker.
//
//   bench_like [N properties] [runs]

#include "BenchSupport.h"

#include "platform/db/Database.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <cstring>

using bench::figure;

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int n = argc > 1 ? std::max(1, atoi(argv[1])) : 100000;
    const int runs = argc > 2 ? std::max(1, atoi(argv[2])) : 10;
    QTemporaryDir dir;
    const QString root = dir.path() + "/";
    bench::createDemo(root, n);

    auto ours = db::Database::open(root + "Orbalia.db");
    sqlite3* builtin = nullptr; // a plain connection: SQLite's own LIKE
    sqlite3_open_v2((root + "Orbalia.db").toUtf8().constData(), &builtin, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_exec(builtin, "PRAGMA mmap_size = 268435456", nullptr, nullptr, nullptr); // read as ours does
    // The indexes name the collation "es": with a stand-in the planner can
    // use the same covering indexes on both sides (a count compares nothing).
    sqlite3_create_collation(builtin, "es", SQLITE_UTF8, nullptr,
                             [](void*, int la, const void* a, int lb, const void* b) {
                                 const int c = memcmp(a, b, size_t(std::min(la, lb)));
                                 return c != 0 ? c : la - lb;
                             });

    struct Case {
        const char* name;
        const char* sql;
    };
    const Case cases[] = {
        {"LIKE contains, code", "select count(*) from Propiedades where Cod like '%42%'"},
        {"LIKE contains, e-mail", "select count(*) from Propietarios where Email like '%costa%'"},
        {"LIKE prefix, code", "select count(*) from Propiedades where Cod like '01%'"},
        {"LIKE two pieces, code", "select count(*) from Propiedades where Cod like '%1%9_'"},
    };
    for (const Case& c : cases) {
        qint64 a = 0;
        qint64 b = 0;
        const bench::Pair p = bench::compare(
            runs,
            [&] {
                sqlite3_stmt* st = nullptr;
                sqlite3_prepare_v2(builtin, c.sql, -1, &st, nullptr);
                if (sqlite3_step(st) == SQLITE_ROW)
                    b = sqlite3_column_int64(st, 0);
                sqlite3_finalize(st);
            },
            [&] {
                sqlite3_stmt* st = nullptr;
                sqlite3_prepare_v2(ours->handle(), c.sql, -1, &st, nullptr);
                if (sqlite3_step(st) == SQLITE_ROW)
                    a = sqlite3_column_int64(st, 0);
                sqlite3_finalize(st);
            });
        std::printf("%s\n", c.sql);
        bench::printPlan(ours->handle(), c.sql);
        bench::printPlan(builtin, c.sql);
        if (a != b)
            std::printf("%s: different answers (%lld against %lld)\n", c.name, a, b);
        figure(c.name, p, "ms", 1, "peer");
    }
    sqlite3_close(builtin);
    return 0;
}
