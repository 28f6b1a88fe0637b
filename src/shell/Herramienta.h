#pragma once

#include <QString>
#include <QStringList>
#include <exception>
#include <functional>

class QCommandLineParser;
class QTextStream;

namespace orb {

struct AppContext;

// The top of every command-line tool (orbalia-webexport, orbalia-exchange,
// orbalia-updatedb, orbalia-install): no tool ends on an uncaught exception,
// and the engine's own words go to Orbalia.log, never to the tool's output.

// Exit code of a tool ended by an error it did not expect.
inline constexpr int ErrorHerramienta = 1;

// Qt's own messages (an image decoder's "Corrupt JPEG data…", a plugin's
// warning) go to Orbalia.log, not to the output; those that come before the
// tool knows its folder wait for it.
void DesviarMensajesQt();

// One plain sentence for the error that stopped a tool ("El disco
// está lleno."); its full detail is written to Orbalia.log. rutaBaseDatos
// names the folder when the database cannot be written.
QString ExplicarError(std::exception_ptr error, const QString& rutaBaseDatos = {});

// The line a tool prints for it: "Error: <causa>", and where the details are
// when Orbalia.log has them.
QString LineaError(std::exception_ptr error, const QString& rutaBaseDatos = {});

// Reads a tool's options with help and errors in the program's words,
// adding -h/--help/--ayuda and -v/--version. Returns -1 when the tool goes
// on, else its exit code: 0 after the help or the version, 2 after an
// unknown option.
int LeerOpciones(QCommandLineParser& parser, const QStringList& argumentos);

// The installation a publishing tool (orbalia-webexport, orbalia-portales)
// runs on: the folder given (the usual one when empty), Orbalia.log there, its
// facts and its database at the program's version. -1 when ctx is ready;
// otherwise the tool's exit code, after saying why on err.
int AbrirInstalacionHerramienta(AppContext& ctx, const QString& carpetaPedida, QTextStream& err);

// Runs a tool's body with Qt's messages diverted. An exception that escapes
// it is logged, told on standard error as its LineaError, and ends the
// tool with ErrorHerramienta.
int EjecutarHerramienta(const std::function<int()>& cuerpo);

} // namespace orb
