#include "exchange/VentanasIntercambio.h"
#include "mainwindow/Arranque.h"
#include "mainwindow/Icons.h"
#include "mainwindow/RegistroPrincipal.h"
#include "mainwindow/frmMain.h"
#include "platform/mail/MailClient.h"
#include "platform/widgets/DialogService.h"
#include "portales/frmExportacionPortales.h"
#include "records/Registro.h"
#include "records/frmAgenda.h"
#include "reports/Email.h"
#include "reports/RegistroInformes.h"
#include "search/AvisoCoincidencias.h"
#include "search/Lookups.h"
#include "search/RegistroBusquedas.h"
#include "shell/AppContext.h"
#include "shell/ErrorReport.h"
#include "shell/Idioma.h"
#include "shell/Installation.h"
#include "shell/Log.h"
#include "shell/WindowRegistry.h"
#include "webexport/frmExportacionWeb.h"

#include <QApplication>

namespace {

// Last resort: an exception that escapes an event handler is logged and told
// in one error box, and the program goes on, instead of ending it.
class Aplicacion : public QApplication {
public:
    using QApplication::QApplication;
    ui::DialogService* dialogs = nullptr;

    bool notify(QObject* receiver, QEvent* event) override {
        try {
            return QApplication::notify(receiver, event);
        } catch (...) {
            orb::InformarErrorInesperado(dialogs, std::current_exception());
            return false;
        }
    }
};

} // namespace

int main(int argc, char* argv[]) {
    Aplicacion app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Orbalia"));
    QApplication::setOrganizationDomain(QStringLiteral("orbalia.es"));
    QApplication::setApplicationName(QStringLiteral("Orbalia"));
    QApplication::setApplicationVersion(QStringLiteral(ORBALIA_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("es.orbalia.Orbalia"));
    // The seat's language (its settings need the names above), before any window or message.
    orb::InstalarIdioma(app, orb::IdiomaPuesto());
    QApplication::setWindowIcon(orb::iconos::aplicacion());

    ui::QtDialogService dialogs;
    app.dialogs = &dialogs;
    orb::IniciarLog(orb::CarpetaInstalacion());
    orb::AppContext ctx;
    ctx.dialogs = &dialogs;

    mail::XdgEmailClient correo;
    ctx.mail = &correo;

    orb::WindowRegistry registro;
    orb::RegistrarVentanasPrincipales(registro);
    orb::RegistrarFichas(registro);
    orb::RegistrarBusquedas(registro);
    orb::RegistrarIntercambio(registro);
    orb::RegistrarExportacionWeb(registro);
    orb::RegistrarExportacionPortales(registro);
    orb::RegistrarInformes(registro);
    registro.registrarCorreo(orb::EmailPara, orb::EmailDossier);

    orb::frmMain w(ctx, registro);
    orb::Lookups lookups(ctx, &w);
    ctx.lookups = &lookups;
    orb::Arranque arranque;
    if (!arranque.ejecutar(ctx, w))
        return 1;
    w.show();
    orb::AvisoCoincidencias aviso(ctx, w);
    orb::InstalarMenuVisitas(ctx, w);
    try {
        return QApplication::exec();
    } catch (...) {
        // Thrown outside any event (there is no handler left to report to the user).
        orb::InformarErrorInesperado(nullptr, std::current_exception());
        return 1;
    }
}
