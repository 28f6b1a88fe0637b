#pragma once

#include <QCoreApplication>

namespace orb {

struct AppContext;

// The refusals, in these words wherever they are told (the server's own rules
// too, which always raise the Spanish: shown, they go through translate()).
inline constexpr const char* MensajeSoloOficinaPrincipal =
    QT_TRANSLATE_NOOP("OfficeRules", "Esta información sólo puede manipularse en la oficina principal");
inline constexpr const char* MensajeOtraOficina = QT_TRANSLATE_NOOP(
    "OfficeRules", "No puede manipularse esta información porque no pertenece a esta oficina");

// Catalogues change only at the principal office. Shows the refusal and returns true (cancel).
bool SoloOficinaPrincipal(const AppContext& ctx);
// Records change only at the office that created them (exact comparison). Shows the refusal and returns true.
bool NoPerteneceOficina(const AppContext& ctx, const QString& oficina);

} // namespace orb
