#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

class QTextStream;

namespace orb::upgrade {

inline constexpr const char* DatabaseFileName = "Orbalia.db";

// Where the upgrader looks for Orbalia.db, in this order:
//  1. $ORBALIA_HOME, when set: the installation folder, and the only place
//     looked at (the program itself uses it alone);
//  2. the folder of the executable (the upgrader is installed next to the program);
//  3. the current directory (the program starts the upgrader there).
// The first folder holding the file wins; when none does, the database is
// created in the first folder of the list.
struct Places {
    QString home;       // $ORBALIA_HOME, empty when unset
    QString programDir; // folder of the executable
    QString currentDir; // working directory
};
QStringList candidateFolders(const Places& places);
QString locateDatabase(const Places& places);

// "Orbalia-YYYYMMDD-HHMMSS.db" next to the database, with "-2", "-3"… when a
// copy of that second already exists.
QString backupPath(const QString& databasePath, const QDateTime& when);

// The upgrader's optional argument: an office code followed by "00000"
// (how the program starts it for a version-5 database). Returns false for
// anything else.
bool parseOfficeArgument(const QString& argument, QString* codigoOficina);

// The exchange template ExportSchema.db beside the database, when older than
// this program, is written again (it holds no data). Returns true when it was.
bool refreshExportTemplate(const QString& databasePath);

// The whole run of orbalia-updatedb: arguments without the program name,
// progress lines on out, errors on err. Returns the exit code (0 success,
// 1 failure, 2 wrong arguments).
int runUpdateDb(const QStringList& arguments, const Places& places, QTextStream& out, QTextStream& err);

} // namespace orb::upgrade
