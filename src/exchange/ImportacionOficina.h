#pragma once

#include "Intercambio.h"

#include <functional>
#include <memory>

namespace orb {

struct AppContext;

// The office import without a window: for every other office of the network,
// download its exchange folder through the installation's script and replace
// that office's rows (and, from the principal, the catalogues) with its export.
// Each office is one transaction on the agency database: a file that cannot
// be read, or any failure half-way, leaves the office's rows as they were.
// A file is taken only when its own record (table Intercambio) says it was
// exported by that office, no earlier than the last file imported from it,
// and holds the rows it says; from the principal it must bring types and
// localities.
// The agency connection's page cache while an office is imported, in KiB:
// rewriting a large office touches every page of Propiedades and its indexes,
// and a small cache spills them into the WAL before the commit.
inline constexpr int CacheImportacionKiB = 64 * 1024;

class ImportacionOficina {
public:
    ImportacionOficina(AppContext& ctx, InformeIntercambio informe);

    const CuentaIntercambio& cuenta() const { return cuenta_; }

    // Downloads and imports every other office. False when a download or an
    // import failed, or a code of the network cannot be used (the others are
    // still done).
    bool ejecutar(proc::ProcessRunner& runner);

    // The local copy of one office's exchange folder (ends in "/").
    QString carpetaOficina(const QString& oficina) const;

    bool Bajar(proc::ProcessRunner& runner, const QString& oficina);
    // Imports Exchange/<oficina>/Export.db; principal is the network's first code.
    bool Importar(const QString& oficina, const QString& principal);

    // Called after every office table has been written and before the office
    // is committed; a throw there stands for a failure half-way (tests).
    std::function<void(const QString& tabla)> trasTabla;

private:
    void log(const QString& linea) const;
    // Why office's folder must not be written (its code, where it lies); empty when it may.
    QString motivoCarpeta(const QString& oficina) const;
    // Why the file is not an exchange database this import can take from
    // oficina; empty when it is, with its record in sello.
    QString comprobarFichero(const QString& fichero, const QString& oficina, bool principal,
                             SelloIntercambio& sello);
    QString comprobarSello(db::Database& exch, const QString& oficina, bool principal,
                           SelloIntercambio& sello);
    void importarTabla(const QString& tabla, const QString& oficina, bool deOficina);
    // Removes the rows just stored whose numbers are texts; returns how many.
    // Only rows after rowid despuesDe are looked at when it is not negative.
    qint64 quitarTiposIncorrectos(const QString& tabla, const QString& codigo, const QString& filtro,
                                  db::Params params, qint64 despuesDe = -1);
    void importarZonas(const QString& oficina);
    void importarVisitas(const QString& oficina);
    qint64 importarVisitasFichero(const QString& oficina, const QString& lista);
    // On a server: the rows of the file's table selected by donde, checked as
    // the file checks them and stored in bulk; those that pass condicion (on
    // the server, with its params) are kept. Returns the rows stored.
    qint64 importarEnServidor(const QString& tabla, const QString& codigo, const QString& donde,
                              const db::Params& params, const QString& condicion = {},
                              const db::Params& paramsCondicion = {});
    void copiarFotos(const QString& oficina);

    AppContext& ctx_;
    InformeIntercambio informe_;
    CuentaIntercambio cuenta_;
    Progreso progreso_;
    QHash<QString, QStringList> columnas_; // per table, computed once per office file
    // The office file's own connection while a seat on a server imports it;
    // empty when the file is attached to the agency's.
    std::unique_ptr<db::Database> fichero_;
};

} // namespace orb
