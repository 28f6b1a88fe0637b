#include "VentanasIntercambio.h"

#include "ExportacionOficina.h"
#include "ImportacionOficina.h"
#include "shell/WindowRegistry.h"

namespace orb {

frmExportacionOficina::frmExportacionOficina(AppContext& ctx, QWidget* parent)
    : frmIntercambio(ctx, tr("Exportación Oficina"), tr("&Exportar"), parent) {
    setObjectName(QStringLiteral("frmExportacionOficina"));
}

bool frmExportacionOficina::correr(proc::ProcessRunner& runner, const InformeIntercambio& informe) {
    ExportacionOficina exportacion(ctx_, informe);
    return exportacion.ejecutar(runner);
}

frmImportacionOficina::frmImportacionOficina(AppContext& ctx, QWidget* parent)
    : frmIntercambio(ctx, tr("Importación Oficina"), tr("&Importar"), parent) {
    setObjectName(QStringLiteral("frmImportacionOficina"));
}

bool frmImportacionOficina::correr(proc::ProcessRunner& runner, const InformeIntercambio& informe) {
    ImportacionOficina importacion(ctx_, informe);
    return importacion.ejecutar(runner);
}

void RegistrarIntercambio(WindowRegistry& registro) {
    registro.registrar(Ventana::ExportacionOficina, [](AppContext& ctx, bool, QWidget* parent) -> QWidget* {
        return new frmExportacionOficina(ctx, parent);
    });
    registro.registrar(Ventana::ImportacionOficina, [](AppContext& ctx, bool, QWidget* parent) -> QWidget* {
        return new frmImportacionOficina(ctx, parent);
    });
}

} // namespace orb
