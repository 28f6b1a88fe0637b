#include "frmBusClientes.h"

#include "platform/widgets/QueryTableModel.h"
#include "reports/Informes.h"
#include "shell/AppContext.h"
#include "shell/Idioma.h"
#include "shell/Numeros.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLineEdit>
#include <QTableView>
#include <QToolButton>

namespace orb {

frmBusClientes::frmBusClientes(AppContext& ctx, bool modoAlquiler, QWidget* parent)
    : VentanaBusqueda(ctx, QStringLiteral("frmBusClientes"), modoAlquiler, parent) {
    setWindowTitle(modoAlquiler ? tr("Búsqueda de Clientes de Alquiler")
                                : tr("Búsqueda de Clientes de Venta"));
    cmdFind->setToolTip(tr("Buscar Clientes"));
    cmdFind->setAccessibleName(cmdFind->toolTip());
    cmdGoto->setToolTip(tr("Ir a Cliente"));
    cmdGoto->setAccessibleName(cmdGoto->toolTip());

    addText(Codigo, tr("Código:"), 0, 0);
    addListaCatalogo(Tipo, tr("Tipo:"), 0, 2);
    addRango(PresupuestoDesde, PresupuestoHasta, tr("Presupuesto:"), 0, 4, QStringLiteral("0.000.000"));
    addText(Nombre, tr("Nombre:"), 1, 0);
    addRango(FechaDesde, FechaHasta, tr("Fecha:"), 1, 2);
    addOrden(OrdenesClientes(), 1, 4);
    for (int i : {Codigo, Nombre})
        txt[i]->setToolTip(tr("Parte del texto; * sustituye a cualquier texto"));
    txt[FechaDesde]->setPlaceholderText(tr("dd/mm/aaaa"));
    txt[FechaHasta]->setPlaceholderText(tr("dd/mm/aaaa"));
    panel->setColumnStretch(1, 2);
    panel->setColumnStretch(3, 1);
    panel->setColumnStretch(5, 1);

    llenarLista(Tipo, ListaTipos());
    NuevaBusqueda();
    mostrarCambiosDe({"Clientes", "Tipos"});
    tamanoInicial(QSize(780, 480));
}

void frmBusClientes::NuevaBusqueda() {
    limpiarCriterios();
    mostrarResultado(SqlBusquedaClientesVacia());
}

CriteriosClientes frmBusClientes::criterios() const {
    CriteriosClientes c;
    c.alquiler = ModoAlquiler();
    c.codigo = txt[Codigo]->text();
    c.codTipo = txt[Tipo]->text();
    c.presupuestoDesde = txt[PresupuestoDesde]->text();
    c.presupuestoHasta = txt[PresupuestoHasta]->text();
    c.fechaDesde = txt[FechaDesde]->text();
    c.fechaHasta = txt[FechaHasta]->text();
    c.nombre = txt[Nombre]->text();
    c.orden = cboOrder->currentData().toString();
    c.comodin = ctx.Comodin;
    return c;
}

ConsultaBusqueda frmBusClientes::construir() const {
    return SqlBusquedaClientes(criterios());
}

void frmBusClientes::irRegistro(const QString& cod) {
    if (ctx.navigator)
        ctx.navigator->usrIrCliente(ModoAlquiler(), cod);
}

void frmBusClientes::formatearRejilla() {
    const QStringList titulos{tr("Código"), tr("Nombre"), tr("Fecha"),      tr("Teléfono"),
                              tr("Móvil"),  tr("Tipo"),   tr("Presupuesto")};
    for (int i = 0; i < titulos.size(); ++i)
        dataGrid->setHeader(i, titulos[i]);
    dataGrid->setFormatter(6, [](const QVariant& v) { return v.isNull() ? QString() : FormatoImporte(v); });
    const QFontMetrics fm = grd->fontMetrics();
    grd->setColumnWidth(0, fm.horizontalAdvance(QStringLiteral("00000000")) + 16);
    grd->setColumnWidth(1, fm.horizontalAdvance(QStringLiteral("Francisca Domínguez")) + 16);
    grd->setColumnWidth(2, fm.horizontalAdvance(QStringLiteral("00/00/00000")) + 16);
    grd->setColumnWidth(3, fm.horizontalAdvance(QStringLiteral("+34 600 000 000")) + 16);
    grd->setColumnWidth(4, fm.horizontalAdvance(QStringLiteral("+34 600 000 000")) + 16);
    grd->setColumnWidth(5, fm.horizontalAdvance(QStringLiteral("Casa adosada")) + 16);
}

void frmBusClientes::imprimirListado(const ConsultaBusqueda& q) {
    reports::ImprimirListadoClientes(ctx, ModoAlquiler(), q.sqlListado(), q.params);
}

} // namespace orb
