#include "frmCoincidencias.h"

#include "platform/mail/MailClient.h"
#include "platform/report/ReportError.h"
#include "platform/widgets/ResultGrid.h"
#include "reports/Dossier.h"
#include "shell/AppContext.h"
#include "shell/ErrorReport.h"
#include "shell/Services.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QShortcut>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace orb {

namespace co = coincidencias;

namespace {

// accion names what failed in the log; primera says it in the error box.
void informar(AppContext& ctx, QWidget* ventana, const QString& accion, const QString& primera,
              const db::DbError& e) {
    InformarErrorBaseDatos(*ctx.dialogs, ventana, accion, primera, e, {}, ctx.RutaBaseDatos);
}

QString estadoPar(const co::Coincidencia& c) {
    if (c.descartada)
        return frmCoincidencias::tr("No le interesa");
    if (c.enviada)
        return frmCoincidencias::tr("Enviada");
    return c.vista ? QString() : frmCoincidencias::tr("Nueva");
}

QPushButton* boton(QWidget* parent, const QString& texto, const char* nombre) {
    auto* b = new QPushButton(texto, parent);
    b->setObjectName(QLatin1String(nombre));
    QString accesible = texto;
    b->setAccessibleName(accesible.remove(u'&'));
    return b;
}

} // namespace

frmCoincidencias::frmCoincidencias(AppContext& ctx, Modo modo, const QString& cod, QWidget* parent)
    : QWidget(parent), ctx_(ctx), modo_(modo), cod_(cod) {
    setObjectName(modo == Modo::DeCliente ? QStringLiteral("frmCoincidenciasCliente")
                                          : QStringLiteral("frmCoincidenciasPropiedad"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto* v = new QVBoxLayout(this);
    lblTitulo = new QLabel(this);
    lblTitulo->setObjectName(QStringLiteral("lblTitulo"));
    v->addWidget(lblTitulo);

    grid = new QTableWidget(this);
    grid->setObjectName(QStringLiteral("grdCoincidencias"));
    grid->setAccessibleName(modo == Modo::DeCliente ? tr("Propiedades que encajan")
                                                    : tr("Clientes interesados"));
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(modo == Modo::DeCliente ? QAbstractItemView::ExtendedSelection
                                                   : QAbstractItemView::SingleSelection);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->verticalHeader()->hide();
    grid->horizontalHeader()->setStretchLastSection(true);
    grid->setWordWrap(false);
    ui::disableCornerButton(grid, tr("Esquina de la tabla"));
    v->addWidget(grid, 1);

    auto* h = new QHBoxLayout;
    cmdIr = boton(this, tr("&Ir a"), "cmdIr");
    h->addWidget(cmdIr);
    connect(cmdIr, &QPushButton::clicked, this, &frmCoincidencias::irA);
    connect(grid, &QTableWidget::cellDoubleClicked, this, &frmCoincidencias::irA);
    if (modo == Modo::DeCliente) {
        cmdEnviar = boton(this, tr("&Enviar por Email"), "cmdEnviar");
        cmdNoInteresa = boton(this, tr("&No le interesa"), "cmdNoInteresa");
        chkDescartadas = new QCheckBox(tr("&Mostrar las que no le interesan"), this);
        chkDescartadas->setObjectName(QStringLiteral("chkDescartadas"));
        chkDescartadas->setAccessibleName(tr("Mostrar las que no le interesan"));
        h->addWidget(cmdEnviar);
        h->addWidget(cmdNoInteresa);
        h->addWidget(chkDescartadas);
        connect(cmdEnviar, &QPushButton::clicked, this, &frmCoincidencias::enviarPorEmail);
        connect(cmdNoInteresa, &QPushButton::clicked, this, &frmCoincidencias::cambiarNoInteresa);
        connect(chkDescartadas, &QCheckBox::toggled, this, &frmCoincidencias::cargar);
    }
    lblDesactualizado = new QLabel(tr("Resultados desactualizados"), this);
    lblDesactualizado->setObjectName(QStringLiteral("lblDesactualizado"));
    lblDesactualizado->setAccessibleName(tr("Resultados desactualizados"));
    lblDesactualizado->hide();
    cmdActualizar = boton(this, tr("&Actualizar"), "cmdActualizar");
    cmdActualizar->setToolTip(tr("Actualizar (F5)"));
    lblDesactualizado->setBuddy(cmdActualizar);
    h->addStretch(1);
    h->addWidget(lblDesactualizado);
    h->addWidget(cmdActualizar);
    connect(cmdActualizar, &QPushButton::clicked, this, &frmCoincidencias::refrescar);
    auto* f5 = new QShortcut(QKeySequence(Qt::Key_F5), this, this, &frmCoincidencias::refrescar);
    f5->setContext(Qt::WidgetWithChildrenShortcut);
    auto* cerrar = boton(this, tr("&Cerrar"), "cmdCerrar");
    // Closing only the page would leave its sub-window behind as an empty frame.
    connect(cerrar, &QPushButton::clicked, this, [this] {
        if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
            sub->close();
        else
            close();
    });
    h->addWidget(cerrar);
    v->addLayout(h);
    connect(grid, &QTableWidget::itemSelectionChanged, this, &frmCoincidencias::actualizarBotones);
    // A property or client stored or deleted anywhere can change the matches: read them again, once.
    connect(&ctx.cambios, &CambiosRegistros::registroCambiado, this, [this](const QString& tabla) {
        if (refrescoPendiente_ ||
            !CambiosRegistros::esDe(tabla, {"Propiedades", "Clientes", "Tipos", "Localidades", "Areas"}))
            return;
        refrescoPendiente_ = true;
        QTimer::singleShot(0, this, &frmCoincidencias::refrescar);
    });
    // Another seat's: marked, read again when the user asks.
    connect(&ctx.avisos, &AvisosCambios::cambio, this, [this](const QString& tabla) {
        if (!CambiosRegistros::esDe(tabla, {"Propiedades", "Clientes", "Tipos", "Localidades", "Areas"}))
            return;
        lblDesactualizado->show();
        QAccessibleEvent alerta(lblDesactualizado, QAccessible::Alert);
        QAccessible::updateAccessibility(&alerta);
    });
    resize(760, 420);
    cargar();
}

void frmCoincidencias::cargar() {
    db::Database& base = ctx_.db();
    try {
        if (modo_ == Modo::DeCliente) {
            co::LeerDeseos(base, cod_, &deseos_);
            lista_ = co::PropiedadesParaCliente(base, cod_, chkDescartadas && chkDescartadas->isChecked());
            setWindowTitle(tr("Propiedades que encajan con %1").arg(deseos_.nombre));
            lblTitulo->setText(
                tr("%n propiedades encajan con el cliente %1 (%2).", nullptr, int(lista_.size()))
                    .arg(cod_, deseos_.nombre));
        } else {
            lista_ = co::ClientesParaPropiedad(base, cod_);
            setWindowTitle(tr("Clientes interesados en %1").arg(cod_));
            lblTitulo->setText(
                tr("%n clientes buscan una propiedad como la %1.", nullptr, int(lista_.size())).arg(cod_));
        }
        // What the agent has now seen is no longer announced as new.
        co::MarcarVistas(base, lista_);
    } catch (const db::DbError& e) {
        informar(ctx_, this, tr("buscar las coincidencias"), tr("No se ha podido buscar las coincidencias."),
                 e);
        lista_.clear();
        mostrar();
        return;
    }
    lblDesactualizado->hide();
    mostrar();
}

bool frmCoincidencias::Desactualizado() const {
    return lblDesactualizado->isVisibleTo(this);
}

void frmCoincidencias::refrescar() {
    refrescoPendiente_ = false;
    // The rows the agent had chosen stay chosen; when none is left, the first is.
    const QStringList elegidos = seleccionados();
    cargar();
    QItemSelection seleccion;
    for (int f = 0; f < lista_.size(); ++f)
        if (elegidos.contains(modo_ == Modo::DeCliente ? lista_[f].codPropiedad : lista_[f].codCliente))
            seleccion.select(grid->model()->index(f, 0), grid->model()->index(f, grid->columnCount() - 1));
    if (seleccion.isEmpty())
        return;
    grid->selectionModel()->select(seleccion, QItemSelectionModel::ClearAndSelect);
    grid->setCurrentCell(seleccion.first().top(), 0, QItemSelectionModel::NoUpdate);
}

void frmCoincidencias::mostrar() {
    QStringList columnas;
    if (modo_ == Modo::DeCliente)
        columnas = {tr("Código"), tr("Tipo"),   tr("Localidad"), tr("Area"),          tr("Dorm."),
                    tr("Precio"), tr("Puntos"), tr("Estado"),    tr("Por qué encaja")};
    else
        columnas = {tr("Código"), tr("Nombre"), tr("Teléfono"),      tr("Email"),
                    tr("Puntos"), tr("Estado"), tr("Por qué encaja")};
    grid->clear();
    grid->setColumnCount(int(columnas.size()));
    grid->setHorizontalHeaderLabels(columnas);
    grid->setRowCount(int(lista_.size()));
    for (int i = 0; i < lista_.size(); ++i) {
        const co::Coincidencia& c = lista_[i];
        QStringList celdas;
        if (modo_ == Modo::DeCliente)
            celdas = {c.codPropiedad,
                      c.propiedad.tipo,
                      c.propiedad.localidad,
                      c.propiedad.area,
                      QString::number(c.propiedad.dormitorios),
                      c.propiedad.tienePrecio ? FormatoImporte(c.propiedad.precio) : QString(),
                      QString::number(c.puntos),
                      estadoPar(c),
                      c.motivos.join(QStringLiteral("; "))};
        else
            celdas = {c.codCliente,
                      c.nombreCliente,
                      c.telefonoCliente,
                      c.emailCliente,
                      QString::number(c.puntos),
                      estadoPar(c),
                      c.motivos.join(QStringLiteral("; "))};
        for (int j = 0; j < celdas.size(); ++j) {
            auto* item = new QTableWidgetItem(celdas[j]);
            if (j == celdas.size() - 1)
                item->setToolTip(c.motivos.join(u'\n'));
            grid->setItem(i, j, item);
        }
    }
    grid->resizeColumnsToContents();
    if (!lista_.isEmpty())
        grid->selectRow(0);
    actualizarBotones();
}

void frmCoincidencias::actualizarBotones() {
    const bool hay = !grid->selectionModel()->selectedRows().isEmpty();
    cmdIr->setEnabled(hay);
    if (cmdEnviar)
        cmdEnviar->setEnabled(hay);
    if (cmdNoInteresa) {
        cmdNoInteresa->setEnabled(hay);
        const int fila = grid->currentRow();
        const bool descartada = fila >= 0 && fila < lista_.size() && lista_[fila].descartada;
        cmdNoInteresa->setText(descartada ? tr("Le vuelve a &interesar") : tr("&No le interesa"));
        cmdNoInteresa->setAccessibleName(descartada ? tr("Le vuelve a interesar") : tr("No le interesa"));
    }
}

QStringList frmCoincidencias::seleccionados() const {
    QList<int> filas;
    for (const QModelIndex& i : grid->selectionModel()->selectedRows())
        filas << i.row();
    std::sort(filas.begin(), filas.end());
    QStringList cods;
    for (int f : filas)
        if (f < lista_.size())
            cods << (modo_ == Modo::DeCliente ? lista_[f].codPropiedad : lista_[f].codCliente);
    return cods;
}

void frmCoincidencias::irA() {
    const int fila = grid->currentRow();
    if (fila < 0 || fila >= lista_.size() || !ctx_.navigator)
        return;
    const co::Coincidencia& c = lista_[fila];
    if (modo_ == Modo::DeCliente)
        ctx_.navigator->usrIrPropiedad(c.propiedad.alquiler, c.codPropiedad);
    else
        ctx_.navigator->usrIrCliente(c.propiedad.alquiler, c.codCliente);
}

void frmCoincidencias::cambiarNoInteresa() {
    const int fila = grid->currentRow();
    if (fila < 0 || fila >= lista_.size())
        return;
    const co::Coincidencia c = lista_[fila];
    try {
        co::MarcarNoInteresa(ctx_.db(), cod_, c.codPropiedad, !c.descartada);
    } catch (const db::DbError& e) {
        informar(ctx_, this, tr("marcar la propiedad"), tr("No se ha podido marcar la propiedad."), e);
    }
    cargar();
}

void frmCoincidencias::enviarPorEmail() {
    const QStringList cods = seleccionados();
    if (cods.isEmpty())
        return;
    // No address is made up: the client's own, or nothing is sent.
    if (deseos_.email.trimmed().isEmpty()) {
        MensajeError(
            *ctx_.dialogs,
            tr("El cliente %1 no tiene dirección de correo: escríbala en el campo Email de su ficha.")
                .arg(deseos_.nombre),
            this);
        return;
    }
    bool cancelado = false;
    const int modelo = reports::ElegirModeloDossier(ctx_, &cancelado);
    if (cancelado)
        return;
    QStringList ficheros;
    for (const QString& cod : cods) {
        const QString fichero = reports::RutaDossierPDF(ctx_, cod);
        try {
            reports::GenerarDossier(ctx_, cod, modelo).writePdf(fichero);
        } catch (const report::ReportError& e) {
            MensajeError(*ctx_.dialogs, e.message(), this);
            return;
        } catch (const db::DbError& e) {
            informar(ctx_, this, tr("preparar el dossier de %1").arg(cod),
                     tr("No se ha podido preparar el dossier de %1.").arg(cod), e);
            return;
        }
        ficheros << fichero;
    }
    mail::Message m;
    m.toAddress = deseos_.email.trimmed();
    m.toName = deseos_.nombre;
    m.subject = cods.size() == 1 ? tr("Una propiedad para usted: %1").arg(cods.first())
                                 : tr("%n propiedades para usted", nullptr, int(cods.size()));
    m.body = tr("Le adjuntamos el dossier de las propiedades %1, que encajan con lo que busca.", nullptr,
                int(cods.size()))
                 .arg(cods.join(QStringLiteral(", ")));
    m.attachment = ficheros.first();
    m.attachments = ficheros.mid(1);
    mail::XdgEmailClient porDefecto;
    mail::MailClient& cliente = ctx_.mail ? *ctx_.mail : porDefecto;
    QString error;
    if (!cliente.compose(m, &error)) {
        MensajeError(*ctx_.dialogs, error, this);
        return;
    }
    // Handed over: the log and the sent marks go in together.
    try {
        co::RegistrarEnvio(ctx_.db(), cod_, deseos_.nombre, cods, ctx_.agente.nombre);
    } catch (const db::DbError& e) {
        informar(ctx_, this, tr("anotar el envío"), tr("No se ha podido anotar el envío."), e);
    }
    cargar();
}

void frmCoincidencias::Mostrar(AppContext& ctx, Modo modo, const QString& cod) {
    if (cod.isEmpty() || !ctx.navigator)
        return;
    auto* w = new frmCoincidencias(ctx, modo, cod);
    ctx.navigator->usrShowReport(w, w->windowTitle());
}

} // namespace orb
