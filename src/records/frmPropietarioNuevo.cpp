#include "frmPropietarioNuevo.h"

#include "CamposPersona.h"
#include "maintenance/CodeAllocator.h"
#include "platform/db/Recordset.h"
#include "platform/widgets/BoundControls.h"
#include "platform/widgets/ThemeIcon.h"
#include "shell/AppContext.h"
#include "shell/ConfigStore.h"
#include "shell/Identidad.h"
#include "shell/Mensajes.h"

#include <QCloseEvent>
#include <QDate>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace orb {

frmPropietarioNuevo::frmPropietarioNuevo(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmPropietarioNuevo"));
    setWindowTitle(tr("Nuevo Propietario"));
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    QList<QWidget*> order;
    const auto campo = [&](int index, const QString& label, int maxLength, int row, int column,
                           int span = 1) {
        auto* e = new QLineEdit(this);
        e->setObjectName(QStringLiteral("txt(%1)").arg(index));
        ui::LimitarCaracteres(e, maxLength); // characters, as the database counts them
        auto* l = new QLabel(label, this);
        l->setBuddy(e);
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        QString name = label;
        name.remove(u'&');
        name.chop(1);
        e->setAccessibleName(name);
        grid->addWidget(l, row, column);
        grid->addWidget(e, row, column + 1, 1, span);
        txt.insert(index, e);
        order << e;
    };
    for (const propietario::Campo* c : propietario::enOrden(&propietario::Campo::dialogo))
        campo(c->indice, c->rotulo(), c->longitud, c->dialogo.fila, c->dialogo.columna, c->dialogo.ancho);
    // A telephone box shows a whole international number ("+49 613 481468"):
    // the line edit's own hint is 17 'x' wide; this is the sample's width.
    for (int i : {propietario::Telefono, propietario::Movil, propietario::Fax}) {
        QLineEdit* e = txt.value(i);
        const QFontMetrics fm = e->fontMetrics();
        e->setMinimumWidth(e->sizeHint().width() - 17 * fm.horizontalAdvance(u'x') +
                           fm.horizontalAdvance(QStringLiteral("+00 000 000 0000")));
    }
    txtComentarios = new QPlainTextEdit(this);
    txtComentarios->setObjectName(QStringLiteral("txt(%1)").arg(propietario::Comentarios));
    txtComentarios->setTabChangesFocus(true);
    txtComentarios->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtComentarios->setAccessibleName(tr("Comentarios"));
    auto* l = new QLabel(tr("C&omentarios:"), this);
    l->setBuddy(txtComentarios);
    l->setAlignment(Qt::AlignRight | Qt::AlignTop);
    grid->addWidget(l, 7, 0);
    grid->addWidget(txtComentarios, 7, 1, 1, 5);
    grid->setColumnStretch(1, 2);
    grid->setColumnStretch(3, 1);
    grid->setColumnStretch(5, 1);
    order << txtComentarios;

    cmdOk = new QPushButton(ui::themeIcon(QStringLiteral("object-select"), QStyle::SP_DialogOkButton),
                            tr("Aceptar"), this);
    cmdOk->setObjectName(QStringLiteral("cmdOk"));
    cmdOk->setToolTip(tr("Aceptar"));
    cmdOk->setAccessibleName(tr("Aceptar"));
    cmdOk->setDefault(true);
    cmdCancel = new QPushButton(ui::themeIcon(QStringLiteral("process-stop"), QStyle::SP_DialogCancelButton),
                                tr("Cancelar"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setToolTip(tr("Cancelar"));
    cmdCancel->setAccessibleName(tr("Cancelar"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdOk);
    buttons->addStretch(1);
    buttons->addWidget(cmdCancel);
    order << cmdOk << cmdCancel;
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);

    auto* main = new QVBoxLayout(this);
    main->addLayout(grid);
    main->addLayout(buttons);
    connect(cmdOk, &QPushButton::clicked, this, &frmPropietarioNuevo::cmdOk_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmPropietarioNuevo::cmdCancel_Click);
    resize(560, 360);
}

void frmPropietarioNuevo::cmdOk_Click() {
    // Identity numbers as the owners window takes them: checked, stored plain.
    QMap<int, QString> documentos;
    for (const propietario::Campo& c : propietario::Campos) {
        if (c.indice != propietario::Dni && c.indice != propietario::Nie &&
            c.indice != propietario::Pasaporte)
            continue;
        QLineEdit* e = txt[c.indice];
        const DocumentoLeido d = LeerDocumento(e->text(), c.indice == propietario::Pasaporte);
        if (!d.problema.isEmpty()) {
            if (dialogos)
                MensajeError(
                    *dialogos,
                    QStringLiteral("%1: \"%2\" %3").arg(e->accessibleName(), e->text().trimmed(), d.problema),
                    this);
            e->setFocus(Qt::OtherFocusReason);
            return;
        }
        documentos.insert(c.indice, d.valor);
    }
    for (const propietario::Campo& c : propietario::Campos)
        this->*c.resultado = documentos.value(c.indice, txt[c.indice]->text());
    Comentarios = txtComentarios->toPlainText();
    Aceptado = true;
    done(QDialog::Accepted);
}

void frmPropietarioNuevo::cmdCancel_Click() {
    Aceptado = false;
    done(QDialog::Rejected);
}

void frmPropietarioNuevo::reject() {
    cmdCancel_Click();
}

void frmPropietarioNuevo::closeEvent(QCloseEvent* e) {
    e->ignore();
}

QString CrearPropietario(AppContext& ctx, const frmPropietarioNuevo& d, bool alquiler) {
    db::Database& base = ctx.db();
    const CodeAllocator numeracion(QStringLiteral("PROPIETARIOS"), QStringLiteral("Propietarios"),
                                   ctx.facts.CodigoOficina);
    QString cod;
    // Number, row and counter in one write transaction: a number another
    // window or seat holds is skipped, and a refusal stores nothing at all.
    numeracion.insertar(base, [&](qint64 numero) {
        auto rs = base.openRecordset(QStringLiteral("select * from propietarios where false"),
                                     db::RecordsetType::Dynaset);
        rs->addNew();
        for (const propietario::Campo& c : propietario::Campos)
            rs->setValue(c.nombreCampo(), d.*c.resultado);
        rs->setValue(QStringLiteral("Comentarios"), d.Comentarios);
        rs->setValue(QStringLiteral("Agencia"), ctx.facts.CodigoOficina);
        rs->setValue(QStringLiteral("FechaAlta"), QDate::currentDate());
        rs->setValue(QStringLiteral("Alquiler"), alquiler);
        cod = numeracion.codigo(base, numero);
        rs->setValue(QStringLiteral("QuickID"), numero);
        rs->setValue(QStringLiteral("Cod"), cod);
        rs->update();
    });
    return cod;
}

} // namespace orb
