#pragma once

#include <QString>

namespace db {
class Database;
}

namespace orb::install {

struct DemoOptions {
    int properties = 50;
    bool photos = true; // JPEG photographs in photoFolder, up to three per property
    quint32 seed = 1;
    QString codigoOficina; // Agencia of every demo record
    QString photoFolder;   // the installation's Fotos/ folder
};

struct DemoSummary {
    int tipos = 0;
    int localidades = 0;
    int areas = 0;
    int propietarios = 0;
    int clientes = 0;
    int propiedades = 0;
    int propiedadesAlquiler = 0;
    int fotos = 0;
    int actividades = 0;
};

// Fills an empty agency database with Costa del Sol catalogues, owners and
// clients of both sides, the properties (sales and rentals), their photographs
// and some activities, and sets the Config counters to the numbers used. One
// transaction: on failure nothing is stored. The same seed gives the same data.
DemoSummary fillDemoData(db::Database& database, const DemoOptions& options);

} // namespace orb::install
