#pragma once

#include "platform/db/Value.h"
#include "shell/Consultas.h"

#include <QPointer>
#include <QString>
#include <QVariant>

class QWidget;

namespace orb {

struct AppContext;
class frmConsulta;
class frmConsultaPropietario;
class frmConsultaDossier;

// The lookup dialogs of one program run. Each dialog is created on first use
// and kept; the dossier chooser keeps its selection between calls.
class Lookups : public Consultas {
public:
    explicit Lookups(AppContext& ctx, QWidget* parent = nullptr);
    ~Lookups() override;
    Lookups(const Lookups&) = delete;
    Lookups& operator=(const Lookups&) = delete;

    // Opens the modal dialog of that kind (see Consultas). A list that cannot
    // be read is reported in the error box and returns null.
    QVariant Consultar(Consulta tipo) override;
    // The same by the entity's name (ConsultaPorNombre); null, and nothing
    // shown, for a name of no kind.
    QVariant Consultar(const QString& entidad);

    // The dialogs, null until first used.
    frmConsulta* consulta() const;
    frmConsultaPropietario* consultaPropietario() const;
    frmConsultaDossier* consultaDossier() const;

private:
    QVariant lista(const QString& titulo, const QString& sql);
    QVariant propietario(bool modoAlquiler);
    QVariant dossier();

    AppContext& ctx_;
    QPointer<QWidget> parent_;
    QPointer<frmConsulta> consulta_;
    QPointer<frmConsultaPropietario> propietario_;
    QPointer<frmConsultaDossier> dossier_;
};

// Field campo of the first row of "select campo from tabla where condicion"
// on the agency database; condicion takes its values as '?' parameters
// ("Cod = ?"). Null when there is no row or on any error.
QVariant BuscarValor(AppContext& ctx, const QString& campo, const QString& tabla, const QString& condicion,
                     const db::Params& params = {});

// Nombre of the client (CLIENTE/CLIENTES), locality (LOCALIDAD/LOCALIDADES) or
// owner (PROPIETARIO/PROPIETARIOS) with that code; "" when unknown. The code
// is bound as it comes, so a client code such as "0100042" keeps its zeros.
QString NombrePorCodigo(AppContext& ctx, const QString& entidad, const db::Value& codigo);

} // namespace orb
