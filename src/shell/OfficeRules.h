#pragma once

#include <QString>

namespace orb {

struct AppContext;

// Catalogues change only at the principal office. Shows the refusal and returns true (cancel).
bool SoloOficinaPrincipal(const AppContext& ctx);
// Records change only at the office that created them (exact comparison). Shows the refusal and returns true.
bool NoPerteneceOficina(const AppContext& ctx, const QString& oficina);

} // namespace orb
