#pragma once

#include <QStringList>

namespace orb {

// The portals' standard property types: the choices of a type's "Tipo en
// portales" and what the portal feed accepts.
inline const QStringList& TiposPortales() {
    static const QStringList tipos = {QStringLiteral("Apartment"),
                                      QStringLiteral("Penthouse"),
                                      QStringLiteral("Studio"),
                                      QStringLiteral("Duplex"),
                                      QStringLiteral("Villa"),
                                      QStringLiteral("Bungalow"),
                                      QStringLiteral("Town house"),
                                      QStringLiteral("Country house"),
                                      QStringLiteral("Finca"),
                                      QStringLiteral("Land"),
                                      QStringLiteral("Cave house"),
                                      QStringLiteral("Garage"),
                                      QStringLiteral("Commercial property"),
                                      QStringLiteral("Wooden home")};
    return tipos;
}

} // namespace orb
