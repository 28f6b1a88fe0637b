#include "frmBusPropietarios.h"

#include "platform/widgets/QueryTableModel.h"
#include "reports/Informes.h"
#include "shell/AppContext.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLineEdit>
#include <QTableView>
#include <QToolButton>

namespace orb {

frmBusPropietarios::frmBusPropietarios(AppContext& ctx, bool modoAlquiler, QWidget* parent)
    : VentanaBusqueda(ctx, QStringLiteral("frmBusPropietarios"), modoAlquiler, parent) {
    setWindowTitle(modoAlquiler ? tr("Búsqueda de Propietarios de Alquiler")
                                : tr("Búsqueda de Propietarios de Venta"));
    cmdFind->setToolTip(tr("Buscar Propietarios"));
    cmdFind->setAccessibleName(cmdFind->toolTip());
    cmdGoto->setToolTip(tr("Ir a Propietario"));
    cmdGoto->setAccessibleName(cmdGoto->toolTip());

    addText(Codigo, tr("Código:"), 0, 0);
    addText(Nombre, tr("Nombre:"), 0, 2);
    addRango(FechaDesde, FechaHasta, tr("Fecha:"), 1, 0);
    addOrden(OrdenesPropietarios(), 1, 2);
    for (int i : {Codigo, Nombre})
        txt[i]->setToolTip(tr("Parte del texto; * sustituye a cualquier texto"));
    txt[FechaDesde]->setPlaceholderText(tr("dd/mm/aaaa"));
    txt[FechaHasta]->setPlaceholderText(tr("dd/mm/aaaa"));
    panel->setColumnStretch(1, 1);
    panel->setColumnStretch(3, 2);

    NuevaBusqueda();
    mostrarCambiosDe({"Propietarios"});
    tamanoInicial(QSize(780, 480));
}

void frmBusPropietarios::NuevaBusqueda() {
    limpiarCriterios();
    mostrarResultado(SqlBusquedaPropietariosVacia());
}

CriteriosPropietarios frmBusPropietarios::criterios() const {
    CriteriosPropietarios c;
    c.alquiler = ModoAlquiler();
    c.codigo = txt[Codigo]->text();
    c.nombre = txt[Nombre]->text();
    c.fechaDesde = txt[FechaDesde]->text();
    c.fechaHasta = txt[FechaHasta]->text();
    c.orden = cboOrder->currentData().toString();
    c.comodin = ctx.Comodin;
    return c;
}

ConsultaBusqueda frmBusPropietarios::construir() const {
    return SqlBusquedaPropietarios(criterios());
}

void frmBusPropietarios::irRegistro(const QString& cod) {
    if (ctx.navigator)
        ctx.navigator->usrIrPropietario(ModoAlquiler(), cod);
}

void frmBusPropietarios::formatearRejilla() {
    const QStringList titulos{tr("Código"),    tr("Nombre"),   tr("Dirección"),
                              tr("Localidad"), tr("Teléfono"), tr("Fecha")};
    for (int i = 0; i < titulos.size(); ++i)
        dataGrid->setHeader(i, titulos[i]);
    const QFontMetrics fm = grd->fontMetrics();
    grd->setColumnWidth(0, fm.horizontalAdvance(QStringLiteral("00000000")) + 16);
    grd->setColumnWidth(1, fm.horizontalAdvance(QStringLiteral("Francisca Domínguez")) + 16);
    grd->setColumnWidth(2, fm.horizontalAdvance(QStringLiteral("Avenida de Andalucía")) + 16);
    grd->setColumnWidth(3, fm.horizontalAdvance(QStringLiteral("Benalmádena")) + 16);
    grd->setColumnWidth(4, fm.horizontalAdvance(QStringLiteral("+34 600 000 000")) + 16);
}

void frmBusPropietarios::imprimirListado(const ConsultaBusqueda& q) {
    reports::ImprimirListadoPropietarios(ctx, ModoAlquiler(), q.sqlListado(), q.params);
}

} // namespace orb
