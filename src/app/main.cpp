#include "platform/mail/MailClient.h"
#include "platform/widgets/DialogService.h"
#include "records/Registro.h"
#include "reports/Email.h"
#include "reports/RegistroInformes.h"
#include "search/Consultar.h"
#include "shell/AppContext.h"
#include "shell/Icons.h"
#include "shell/Startup.h"
#include "shell/WindowRegistry.h"
#include "shell/frmMain.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Orbalia"));
    QApplication::setOrganizationDomain(QStringLiteral("orbalia.es"));
    QApplication::setApplicationName(QStringLiteral("Orbalia"));
    QApplication::setApplicationVersion(QStringLiteral(ORBALIA_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("es.orbalia.Orbalia"));
    QApplication::setWindowIcon(orb::iconos::aplicacion());

    // Spanish conventions whatever the system locale, and Qt's own texts
    // ("Sí", "No", "Aceptar", "Cancelar") in Spanish.
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
    QTranslator qtEs;
    if (qtEs.load(QLocale(QLocale::Spanish, QLocale::Spain), QStringLiteral("qtbase"), QStringLiteral("_"),
                  QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtEs);

    ui::QtDialogService dialogs;
    orb::AppContext ctx;
    ctx.dialogs = &dialogs;

    mail::XdgEmailClient correo;
    ctx.mail = &correo;

    orb::WindowRegistry registro;
    orb::RegistrarFichas(registro);
    orb::RegistrarInformes(registro);
    registro.registrarCorreo(orb::EmailPara, orb::EmailDossier);

    orb::frmMain w(ctx, registro);
    orb::Lookups lookups(ctx, &w);
    ctx.lookups = &lookups;
    orb::Arranque arranque;
    if (!arranque.ejecutar(ctx, w))
        return 1;
    w.show();
    return QApplication::exec();
}
