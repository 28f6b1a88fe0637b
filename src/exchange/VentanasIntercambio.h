#pragma once

#include "frmIntercambio.h"

namespace orb {

// Herramientas > "Exportación Oficina": exports this office's data and uploads it.
class frmExportacionOficina : public frmIntercambio {
    Q_OBJECT
public:
    explicit frmExportacionOficina(AppContext& ctx, QWidget* parent = nullptr);

protected:
    bool correr(proc::ProcessRunner& runner, const InformeIntercambio& informe) override;
};

// Herramientas > "Importación Oficina": downloads and imports the other offices' data.
class frmImportacionOficina : public frmIntercambio {
    Q_OBJECT
public:
    explicit frmImportacionOficina(AppContext& ctx, QWidget* parent = nullptr);

protected:
    bool correr(proc::ProcessRunner& runner, const InformeIntercambio& informe) override;
};

class WindowRegistry;
// Plugs both windows into the main window's tools menu.
void RegistrarIntercambio(WindowRegistry& registro);

} // namespace orb
