#pragma once

#include <QString>
#include <QStringList>

namespace orb {

// Technical log for support: Orbalia.log in the installation folder. Messages
// shown to the user stay plain; what the engine said, and where, goes here.

// Folder of the log (ending in "/"); until set, lines go to standard error only.
// Also routes the data layer's own lines (db::logLine) to this log.
void IniciarLog(const QString& carpeta);
// Full path of the current log file; empty when no folder was set.
QString RutaLog();
// Appends one dated line. Past kLimiteLog bytes the file becomes Orbalia.log.1
// (replacing the older one) and a new file starts. Never fails.
void EscribirLog(const QString& texto);
// Appends several lines, each dated, in one write (a run's many row lines).
void EscribirLog(const QStringList& lineas);

inline constexpr qint64 kLimiteLog = 1024 * 1024;

} // namespace orb
