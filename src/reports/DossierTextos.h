#pragma once

#include <QString>
#include <QVariant>
#include <functional>

namespace orb::reports {

// What the dossier prints from a property's fields, written once so the
// report hooks and the tests share it.

// Euros and pesetas: the rate fixed when the euro came in.
inline constexpr double PesetasPorEuro = 166.386;

// "Privada", "Comunitaria" or "No" for a pool; gardens and garages take the
// masculine "Privado", "Comunitario".
QString TextoPiscina(const QVariant& codigo);
QString TextoJardin(const QVariant& codigo);
QString TextoGaraje(const QVariant& codigo);

// DossierTitulo, or "Propiedad en Alquiler" / "Propiedad en Venta" when empty.
QString TituloDossier(const QVariant& titulo, bool alquiler);
// The English line under it: DossierTituloIdioma1; when neither title was
// typed, "Property for Rent" / "Property for Sale" under the Spanish default;
// empty when only the Spanish one was.
QString TituloDossierIngles(const QVariant& titulo, const QVariant& tituloIngles, bool alquiler);

// The price the dossier shows: PrecioAlquiler for a rental, Precio for a sale.
QVariant PrecioDossier(const QVariant& precio, const QVariant& precioAlquiler, bool alquiler);
// "100.000 €": whole euros grouped by points, a blank before the sign.
QString PrecioEuros(const QVariant& importe);
// The euros as shown, read back, in pesetas: "16.638.600 ptas".
QString PrecioPesetas(const QString& textoEuros);

enum class Idioma { Espanol = 1, Ingles = 2 };
// The features the property has, in the dossier's order, joined by " - ";
// empty when it has none. valor reads a column of the property (null is no).
QString Caracteristicas(const std::function<QVariant(const QString&)>& valor, Idioma idioma);

} // namespace orb::reports
