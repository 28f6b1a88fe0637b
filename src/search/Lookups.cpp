#include "Lookups.h"

#include "frmConsulta.h"
#include "frmConsultaDossier.h"
#include "frmConsultaPropietario.h"
#include "platform/db/DbError.h"
#include "shell/AppContext.h"
#include "shell/ErrorReport.h"

#include <QCoreApplication>
#include <QWidget>

namespace orb {

Lookups::Lookups(AppContext& ctx, QWidget* parent) : ctx_(ctx), parent_(parent) {}

Lookups::~Lookups() {
    // A dialog may already be gone with its parent window; QPointer knows.
    delete consulta_.data();
    delete propietario_.data();
    delete dossier_.data();
}

frmConsulta* Lookups::consulta() const {
    return consulta_;
}
frmConsultaPropietario* Lookups::consultaPropietario() const {
    return propietario_;
}
frmConsultaDossier* Lookups::consultaDossier() const {
    return dossier_;
}

QVariant Lookups::Consultar(const QString& entidad) {
    const std::optional<Consulta> tipo = ConsultaPorNombre(entidad);
    return tipo ? Consultar(*tipo) : QVariant();
}

QVariant Lookups::Consultar(Consulta tipo) {
    switch (tipo) {
    case Consulta::Cliente:
        return lista(QCoreApplication::translate("Lookups", "Clientes de Ventas"),
                     QStringLiteral("select Cod,Nombre from Clientes where not Alquiler order by Cod"));
    case Consulta::ClienteAlquiler:
        return lista(QCoreApplication::translate("Lookups", "Clientes de Alquileres"),
                     QStringLiteral("select Cod,Nombre from Clientes where Alquiler order by Cod"));
    case Consulta::Localidad:
        return lista(QCoreApplication::translate("Lookups", "Localidades"),
                     QStringLiteral("select Cod,Nombre from Localidades order by Cod"));
    case Consulta::Propietario:
        return propietario(false);
    case Consulta::PropietarioAlquiler:
        return propietario(true);
    case Consulta::Dossier:
        return dossier();
    }
    return {};
}

QVariant Lookups::lista(const QString& titulo, const QString& sql) {
    if (!consulta_)
        consulta_ = new frmConsulta(parent_);
    try {
        consulta_->cargar(ctx_.db(), sql);
    } catch (const db::DbError& err) {
        if (ctx_.dialogs)
            InformarErrorBaseDatos(
                *ctx_.dialogs, parent_,
                QCoreApplication::translate("Lookups", "abrir la lista de %1").arg(titulo),
                QCoreApplication::translate("Lookups", "No se ha podido abrir la lista de %1.").arg(titulo),
                err, {}, ctx_.RutaBaseDatos);
        return {};
    }
    consulta_->setTitulo(titulo);
    consulta_->exec();
    return consulta_->aceptado() ? consulta_->codigo() : QVariant();
}

QVariant Lookups::propietario(bool modoAlquiler) {
    if (!propietario_)
        propietario_ = new frmConsultaPropietario(ctx_, parent_);
    propietario_->cargar(modoAlquiler);
    propietario_->exec();
    return propietario_->aceptado() ? propietario_->codigo() : QVariant();
}

QVariant Lookups::dossier() {
    if (!dossier_)
        dossier_ = new frmConsultaDossier(ctx_.facts.ModelosDossier, parent_);
    dossier_->exec();
    return dossier_->elegido();
}

QVariant BuscarValor(AppContext& ctx, const QString& campo, const QString& tabla, const QString& condicion,
                     const db::Params& params) {
    if (!ctx.BaseDatosAgencia)
        return {};
    try {
        return ctx.db().scalar(QStringLiteral("select ") + campo + QStringLiteral(" from ") + tabla +
                                   QStringLiteral(" where ") + condicion,
                               params);
    } catch (const std::exception&) {
        return {};
    }
}

QString NombrePorCodigo(AppContext& ctx, const QString& entidad, const db::Value& codigo) {
    const QString e = entidad.toUpper();
    QString tabla;
    if (e == u"CLIENTE" || e == u"CLIENTES")
        tabla = QStringLiteral("Clientes");
    else if (e == u"LOCALIDAD" || e == u"LOCALIDADES")
        tabla = QStringLiteral("Localidades");
    else if (e == u"PROPIETARIO" || e == u"PROPIETARIOS")
        tabla = QStringLiteral("Propietarios");
    else
        return {};
    const QVariant nombre =
        BuscarValor(ctx, QStringLiteral("Nombre"), tabla, QStringLiteral("Cod = ?"), {codigo});
    return db::isNull(nombre) ? QString() : nombre.toString();
}

} // namespace orb
