#include "frmPropiedades.h"

#include "ActividadModel.h"
#include "FotosPropiedad.h"
#include "ListaAgentes.h"
#include "PanelPropietario.h"
#include "frmPropietarioNuevo.h"
#include "maintenance/CodeAllocator.h"
#include "platform/db/Recordset.h"
#include "reports/Dossier.h"
#include "reports/Informes.h"
#include "search/Lookups.h"
#include "shell/Agentes.h"
#include "shell/AppContext.h"
#include "shell/ConfigStore.h"
#include "shell/ErrorReport.h"
#include "shell/Identidad.h"
#include "shell/OfficeRules.h"
#include "shell/Services.h"

#include <QDate>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>

namespace orb {

using namespace prop;

namespace {

constexpr int CajasImporte[] = {Precio, Comunidad, Hipoteca, ValorEscritura, PPrecio, PrecioAlquiler};

} // namespace

frmPropiedades::frmPropiedades(AppContext& context, bool modoAlquiler, QWidget* parent)
    : RecordWindow(context, QStringLiteral("frmPropiedades"), parent), modoAlquiler_(modoAlquiler) {
    actividades = new ActividadModel(this);
    actividades->setAgente(ctx.agente.nombre);
    actividades->setNombreCliente(
        [this](const QString& cod) { return NombrePorCodigo(ctx, QStringLiteral("Clientes"), cod); });
    crearBotonesDocumento();
    connect(butPrint, &QToolButton::clicked, this, [this] {
        abrirDocumento([](AppContext& c, const QString& cod) { reports::ImprimirFichaPropiedad(c, cod); });
    });
    connect(butDossier, &QToolButton::clicked, this, [this] {
        abrirDocumento([](AppContext& c, const QString& cod) { reports::VerDossier(c, cod); });
    });
    connect(butPDF, &QToolButton::clicked, this, [this] {
        abrirDocumento([](AppContext& c, const QString& cod) { reports::GuardarDossierPDF(c, cod); });
    });
    connect(butEmail, &QToolButton::clicked, this, [this] { abrirDocumento(&reports::EnviarDossier); });
    crearPestañas();
    crearCampos();
    nombresUnicos();
    try {
        PonerListaAgentes(static_cast<ui::BoundTextBox*>(txt.value(Agente)), NombresAgentes(ctx.db()));
    } catch (const db::DbError& e) {
        RegistrarError(tr("leer los agentes"), e); // the box still takes any name
    }

    // Rentals only: the rental and tenant tabs; sales only: "Destacada". A hidden
    // tab would still be announced by a screen reader, so the sales window takes
    // those pages out of its tab list; their boxes stay, hidden and bound.
    if (!modoAlquiler_)
        for (QWidget* pagina : {picDatosAlquiler, picDatosInquilino})
            tabs->removeTab(tabs->indexOf(pagina));
    chk.value(Destacada)->setVisible(!modoAlquiler_);

    connect(static_cast<ui::BoundTextBox*>(txt.value(CodLocalidad)), &QLineEdit::textChanged, this,
            &frmPropiedades::rellenarAreas);
    connect(static_cast<ui::BoundTextBox*>(txt.value(CodPropietario)), &QLineEdit::textChanged, this,
            [this](const QString& cod) {
                // While browsing, data_Reposition shows the record's owner once it is all in.
                if (editando())
                    propietario->Mostrar(ctx.db(), cod);
            });
    connect(chk.value(ExportacionWeb), &QCheckBox::clicked, this, [this](bool marcada) {
        if (editando() && !marcada)
            chk.value(Destacada)->setValue(0);
    });
    connect(chk.value(Destacada), &QCheckBox::clicked, this, [this](bool marcada) {
        if (editando() && marcada)
            chk.value(ExportacionWeb)->setValue(1);
    });

    // The tenant's identity numbers are checked as an owner's are.
    MarcarDocumento(txt.value(IDni)->widget(), ClaseCaja::Identidad);
    MarcarDocumento(txt.value(INie)->widget(), ClaseCaja::Identidad);
    MarcarDocumento(txt.value(IPasaporte)->widget(), ClaseCaja::Pasaporte);
    for (QWidget* pic : {Picture1, picDatosInmueble, picDatosPropietario, picFotos, picDatosAlquiler,
                         picDatosInquilino, picActividades, picDossier, picWeb})
        data->DataPicture(pic);
    // Picture1 and the buttons, database and statement; read in the order of the
    // (Alquiler, Agencia, QuickID) index.
    cbo.value(Estado)->addItems(
        modoAlquiler_
            ? QStringList{QStringLiteral("Libre"), QStringLiteral("Alquilada")}
            : QStringList{QStringLiteral("En Venta"), QStringLiteral("Vendida"), QStringLiteral("Stand By")});
    cbo.value(Estado)->setCurrentIndex(-1);
    setWindowTitle(modoAlquiler_ ? tr("Ficha de Propiedades en Alquiler")
                                 : tr("Ficha de Propiedades en Venta"));
    iniciarControlador(
        modoAlquiler_
            ? QStringLiteral("select * from Propiedades where Alquiler = TRUE order by Agencia, QuickID")
            : QStringLiteral("select * from Propiedades where Alquiler = FALSE order by Agencia, QuickID"));
    data->setFirstControl(cboLookup.value(CodTipo));
    resize(790, 505);
}

frmPropiedades::~frmPropiedades() = default;

bool frmPropiedades::editando() const {
    return data->EstadoAñadiendo() || data->EstadoModificando();
}

void frmPropiedades::IrRegistro(const QString& sCod) {
    irRegistro(sCod);
}

void frmPropiedades::PulsarAñadir() {
    data->PulsarAñadir();
}

CodeAllocator frmPropiedades::numeracion() const {
    return CodeAllocator(QStringLiteral("PROPIEDADES"), QStringLiteral("Propiedades"),
                         ctx.facts.CodigoOficina);
}

void frmPropiedades::abrirDocumento(void (*accion)(AppContext&, const QString&)) {
    // The record as stored, never what the boxes show.
    if (!data->EstadoPaseando() || !data->Recordset())
        return;
    accion(ctx, data->Recordset()->value(QStringLiteral("Cod")).toString());
}

void frmPropiedades::data_CanUpdate(bool& Cancel) {
    Cancel = NoPerteneceOficina(ctx, txt.value(Agencia)->Text());
    if (Cancel)
        return;
    // A log line that cannot be stored refuses the whole confirm before anything is written.
    const QString problema = actividades->Comprobar();
    if (!problema.isEmpty()) {
        MensajeError(*ctx.dialogs, problema, this);
        tabs->setCurrentWidget(picActividades);
        grd->setFocus();
        Cancel = true;
        return;
    }
    Cancel = !sinDuplicados();
}

void frmPropiedades::data_CanDelete(bool& Cancel) {
    Cancel = NoPerteneceOficina(ctx, txt.value(Agencia)->Text());
}

void frmPropiedades::data_OnAddNew() {
    txt.value(Agencia)->setText(ctx.facts.CodigoOficina);
    numero_.proponer(numeracion(), data->BaseDatos(), txt.value(QuickID));
    txt.value(FechaAlta)->setText(FormatoFecha(QDate::currentDate()));
    chk.value(Alquiler)->setValue(modoAlquiler_ ? 1 : 0);
    // A new property goes to the portals once it is marked for the web.
    chk.value(Portales)->setValue(1);
    cbo.value(Estado)->setText(modoAlquiler_ ? QStringLiteral("Libre") : QStringLiteral("En Venta"));
    cbo.value(Estado)->DataChanged = true; // stored even when the list already showed it
    for (int i : {Orientacion, Piscina, Jardin, Garaje}) {
        cbo.value(i)->setListIndex(0);
        cbo.value(i)->DataChanged = true;
    }
    fotos->Limpiar();
    actividades->Limpiar();
    actividadActual();
}

void frmPropiedades::data_BeforeUpdate() {
    // Inside the controller's transaction, on its connection: the number, the
    // code, the photo names, the counter and the log are stored with the row or
    // not at all.
    db::Database& base = data->BaseDatos();
    if (data->EstadoAñadiendo())
        numero_.tomar(numeracion(), base, txt.value(QuickID));
    txt.value(Cod)->setText(numeracion().codigo(base, qint64(ValorNumerico(txt.value(QuickID)->Text()))));
    fotos->preparar(base, txt.value(Cod)->Text());
}

void frmPropiedades::data_AfterUpdate() {
    db::Database& base = data->BaseDatos();
    if (data->EstadoAñadiendo())
        numero_.contar(numeracion(), base);
    actividades->Guardar(base, data->Recordset()->value(QStringLiteral("Cod")).toString());
}

void frmPropiedades::data_AfterCommit() {
    // The row names the new files only now that it is stored.
    const QString problema = fotos->colocar();
    if (!problema.isEmpty())
        MensajeError(*ctx.dialogs, problema, this);
}

void frmPropiedades::data_AfterRollback() {
    fotos->descartar();
}

void frmPropiedades::data_Reposition() {
    const bool propia = txt.value(Agencia)->Text() == ctx.facts.CodigoOficina;
    cmdEdit->setEnabled(propia && data->EstadoPaseando());
    cmdDel->setEnabled(propia && data->EstadoPaseando());
    formatearImportes(true);
    fotos->Mostrar();
    if (data->EstadoVacio())
        actividades->Limpiar();
    else
        actividades->Cargar(ctx.db(), txt.value(Cod)->Text());
    actividadActual();
    cboLookup.value(CodTipo)->selectTag(qint16(ValorNumerico(txt.value(CodTipo)->Text())));
    cboLookup.value(CodLocalidad)->selectTag(qint16(ValorNumerico(txt.value(CodLocalidad)->Text())));
    cboLookup.value(CodArea)->selectTag(qint16(ValorNumerico(txt.value(CodArea)->Text())));
    propietario->Mostrar(ctx.db(), txt.value(CodPropietario)->Text());
}

void frmPropiedades::data_StateChanged() {
    const bool paseando = data->EstadoPaseando();
    for (QToolButton* b : {butPrint, butDossier, butPDF, butEmail})
        b->setEnabled(paseando);
    // The controller enables Edit and Delete while browsing; another office's record keeps them off.
    if (paseando) {
        const bool propia = txt.value(Agencia)->Text() == ctx.facts.CodigoOficina;
        cmdEdit->setEnabled(propia);
        cmdDel->setEnabled(propia);
    }
    const bool edita = editando();
    actividades->setEditable(edita);
    grd->setEditTriggers(edita ? QAbstractItemView::AllEditTriggers : QAbstractItemView::NoEditTriggers);
    cmdInsertarLinea->setEnabled(edita);
    cmdBorrarLinea->setEnabled(edita);
}

void frmPropiedades::rellenarAreas() {
    // The areas of the shown locality; the stored area does not change until one is picked.
    auto* lista = cboLookup.value(CodArea);
    lista->clear();
    const QList<db::Row> filas =
        ctx.db().query(QStringLiteral("select cod, nombre from areas where codlocalidad = ? order by nombre"),
                       {qint64(ValorNumerico(txt.value(CodLocalidad)->Text()))});
    for (const db::Row& f : filas)
        lista->addItemWithTag(f.value(1).toString(), f.value(0).toLongLong());
    lista->selectTag(qint16(ValorNumerico(txt.value(CodArea)->Text())));
}

void frmPropiedades::formatearImportes(bool mantenerCambios) {
    for (int i : CajasImporte) {
        ui::TextControl* t = txt.value(i);
        const bool cambiado = t->DataChanged;
        if (!t->Text().isEmpty())
            t->setText(FormatoImporte(ValorNumerico(t->Text())));
        if (mantenerCambios)
            t->DataChanged = cambiado;
    }
}

void frmPropiedades::formatearImporte(int indice) {
    ui::TextControl* t = txt.value(indice);
    if (!editando() || t->Text().isEmpty())
        return;
    t->setText(FormatoImporte(ValorNumerico(t->Text())));
}

void frmPropiedades::formatearFecha(int indice) {
    ui::TextControl* t = txt.value(indice);
    const QDate d = LeerFecha(t->Text());
    if (editando() && d.isValid())
        t->setText(FormatoFecha(d));
}

void frmPropiedades::propietarioNuevo() {
    frmPropietarioNuevo dlg(this);
    dlg.dialogos = ctx.dialogs;
    dlg.setWindowTitle(modoAlquiler_ ? tr("Nuevo Propietario de Alquileres")
                                     : tr("Nuevo Propietario de Ventas"));
    QString existente;
    // Cancelling the warning goes back to the dialog with what was typed.
    for (;;) {
        dlg.exec();
        if (!dlg.Aceptado)
            break;
        const dlgDuplicados::Respuesta r = duplicadosPropietario(dlg, existente);
        if (r != dlgDuplicados::Respuesta::Cancelar)
            break;
    }
    // The focus leaves "Nuevo", or the next key would open the dialog again:
    // to the address once there is an owner, else to the owner's code.
    if (!dlg.Aceptado) {
        txt.value(CodPropietario)->widget()->setFocus(Qt::OtherFocusReason);
        return;
    }
    if (!existente.isEmpty()) {
        txt.value(CodPropietario)->setText(existente);
        txt.value(Direccion)->widget()->setFocus(Qt::OtherFocusReason);
        return;
    }
    try {
        txt.value(CodPropietario)->setText(CrearPropietario(ctx, dlg, modoAlquiler_));
        txt.value(Direccion)->widget()->setFocus(Qt::OtherFocusReason);
    } catch (const db::DbError& e) {
        InformarErrorBaseDatos(*ctx.dialogs, this, tr("crear el propietario"),
                               tr("No se ha podido crear el propietario."), e, {}, ctx.RutaBaseDatos);
        txt.value(CodPropietario)->widget()->setFocus(Qt::OtherFocusReason);
    }
}

void frmPropiedades::propietarioExistente() {
    if (!ctx.lookups)
        return;
    const QVariant cod =
        ctx.lookups->Consultar(modoAlquiler_ ? Consulta::PropietarioAlquiler : Consulta::Propietario);
    // A cancelled lookup keeps the owner the property had.
    if (!cod.isNull())
        txt.value(CodPropietario)->setText(cod.toString());
}

QString frmPropiedades::clienteActividad(int fila) {
    if (!ctx.lookups || !editando())
        return {};
    const QVariant cod =
        ctx.lookups->Consultar(modoAlquiler_ ? Consulta::ClienteAlquiler : Consulta::Cliente);
    if (cod.isNull())
        return {};
    // The client's code is kept as its text code, office letters and zeros included.
    const QString nombre = NombrePorCodigo(ctx, QStringLiteral("Clientes"), cod.toString());
    actividades->setData(actividades->index(fila, ActividadModel::ColCodCliente), cod.toString());
    actividades->setData(actividades->index(fila, ActividadModel::ColCliente), nombre);
    return nombre;
}

void frmPropiedades::emailPropietario() {
    const QString direccion = propietario->lblPropietario[PanelPropietario::Email]->text();
    if (direccion.trimmed().isEmpty() || !ctx.navigator)
        return;
    ctx.navigator->usrEmailPara(direccion, propietario->lblPropietario[PanelPropietario::Nombre]->text());
}

void frmPropiedades::emailInquilino() {
    const QString direccion = txt.value(IEmail)->Text();
    if (direccion.trimmed().isEmpty() || !ctx.navigator)
        return;
    ctx.navigator->usrEmailPara(direccion, txt.value(INombre)->Text());
}

void frmPropiedades::actividadActual() {
    // Reloading leaves the grid without a current row; the first line is, so
    // "Insertar Línea" works before any click.
    grd->setCurrentIndex(actividades->index(0, 0));
}

void frmPropiedades::insertarLinea() {
    const QModelIndex actual = grd->currentIndex();
    if (!actual.isValid() || actividades->esLineaNueva(actual.row()))
        return;
    actividades->insertarLinea(actual.row());
}

void frmPropiedades::borrarLinea() {
    const QModelIndex actual = grd->currentIndex();
    if (!actual.isValid() || actividades->esLineaNueva(actual.row()))
        return;
    actividades->borrarLinea(actual.row());
}

} // namespace orb
