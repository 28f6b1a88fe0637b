#pragma once

#include "frmVisitas.h"

#include <functional>

class QToolButton;
class QWidget;

namespace orb {

struct AppContext;

// The visits from the property and client windows: "Visitas" opens the
// record's visits, "Nueva visita" starts one with the record's code filled.
// filtro gives the shown record's codes; nothing happens while none is shown.
void ConectarBotonesVisitas(AppContext& ctx, QToolButton* visitas, QToolButton* nueva,
                            std::function<FiltroVisitas()> filtro);

// "Informe al propietario": the property's report of the last 30 days in a
// preview, then, when the user agrees, sent to the owner.
void ConectarInformePropietario(AppContext& ctx, QWidget* ventana, QToolButton* boton,
                                std::function<QString()> codPropiedad);
// The same for any period; true when the report was sent.
bool InformePropietario(AppContext& ctx, QWidget* ventana, const QString& codPropiedad, const QDate& desde,
                        const QDate& hasta);

} // namespace orb
