#include "frmBusPropiedades.h"

#include "platform/widgets/QueryTableModel.h"
#include "reports/Informes.h"
#include "shell/AppContext.h"
#include "shell/Idioma.h"
#include "shell/Numeros.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QTableView>
#include <QToolButton>

namespace orb {

namespace {

// The states of a side as stored (and compared); the list shows their captions.
QStringList estados(bool alquiler) {
    return alquiler ? QStringList{QString(), QStringLiteral("Libre"), QStringLiteral("Alquilada")}
                    : QStringList{QString(), QStringLiteral("En Venta"), QStringLiteral("Vendida"),
                                  QStringLiteral("Stand By")};
}

QString nombreEstado(const QString& estado) {
    if (estado == u"Libre")
        return frmBusPropiedades::tr("Libre");
    if (estado == u"Alquilada")
        return frmBusPropiedades::tr("Alquilada");
    if (estado == u"En Venta")
        return frmBusPropiedades::tr("En Venta");
    if (estado == u"Vendida")
        return frmBusPropiedades::tr("Vendida");
    if (estado == u"Stand By")
        return frmBusPropiedades::tr("Stand By");
    return estado;
}

} // namespace

frmBusPropiedades::frmBusPropiedades(AppContext& ctx, bool modoAlquiler, QWidget* parent)
    : VentanaBusqueda(ctx, QStringLiteral("frmBusPropiedades"), modoAlquiler, parent) {
    setWindowTitle(modoAlquiler ? tr("Búsqueda de Propiedades en Alquiler")
                                : tr("Búsqueda de Propiedades en Venta"));
    cmdFind->setToolTip(tr("Buscar Propiedades"));
    cmdFind->setAccessibleName(cmdFind->toolTip());
    cmdGoto->setToolTip(tr("Ir a Propiedad"));
    cmdGoto->setAccessibleName(cmdGoto->toolTip());

    // Three pairs of columns, so the window fits the main window's area.
    addText(Codigo, tr("Código:"), 0, 0);
    addListaCatalogo(Tipo, tr("Tipo:"), 0, 2);
    addListaCatalogo(Localidad, tr("Localidad:"), 0, 4);
    addText(Direccion, tr("Dirección:"), 1, 0);
    auto* estado = new QComboBox(Picture1);
    estado->setObjectName(QStringLiteral("cbo(2)"));
    // The state can also be typed.
    estado->setEditable(true);
    estado->setInsertPolicy(QComboBox::NoInsert);
    for (const QString& e : estados(modoAlquiler))
        estado->addItem(nombreEstado(e), e);
    cbo.insert(Estado, estado);
    etiqueta(tr("Estado:"), 1, 2, estado);
    panel->addWidget(estado, 1, 3);
    addListaCatalogo(Area, tr("Area:"), 1, 4);
    addText(Agente, tr("Agente:"), 2, 0);
    addRango(PrecioDesde, PrecioHasta, tr("Precio:"), 2, 2, QStringLiteral("0.000.000"));
    addRango(DormitoriosDesde, DormitoriosHasta, tr("Nº Dormitorios:"), 2, 4, QStringLiteral("000"));
    addText(Propietario, tr("Propietario:"), 3, 0);
    addRango(FechaDesde, FechaHasta, tr("Fecha:"), 3, 2);
    addOrden(OrdenesPropiedades(), 3, 4);
    addText(Telefono, tr("Teléfono:"), 4, 0);
    for (int i : {Codigo, Direccion, Agente, Propietario, Telefono})
        txt[i]->setToolTip(tr("Parte del texto; * sustituye a cualquier texto"));
    txt[FechaDesde]->setPlaceholderText(tr("dd/mm/aaaa"));
    txt[FechaHasta]->setPlaceholderText(tr("dd/mm/aaaa"));
    panel->setColumnStretch(1, 3);
    panel->setColumnStretch(3, 2);
    panel->setColumnStretch(5, 2);

    llenarLista(Tipo, ListaTipos());
    llenarLista(Localidad, QStringLiteral("select cod,nombre from localidades order by nombre"));
    llenarAreas();
    // A new locality empties the area criterion and offers only its areas.
    connect(cboLookup[Localidad], &QComboBox::activated, this, [this] { llenarAreas(); });

    NuevaBusqueda();
    // The catalogue names are shown, and the owner's name and telephones are criteria.
    mostrarCambiosDe({"Propiedades", "Propietarios", "Tipos", "Localidades", "Areas"});
    tamanoInicial(QSize(780, 540));
}

void frmBusPropiedades::llenarAreas() {
    llenarLista(Area, QStringLiteral("select cod,nombre from areas where codlocalidad = ? order by nombre"),
                {qint64(ValorNumerico(txt[Localidad]->text()))});
}

void frmBusPropiedades::NuevaBusqueda() {
    limpiarCriterios();
    llenarAreas();
    cbo[Estado]->setCurrentIndex(1); // "Libre" or "En Venta"
    mostrarResultado(SqlBusquedaPropiedadesVacia(ModoAlquiler()));
}

CriteriosPropiedades frmBusPropiedades::criterios() const {
    CriteriosPropiedades c;
    c.alquiler = ModoAlquiler();
    c.codigo = txt[Codigo]->text();
    c.codTipo = txt[Tipo]->text();
    c.codLocalidad = txt[Localidad]->text();
    c.codArea = txt[Area]->text();
    // A caption of the list stands for its stored state; anything else typed is taken as it is.
    const int elegido = cbo[Estado]->findText(cbo[Estado]->currentText(), Qt::MatchExactly);
    c.estado = elegido >= 0 ? cbo[Estado]->itemData(elegido).toString() : cbo[Estado]->currentText();
    c.direccion = txt[Direccion]->text();
    c.precioDesde = txt[PrecioDesde]->text();
    c.precioHasta = txt[PrecioHasta]->text();
    c.dormitoriosDesde = txt[DormitoriosDesde]->text();
    c.dormitoriosHasta = txt[DormitoriosHasta]->text();
    c.agente = txt[Agente]->text();
    c.fechaDesde = txt[FechaDesde]->text();
    c.fechaHasta = txt[FechaHasta]->text();
    c.propietario = txt[Propietario]->text();
    c.telefono = txt[Telefono]->text();
    c.orden = cboOrder->currentData().toString();
    c.comodin = ctx.Comodin;
    return c;
}

ConsultaBusqueda frmBusPropiedades::construir() const {
    return SqlBusquedaPropiedades(criterios());
}

void frmBusPropiedades::irRegistro(const QString& cod) {
    if (ctx.navigator)
        ctx.navigator->usrIrPropiedad(ModoAlquiler(), cod);
}

void frmBusPropiedades::formatearRejilla() {
    const QStringList titulos{tr("Código"), tr("Dirección"), tr("Tipo"),   tr("Localidad"),
                              tr("Area"),   tr("Dorm."),     tr("Metros"), tr("Precio")};
    for (int i = 0; i < titulos.size(); ++i)
        dataGrid->setHeader(i, titulos[i]);
    dataGrid->setFormatter(7, [](const QVariant& v) { return v.isNull() ? QString() : FormatoImporte(v); });
    const QFontMetrics fm = grd->fontMetrics();
    grd->setColumnWidth(0, fm.horizontalAdvance(QStringLiteral("00000000")) + 16);
    grd->setColumnWidth(1, fm.horizontalAdvance(QStringLiteral("Avenida de Andalucía, 1")) + 16);
    grd->setColumnWidth(2, fm.horizontalAdvance(QStringLiteral("Casa de campo")) + 16);
    grd->setColumnWidth(3, fm.horizontalAdvance(QStringLiteral("Benalmádena")) + 16);
    grd->setColumnWidth(4, fm.horizontalAdvance(QStringLiteral("Puerto Banús")) + 16);
    grd->setColumnWidth(5, fm.horizontalAdvance(titulos[5]) + 20);
    grd->setColumnWidth(6, fm.horizontalAdvance(titulos[6]) + 20);
}

void frmBusPropiedades::imprimirListado(const ConsultaBusqueda& q) {
    reports::ImprimirListadoPropiedades(ctx, q.sqlListado(), q.params);
}

} // namespace orb
