#pragma once

#include <QString>
#include <QVariant>

#include <optional>

namespace orb {

// What a lookup dialog lets the user choose.
enum class Consulta {
    Cliente,             // a sales client
    ClienteAlquiler,     // a rental client
    Localidad,           // a locality
    Propietario,         // an owner of sales properties
    PropietarioAlquiler, // an owner of rental properties
    Dossier,             // one of the installation's dossier models
};

// The lookup dialogs as the windows and reports below the search tool see them.
class Consultas {
public:
    virtual ~Consultas() = default;

    // The Cod of the chosen row (text for clients and owners, a number for
    // localities), null when cancelled; for Dossier the chosen model number
    // 1 … ModelosDossier, 0 when cancelled.
    virtual QVariant Consultar(Consulta tipo) = 0;
};

// The kind an entity name stands for, compared in capitals: CLIENTE(S),
// CLIENTE(S)ALQUILER(ES), LOCALIDAD(ES), PROPIETARIO, PROPIETARIOALQUILER,
// DOSSIER(S); none for anything else.
std::optional<Consulta> ConsultaPorNombre(const QString& entidad);

} // namespace orb
