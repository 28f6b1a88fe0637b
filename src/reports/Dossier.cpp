#include "Dossier.h"

#include "Informes.h"
#include "platform/db/DbError.h"
#include "platform/report/ReportError.h"
#include "platform/widgets/DialogService.h"
#include "shell/AppContext.h"
#include "shell/Consultas.h"
#include "shell/ErrorReport.h"
#include "shell/Mensajes.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QGuiApplication>
#include <QUrl>

namespace orb::reports {

namespace {

// Every column of the property and the catalogue names, in both languages.
const char* const SqlDossier =
    "select Propiedades.*, Tipos.Nombre as Tipo, Tipos.NombreIdioma1 as TipoIdioma1, "
    "Localidades.Nombre as Localidad, Areas.Nombre as Area "
    "from Propiedades "
    "left join Tipos on Propiedades.CodTipo = Tipos.Cod "
    "left join Localidades on Propiedades.CodLocalidad = Localidades.Cod "
    "left join Areas on Propiedades.CodArea = Areas.Cod "
    "where Propiedades.Cod = ?";

QWidget* principal(AppContext& ctx) {
    return ctx.navigator ? ctx.navigator->ventanaPrincipal() : nullptr;
}

struct RelojDeArena {
    RelojDeArena() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~RelojDeArena() { QGuiApplication::restoreOverrideCursor(); }
};

} // namespace

QString RutaModeloDossier(const AppContext& ctx, int modelo) {
    return ctx.RutaAplicacion + QStringLiteral("Dossier") +
           (modelo > 0 ? QString::number(modelo) : QString()) + QStringLiteral(".rpx");
}

int ElegirModeloDossier(AppContext& ctx, bool* cancelado) {
    if (cancelado)
        *cancelado = false;
    if (ctx.facts.ModelosDossier <= 1 || !ctx.lookups)
        return 0;
    const int modelo = ctx.lookups->Consultar(Consulta::Dossier).toInt();
    if (modelo <= 0 && cancelado)
        *cancelado = true;
    return qMax(0, modelo);
}

QString RutaDossierPDF(const AppContext& ctx, const QString& cod) {
    QString carpeta = ctx.RutaAplicacion;
    while (carpeta.endsWith(u'/') && carpeta.size() > 1)
        carpeta.chop(1);
    return carpeta + QStringLiteral("/DossierPropiedad_") + cod + QStringLiteral(".pdf");
}

report::Document GenerarDossier(AppContext& ctx, const QString& cod, int modelo) {
    return GenerarInforme(ctx, Informe::Dossier, QLatin1String(SqlDossier), {cod},
                          RutaModeloDossier(ctx, modelo));
}

bool VerDossier(AppContext& ctx, const QString& cod) {
    const int modelo = ElegirModeloDossier(ctx);
    // A new window every time: the next dossier starts afresh.
    auto* w = new frmInforme(ctx, Informe::Dossier, principal(ctx));
    w->diseno = RutaModeloDossier(ctx, modelo);
    w->data = {QLatin1String(SqlDossier), {cod}};
    if (!w->Generar()) {
        delete w;
        return false;
    }
    if (ctx.navigator)
        ctx.navigator->usrShowReport2(w, QStringLiteral("Dossier"));
    else {
        w->setWindowTitle(QStringLiteral("Dossier"));
        w->show();
    }
    return true;
}

QString DossierPDF(AppContext& ctx, const QString& cod) {
    bool cancelado = false;
    const int modelo = ElegirModeloDossier(ctx, &cancelado);
    if (cancelado)
        return {};
    RelojDeArena reloj;
    const QString fichero = RutaDossierPDF(ctx, cod);
    try {
        GenerarDossier(ctx, cod, modelo).writePdf(fichero);
        return fichero;
    } catch (const report::ReportError& e) {
        MensajeError(*ctx.dialogs, e.message(), principal(ctx));
    } catch (const db::DbError& e) {
        InformarErrorBaseDatos(
            *ctx.dialogs, principal(ctx),
            QCoreApplication::translate("Dossier", "leer los datos del dossier"),
            QCoreApplication::translate("Dossier", "No se pueden leer los datos del dossier: error %1 (%2).")
                .arg(QString::number(e.number()), DescripcionError(e)),
            e, {}, ctx.RutaBaseDatos);
    }
    return {};
}

namespace {
AbridorFicheros& abridor() {
    static AbridorFicheros a = [](const QString& fichero) {
        return QDesktopServices::openUrl(QUrl::fromLocalFile(fichero));
    };
    return a;
}
} // namespace

void PonerAbridorFicheros(AbridorFicheros a) {
    abridor() = std::move(a);
}

void GuardarDossierPDF(AppContext& ctx, const QString& cod) {
    const QString fichero = DossierPDF(ctx, cod);
    if (fichero.isEmpty())
        return;
    const QString nombre = QDir::toNativeSeparators(fichero);
    ui::DialogService::Box box;
    box.title = QCoreApplication::translate("Dossier", "Dossier en PDF");
    box.text = QCoreApplication::translate("Dossier", "Dossier guardado en %1.\n\n¿Quiere abrirlo ahora?")
                   .arg(nombre);
    box.buttons = ui::DialogService::Buttons::YesNo;
    box.icon = ui::DialogService::Icon::Question;
    box.defaultButton = ui::DialogService::Answer::Yes;
    if (ctx.dialogs->message(principal(ctx), box) != ui::DialogService::Answer::Yes)
        return;
    if (!abridor() || !abridor()(fichero))
        MensajeError(*ctx.dialogs,
                     QCoreApplication::translate(
                         "Dossier", "No se ha podido abrir %1: no hay ningún programa para ver archivos PDF.")
                         .arg(nombre),
                     principal(ctx));
}

void EnviarDossier(AppContext& ctx, const QString& cod) {
    const QString fichero = DossierPDF(ctx, cod);
    if (fichero.isEmpty() || !ctx.navigator)
        return;
    // The mail goes to a client with the bilingual dossier: its words stay as they are.
    ctx.navigator->usrEmailDossier(QStringLiteral("Dossier propiedad ") + cod,
                                   QStringLiteral("Adjunto dossier de la propiedad ") + cod,
                                   QDir::toNativeSeparators(fichero));
}

} // namespace orb::reports
