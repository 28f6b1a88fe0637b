#pragma once

// The demo installation's data: Costa del Sol catalogues, names, streets and
// wordings the demo records are drawn from.

#include "Artwork.h"

#include <QDate>
#include <QList>
#include <QStringList>

namespace orb::install::demo {

// ---------------------------------------------------------------------------
// Catalogues of the Costa del Sol.

struct TypeDef {
    const char* es;
    const char* en;
    const char* fr;
    Building building;
    int weight;         // how often demo properties are of this type
    const char* portal; // its type on the portals
};

// Order matters: the types' codes are their positions (from 1).
inline const TypeDef kTypes[] = {
    {"Piso", "Apartment", "Appartement", Building::Block, 30, "Apartment"},
    {"Ático", "Penthouse", "Attique", Building::Block, 8, "Penthouse"},
    {"Chalet", "Villa", "Villa", Building::House, 15, "Villa"},
    {"Casa adosada", "Townhouse", "Maison mitoyenne", Building::House, 12, "Town house"},
    {"Estudio", "Studio", "Studio", Building::Block, 7, "Studio"},
    {"Local comercial", "Commercial premises", "Local commercial", Building::Block, 6, "Commercial property"},
    {"Terreno", "Plot", "Terrain", Building::Land, 5, "Land"},
    {"Casa de campo", "Country house", "Maison de campagne", Building::House, 5, "Country house"},
    {"Dúplex", "Duplex", "Duplex", Building::Block, 7, "Duplex"},
    {"Oficina", "Office", "Bureau", Building::Block, 3, "Commercial property"},
    {"Plaza de garaje", "Parking space", "Place de parking", Building::Block, 2, "Garage"},
};
enum TypeIndex {
    Piso,
    Atico,
    Chalet,
    Adosada,
    Estudio,
    Local,
    Terreno,
    CasaCampo,
    Duplex,
    Oficina,
    PlazaGaraje
};

struct LocalityDef {
    const char* name;
    const char* cp;
    int pricePerMetre; // sale price per built square metre, in euros
    bool inland;
    QList<const char*> areas;
};

inline const QList<LocalityDef>& localities() {
    static const QList<LocalityDef> list = {
        {"Málaga",
         "29016",
         2900,
         false,
         {"Centro Histórico", "El Limonar", "Pedregalejo", "Teatinos", "Huelin", "Cerrado de Calderón"}},
        {"Marbella",
         "29602",
         4300,
         false,
         {"Nueva Andalucía", "Puerto Banús", "Milla de Oro", "San Pedro de Alcántara", "Elviria",
          "Las Chapas"}},
        {"Benalmádena",
         "29630",
         2600,
         false,
         {"Benalmádena Costa", "Arroyo de la Miel", "Benalmádena Pueblo", "Torrequebrada"}},
        {"Fuengirola", "29640", 2700, false, {"Los Boliches", "Torreblanca", "Carvajal", "Centro"}},
        {"Torremolinos", "29620", 2750, false, {"La Carihuela", "Montemar", "El Calvario", "Playamar"}},
        {"Estepona", "29680", 3100, false, {"Centro", "El Paraíso", "Cancelada", "Selwo"}},
        {"Mijas", "29650", 2800, false, {"Mijas Pueblo", "La Cala de Mijas", "Calahonda", "Las Lagunas"}},
        {"Nerja", "29780", 2950, false, {"Burriana", "Capistrano", "Maro", "El Playazo"}},
        {"Ronda", "29400", 1500, true, {"Centro", "El Mercadillo", "San Francisco"}},
        {"Manilva", "29691", 2100, false, {"La Duquesa", "San Luis de Sabinillas", "El Castillo"}},
        {"Casares", "29690", 2300, false, {"Casares Costa", "Casares Pueblo"}},
        {"Rincón de la Victoria",
         "29730",
         2400,
         false,
         {"La Cala del Moral", "Torre de Benagalbón", "Añoreta"}},
    };
    return list;
}

// ---------------------------------------------------------------------------
// People.

inline const QStringList kFirstNames = {
    QStringLiteral("Antonio"),    QStringLiteral("José"),   QStringLiteral("Manuel"),
    QStringLiteral("Francisco"),  QStringLiteral("Juan"),   QStringLiteral("David"),
    QStringLiteral("Javier"),     QStringLiteral("Carmen"), QStringLiteral("María"),
    QStringLiteral("Ana"),        QStringLiteral("Isabel"), QStringLiteral("Lucía"),
    QStringLiteral("Pilar"),      QStringLiteral("Rocío"),  QStringLiteral("Mercedes"),
    QStringLiteral("Ángel"),      QStringLiteral("Íñigo"),  QStringLiteral("Begoña"),
    QStringLiteral("Ramón"),      QStringLiteral("Susana"), QStringLiteral("María José"),
    QStringLiteral("Concepción"), QStringLiteral("Álvaro"), QStringLiteral("Nuria"),
};

inline const QStringList kSurnames = {
    QStringLiteral("García"),    QStringLiteral("Fernández"), QStringLiteral("González"),
    QStringLiteral("Rodríguez"), QStringLiteral("López"),     QStringLiteral("Martínez"),
    QStringLiteral("Sánchez"),   QStringLiteral("Pérez"),     QStringLiteral("Gómez"),
    QStringLiteral("Martín"),    QStringLiteral("Jiménez"),   QStringLiteral("Ruiz"),
    QStringLiteral("Díaz"),      QStringLiteral("Moreno"),    QStringLiteral("Muñoz"),
    QStringLiteral("Álvarez"),   QStringLiteral("Romero"),    QStringLiteral("Navarro"),
    QStringLiteral("Torres"),    QStringLiteral("Domínguez"), QStringLiteral("Vázquez"),
    QStringLiteral("Ramos"),     QStringLiteral("Serrano"),   QStringLiteral("Castillo"),
    QStringLiteral("Ortega"),    QStringLiteral("Peña"),      QStringLiteral("Ibáñez"),
    QStringLiteral("Cañete"),
};

struct ForeignName {
    const char* name;
    const char* country; // passport prefix
    const char* phonePrefix;
};

// Residents from abroad, as the coast has them; apostrophes on purpose.
inline const ForeignName kForeign[] = {
    {"Sean O'Connor", "IE", "+353"},   {"Sarah Thompson", "GB", "+44"},  {"Klaus Müller", "DE", "+49"},
    {"Ingrid Johansson", "SE", "+46"}, {"Giulia D'Angelo", "IT", "+39"}, {"Jean-Pierre Dubois", "FR", "+33"},
    {"Aoife O'Brien", "IE", "+353"},   {"Lars Andersson", "SE", "+46"},  {"Pieter van der Berg", "NL", "+31"},
    {"Emma Davies", "GB", "+44"},      {"Søren Nielsen", "DK", "+45"},   {"Hélène Lefèvre", "FR", "+33"},
    {"Liam O'Sullivan", "IE", "+353"}, {"Petra Schröder", "DE", "+49"},  {"Oliver Wright", "GB", "+44"},
    {"Anouk de Vries", "NL", "+31"},   {"Åsa Lindqvist", "SE", "+46"},   {"Niamh D'Arcy", "IE", "+353"},
    {"Jürgen Weiß", "DE", "+49"},      {"Marco Bianchi", "IT", "+39"},   {"Paul Hughes", "GB", "+44"},
};

inline const QStringList kStreets = {
    QStringLiteral("Calle Larios"),
    QStringLiteral("Avenida de Andalucía"),
    QStringLiteral("Paseo Marítimo"),
    QStringLiteral("Calle Málaga"),
    QStringLiteral("Avenida del Mar"),
    QStringLiteral("Calle San Miguel"),
    QStringLiteral("Urbanización Los Naranjos"),
    QStringLiteral("Calle Real"),
    QStringLiteral("Avenida de España"),
    QStringLiteral("Camino de Coín"),
    QStringLiteral("Calle Jacinto Benavente"),
    QStringLiteral("Avenida Ricardo Soriano"),
    QStringLiteral("Calle Pinillo"),
    QStringLiteral("Calle Almendro"),
    QStringLiteral("Paseo de la Farola"),
    QStringLiteral("Calle Río Guadalmina"),
    QStringLiteral("Avenida de los Boliches"),
    QStringLiteral("Calle Cervantes"),
    QStringLiteral("Urbanización El Paraíso Alto"),
    QStringLiteral("Calle Doña Ana"),
};

inline const QStringList kAgents = {QStringLiteral("Lucía Fernández"), QStringLiteral("Javier Moreno"),
                                    QStringLiteral("Carmen Ruiz"), QStringLiteral("Peter Jensen")};

inline const QStringList kOwnerComments = {
    QString(),
    QString(),
    QStringLiteral("Prefiere que se le llame por la tarde."),
    QStringLiteral("Habla inglés y alemán."),
    QStringLiteral("Vive fuera de España; contactar por correo electrónico."),
    QStringLiteral("Tiene otra vivienda en la zona que quizá venda."),
    QStringLiteral("Recomendado por un vecino.\nLlaves en la oficina."),
};

inline const QStringList kActivities = {
    QStringLiteral("Visita con el cliente"),
    QStringLiteral("Llamada del cliente interesado"),
    QStringLiteral("Envío del dossier por correo electrónico"),
    QStringLiteral("Segunda visita"),
    QStringLiteral("Oferta recibida"),
    QStringLiteral("Reunión con el propietario"),
    QStringLiteral("Bajada de precio acordada con el propietario"),
    QStringLiteral("Fotografías nuevas"),
};

inline const QStringList kClientStates = {QStringLiteral("Buscando"), QStringLiteral("Pendiente"),
                                          QStringLiteral("Comprado"), QStringLiteral("Comprado con otro"),
                                          QStringLiteral("Descartado")};

// A fixed day, not today: the same seed must give the same installation.
inline const QDate kToday(2025, 1, 15);

} // namespace orb::install::demo
