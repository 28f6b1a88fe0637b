#include "ImportacionOficina.h"
#include "IntercambioServidor.h"
#include "shell/AppContext.h"

namespace orb {

qint64 ImportacionOficina::importarEnServidor(const QString& tabla, const QString& codigo,
                                              const QString& donde, const db::Params& params,
                                              const QString& condicion, const db::Params& paramsCondicion) {
    const QStringList columnas = columnas_.value(tabla);
    const FilasServidor leidas =
        LeerParaServidor(*fichero_, ctx_.db(), tabla, columnas, codigo, donde, params);
    for (const QString& linea : leidas.rechazos)
        log(linea);
    return InsertarEnServidor(ctx_.db(), tabla, columnas, leidas.filas, condicion, paramsCondicion);
}

} // namespace orb
