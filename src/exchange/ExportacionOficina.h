#pragma once

#include "Intercambio.h"

#include <QObject>
#include <QSize>

namespace orb {

struct AppContext;

// The office export without a window: this office's share of the agency
// database into Exchange/<office>/Export.db, its photographs as 800 × 600
// pictures beside it, then the upload through the installation's script.
// The window and orbalia-exchange only show what it reports.
class ExportacionOficina {
public:
    static constexpr QSize TamanoFoto{800, 600};

    ExportacionOficina(AppContext& ctx, InformeIntercambio informe);

    // Office exchange folder, created when missing (ends in "/").
    QString carpeta() const { return carpeta_; }
    const CuentaIntercambio& cuenta() const { return cuenta_; }

    // Export then, when it succeeded, upload. False when either failed.
    bool ejecutar(proc::ProcessRunner& runner);

    // True when Export.db and the pictures were written; an error stops the
    // run with its description in the log.
    bool Exportar();
    // Runs the exchange script; false when it did not end with code 0.
    bool Subir(proc::ProcessRunner& runner);

private:
    void log(const QString& linea) const;
    qint64 exportarTabla(const QString& tabla, const QString& mensaje, const QString& cola, bool deOficina);
    void exportarZonas();
    void procesarFotos(int& enviadas);

    AppContext& ctx_;
    InformeIntercambio informe_;
    CuentaIntercambio cuenta_;
    QString carpeta_;
    Progreso progreso_;
};

} // namespace orb
