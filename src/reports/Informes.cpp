#include "Informes.h"

#include "DossierModelos.h"
#include "DossierTextos.h"
#include "platform/db/DbError.h"
#include "platform/report/ReportError.h"
#include "shell/AppContext.h"
#include "shell/ErrorReport.h"
#include "shell/Idioma.h"
#include "shell/Mensajes.h"
#include "shell/Numeros.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QHash>

// Q_INIT_RESOURCE must be used outside any namespace.
static void registrarRecursos() {
    static const bool hecho = [] {
        Q_INIT_RESOURCE(resources);
        return true;
    }();
    Q_UNUSED(hecho);
}

namespace orb::reports {

void RegistrarDisenos() {
    registrarRecursos();
}

namespace {

const char* const Nombres[] = {"repFichaPropiedad", "repFichaPropietario", "repFichaCliente",
                               "repPropiedades",    "repClientes",         "repPropietarios",
                               "repTipos",          "repLocalidadesAreas", "repDossier"};

// Fields of the sheets whose amounts the report's code writes, with the text
// after the amount: the property sheet puts a blank before the euro sign, the
// client sheet does not.
struct Importe {
    const char* campo;
    const char* sufijo;
};
const Importe ImportesPropiedad[] = {{"txtPrecio", " €"},
                                     {"txtComunidad", " €"},
                                     {"txtHipoteca", " €"},
                                     {"txtValorEscriturado", " €"},
                                     {"txtPrecioPropietario", " €"}};
const Importe ImportesCliente[] = {{"txtPresupuesto", "€"}};

template <std::size_t N> void formatearImportes(report::Report& r, const Importe (&importes)[N]) {
    struct Campo {
        QString nombre;
        QString columna;
        QString sufijo;
    };
    QList<Campo> campos;
    for (const Importe& i : importes) {
        const QString nombre = QLatin1String(i.campo);
        if (const report::Element* e = r.layout().find(nombre))
            campos << Campo{nombre, e->column, QString::fromUtf8(i.sufijo)};
    }
    r.setBandHook(report::BandKind::Detail, [campos](report::BandContext& c) {
        for (const Campo& f : campos)
            c.setText(f.nombre, FormatoImporte(c.value(f.columna)) + f.sufijo);
    });
}

void ponerFoto(report::BandContext& c, const QString& elemento, const QString& carpeta,
               const QVariant& foto) {
    const QString nombre = foto.toString().trimmed();
    if (nombre.isEmpty())
        return;
    const QString ruta = QFileInfo(nombre).isAbsolute() ? nombre : carpeta + nombre;
    // A photograph that is gone leaves the layout's own picture.
    if (QFileInfo(ruta).isFile())
        c.setImage(elemento, ruta);
}

void prepararDossier(AppContext& ctx, report::Report& r) {
    const QString logo = ctx.RutaAplicacion + QStringLiteral("DossierLogo.jpg");
    const QString fotos = ctx.RutaFotos;
    const QString pie = ctx.facts.PieDossier;
    auto titulo = [](report::BandContext& c) {
        const QVariant espanol = c.value(QStringLiteral("DossierTitulo"));
        const bool alquiler = c.value(QStringLiteral("Alquiler")).toBool();
        c.setText(QStringLiteral("lblTitulo"), TituloDossier(espanol, alquiler));
        c.setText(QStringLiteral("lblTituloIdioma1"),
                  TituloDossierIngles(espanol, c.value(QStringLiteral("DossierTituloIdioma1")), alquiler));
    };
    r.setBandHook(report::BandKind::PageHeader, [logo, titulo](report::BandContext& c) {
        if (QFileInfo(logo).isFile())
            c.setImage(QStringLiteral("imgLogo"), logo);
        titulo(c);
    });
    r.setBandHook(report::BandKind::Detail, [fotos, titulo](report::BandContext& c) {
        titulo(c);
        for (int i = 1; i <= 3; ++i)
            ponerFoto(c, QStringLiteral("imgFoto%1").arg(i), fotos, c.value(QStringLiteral("Foto%1").arg(i)));
        const bool alquiler = c.value(QStringLiteral("Alquiler")).toBool();
        const QString euros = PrecioEuros(PrecioDossier(c.value(QStringLiteral("Precio")),
                                                        c.value(QStringLiteral("PrecioAlquiler")), alquiler));
        c.setText(QStringLiteral("txtPrecio"), euros);
        c.setText(QStringLiteral("txtPrecioPesetas"), PrecioPesetas(euros));
        c.setText(QStringLiteral("txtPiscina"), TextoPiscina(c.value(QStringLiteral("Piscina"))));
        c.setText(QStringLiteral("txtJardin"), TextoJardin(c.value(QStringLiteral("Jardin"))));
        c.setText(QStringLiteral("txtGaraje"), TextoGaraje(c.value(QStringLiteral("Garaje"))));
        auto valor = [&c](const QString& columna) { return c.value(columna); };
        c.setText(QStringLiteral("lblCaracteristicas"), Caracteristicas(valor, Idioma::Espanol));
        c.setText(QStringLiteral("lblCaracteristicasIdioma1"), Caracteristicas(valor, Idioma::Ingles));
    });
    r.setBandHook(report::BandKind::PageFooter,
                  [pie](report::BandContext& c) { c.setText(QStringLiteral("lblPie"), pie); });
}

} // namespace

QString NombreInforme(Informe informe) {
    return QLatin1String(Nombres[int(informe)]);
}

QString RutaDiseno(Informe informe) {
    RegistrarDisenos();
    return QStringLiteral(":/reports/%1.xml").arg(NombreInforme(informe));
}

report::Report CrearInforme(AppContext& ctx, Informe informe, const QString& layoutPath) {
    // Dossier models are files of the installation, brought up to date when
    // an earlier version installed them. Sheets and listings are printed in
    // the seat's language; the dossier is bilingual as it is.
    const QString ruta = layoutPath.isEmpty() ? RutaDiseno(informe) : layoutPath;
    report::Report r = informe != Informe::Dossier ? report::Report::load(ruta, ContextoDisenos)
                       : layoutPath.isEmpty()      ? report::Report::load(ruta)
                                                   : report::Report(CargarModeloDossier(layoutPath));
    r.setImageFolder(ctx.RutaFotos);
    r.setParameter(QStringLiteral("NombreAgencia"), ctx.facts.NombreAgencia);
    r.setParameter(QStringLiteral("PieDossier"), ctx.facts.PieDossier);
    // Amounts in listings as in the sheets: whole euros grouped by points.
    r.setFormatter(QStringLiteral("importe"),
                   [](const QVariant& v) { return FormatoImporte(v) + QStringLiteral(" €"); });
    switch (informe) {
    case Informe::FichaPropiedad:
        formatearImportes(r, ImportesPropiedad);
        break;
    case Informe::FichaCliente:
        formatearImportes(r, ImportesCliente);
        break;
    case Informe::Propiedades: {
        // An English seat shows a type's English name where it has one.
        QHash<QString, QString> tipos;
        if (InterfazEnIngles())
            for (const db::Row& t : ctx.db().query(
                     QStringLiteral("SELECT t.Cod, %1 FROM Tipos t").arg(NombreTipo(QStringLiteral("t")))))
                tipos.insert(t.value(0).toString(), t.value(1).toString());
        // A rentals search hands over PrecioAlquiler and no Precio: the
        // listing's price column shows whichever the statement has.
        r.setBandHook(report::BandKind::Detail, [tipos](report::BandContext& c) {
            QVariant v = c.value(QStringLiteral("Precio"));
            if (v.isNull())
                v = c.value(QStringLiteral("PrecioAlquiler"));
            c.setText(QStringLiteral("txtPrecio"), FormatoImporte(v) + QStringLiteral(" €"));
            if (const auto t = tipos.constFind(c.value(QStringLiteral("CodTipo")).toString());
                t != tipos.cend())
                c.setText(QStringLiteral("txtTipo"), *t);
        });
        break;
    }
    case Informe::Dossier:
        prepararDossier(ctx, r);
        break;
    default:
        break;
    }
    return r;
}

report::Document GenerarInforme(AppContext& ctx, Informe informe, const QString& sql,
                                const db::Params& params, const QString& layoutPath) {
    const report::Report r = CrearInforme(ctx, informe, layoutPath);
    report::QueryDataSource source(ctx.db(), sql, params);
    return r.generate(&source);
}

frmInforme::frmInforme(AppContext& ctx, Informe informe, QWidget* parent)
    : report::PreviewWindow(*ctx.dialogs, parent), ctx_(ctx), informe_(informe) {
    setObjectName(NombreInforme(informe));
    setAttribute(Qt::WA_DeleteOnClose);
    resize(900, 700);
}

bool frmInforme::Generar() {
    try {
        const report::Report r = CrearInforme(ctx_, informe_, diseno);
        report::QueryDataSource source(ctx_.db(), data.RecordSource, data.params);
        generate(r, &source);
        return true;
    } catch (const report::ReportError& e) {
        MensajeError(*ctx_.dialogs, e.message(), this);
    } catch (const db::DbError& e) {
        InformarErrorBaseDatos(
            *ctx_.dialogs, this, QCoreApplication::translate("Informes", "leer los datos del informe"),
            QCoreApplication::translate("Informes", "No se pueden leer los datos del informe: error %1 (%2).")
                .arg(e.number())
                .arg(DescripcionError(e)),
            e, {}, ctx_.RutaBaseDatos);
    }
    return false;
}

frmInforme* VentanaInforme(AppContext& ctx, Informe informe) {
    QWidget* principal = ctx.navigator ? ctx.navigator->ventanaPrincipal() : nullptr;
    if (principal && informe != Informe::Dossier) {
        if (auto* w = principal->findChild<frmInforme*>(NombreInforme(informe)))
            return w;
    }
    return new frmInforme(ctx, informe, principal);
}

bool MostrarInforme(AppContext& ctx, Informe informe, const QString& sql, const db::Params& params,
                    const QString& titulo) {
    frmInforme* w = VentanaInforme(ctx, informe);
    const bool nueva = !w->isVisible();
    w->data = {sql, params};
    if (!w->Generar()) {
        if (nueva)
            delete w;
        return false;
    }
    if (ctx.navigator)
        ctx.navigator->usrShowReport(w, titulo);
    else {
        w->setWindowTitle(titulo);
        w->show();
    }
    return true;
}

bool ImprimirFichaPropiedad(AppContext& ctx, const QString& cod) {
    return MostrarInforme(ctx, Informe::FichaPropiedad,
                          QStringLiteral("select * from fichapropiedades where PropiedadesCod = ?"), {cod},
                          QCoreApplication::translate("Informes", "Ficha de Propiedad"));
}

bool ImprimirFichaPropietario(AppContext& ctx, const QString& cod) {
    return MostrarInforme(ctx, Informe::FichaPropietario,
                          QStringLiteral("select * from Propietarios where Cod = ?"), {cod},
                          QCoreApplication::translate("Informes", "Ficha de Propietario"));
}

bool ImprimirFichaCliente(AppContext& ctx, const QString& cod) {
    return MostrarInforme(ctx, Informe::FichaCliente, QStringLiteral("select * from Clientes where Cod = ?"),
                          {cod}, QCoreApplication::translate("Informes", "Ficha de Cliente"));
}

bool ImprimirListadoPropiedades(AppContext& ctx, const QString& sql, const db::Params& params) {
    return MostrarInforme(ctx, Informe::Propiedades, sql, params,
                          QCoreApplication::translate("Informes", "Listado de Propiedades"));
}

bool ImprimirListadoPropietarios(AppContext& ctx, bool alquiler, const QString& sql,
                                 const db::Params& params) {
    return MostrarInforme(
        ctx, Informe::Propietarios, sql, params,
        alquiler ? QCoreApplication::translate("Informes", "Listado de Propietarios de Alquileres")
                 : QCoreApplication::translate("Informes", "Listado de Propietarios de Ventas"));
}

bool ImprimirListadoClientes(AppContext& ctx, bool alquiler, const QString& sql, const db::Params& params) {
    return MostrarInforme(ctx, Informe::Clientes, sql, params,
                          alquiler
                              ? QCoreApplication::translate("Informes", "Listado de Clientes de Alquileres")
                              : QCoreApplication::translate("Informes", "Listado de Clientes de Ventas"));
}

} // namespace orb::reports
