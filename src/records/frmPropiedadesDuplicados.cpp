// The property window's warnings about records that may exist already: a
// new owner like one stored, a property at the address of an available one.

#include "frmPropiedades.h"

#include "Duplicados.h"
#include "frmPropietarioNuevo.h"
#include "platform/db/Recordset.h"
#include "shell/AppContext.h"
#include "shell/ErrorReport.h"
#include "shell/Numeros.h"

#include <QTimer>
#include <algorithm>

namespace orb {

using namespace prop;

namespace {

// What places a property: a change to any of them asks again.
constexpr int kCamposDireccion[] = {Direccion, Planta, Puerta, CodLocalidad};

} // namespace

dlgDuplicados::Respuesta frmPropiedades::duplicadosPropietario(const frmPropietarioNuevo& dlg,
                                                               QString& existente) {
    existente.clear();
    PersonaComparada p;
    p.tabla = QStringLiteral("Propietarios");
    p.alquiler = modoAlquiler_;
    p.nombre = dlg.Nombre;
    p.telefonos = {dlg.Telefono, dlg.Movil, dlg.Fax};
    p.email = dlg.Email;
    p.documentos = {dlg.Dni, dlg.Nie, dlg.Pasaporte};
    QList<Candidato> candidatos;
    try {
        candidatos = BuscarPersonasDuplicadas(ctx.db(), p);
    } catch (const db::DbError& e) {
        RegistrarError(tr("buscar duplicados"), e);
        return dlgDuplicados::Respuesta::Guardar;
    }
    if (candidatos.isEmpty())
        return dlgDuplicados::Respuesta::Guardar;
    QString elegido;
    const auto r = dlgDuplicados::PreguntarPersonas(this, candidatos, tr("&Usar el elegido"), elegido);
    if (r == dlgDuplicados::Respuesta::Abrir)
        existente = elegido;
    return r;
}

bool frmPropiedades::sinDuplicados() {
    const bool cambiada = std::any_of(std::begin(kCamposDireccion), std::end(kCamposDireccion),
                                      [this](int i) { return txt.value(i)->DataChanged; });
    if (!data->EstadoAñadiendo() && !cambiada)
        return true;
    QString cod;
    if (!data->EstadoAñadiendo() && data->Recordset())
        cod = data->Recordset()->value(QStringLiteral("Cod")).toString();
    QList<Candidato> candidatos;
    try {
        candidatos = BuscarPropiedadesDuplicadas(
            data->BaseDatos(), modoAlquiler_, cod, qint64(ValorNumerico(txt.value(CodLocalidad)->Text())),
            txt.value(Direccion)->Text(), txt.value(Planta)->Text(), txt.value(Puerta)->Text());
    } catch (const db::DbError& e) {
        RegistrarError(tr("buscar duplicados"), e);
        return true;
    }
    if (candidatos.isEmpty())
        return true;
    QString elegido;
    switch (dlgDuplicados::PreguntarPropiedades(this, candidatos, elegido)) {
    case dlgDuplicados::Respuesta::Guardar:
        return true;
    case dlgDuplicados::Respuesta::Abrir:
        QTimer::singleShot(0, this, [this, elegido] {
            if (ctx.navigator)
                ctx.navigator->usrIrPropiedad(modoAlquiler_, elegido);
        });
        return false;
    case dlgDuplicados::Respuesta::Cancelar:
        break;
    }
    return false;
}

} // namespace orb
