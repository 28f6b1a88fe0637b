#include "ShellSincrono.h"

namespace proc {

QString RutaCygwin(const QString& ruta) {
    QString resultado;
    resultado.reserve(ruta.size());
    for (const QChar c : ruta) {
        if (c == u':')
            continue;
        resultado += c == u'\\' ? QChar(u'/') : c;
    }
    return resultado;
}

int ShellSincrono(ProcessRunner& runner, const QString& programa, const QStringList& argumentos,
                  const ProcessRunner::LineSink& log) {
    return runner.run(programa, argumentos, log);
}

} // namespace proc
