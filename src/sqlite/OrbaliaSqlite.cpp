// Loadable SQLite extension with the text semantics of every Orbalia
// connection (the collation "es", the Unicode LIKE and sinacentos), so that the sqlite3
// tool and other programs can read an agency database:
//   sqlite3 -cmd '.load build/liborbalia_sqlite' demo/Orbalia.db

#include "platform/db/SqliteSupport.h"

// The functions are called directly, not through the host's table: the
// extension links the system's shared libsqlite3.
#define SQLITE_CORE 1
#include <sqlite3ext.h>

extern "C" int sqlite3_extension_init(sqlite3* db, char** errorMessage, const sqlite3_api_routines* api) {
    // A host with its own copy of SQLite (linked statically) hands us a
    // connection our library cannot touch; refuse instead of crashing it.
    if (api && api->libversion && api->libversion() != sqlite3_libversion()) {
        if (errorMessage && api->mprintf)
            *errorMessage = api->mprintf("liborbalia_sqlite: este programa no usa la biblioteca libsqlite3 "
                                         "del sistema, con la que se ha compilado la extensión");
        return SQLITE_ERROR;
    }
    db::detail::registerFunctions(db);
    return SQLITE_OK;
}
