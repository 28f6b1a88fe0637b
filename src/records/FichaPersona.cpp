#include "FichaPersona.h"

#include "CamposPersona.h"
#include "ListaAgentes.h"
#include "PreferenciasCliente.h"
#include "VisitasFichas.h"
#include "dlgDuplicados.h"
#include "dlgFusion.h"
#include "search/frmCoincidencias.h"

#include "maintenance/CodeAllocator.h"
#include "platform/db/Recordset.h"
#include "platform/widgets/ThemeIcon.h"
#include "reports/Informes.h"
#include "shell/Agentes.h"
#include "shell/AppContext.h"
#include "shell/ConfigStore.h"
#include "shell/Consultas.h"
#include "shell/ErrorReport.h"
#include "shell/Fechas.h"
#include "shell/Identidad.h"
#include "shell/Idioma.h"
#include "shell/Numeros.h"
#include "shell/OfficeRules.h"

#include <QDate>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QTimer>

namespace orb {

using namespace persona;

FichaPersona::FichaPersona(AppContext& context, const QString& objectName, bool modoAlquiler,
                           const QString& contador, QWidget* parent)
    : RecordWindow(context, objectName, parent), modoAlquiler_(modoAlquiler), contador_(contador) {
    butPrint =
        addToolButton(QStringLiteral("butPrint"), tr("Imprimir Ficha"), QStringLiteral("document-print"));
    // The sheet shows the record as stored: only while browsing.
    butPrint->setEnabled(false);
    connect(butPrint, &QToolButton::clicked, this, [this] {
        if (!data->EstadoPaseando() || !data->Recordset())
            return;
        const QString cod = data->Recordset()->value(QStringLiteral("Cod")).toString();
        if (this->objectName() == u"frmClientes")
            reports::ImprimirFichaCliente(ctx, cod);
        else
            reports::ImprimirFichaPropietario(ctx, cod);
    });
    butFusionar =
        addToolButton(QStringLiteral("butFusionar"), tr("Fusionar con…"), QStringLiteral("edit-copy"));
    butFusionar->setEnabled(false);
    connect(butFusionar, &QToolButton::clicked, this, &FichaPersona::fusionar);
}

void FichaPersona::marcarDocumentos(int dni, int nie, int pasaporte) {
    documentos_ = {dni, nie, pasaporte};
    MarcarDocumento(txt.value(dni)->widget(), ClaseCaja::Identidad);
    MarcarDocumento(txt.value(nie)->widget(), ClaseCaja::Identidad);
    MarcarDocumento(txt.value(pasaporte)->widget(), ClaseCaja::Pasaporte);
}

void FichaPersona::filaCodigo() {
    QHBoxLayout* h = addFilaCodigo(Agencia, QuickID, Cod, 60, 90, 3);
    chkAlquiler = new ui::BoundCheckBox(tr("Alquiler"), h->parentWidget(), QStringLiteral("Alquiler"));
    chkAlquiler->setObjectName(QStringLiteral("chk(4)"));
    chkAlquiler->setAccessibleName(tr("Alquiler"));
    chkAlquiler->setEnabled(false); // the window sets the side, never the user
    chkAlquiler->setProperty("neverEditable", true);
    h->addSpacing(12);
    h->addWidget(chkAlquiler);
    h->addStretch(1);

    auto* fecha = addText(FechaAlta, QStringLiteral("FechaAlta"), tr("&Fecha Alta:"), 0, 4);
    fecha->setMaximumWidth(110);
    connect(fecha, &QLineEdit::editingFinished, this, [fecha] {
        const QDate d = LeerFecha(fecha->text());
        if (d.isValid())
            fecha->setText(d.toString(QStringLiteral("dd/MM/yyyy")));
    });
}

void FichaPersona::campoEmail(int index, int row, int column, int span) {
    auto* email = new ui::BoundTextBox(Picture1, QStringLiteral("Email"));
    email->setObjectName(QStringLiteral("txt(%1)").arg(index));
    txt.insert(index, email);
    butEmailTo = new QToolButton(Picture1);
    butEmailTo->setObjectName(QStringLiteral("butEmailTo"));
    butEmailTo->setIcon(ui::themeIcon(QStringLiteral("mail-unread"), QStyle::SP_FileIcon));
    butEmailTo->setToolTip(tr("Enviar correo"));
    butEmailTo->setAccessibleName(tr("Enviar correo"));
    butEmailTo->setAutoRaise(true);
    butEmailTo->setProperty("alwaysEnabled", true);
    auto* cell = new QWidget(Picture1);
    auto* h = new QHBoxLayout(cell);
    h->setContentsMargins(0, 0, 0, 0);
    h->addWidget(email, 1);
    h->addWidget(butEmailTo);
    addLabel(tr("&Email:"), row, column, email);
    grid->addWidget(cell, row, column + 1, 1, span);
    connect(butEmailTo, &QToolButton::clicked, this, &FichaPersona::enviarEmail);
}

void FichaPersona::terminarCarga(const QString& tabla, const QString& titulo) {
    tabla_ = tabla;
    // "Alquiler = ?" (not "not alquiler") lets the (Alquiler, Agencia, QuickID) index give the order.
    iniciarControlador(
        QStringLiteral("select * from %1 where Alquiler = ? order by Agencia,QuickID").arg(tabla),
        {modoAlquiler_ ? 1 : 0});
    setWindowTitle(titulo);
    data->setFirstControl(txt.value(Nombre)->widget());
}

void FichaPersona::IrRegistro(const QString& sCod) {
    irRegistro(sCod);
}

void FichaPersona::PulsarAñadir() {
    data->PulsarAñadir();
}

void FichaPersona::data_CanUpdate(bool& Cancel) {
    Cancel = NoPerteneceOficina(ctx, txt.value(Agencia)->Text()) || !comprobarPropios() || !sinDuplicados();
}

bool FichaPersona::sinDuplicados() {
    QList<int> comparadas{Nombre, Telefono, Movil, Fax, Email};
    comparadas += documentos_;
    // A record edited without touching what identifies it was looked at when it was stored.
    if (!data->EstadoAñadiendo() && std::none_of(comparadas.begin(), comparadas.end(),
                                                 [this](int i) { return txt.value(i)->DataChanged; }))
        return true;
    PersonaComparada p;
    p.tabla = tabla_;
    p.alquiler = modoAlquiler_;
    if (!data->EstadoAñadiendo() && data->Recordset())
        p.cod = data->Recordset()->value(QStringLiteral("Cod")).toString();
    p.nombre = txt.value(Nombre)->Text();
    p.telefonos = {txt.value(Telefono)->Text(), txt.value(Movil)->Text(), txt.value(Fax)->Text()};
    p.email = txt.value(Email)->Text();
    for (int i : documentos_)
        p.documentos << txt.value(i)->Text();
    QList<Candidato> candidatos;
    try {
        candidatos = BuscarPersonasDuplicadas(data->BaseDatos(), p);
    } catch (const db::DbError& e) {
        // The check is advice: a failing one is logged and the record is stored.
        RegistrarError(tr("buscar duplicados"), e);
        return true;
    }
    if (candidatos.isEmpty())
        return true;
    QString elegido;
    switch (dlgDuplicados::PreguntarPersonas(this, candidatos, tr("&Abrir el elegido"), elegido)) {
    case dlgDuplicados::Respuesta::Guardar:
        return true;
    case dlgDuplicados::Respuesta::Abrir:
        // After the confirm has ended: going to it asks about the edit first.
        QTimer::singleShot(0, this, [this, elegido] { abrirRegistro(elegido); });
        return false;
    case dlgDuplicados::Respuesta::Cancelar:
        break;
    }
    return false;
}

void FichaPersona::abrirRegistro(const QString& cod) {
    if (!ctx.navigator)
        return;
    if (tabla_ == u"Clientes")
        ctx.navigator->usrIrCliente(modoAlquiler_, cod);
    else
        ctx.navigator->usrIrPropietario(modoAlquiler_, cod);
}

void FichaPersona::fusionar() {
    if (!data->EstadoPaseando() || !data->Recordset() || !ctx.lookups)
        return;
    const QString queda = data->Recordset()->value(QStringLiteral("Cod")).toString();
    if (NoPerteneceOficina(ctx, txt.value(Agencia)->Text()))
        return;
    const bool clientes = tabla_ == u"Clientes";
    const QVariant otro = ctx.lookups->Consultar(
        clientes ? (modoAlquiler_ ? Consulta::ClienteAlquiler : Consulta::Cliente)
                 : (modoAlquiler_ ? Consulta::PropietarioAlquiler : Consulta::Propietario));
    if (otro.isNull())
        return;
    if (FusionarConDialogo(ctx, this, clientes ? TablaFusion::Clientes : TablaFusion::Propietarios, queda,
                           otro.toString())) {
        data->Refresh();
        irRegistro(queda);
    }
}
void FichaPersona::data_CanDelete(bool& Cancel) {
    Cancel = NoPerteneceOficina(ctx, txt.value(Agencia)->Text());
}

CodeAllocator FichaPersona::numeracion() const {
    return CodeAllocator(contador_, tabla_, ctx.facts.CodigoOficina);
}

void FichaPersona::data_OnAddNew() {
    txt.value(Agencia)->setText(ctx.facts.CodigoOficina);
    numero_.proponer(numeracion(), data->BaseDatos(), txt.value(QuickID));
    txt.value(FechaAlta)->setText(QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy")));
    chkAlquiler->setValue(modoAlquiler_ ? 1 : 0);
}

void FichaPersona::data_BeforeUpdate() {
    // Inside the controller's transaction: the number is chosen where it is stored.
    db::Database& base = data->BaseDatos();
    if (data->EstadoAñadiendo())
        numero_.tomar(numeracion(), base, txt.value(QuickID));
    txt.value(Cod)->setText(numeracion().codigo(base, qint64(ValorNumerico(txt.value(QuickID)->Text()))));
}

void FichaPersona::data_AfterUpdate() {
    if (data->EstadoAñadiendo())
        numero_.contar(numeracion(), data->BaseDatos());
}

void FichaPersona::data_Reposition() {
    const bool propia = txt.value(Agencia)->Text() == ctx.facts.CodigoOficina;
    cmdEdit->setEnabled(propia && data->EstadoPaseando());
    cmdDel->setEnabled(propia && data->EstadoPaseando());
}

void FichaPersona::data_StateChanged() {
    butPrint->setEnabled(data->EstadoPaseando());
    butFusionar->setEnabled(data->EstadoPaseando());
    // The controller enables Edit and Delete while browsing; another office's record keeps them off.
    if (data->EstadoPaseando())
        data_Reposition();
}

void FichaPersona::enviarEmail() {
    const QString direccion = txt.value(Email)->Text();
    if (direccion.trimmed().isEmpty() || !ctx.navigator)
        return;
    ctx.navigator->usrEmailPara(direccion, txt.value(Nombre)->Text());
}

frmPropietarios::frmPropietarios(AppContext& context, bool modoAlquiler, QWidget* parent)
    : FichaPersona(context, QStringLiteral("frmPropietarios"), modoAlquiler, QStringLiteral("PROPIETARIOS"),
                   parent) {
    filaCodigo();
    for (const propietario::Campo* c : propietario::enOrden(&propietario::Campo::ficha)) {
        if (c->indice == Email)
            campoEmail(Email, c->ficha.fila, c->ficha.columna, c->ficha.ancho);
        else
            addText(c->indice, c->nombreCampo(), c->rotulo(), c->ficha.fila, c->ficha.columna,
                    c->ficha.ancho);
    }
    addMemo(Comentarios, QStringLiteral("Comentarios"), tr("C&omentarios:"), 8, 0, 1, 5);
    marcarDocumentos(propietario::Dni, propietario::Nie, propietario::Pasaporte);
    grid->setColumnStretch(1, 2);
    grid->setColumnStretch(3, 1);
    grid->setColumnStretch(5, 1);
    grid->setRowStretch(8, 1);
    terminarCarga(QStringLiteral("Propietarios"), modoAlquiler ? tr("Ficha de Propietarios de Alquileres")
                                                               : tr("Ficha de Propietarios de Ventas"));
    resize(640, 430);
}

frmClientes::frmClientes(AppContext& context, bool modoAlquiler, QWidget* parent)
    : FichaPersona(context, QStringLiteral("frmClientes"), modoAlquiler, QStringLiteral("CLIENTES"), parent) {
    filaCodigo();
    addText(Nombre, QStringLiteral("Nombre"), tr("&Nombre:"), 1, 0, 3);
    cboEstado = new ui::BoundComboBox(ui::BoundComboBox::DropDownList, Picture1, QStringLiteral("Estado"));
    cboEstado->setObjectName(QStringLiteral("cbo(0)"));
    addLabel(tr("E&stado:"), 1, 4, cboEstado);
    grid->addWidget(cboEstado, 1, 5);
    addText(Direccion, QStringLiteral("Direccion"), tr("&Dirección:"), 2, 0, 5);
    addText(Localidad, QStringLiteral("Localidad"), tr("&Localidad:"), 3, 0, 3);
    addText(Cp, QStringLiteral("Cp"), tr("C&P:"), 3, 4);
    addText(Provincia, QStringLiteral("Provincia"), tr("Pro&vincia:"), 4, 0);
    campoEmail(Email, 4, 2, 3);
    addText(Telefono, QStringLiteral("Telefono"), tr("&Teléfono:"), 5, 0);
    addText(Movil, QStringLiteral("Movil"), tr("&Móvil:"), 5, 2);
    addText(Fax, QStringLiteral("Fax"), tr("F&ax:"), 5, 4);
    addText(cliente::Pasaporte, QStringLiteral("Pasaporte"), tr("Pasapor&te:"), 6, 0);
    addText(cliente::Dni, QStringLiteral("Dni"), tr("DN&I:"), 6, 2);
    addText(cliente::Nie, QStringLiteral("Nie"), tr("NI&E:"), 6, 4);
    marcarDocumentos(cliente::Dni, cliente::Nie, cliente::Pasaporte);
    addMemo(Comentarios, QStringLiteral("Comentarios"), tr("C&omentarios:"), 7, 0, 1, 5);
    addMemo(cliente::Requiere, QStringLiteral("Requiere"), tr("&Requiere:"), 8, 0, 1, 5);

    auto* presupuesto = new ui::BoundTextBox(Picture1, QStringLiteral("Presupuesto"));
    presupuesto->setObjectName(QStringLiteral("txt(%1)").arg(cliente::Presupuesto));
    presupuesto->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    txt.insert(cliente::Presupuesto, presupuesto);
    auto* cell = new QWidget(Picture1);
    auto* h = new QHBoxLayout(cell);
    h->setContentsMargins(0, 0, 0, 0);
    h->addWidget(presupuesto, 1);
    h->addWidget(new QLabel(QStringLiteral("€"), cell));
    addLabel(tr("Pres&upuesto:"), 9, 0, presupuesto);
    grid->addWidget(cell, 9, 1);
    connect(presupuesto, &QLineEdit::editingFinished, this, &frmClientes::formatearPresupuesto);

    cboTipo = addListaCatalogo(cliente::Tipo, QStringLiteral("CodTipo"), tr("Ti&po:"), 9, 2, ListaTipos());
    auto* agente = addText(cliente::Agente, QStringLiteral("Agente"), tr("A&gente:"), 9, 4);
    try {
        PonerListaAgentes(agente, NombresAgentes(ctx.db()));
    } catch (const db::DbError& e) {
        RegistrarError(tr("leer los agentes"), e);
    }

    grid->setColumnStretch(1, 2);
    grid->setColumnStretch(3, 1);
    grid->setColumnStretch(5, 1);
    grid->setRowStretch(7, 1);
    grid->setRowStretch(8, 1);
    preferencias = new PreferenciasCliente(ctx, Picture1, grid, txt);
    butCoincidencias = addToolButton(QStringLiteral("butCoincidencias"), tr("Propiedades que encajan"),
                                     QStringLiteral("edit-find"));
    connect(butCoincidencias, &QToolButton::clicked, this, [this] {
        if (data->EstadoPaseando())
            frmCoincidencias::Mostrar(ctx, frmCoincidencias::Modo::DeCliente, txt.value(Cod)->Text());
    });
    butVisitas =
        addToolButton(QStringLiteral("butVisitas"), tr("Visitas"), QStringLiteral("x-office-calendar"));
    butNuevaVisita = addToolButton(QStringLiteral("butNuevaVisita"), tr("Nueva visita"),
                                   QStringLiteral("appointment-new"));
    ConectarBotonesVisitas(ctx, butVisitas, butNuevaVisita, [this] {
        FiltroVisitas f;
        if (data->EstadoPaseando())
            f.codCliente = txt.value(Cod)->Text();
        return f;
    });

    // The state list is filled before the first record is shown.
    cboEstado->addItems({QStringLiteral("Comprado"), QStringLiteral("Comprado con otro"),
                         QStringLiteral("Buscando"), QStringLiteral("Pendiente"),
                         QStringLiteral("Descartado")});
    cboEstado->setCurrentIndex(-1);

    terminarCarga(QStringLiteral("Clientes"),
                  modoAlquiler ? tr("Ficha de Clientes de Alquileres") : tr("Ficha de Clientes de Ventas"));
    resize(680, 520);
}

bool frmClientes::comprobarPropios() {
    return preferencias->presupuestoValido(this);
}

void frmClientes::data_OnAddNew() {
    FichaPersona::data_OnAddNew();
    preferencias->limpiar();
    cboEstado->setText(QStringLiteral("Buscando"));
    cboEstado->DataChanged = true;
}

void frmClientes::data_Reposition() {
    formatearPresupuesto();
    // The box holds the shown row's code; an empty table shows none.
    codMostrado_ = data->EstadoAñadiendo() ? QString() : txt.value(Cod)->Text();
    preferencias->cargar(data->BaseDatos(), codMostrado_);
    FichaPersona::data_Reposition();
}

void frmClientes::data_AfterUpdate() {
    FichaPersona::data_AfterUpdate();
    // Inside the confirm's transaction: the places are stored with the row or not at all.
    const QString cod = txt.value(Cod)->Text();
    if (!codMostrado_.isEmpty() && codMostrado_ != cod && !data->EstadoAñadiendo())
        data->BaseDatos().execute(QStringLiteral("DELETE FROM ClientesZonas WHERE CodCliente = ?"),
                                  {codMostrado_});
    preferencias->guardar(data->BaseDatos(), cod);
}

void frmClientes::data_StateChanged() {
    FichaPersona::data_StateChanged();
    butCoincidencias->setEnabled(data->EstadoPaseando());
    // A cancelled edit shows the places as stored again.
    if (data->EstadoPaseando())
        preferencias->cargar(data->BaseDatos(), codMostrado_);
}

void frmClientes::formatearPresupuesto() {
    // Read the shown text the Spanish way ("1.500.000" is one million and a
    // half), so a box left untouched keeps its amount.
    auto* p = txt.value(cliente::Presupuesto);
    // Text that is not an amount stays as typed, for the confirm to refuse.
    if (!p->Text().trimmed().isEmpty() && !LeerNumero(p->Text()))
        return;
    const bool changed = p->DataChanged;
    p->setText(FormatoImporte(ValorNumerico(p->Text())));
    if (data->EstadoPaseando() || data->EstadoVacio())
        p->DataChanged = changed;
}

} // namespace orb
