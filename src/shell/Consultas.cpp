#include "Consultas.h"

namespace orb {

std::optional<Consulta> ConsultaPorNombre(const QString& entidad) {
    const QString e = entidad.toUpper();
    if (e == u"CLIENTE" || e == u"CLIENTES")
        return Consulta::Cliente;
    if (e == u"CLIENTEALQUILER" || e == u"CLIENTESALQUILER" || e == u"CLIENTEALQUILERES" ||
        e == u"CLIENTESALQUILERES")
        return Consulta::ClienteAlquiler;
    if (e == u"LOCALIDAD" || e == u"LOCALIDADES")
        return Consulta::Localidad;
    if (e == u"PROPIETARIO")
        return Consulta::Propietario;
    if (e == u"PROPIETARIOALQUILER")
        return Consulta::PropietarioAlquiler;
    if (e == u"DOSSIER" || e == u"DOSSIERS")
        return Consulta::Dossier;
    return std::nullopt;
}

} // namespace orb
