#pragma once

#include "platform/db/Value.h"
#include "platform/report/Document.h"
#include "platform/report/PreviewWindow.h"
#include "platform/report/Report.h"

#include <QString>

namespace orb {

struct AppContext;

namespace reports {

// The record sheets and listings. Their layouts are resources of the
// program; the dossier's are files of the installation.
enum class Informe {
    FichaPropiedad,
    FichaPropietario,
    FichaCliente,
    Propiedades,
    Clientes,
    Propietarios,
    Tipos,
    LocalidadesAreas,
    Dossier,
};

// Makes the program's layouts (resources of a static library) readable;
// every use of a resource path calls it first.
void RegistrarDisenos();

// The translation context of the sheets' and listings' own texts (labels and
// titles of resources/reports/rep*.xml, listed for lupdate in TextosInformes.cpp).
inline constexpr const char* ContextoDisenos = "Informes";

// "repFichaPropiedad", "repClientes", … "repDossier".
QString NombreInforme(Informe informe);
// Layout of a sheet or listing (a resource path).
QString RutaDiseno(Informe informe);

// The layout with what the report's own code adds (amount formatting; the
// dossier's pictures and wordings). layoutPath overrides the built-in
// layout. Throws report::ReportError naming the file.
report::Report CrearInforme(AppContext& ctx, Informe informe, const QString& layoutPath = {});

// Headless twin of a report window: the finished pages of the statement.
// Throws report::ReportError or db::DbError.
report::Document GenerarInforme(AppContext& ctx, Informe informe, const QString& sql,
                                const db::Params& params = {}, const QString& layoutPath = {});

// A report window: the preview of one report, pointed at a statement by its
// caller through `data` and generated again on every Generar.
class frmInforme : public report::PreviewWindow {
    Q_OBJECT
public:
    frmInforme(AppContext& ctx, Informe informe, QWidget* parent = nullptr);

    // The report's data control: statement and bound values.
    struct Datos {
        QString RecordSource;
        db::Params params;
    } data;
    // Dossier models: the layout file; empty for the built-in layouts.
    QString diseno;

    Informe informe() const { return informe_; }
    // Reads the layout and the rows and makes the pages. A missing or broken
    // layout, or a statement that fails, is shown in the error box naming the
    // file or the error, and the window keeps its previous pages: false.
    bool Generar();

private:
    AppContext& ctx_;
    Informe informe_;
};

// The report window of that kind, reused when the main window already holds
// one; a new one otherwise.
frmInforme* VentanaInforme(AppContext& ctx, Informe informe);

// Points the report at the statement, generates it and shows it through the
// main window with the title. False (after the error box) when nothing could
// be shown.
bool MostrarInforme(AppContext& ctx, Informe informe, const QString& sql, const db::Params& params,
                    const QString& titulo);

// The record sheets of the property, owner and client with that code, and the
// listing of a property search (its statement and bound values).
bool ImprimirFichaPropiedad(AppContext& ctx, const QString& cod);
bool ImprimirFichaPropietario(AppContext& ctx, const QString& cod);
bool ImprimirFichaCliente(AppContext& ctx, const QString& cod);
bool ImprimirListadoPropiedades(AppContext& ctx, const QString& sql, const db::Params& params);
// The listings of an owner or client search: Cod, Nombre, Telefono and Movil
// of each row; the title names the side.
bool ImprimirListadoPropietarios(AppContext& ctx, bool alquiler, const QString& sql,
                                 const db::Params& params);
bool ImprimirListadoClientes(AppContext& ctx, bool alquiler, const QString& sql, const db::Params& params);

} // namespace reports
} // namespace orb
