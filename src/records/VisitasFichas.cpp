#include "VisitasFichas.h"

#include "platform/report/PreviewWindow.h"
#include "platform/report/ReportError.h"
#include "reports/VisitasInformes.h"
#include "search/Coincidencias.h"
#include "shell/AppContext.h"
#include "shell/ErrorReport.h"
#include "shell/Mensajes.h"

#include <QCoreApplication>
#include <QToolButton>

namespace orb {

void ConectarBotonesVisitas(AppContext& ctx, QToolButton* visitas, QToolButton* nueva,
                            std::function<FiltroVisitas()> filtro) {
    QObject::connect(visitas, &QToolButton::clicked, visitas, [&ctx, filtro] {
        const FiltroVisitas f = filtro();
        if (!f.codPropiedad.isEmpty() || !f.codCliente.isEmpty())
            AbrirVisitas(ctx, f);
    });
    QObject::connect(nueva, &QToolButton::clicked, nueva, [&ctx, filtro] {
        const FiltroVisitas f = filtro();
        if (!f.codPropiedad.isEmpty() || !f.codCliente.isEmpty())
            AbrirVisitas(ctx, f)->nuevaVisita();
    });
}

bool InformePropietario(AppContext& ctx, QWidget* ventana, const QString& cod, const QDate& desde,
                        const QDate& hasta) {
    try {
        const int coincidencias = int(coincidencias::ClientesParaPropiedad(ctx.db(), cod).size());
        const visitas::ResumenPropietario resumen =
            visitas::LeerResumenPropietario(ctx.db(), cod, desde, hasta, coincidencias);
        auto* w = new report::PreviewWindow(*ctx.dialogs,
                                            ctx.navigator ? ctx.navigator->ventanaPrincipal() : nullptr);
        w->setAttribute(Qt::WA_DeleteOnClose);
        w->setObjectName(QStringLiteral("repInformePropietario"));
        w->setDocument(visitas::GenerarInformePropietario(ctx, resumen));
        if (ctx.navigator)
            ctx.navigator->usrShowReport(
                w, QCoreApplication::translate("VisitasFichas", "Informe al propietario"));
        else
            w->show();
        const QString destino =
            resumen.emailPropietario.isEmpty()
                ? resumen.propietario
                : QStringLiteral("%1 (%2)").arg(resumen.propietario, resumen.emailPropietario);
        const auto respuesta = ctx.dialogs->message(
            ventana, {QCoreApplication::translate(
                          "VisitasFichas", "¿Enviar el informe de la propiedad %1 a su propietario %2?")
                          .arg(cod, destino),
                      QCoreApplication::translate("VisitasFichas", "Informe al propietario"),
                      ui::DialogService::Buttons::YesNo, ui::DialogService::Icon::Question,
                      ui::DialogService::Answer::No});
        if (respuesta != ui::DialogService::Answer::Yes)
            return false;
        return visitas::EnviarInformePropietario(ctx, ventana, resumen);
    } catch (const report::ReportError& e) {
        MensajeError(*ctx.dialogs, e.message(), ventana);
    } catch (const db::DbError& e) {
        InformarErrorBaseDatos(
            *ctx.dialogs, ventana,
            QCoreApplication::translate("VisitasFichas", "preparar el informe al propietario"),
            QCoreApplication::translate("VisitasFichas", "No se puede preparar el informe al propietario."),
            e, {}, ctx.RutaBaseDatos);
    }
    return false;
}

void ConectarInformePropietario(AppContext& ctx, QWidget* ventana, QToolButton* boton,
                                std::function<QString()> codPropiedad) {
    QObject::connect(boton, &QToolButton::clicked, ventana, [&ctx, ventana, codPropiedad] {
        const QString cod = codPropiedad();
        if (cod.isEmpty())
            return;
        const QDate hoy = QDate::currentDate();
        InformePropietario(ctx, ventana, cod, visitas::DesdePorDefecto(hoy), hoy);
    });
}

} // namespace orb
