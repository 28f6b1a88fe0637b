#include "frmVisitas.h"

#include "platform/report/PreviewWindow.h"
#include "platform/report/ReportError.h"
#include "platform/widgets/ResultGrid.h"
#include "reports/VisitasInformes.h"
#include "shell/AppContext.h"
#include "shell/ErrorReport.h"
#include "shell/Fechas.h"
#include "shell/Mensajes.h"
#include "shell/Numeros.h"
#include "shell/OfficeRules.h"

#include <QGridLayout>
#include <QHeaderView>
#include <QTableWidget>
#include <tuple>

namespace orb {

namespace {

QString fuente(const FiltroVisitas& f, db::Params& params) {
    const QString orden = QStringLiteral(" order by Fecha, Hora, Cod");
    if (f.cod != 0) {
        params = {f.cod};
        return QStringLiteral("select * from Visitas where Cod = ?");
    }
    if (!f.codPropiedad.isEmpty()) {
        params = {f.codPropiedad};
        return QStringLiteral("select * from Visitas where CodPropiedad = ?") + orden;
    }
    if (!f.codCliente.isEmpty()) {
        params = {f.codCliente};
        return QStringLiteral("select * from Visitas where CodCliente = ?") + orden;
    }
    params = {};
    return QStringLiteral("select * from Visitas") + orden;
}

} // namespace

frmVisitas::frmVisitas(AppContext& context, const FiltroVisitas& filtro, QWidget* parent)
    : RecordWindow(context, QStringLiteral("frmVisitas"), parent), filtro_(filtro) {
    setWindowTitle(tr("Ficha de Visitas"));
    addText(Propiedad, QStringLiteral("CodPropiedad"), tr("&Propiedad:"), 0, 0);
    lblDireccion = new QLabel(Picture1);
    lblDireccion->setAccessibleName(tr("Dirección de la propiedad"));
    grid->addWidget(lblDireccion, 0, 2, 1, 4);
    addText(Cliente, QStringLiteral("CodCliente"), tr("C&liente:"), 1, 0);
    lblNombreCliente = new QLabel(Picture1);
    lblNombreCliente->setAccessibleName(tr("Nombre del cliente"));
    grid->addWidget(lblNombreCliente, 1, 2, 1, 4);
    addText(Fecha, QStringLiteral("Fecha"), tr("&Fecha:"), 2, 0);
    addText(Hora, QStringLiteral("Hora"), tr("&Hora:"), 2, 2)->setPlaceholderText(QStringLiteral("hh:mm"));
    addText(Duracion, QStringLiteral("Duracion"), tr("&Duración (min):"), 2, 4);
    addText(Agente, QStringLiteral("Agente"), tr("A&gente:"), 3, 0);
    auto* estado = new ui::BoundComboBox(ui::BoundComboBox::DropDownList, Picture1, QStringLiteral("Estado"));
    estado->setObjectName(QStringLiteral("cbo(%1)").arg(Estado));
    estado->addItems(visitas::Estados());
    estado->setCurrentIndex(-1);
    cbo.insert(Estado, estado);
    addLabel(tr("E&stado:"), 3, 2, estado);
    grid->addWidget(estado, 3, 3);
    auto* valoracion = addText(Valoracion, QStringLiteral("Valoracion"), tr("&Valoración (1-5):"), 4, 0);
    valoracion->setToolTip(visitas::Valoraciones().join(u'\n'));
    addText(Oferta, QStringLiteral("Oferta"), tr("&Oferta (€):"), 4, 2);
    addText(Opinion, QStringLiteral("Opinion"), tr("Opi&nión:"), 5, 0, 5);
    // Set by the window, never typed: the booking office, the side, the log's line.
    auto* agencia = addText(Agencia, QStringLiteral("Agencia"), QString(), 6, 0);
    agencia->setAccessibleName(tr("Oficina de la visita"));
    agencia->hide();
    for (auto [indice, campo, rotulo] :
         {std::tuple{Alquiler, "Alquiler", tr("Alquiler")}, std::tuple{Anotada, "Anotada", tr("Anotada")}}) {
        auto* c = new ui::BoundCheckBox(rotulo, Picture1, QString::fromLatin1(campo));
        c->setObjectName(QStringLiteral("chk(%1)").arg(indice));
        c->setAccessibleName(rotulo);
        c->setProperty("neverEditable", true);
        c->hide();
        chk.insert(indice, c);
    }

    lista = new QTableWidget(0, 6, Picture1);
    lista->setObjectName(QStringLiteral("lista"));
    lista->setAccessibleName(tr("Visitas"));
    lista->setHorizontalHeaderLabels(
        {tr("Fecha"), tr("Hora"), tr("Propiedad"), tr("Cliente"), tr("Agente"), tr("Estado")});
    lista->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lista->setSelectionBehavior(QAbstractItemView::SelectRows);
    lista->setSelectionMode(QAbstractItemView::SingleSelection);
    lista->horizontalHeader()->setStretchLastSection(true);
    lista->verticalHeader()->hide();
    ui::disableCornerButton(lista, tr("Esquina de la lista de visitas"));
    grid->addWidget(lista, 7, 0, 1, 6);
    grid->setRowStretch(7, 1);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    connect(lista, &QTableWidget::cellClicked, this, [this](int fila, int) {
        const qint64 cod = lista->item(fila, 0)->data(Qt::UserRole).toLongLong();
        if (data->EstadoPaseando())
            data->FindFirst(QStringLiteral("Cod = ?"), {cod});
    });

    butPrint = addToolButton(QStringLiteral("butPrint"), tr("Hoja de visita"),
                             QStringLiteral("document-print-preview"));
    connect(butPrint, &QToolButton::clicked, this, [this] {
        const QList<visitas::Visita> hoja = visitasDeLaHoja();
        if (hoja.isEmpty())
            return;
        try {
            auto* w = new report::PreviewWindow(*ctx.dialogs,
                                                ctx.navigator ? ctx.navigator->ventanaPrincipal() : nullptr);
            w->setAttribute(Qt::WA_DeleteOnClose);
            w->setObjectName(QStringLiteral("repHojaVisita"));
            w->setDocument(visitas::GenerarHojaVisita(ctx, hoja));
            if (ctx.navigator)
                ctx.navigator->usrShowReport(w, tr("Hoja de visita"));
            else
                w->show();
        } catch (const report::ReportError& e) {
            MensajeError(*ctx.dialogs, e.message(), this);
        } catch (const db::DbError& e) {
            InformarErrorBaseDatos(*ctx.dialogs, this, tr("preparar la hoja de visita"),
                                   tr("No se puede preparar la hoja de visita."), e, {}, ctx.RutaBaseDatos);
        }
    });
    butEmail = addToolButton(QStringLiteral("butEmail"), tr("Enviar la hoja de visita por correo"),
                             QStringLiteral("mail-send"));
    connect(butEmail, &QToolButton::clicked, this, [this] {
        const QList<visitas::Visita> hoja = visitasDeLaHoja();
        if (hoja.isEmpty())
            return;
        try {
            visitas::EnviarHojaVisita(ctx, this, hoja);
        } catch (const report::ReportError& e) {
            MensajeError(*ctx.dialogs, e.message(), this);
        } catch (const db::DbError& e) {
            InformarErrorBaseDatos(*ctx.dialogs, this, tr("preparar la hoja de visita"),
                                   tr("No se puede preparar la hoja de visita."), e, {}, ctx.RutaBaseDatos);
        }
    });
    connect(static_cast<QLineEdit*>(txt.value(Cliente)->widget()), &QLineEdit::textChanged, this,
            [this] { mostrarNombres(); });
    connect(static_cast<QLineEdit*>(txt.value(Propiedad)->widget()), &QLineEdit::textChanged, this,
            [this] { mostrarNombres(); });
    connect(&ctx.cambios, &CambiosRegistros::registroCambiado, this,
            [this](const QString& tabla, const QString&) {
                if (tabla == u"Visitas")
                    leerLista();
            });

    db::Params params;
    const QString source = fuente(filtro_, params);
    iniciarControlador(source, params);
    data->setFirstControl(txt.value(Fecha)->widget());
    leerLista();
    resize(720, 520);
}

visitas::Visita frmVisitas::visitaEnPantalla() const {
    visitas::Visita v;
    if (db::Recordset* rs = data->Recordset(); rs && !data->EstadoAñadiendo() && !rs->isEOF() && !rs->isBOF())
        v.cod = rs->value(QStringLiteral("Cod")).toLongLong();
    v.agencia = txt.value(Agencia)->Text();
    v.codPropiedad = txt.value(Propiedad)->Text().trimmed();
    v.codCliente = txt.value(Cliente)->Text().trimmed();
    v.fecha = LeerFecha(txt.value(Fecha)->Text());
    v.hora = visitas::LeerHora(txt.value(Hora)->Text());
    const QString duracion = txt.value(Duracion)->Text().trimmed();
    v.duracion = duracion.isEmpty() ? visitas::DuracionPorDefecto : int(LeerNumero(duracion).value_or(-1));
    v.agente = txt.value(Agente)->Text().trimmed();
    v.estado = cbo.value(Estado)->Text();
    const QString valoracion = txt.value(Valoracion)->Text().trimmed();
    v.valoracion = valoracion.isEmpty() ? 0 : int(LeerNumero(valoracion).value_or(-1));
    v.opinion = txt.value(Opinion)->Text();
    const QString oferta = txt.value(Oferta)->Text().trimmed();
    if (!oferta.isEmpty())
        v.oferta = ValorImporte(oferta);
    v.alquiler = chk.value(Alquiler)->Value() == 1;
    v.anotada = chk.value(Anotada)->Value() == 1;
    v.cliente = lblNombreCliente->text();
    return v;
}

void frmVisitas::nuevaVisita() {
    if (data->EstadoPaseando() || data->EstadoVacio())
        cmdAdd->click();
}

void frmVisitas::moverVisita() {
    if (!data->EstadoPaseando())
        return;
    cmdEdit->click();
    if (data->EstadoModificando())
        txt.value(Fecha)->widget()->setFocus();
}

void frmVisitas::data_CanAddNew(bool&) {}

void frmVisitas::data_CanUpdate(bool& Cancel) {
    const visitas::Visita v = visitaEnPantalla();
    if (data->EstadoModificando() && NoPerteneceOficina(ctx, v.agencia)) {
        Cancel = true;
        return;
    }
    const visitas::Problema p = visitas::ComprobarVisita(data->BaseDatos(), v);
    if (!p.ninguno()) {
        MensajeError(*ctx.dialogs, p.mensaje, this);
        static const QHash<QString, int> cajas{{QStringLiteral("CodPropiedad"), Propiedad},
                                               {QStringLiteral("CodCliente"), Cliente},
                                               {QStringLiteral("Fecha"), Fecha},
                                               {QStringLiteral("Hora"), Hora},
                                               {QStringLiteral("Duracion"), Duracion},
                                               {QStringLiteral("Valoracion"), Valoracion},
                                               {QStringLiteral("Oferta"), Oferta}};
        if (p.campo == u"Estado")
            cbo.value(Estado)->setFocus();
        else if (cajas.contains(p.campo))
            txt.value(cajas.value(p.campo))->widget()->setFocus();
        Cancel = true;
        return;
    }
    // Warned, not refused: the agent may well mean it.
    const QStringList avisos = visitas::AvisosVisita(data->BaseDatos(), v);
    if (!avisos.isEmpty())
        ctx.dialogs->message(this, {avisos.join(u'\n'), tr("Visitas"), ui::DialogService::Buttons::Ok,
                                    ui::DialogService::Icon::Exclamation, ui::DialogService::Answer::Ok});
}

void frmVisitas::data_CanDelete(bool& Cancel) {
    Cancel = NoPerteneceOficina(ctx, txt.value(Agencia)->Text());
}

void frmVisitas::data_OnAddNew() {
    txt.value(Propiedad)->setText(filtro_.codPropiedad);
    txt.value(Cliente)->setText(filtro_.codCliente);
    const QDate dia = filtro_.fecha.isValid() ? filtro_.fecha : QDate::currentDate();
    txt.value(Fecha)->setText(FormatoFecha(dia));
    const QTime ahora = QTime::currentTime();
    txt.value(Hora)->setText(QTime(qMin(ahora.hour() + 1, 20), 0).toString(QStringLiteral("HH:mm")));
    txt.value(Duracion)->setText(QString::number(visitas::DuracionPorDefecto));
    txt.value(Agencia)->setText(ctx.facts.CodigoOficina);
    cbo.value(Estado)->setText(visitas::Prevista);
    // The agent who books it; without one at the seat, the property's own.
    if (!ctx.agente.nombre.isEmpty())
        txt.value(Agente)->setText(ctx.agente.nombre);
    else if (!filtro_.codPropiedad.isEmpty())
        txt.value(Agente)->setText(ctx.db()
                                       .scalar(QStringLiteral("select Agente from Propiedades where Cod = ?"),
                                               {filtro_.codPropiedad})
                                       .toString());
}

void frmVisitas::data_BeforeUpdate() {
    // Inside the confirm's transaction: the activity line is stored with the visit or not at all.
    db::Database& base = data->BaseDatos();
    visitas::Visita v = visitaEnPantalla();
    if (data->EstadoAñadiendo())
        txt.value(Agencia)->setText(ctx.facts.CodigoOficina);
    const bool alquiler =
        base.scalar(QStringLiteral("select Alquiler from Propiedades where Cod = ?"), {v.codPropiedad})
            .toBool();
    chk.value(Alquiler)->setValue(alquiler ? 1 : 0);
    if (visitas::AnotarVisita(base, v))
        chk.value(Anotada)->setValue(1);
}

void frmVisitas::data_Reposition() {
    const bool propia = txt.value(Agencia)->Text() == ctx.facts.CodigoOficina;
    cmdEdit->setEnabled(propia && data->EstadoPaseando());
    cmdDel->setEnabled(propia && data->EstadoPaseando());
    mostrarNombres();
    if (db::Recordset* rs = data->Recordset(); rs && !rs->isEOF() && !rs->isBOF()) {
        const qint64 cod = rs->value(QStringLiteral("Cod")).toLongLong();
        for (int i = 0; i < lista->rowCount(); ++i)
            if (lista->item(i, 0)->data(Qt::UserRole).toLongLong() == cod)
                lista->selectRow(i);
    }
}

void frmVisitas::data_StateChanged() {
    butPrint->setEnabled(data->EstadoPaseando());
    butEmail->setEnabled(data->EstadoPaseando());
    lista->setEnabled(data->EstadoPaseando() || data->EstadoVacio());
    if (data->EstadoPaseando())
        data_Reposition();
}

void frmVisitas::mostrarNombres() {
    db::Database& base = ctx.db();
    const QString cliente = txt.value(Cliente)->Text().trimmed();
    const QString propiedad = txt.value(Propiedad)->Text().trimmed();
    lblNombreCliente->setText(
        cliente.isEmpty()
            ? QString()
            : base.scalar(QStringLiteral("select Nombre from Clientes where Cod = ?"), {cliente}).toString());
    lblDireccion->setText(
        propiedad.isEmpty()
            ? QString()
            : base.scalar(QStringLiteral("select Direccion from Propiedades where Cod = ?"), {propiedad})
                  .toString());
}

void frmVisitas::leerLista() {
    QList<visitas::Visita> l;
    db::Database& base = ctx.db();
    if (filtro_.cod != 0) {
        if (auto v = visitas::LeerVisita(base, filtro_.cod))
            l << *v;
    } else if (!filtro_.codPropiedad.isEmpty())
        l = visitas::VisitasDePropiedad(base, filtro_.codPropiedad);
    else if (!filtro_.codCliente.isEmpty())
        l = visitas::VisitasDeCliente(base, filtro_.codCliente);
    else
        l = visitas::VisitasEntre(base, QDate(1900, 1, 1), QDate(9999, 12, 31));
    MostrarVisitas(lista, l, [](const visitas::Visita& v) {
        return QStringList{FormatoFecha(v.fecha),
                           v.hora.toString(QStringLiteral("HH:mm")),
                           v.codPropiedad,
                           v.cliente,
                           v.agente,
                           v.estado};
    });
}

void MostrarVisitas(QTableWidget* tabla, const QList<visitas::Visita>& lista,
                    const std::function<QStringList(const visitas::Visita&)>& celdas) {
    tabla->setRowCount(int(lista.size()));
    for (int i = 0; i < lista.size(); ++i) {
        const visitas::Visita& v = lista[i];
        const QStringList fila = celdas(v);
        for (int c = 0; c < fila.size(); ++c) {
            auto* item = new QTableWidgetItem(fila[c]);
            item->setData(Qt::UserRole, v.cod);
            tabla->setItem(i, c, item);
        }
    }
    tabla->resizeColumnsToContents();
}

QList<visitas::Visita> frmVisitas::visitasDeLaHoja() const {
    const visitas::Visita v = visitaEnPantalla();
    if (v.codCliente.isEmpty() || !v.fecha.isValid())
        return {};
    return visitas::VisitasDelDia(ctx.db(), v.codCliente, v.fecha);
}

frmVisitas* AbrirVisitas(AppContext& ctx, const FiltroVisitas& filtro) {
    auto* w = new frmVisitas(ctx, filtro, ctx.navigator ? ctx.navigator->ventanaPrincipal() : nullptr);
    if (ctx.navigator)
        ctx.navigator->usrShow(w);
    else
        w->show();
    return w;
}

} // namespace orb
