#include "VentanaBusqueda.h"

#include "platform/db/DbError.h"
#include "platform/db/Recordset.h"
#include "platform/widgets/Atajos.h"
#include "platform/widgets/OrdenLectura.h"
#include "platform/widgets/QueryTableModel.h"
#include "platform/widgets/ResultGrid.h"
#include "platform/widgets/ThemeIcon.h"
#include "shell/AppContext.h"
#include "shell/ErrorReport.h"
#include "shell/Log.h"
#include "shell/Mensajes.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <memory>

namespace orb {

namespace {

QString sinDosPuntos(QString s) {
    s.remove(u'&');
    if (s.endsWith(u':'))
        s.chop(1);
    return s.trimmed();
}

} // namespace

VentanaBusqueda::VentanaBusqueda(AppContext& context, const QString& objectName, bool modoAlquiler,
                                 QWidget* parent)
    : QWidget(parent), ctx(context), modoAlquiler_(modoAlquiler) {
    setObjectName(objectName);
    setAttribute(Qt::WA_DeleteOnClose);

    Picture2 = new QWidget(this);
    Picture2->setObjectName(QStringLiteral("Picture2"));
    auto* barra = new QHBoxLayout(Picture2);
    barra->setContentsMargins(4, 2, 4, 2);
    barra->setSpacing(2);
    cmdFind =
        ui::barButton(Picture2, "cmdFind", tr("Buscar"), "edit-find", QStyle::SP_FileDialogContentsView);
    cmdFindDel = ui::barButton(Picture2, "cmdFindDel", tr("Nueva Búsqueda"), "edit-clear",
                               QStyle::SP_DialogResetButton);
    cmdGoto = ui::barButton(Picture2, "cmdGoto", tr("Ir a"), "go-jump", QStyle::SP_DialogOpenButton);
    butPrint = ui::barButton(Picture2, "butPrint", tr("Imprimir Listado"), "document-print",
                             QStyle::SP_DialogSaveButton);
    cmdFirst =
        ui::barButton(Picture2, "cmdFirst", tr("Primer registro"), "go-first", QStyle::SP_MediaSkipBackward);
    cmdPrev =
        ui::barButton(Picture2, "cmdPrev", tr("Anterior registro"), "go-previous", QStyle::SP_ArrowBack);
    cmdNext =
        ui::barButton(Picture2, "cmdNext", tr("Siguiente registro"), "go-next", QStyle::SP_ArrowForward);
    cmdLast =
        ui::barButton(Picture2, "cmdLast", tr("Último registro"), "go-last", QStyle::SP_MediaSkipForward);
    cmdClose =
        ui::barButton(Picture2, "cmdClose", tr("Cerrar"), "window-close", QStyle::SP_DialogCloseButton);
    cmdActualizar =
        ui::barButton(Picture2, "cmdActualizar", tr("Actualizar"), "view-refresh", QStyle::SP_BrowserReload);
    lblDesactualizado = new QLabel(tr("Resultados desactualizados"), Picture2);
    lblDesactualizado->setObjectName(QStringLiteral("lblDesactualizado"));
    lblDesactualizado->setAccessibleName(tr("Resultados desactualizados"));
    lblDesactualizado->setBuddy(cmdActualizar);
    lblDesactualizado->hide();
    for (QToolButton* b : {cmdFind, cmdFindDel, cmdGoto, butPrint})
        barra->addWidget(b);
    barra->addSpacing(12);
    for (QToolButton* b : {cmdFirst, cmdPrev, cmdNext, cmdLast})
        barra->addWidget(b);
    barra->addSpacing(12);
    barra->addWidget(cmdActualizar);
    barra->addWidget(lblDesactualizado);
    barra->addStretch(1);
    barra->addWidget(cmdClose);

    connect(cmdFind, &QToolButton::clicked, this, &VentanaBusqueda::Buscar);
    connect(cmdFindDel, &QToolButton::clicked, this, [this] { NuevaBusqueda(); });
    connect(cmdGoto, &QToolButton::clicked, this, &VentanaBusqueda::IrA);
    connect(butPrint, &QToolButton::clicked, this, &VentanaBusqueda::Imprimir);
    connect(cmdFirst, &QToolButton::clicked, this, &VentanaBusqueda::Primero);
    connect(cmdPrev, &QToolButton::clicked, this, &VentanaBusqueda::Anterior);
    connect(cmdNext, &QToolButton::clicked, this, &VentanaBusqueda::Siguiente);
    connect(cmdLast, &QToolButton::clicked, this, &VentanaBusqueda::Ultimo);
    connect(cmdClose, &QToolButton::clicked, this, &QWidget::close);
    connect(cmdActualizar, &QToolButton::clicked, this, &VentanaBusqueda::Actualizar);

    Picture1 = new QWidget(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    panel = new QGridLayout(Picture1);
    panel->setContentsMargins(12, 10, 12, 8);
    panel->setHorizontalSpacing(8);
    panel->setVerticalSpacing(6);

    dataGrid = new ui::QueryTableModel(this);
    grd = new QTableView(this);
    ui::configureResultGrid(grd, dataGrid, tr("Resultado de la búsqueda"));
    ui::disableCornerButton(grd, tr("Esquina del resultado"));
    connect(grd, &QTableView::doubleClicked, this, [this](const QModelIndex& i) {
        if (i.isValid())
            IrA();
    });

    ui::stackBelowButtonBar(this, Picture2, {Picture1, grd});
    crearAtajos();

    // Several records may change in one go: the statement runs once, after them.
    connect(&ctx.cambios, &CambiosRegistros::registroCambiado, this, [this](const QString& tabla) {
        const auto esta = [&](const char* t) { return CambiosRegistros::esDe(tabla, {t}); };
        if (refrescoPendiente_ || std::ranges::none_of(tablas_, esta))
            return;
        refrescoPendiente_ = true;
        QTimer::singleShot(0, this, [this] { refrescar(); });
    });
    // Another seat's changes are not run again by themselves (every seat's
    // searches would follow every change): the result is marked, the user refreshes.
    connect(&ctx.avisos, &AvisosCambios::cambio, this, [this](const QString& tabla) {
        const auto esta = [&](const char* t) { return CambiosRegistros::esDe(tabla, {t}); };
        if (!buscado_ || lblDesactualizado->isVisibleTo(this) || std::ranges::none_of(tablas_, esta))
            return;
        lblDesactualizado->show();
        QAccessibleEvent alerta(lblDesactualizado, QAccessible::Alert);
        QAccessible::updateAccessibility(&alerta);
    });
}

bool VentanaBusqueda::Desactualizado() const {
    return lblDesactualizado->isVisibleTo(this);
}

void VentanaBusqueda::Actualizar() {
    refrescar(true);
}

void VentanaBusqueda::crearAtajos() {
    atajos_ = new ui::AtajosTeclado(this);
    // The boxes search with their own Enter; the lists take it here.
    const auto enLista = [this] {
        QWidget* foco = QApplication::focusWidget();
        return qobject_cast<QComboBox*>(foco) && Picture1->isAncestorOf(foco);
    };
    for (const Qt::Key intro : {Qt::Key_Return, Qt::Key_Enter}) {
        atajos_->agregar(QKeyCombination(intro), enLista, [this] { Buscar(); });
        atajos_->agregar(
            QKeyCombination(intro), [this] { return QApplication::focusWidget() == grd; }, [this] { IrA(); });
    }
    atajos_->agregar(QKeyCombination(Qt::Key_F3), cmdFind);
    atajos_->agregar(
        Qt::CTRL | Qt::Key_F, [] { return true; }, [this] { IrACriterios(); });
    atajos_->agregar(Qt::CTRL | Qt::Key_P, butPrint);
    atajos_->agregar(QKeyCombination(Qt::Key_F5), cmdActualizar);
    atajos_->mostrarEnAyuda(cmdFind, tr("Intro o F3"));
    atajos_->mostrarEnAyuda(cmdGoto, tr("Intro en la tabla"));
    atajos_->mostrarEnAyuda(butPrint, QStringLiteral("Ctrl+P"));
    atajos_->mostrarEnAyuda(cmdActualizar, QStringLiteral("F5"));
}

void VentanaBusqueda::IrACriterios() {
    for (QWidget* w : ui::ordenDeLectura(Picture1))
        if (w->isVisibleTo(this) && w->isEnabled()) {
            w->setFocus(Qt::ShortcutFocusReason);
            if (auto* t = qobject_cast<QLineEdit*>(w))
                t->selectAll();
            return;
        }
}

// ---- criteria panel ----

QLabel* VentanaBusqueda::etiqueta(const QString& texto, int row, int column, QWidget* buddy,
                                  const QString& nombre) {
    auto* l = new QLabel(texto, Picture1);
    l->setBuddy(buddy);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    panel->addWidget(l, row, column);
    if (buddy)
        buddy->setAccessibleName(nombre.isEmpty() ? sinDosPuntos(texto) : nombre);
    return l;
}

QLineEdit* VentanaBusqueda::addText(int index, const QString& label, int row, int column, int span) {
    auto* t = new QLineEdit(Picture1);
    t->setObjectName(QStringLiteral("txt(%1)").arg(index));
    txt.insert(index, t);
    etiqueta(label, row, column, t);
    panel->addWidget(t, row, column + 1, 1, span);
    connect(t, &QLineEdit::returnPressed, this, &VentanaBusqueda::Buscar);
    return t;
}

void VentanaBusqueda::addRango(int desde, int hasta, const QString& label, int row, int column,
                               const QString& muestra) {
    auto* celda = new QWidget(Picture1);
    auto* h = new QHBoxLayout(celda);
    h->setContentsMargins(0, 0, 0, 0);
    h->setSpacing(6);
    const QString nombre = sinDosPuntos(label);
    for (int index : {desde, hasta}) {
        auto* t = new QLineEdit(celda);
        t->setObjectName(QStringLiteral("txt(%1)").arg(index));
        t->setAccessibleName(index == desde ? tr("%1 desde").arg(nombre) : tr("%1 hasta").arg(nombre));
        t->setMinimumWidth(t->fontMetrics().horizontalAdvance(muestra) + 12);
        txt.insert(index, t);
        connect(t, &QLineEdit::returnPressed, this, &VentanaBusqueda::Buscar);
        if (index == hasta) {
            auto* a = new QLabel(tr("a", "between the two boxes of a range"), celda);
            a->setBuddy(t);
            h->addWidget(a);
        }
        h->addWidget(t, 1);
    }
    auto* l = new QLabel(label, Picture1);
    l->setBuddy(txt[desde]);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    panel->addWidget(l, row, column);
    panel->addWidget(celda, row, column + 1);
}

QComboBox* VentanaBusqueda::addListaCatalogo(int index, const QString& label, int row, int column) {
    auto* lista = new QComboBox(Picture1);
    lista->setObjectName(QStringLiteral("cboLookup(%1)").arg(index));
    lista->setMinimumContentsLength(10);
    lista->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cboLookup.insert(index, lista);
    etiqueta(label, row, column, lista);
    panel->addWidget(lista, row, column + 1);
    auto* codigo = new QLineEdit(Picture1);
    codigo->setObjectName(QStringLiteral("txt(%1)").arg(index));
    codigo->setAccessibleName(tr("%1 (código)").arg(lista->accessibleName()));
    codigo->hide();
    txt.insert(index, codigo);
    connect(lista, &QComboBox::currentIndexChanged, codigo, [lista, codigo](int i) {
        const QVariant tag = i >= 0 ? lista->itemData(i) : QVariant();
        codigo->setText(tag.isValid() ? QString::number(tag.toLongLong()) : QString());
    });
    return lista;
}

void VentanaBusqueda::llenarLista(int index, const QString& sql, const db::Params& params) {
    QComboBox* lista = cboLookup.value(index);
    const QSignalBlocker quieto(lista);
    lista->clear();
    lista->addItem(QString());
    try {
        auto rs = ctx.db().openRecordset(sql, db::RecordsetType::Snapshot, params);
        for (; !rs->isEOF(); rs->moveNext())
            lista->addItem(rs->value(1).toString(), rs->value(0).toLongLong());
    } catch (const db::DbError&) {
        // A list that cannot be read stays with its empty item: the criterion is simply not offered.
    }
    lista->setCurrentIndex(0);
    txt[index]->clear();
}

QComboBox* VentanaBusqueda::addOrden(const QStringList& items, int row, int column) {
    cboOrder = new QComboBox(Picture1);
    cboOrder->setObjectName(QStringLiteral("cboOrder"));
    // Each item shows its caption and keeps the Spanish text the statement compares.
    for (const QString& item : items)
        cboOrder->addItem(QCoreApplication::translate("SqlBusqueda", item.toUtf8().constData()), item);
    etiqueta(tr("Ordenado por:"), row, column, cboOrder);
    panel->addWidget(cboOrder, row, column + 1);
    return cboOrder;
}

void VentanaBusqueda::limpiarCriterios() {
    for (QComboBox* lista : std::as_const(cboLookup))
        lista->setCurrentIndex(0);
    for (QLineEdit* t : std::as_const(txt))
        t->clear();
    if (cboOrder)
        cboOrder->setCurrentIndex(0);
}

// ---- result ----

void VentanaBusqueda::Buscar() {
    const ConsultaBusqueda q = construir();
    if (!q.error.isEmpty()) {
        MensajeError(*ctx.dialogs, q.error, this);
        return;
    }
    if (mostrarResultado(q))
        buscado_ = true;
}

bool VentanaBusqueda::mostrarResultado(const ConsultaBusqueda& q) {
    // A new model for the new statement: when the database refuses it, the
    // grid keeps the model (and rows) it had.
    auto nuevo = std::make_unique<ui::QueryTableModel>(this);
    try {
        nuevo->setQuery(ctx.db(), q.sql, q.params);
    } catch (const db::DbError& e) {
        InformarErrorBaseDatos(*ctx.dialogs, this, tr("realizar la búsqueda"),
                               tr("No se ha podido realizar la búsqueda."), e, {}, ctx.RutaBaseDatos);
        return false;
    }
    actual_ = q;
    buscado_ = false;
    ponerModelo(std::move(nuevo));
    moverA(0);
    return true;
}

void VentanaBusqueda::ponerModelo(std::unique_ptr<ui::QueryTableModel> modelo) {
    QItemSelectionModel* seleccion = grd->selectionModel();
    grd->setModel(modelo.get());
    delete seleccion;
    delete dataGrid;
    dataGrid = modelo.release();
    errorAvisado_.clear();
    // The rows shown are read now.
    lblDesactualizado->hide();
    formatearRejilla();
}

void VentanaBusqueda::refrescar(bool preguntado) {
    refrescoPendiente_ = false;
    const QString cod = codigoActual();
    const int fila = grd->currentIndex().isValid() ? grd->currentIndex().row() : 0;
    auto nuevo = std::make_unique<ui::QueryTableModel>(this);
    try {
        nuevo->setQuery(ctx.db(), actual_.sql, actual_.params);
    } catch (const db::DbError& e) {
        // The rows shown stay. Unasked, the next search tells; asked, the user is told now.
        if (preguntado)
            InformarErrorBaseDatos(*ctx.dialogs, this, tr("actualizar el resultado de la búsqueda"),
                                   tr("No se ha podido actualizar el resultado."), e, {}, ctx.RutaBaseDatos);
        else
            RegistrarError(tr("actualizar el resultado de la búsqueda"), e);
        return;
    }
    ponerModelo(std::move(nuevo));
    while (dataGrid->rowCount() <= fila && dataGrid->canFetchMore({}))
        dataGrid->fetchMore({});
    // The same record, near where it was; else the row that took its place.
    int destino = std::min(fila, dataGrid->rowCount() - 1);
    for (int i = 0; i < dataGrid->rowCount() && !cod.isEmpty(); ++i)
        if (dataGrid->index(i, 0).data(Qt::EditRole).toString() == cod) {
            destino = i;
            break;
        }
    moverA(destino);
}

void VentanaBusqueda::moverA(int row) {
    if (row < 0 || row >= dataGrid->rowCount())
        return;
    const QModelIndex i = dataGrid->index(row, 0);
    grd->selectionModel()->setCurrentIndex(i,
                                           QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    grd->scrollTo(i);
}

void VentanaBusqueda::Primero() {
    moverA(0);
}

void VentanaBusqueda::Anterior() {
    const QModelIndex i = grd->currentIndex();
    if (i.isValid())
        moverA(i.row() - 1);
}

void VentanaBusqueda::Siguiente() {
    const QModelIndex i = grd->currentIndex();
    if (!i.isValid())
        return;
    if (i.row() + 1 >= dataGrid->rowCount() && dataGrid->canFetchMore({})) {
        dataGrid->fetchMore({});
        avisarErrorLectura();
    }
    moverA(i.row() + 1);
}

void VentanaBusqueda::Ultimo() {
    while (dataGrid->canFetchMore({}))
        dataGrid->fetchMore({});
    avisarErrorLectura();
    moverA(dataGrid->rowCount() - 1);
}

void VentanaBusqueda::avisarErrorLectura() {
    const QString detalle = dataGrid->fetchError();
    if (detalle.isEmpty() || detalle == errorAvisado_)
        return;
    errorAvisado_ = detalle;
    EscribirLog(tr("Error al leer el resultado de la búsqueda: %1").arg(detalle));
    MensajeError(
        *ctx.dialogs,
        tr("No se ha podido realizar la búsqueda.\nSolo se muestran las filas leídas; los detalles se "
           "han guardado en Orbalia.log."),
        this);
}

void VentanaBusqueda::Imprimir() {
    imprimirListado(actual_);
}

QString VentanaBusqueda::codigoActual() const {
    const QModelIndex i = grd->currentIndex();
    if (!i.isValid())
        return {};
    return dataGrid->index(i.row(), 0).data(Qt::EditRole).toString();
}

void VentanaBusqueda::IrA() {
    const QString cod = codigoActual();
    if (!cod.isEmpty())
        irRegistro(cod);
}

} // namespace orb
