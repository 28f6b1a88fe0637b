#pragma once

#include "ProcessRunner.h"

#include <QString>
#include <QStringList>

namespace proc {

// A local folder in the form the synchronisation tools of the old Windows
// installations took: every ':' dropped and every '\' turned into '/'.
// Native paths pass through unchanged apart from those two characters.
QString RutaCygwin(const QString& ruta);

// Runs a tool and waits for it while the windows keep painting; each line
// of its output goes to log. Returns its exit code, -1 when it could not be
// started or was cancelled through runner.
int ShellSincrono(ProcessRunner& runner, const QString& programa, const QStringList& argumentos,
                  const ProcessRunner::LineSink& log = {});

} // namespace proc
