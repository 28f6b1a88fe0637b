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

    // Export then, when it succeeded, upload. False when either failed. The
    // log ends with one line telling what was exported and whether it went up.
    bool ejecutar(proc::ProcessRunner& runner);

    // True when Export.db and the pictures were written; an error stops the
    // run with its cause in the log. Nothing is emptied unless this office's
    // code is usable and its folder lies inside Exchange/.
    bool Exportar();
    // Runs the exchange script; false when it did not end with code 0.
    bool Subir(proc::ProcessRunner& runner);

private:
    void log(const QString& linea) const;
    // Why this office cannot export (its code, its folder); empty when it can.
    QString motivoRechazo() const;
    qint64 exportarTabla(const QString& tabla, const QString& mensaje, const QString& exportadas,
                         bool deOficina);
    void exportarAgentes();
    void exportarZonas();
    void exportarVisitas();
    void escribirSello();
    void procesarFotos();
    QString resumen(bool subida) const;

    AppContext& ctx_;
    InformeIntercambio informe_;
    CuentaIntercambio cuenta_;
    QString carpeta_;
    Progreso progreso_;
    QHash<QString, qint64> filas_; // rows exported per table
    int fotosHechas_ = 0;
    // The exchange file's own connection while a seat on a server exports;
    // null when the file is attached to the agency's.
    db::Database* fichero_ = nullptr;
};

} // namespace orb
