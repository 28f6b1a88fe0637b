#include "RecordWindow.h"

#include "platform/db/Recordset.h"
#include "platform/widgets/Atajos.h"
#include "platform/widgets/OrdenLectura.h"
#include "platform/widgets/ResultGrid.h"
#include "platform/widgets/ThemeIcon.h"
#include "shell/AppContext.h"
#include "shell/Numeros.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <algorithm>

namespace orb {

RecordWindow::RecordWindow(AppContext& context, const QString& objectName, QWidget* parent)
    : QWidget(parent), ctx(context) {
    setObjectName(objectName);
    setAttribute(Qt::WA_DeleteOnClose);

    Picture2 = new QWidget(this);
    Picture2->setObjectName(QStringLiteral("Picture2"));
    buttons = new QHBoxLayout(Picture2);
    buttons->setContentsMargins(4, 2, 4, 2);
    buttons->setSpacing(2);
    cmdFirst =
        ui::barButton(Picture2, "cmdFirst", tr("Primer registro"), "go-first", QStyle::SP_MediaSkipBackward);
    cmdPrev =
        ui::barButton(Picture2, "cmdPrev", tr("Anterior registro"), "go-previous", QStyle::SP_ArrowBack);
    cmdNext =
        ui::barButton(Picture2, "cmdNext", tr("Siguiente registro"), "go-next", QStyle::SP_ArrowForward);
    cmdLast =
        ui::barButton(Picture2, "cmdLast", tr("Último registro"), "go-last", QStyle::SP_MediaSkipForward);
    cmdAdd = ui::barButton(Picture2, "cmdAdd", tr("Añadir registro"), "list-add", QStyle::SP_FileIcon);
    cmdEdit = ui::barButton(Picture2, "cmdEdit", tr("Editar registro"), "document-edit",
                            QStyle::SP_FileDialogDetailedView);
    cmdDel = ui::barButton(Picture2, "cmdDel", tr("Borrar registro"), "edit-delete", QStyle::SP_TrashIcon);
    cmdOk = ui::barButton(Picture2, "cmdOk", tr("Aceptar"), "object-select", QStyle::SP_DialogApplyButton);
    cmdCancel =
        ui::barButton(Picture2, "cmdCancel", tr("Cancelar"), "edit-undo", QStyle::SP_DialogCancelButton);
    cmdClose =
        ui::barButton(Picture2, "cmdClose", tr("Cerrar"), "window-close", QStyle::SP_DialogCloseButton);
    for (QToolButton* b : {cmdFirst, cmdPrev, cmdNext, cmdLast})
        buttons->addWidget(b);
    buttons->addSpacing(12);
    for (QToolButton* b : {cmdAdd, cmdEdit, cmdDel})
        buttons->addWidget(b);
    buttons->addSpacing(12);
    for (QToolButton* b : {cmdOk, cmdCancel})
        buttons->addWidget(b);
    buttons->addStretch(1);
    buttons->addWidget(cmdClose);

    Picture1 = new QWidget(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    grid = new QGridLayout(Picture1);
    grid->setContentsMargins(12, 10, 12, 12);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(6);

    lblOtroPuesto = new QLabel(this);
    lblOtroPuesto->setObjectName(QStringLiteral("lblOtroPuesto"));
    lblOtroPuesto->setAccessibleName(tr("Aviso de otro puesto"));
    lblOtroPuesto->setWordWrap(true);
    lblOtroPuesto->setContentsMargins(12, 6, 12, 6);
    lblOtroPuesto->setForegroundRole(QPalette::HighlightedText);
    lblOtroPuesto->setBackgroundRole(QPalette::Highlight);
    lblOtroPuesto->setAutoFillBackground(true);
    lblOtroPuesto->hide();

    ui::stackBelowButtonBar(this, Picture2, {lblOtroPuesto, Picture1});

    data = new clsManten(this, this, *ctx.dialogs);
    crearAtajos();
    connect(data, &clsManten::registroMostrado, this, &RecordWindow::avisarPosicion);
    connect(data, &clsManten::registroGuardado, this, [this] {
        if (ctx.navigator)
            ctx.navigator->usrMensajeEstado(tr("Registro guardado"));
    });
    connect(data, &clsManten::avisoOtroPuesto, this, &RecordWindow::mostrarAvisoOtroPuesto);
}

void RecordWindow::mostrarAvisoOtroPuesto(const QString& texto) {
    lblOtroPuesto->setText(texto);
    lblOtroPuesto->setVisible(!texto.isEmpty());
    if (texto.isEmpty())
        return;
    // Said by a screen reader too, without taking the focus from what the user types.
    QAccessibleEvent alerta(lblOtroPuesto, QAccessible::Alert);
    QAccessible::updateAccessibility(&alerta);
    if (ctx.navigator)
        ctx.navigator->usrMensajeEstado(texto);
}

void RecordWindow::crearAtajos() {
    atajos = new ui::AtajosTeclado(this);
    const struct {
        QKeyCombination tecla;
        QToolButton* boton;
    } teclas[] = {{Qt::CTRL | Qt::Key_N, cmdAdd},
                  {Qt::CTRL | Qt::Key_E, cmdEdit},
                  {Qt::CTRL | Qt::Key_S, cmdOk},
                  {Qt::CTRL | Qt::Key_Return, cmdOk},
                  {Qt::CTRL | Qt::Key_Enter, cmdOk},
                  {Qt::CTRL | Qt::Key_Home, cmdFirst},
                  {QKeyCombination(Qt::Key_PageUp), cmdPrev},
                  {QKeyCombination(Qt::Key_PageDown), cmdNext},
                  {Qt::CTRL | Qt::Key_End, cmdLast}};
    for (const auto& t : teclas)
        atajos->agregar(t.tecla, t.boton);
    atajos->agregar(
        QKeyCombination(Qt::Key_Escape), [this] { return cmdCancel->isEnabled(); },
        [this] { cancelarConEsc(); });
    atajos->agregar(
        Qt::CTRL | Qt::Key_P,
        [this] {
            QAbstractButton* b = botonImprimir();
            return b && b->isEnabled();
        },
        [this] { botonImprimir()->click(); });
    atajos->mostrarEnAyuda(cmdFirst, tr("Ctrl+Inicio"));
    atajos->mostrarEnAyuda(cmdPrev, tr("Re Pág"));
    atajos->mostrarEnAyuda(cmdNext, tr("Av Pág"));
    atajos->mostrarEnAyuda(cmdLast, tr("Ctrl+Fin"));
    atajos->mostrarEnAyuda(cmdAdd, QStringLiteral("Ctrl+N"));
    atajos->mostrarEnAyuda(cmdEdit, QStringLiteral("Ctrl+E"));
    atajos->mostrarEnAyuda(cmdOk, tr("Ctrl+S o Ctrl+Intro"));
    atajos->mostrarEnAyuda(cmdCancel, QStringLiteral("Esc"));
}

QAbstractButton* RecordWindow::botonImprimir() const {
    return Picture2->findChild<QAbstractButton*>(QStringLiteral("butPrint"));
}

void RecordWindow::cancelarConEsc() {
    if (data->HayCambios()) {
        const auto answer = ctx.dialogs->message(
            this, {tr("Se están añadiendo/modificando datos ¿desea descartar los cambios?"),
                   QStringLiteral("Orbalia"), ui::DialogService::Buttons::YesNo,
                   ui::DialogService::Icon::Question, ui::DialogService::Answer::No});
        if (answer != ui::DialogService::Answer::Yes)
            return;
    }
    cmdCancel->click();
}

void RecordWindow::avisarPosicion() {
    db::Recordset* rs = data->Recordset();
    if (!ctx.navigator || !rs)
        return;
    if (rs->isEOF() || rs->isBOF() || rs->recordCount() == 0) {
        ctx.navigator->usrMensajeEstado(tr("Ningún registro"));
        return;
    }
    ctx.navigator->usrMensajeEstado(
        tr("Registro %1 de %2").arg(rs->absolutePosition() + 1).arg(rs->recordCount()));
}

void RecordWindow::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    if (mostrada_)
        return;
    mostrada_ = true;
    QList<QWidget*> orden = ui::ordenDeLectura(this);
    if (const qsizetype desde = orden.indexOf(primeroAlTabular.data()); desde >= 0) {
        qsizetype hasta = desde;
        while (hasta < orden.size() && Picture1->isAncestorOf(orden[hasta]))
            ++hasta;
        qsizetype inicio = desde;
        while (inicio > 0 && Picture1->isAncestorOf(orden[inicio - 1]))
            --inicio;
        std::rotate(orden.begin() + inicio, orden.begin() + desde, orden.begin() + hasta);
    }
    ui::tabularEn(orden);
    if (QAbstractButton* b = botonImprimir())
        atajos->mostrarEnAyuda(b, QStringLiteral("Ctrl+P"));
}

QLabel* RecordWindow::addLabel(const QString& text, int row, int column, QWidget* buddy, int lblIndex) {
    auto* l = new QLabel(text, Picture1);
    l->setBuddy(buddy);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    if (lblIndex >= 0) {
        l->setObjectName(QStringLiteral("lbl(%1)").arg(lblIndex));
        lbl.insert(lblIndex, l);
    }
    grid->addWidget(l, row, column);
    if (buddy) {
        QString name = text;
        name.remove(u'&');
        if (name.endsWith(u':'))
            name.chop(1);
        buddy->setAccessibleName(name.trimmed());
    }
    return l;
}

ui::BoundTextBox* RecordWindow::addText(int index, const QString& field, const QString& label, int row,
                                        int column, int span) {
    auto* t = new ui::BoundTextBox(Picture1, field);
    t->setObjectName(QStringLiteral("txt(%1)").arg(index));
    txt.insert(index, t);
    if (!label.isNull())
        addLabel(label, row, column, t);
    grid->addWidget(t, row, column + 1, 1, span);
    return t;
}

QHBoxLayout* RecordWindow::addFilaCodigo(int agencia, int numero, int cod, int anchoAgencia, int anchoNumero,
                                         int span) {
    auto* oficina = new ui::BoundTextBox(Picture1, QStringLiteral("Agencia"));
    oficina->setObjectName(QStringLiteral("txt(%1)").arg(agencia));
    oficina->setMaximumWidth(anchoAgencia);
    auto* numeroCaja = new ui::BoundTextBox(Picture1, QStringLiteral("QuickID"));
    numeroCaja->setObjectName(QStringLiteral("txt(%1)").arg(numero));
    numeroCaja->setMaximumWidth(anchoNumero);
    numeroCaja->setAccessibleName(tr("Número"));
    numeroCaja->Codigo = true;
    auto* codigo = new ui::BoundTextBox(Picture1, QStringLiteral("Cod"));
    codigo->setObjectName(QStringLiteral("txt(%1)").arg(cod));
    codigo->setAccessibleName(tr("Código completo"));
    codigo->hide();
    txt.insert(agencia, oficina);
    txt.insert(numero, numeroCaja);
    txt.insert(cod, codigo);

    auto* fila = new QWidget(Picture1);
    auto* h = new QHBoxLayout(fila);
    h->setContentsMargins(0, 0, 0, 0);
    h->addWidget(oficina);
    h->addWidget(numeroCaja);
    h->addWidget(codigo);
    addLabel(tr("&Código:"), 0, 0, oficina);
    oficina->setAccessibleName(tr("Código de oficina"));
    grid->addWidget(fila, 0, 1, 1, span);
    return h;
}

ui::BoundMemo* RecordWindow::addMemo(int index, const QString& field, const QString& label, int row,
                                     int column, int rowSpan, int span) {
    auto* m = new ui::BoundMemo(Picture1, field);
    m->setObjectName(QStringLiteral("txt(%1)").arg(index));
    m->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txt.insert(index, m);
    QLabel* l = addLabel(label, row, column, m);
    l->setAlignment(Qt::AlignRight | Qt::AlignTop);
    grid->addWidget(m, row, column + 1, rowSpan, span);
    return m;
}

ui::BoundComboBox* RecordWindow::addListaCatalogo(int index, const QString& field, const QString& label,
                                                  int row, int column, const QString& sql) {
    auto* lista = new ui::BoundComboBox(ui::BoundComboBox::DropDownList, Picture1);
    lista->setObjectName(QStringLiteral("cboLookup(%1)").arg(index));
    cboLookup.insert(index, lista);
    addLabel(label, row, column, lista);
    grid->addWidget(lista, row, column + 1);
    auto* codigo = new ui::BoundTextBox(Picture1, field);
    codigo->setObjectName(QStringLiteral("txt(%1)").arg(index));
    codigo->setAccessibleName(tr("%1 (código)").arg(lista->accessibleName()));
    codigo->hide();
    txt.insert(index, codigo);

    auto rs = ctx.db().openRecordset(sql, db::RecordsetType::Snapshot);
    for (; !rs->isEOF(); rs->moveNext())
        lista->addItemWithTag(rs->value(1).toString(), rs->value(0).toLongLong());
    lista->setCurrentIndex(-1);

    connect(lista, &QComboBox::activated, codigo, [lista, codigo](int i) {
        codigo->setText(i >= 0 ? QString::number(lista->itemTag(i)) : QStringLiteral("0"));
    });
    connect(codigo, &QLineEdit::textChanged, lista,
            [lista](const QString& t) { lista->selectTag(qint64(ValorNumerico(t))); });
    return lista;
}

QToolButton* RecordWindow::addToolButton(const QString& name, const QString& tooltip, const QString& icon) {
    QToolButton* b = ui::barButton(Picture2, name, tooltip, icon, QStyle::SP_FileIcon);
    buttons->insertWidget(buttons->count() - 2, b);
    return b;
}

void RecordWindow::iniciarControlador(const QString& recordSource, const db::Params& params) {
    data->DataPicture(Picture1);
    data->setFirstButton(cmdFirst);
    data->setPreviousButton(cmdPrev);
    data->setNextButton(cmdNext);
    data->setLastButton(cmdLast);
    data->setAddButton(cmdAdd);
    data->setEditButton(cmdEdit);
    data->setDeleteButton(cmdDel);
    data->setOkButton(cmdOk);
    data->setCancelButton(cmdCancel);
    data->setCloseButton(cmdClose);
    data->setAddAgain(ctx.AddAgainConfig);
    data->setDatabaseName(ctx.RutaBaseDatos);
    // Other windows' grids and counts hear of what this one stores or deletes.
    connect(data, &clsManten::registroCambiado, &ctx.cambios, &CambiosRegistros::avisar);
    // …and this one of what other seats store or delete.
    connect(&ctx.avisos, &AvisosCambios::cambio, data,
            [this](const QString& tabla, qint64 rowid, const QString& codigo) {
                data->CambioDeOtroPuesto(tabla, rowid, codigo);
            });
    data->setRecordSource(recordSource, params);
    data->Refresh();
}

void RecordWindow::irRegistro(const QString& cod) {
    const QString criterio = QStringLiteral("Cod = ?");
    db::Recordset* rs = data->Recordset();
    if (rs && (data->EstadoAñadiendo() || data->EstadoModificando())) {
        if (data->EstadoModificando() && rs->value(QStringLiteral("Cod")).toString() == cod)
            return;
        bool existe = true;
        try {
            existe = rs->clone()->findFirst(criterio, {cod});
        } catch (const db::DbError&) {
            // The controller's own search below tells the error.
        }
        if (!existe || !data->DejarEdicion())
            return;
    }
    data->FindFirst(criterio, {cod});
}

void RecordWindow::closeEvent(QCloseEvent* e) {
    if (data->PuedeCerrar())
        e->accept();
    else
        e->ignore();
}

} // namespace orb
