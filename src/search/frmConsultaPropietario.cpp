#include "frmConsultaPropietario.h"

#include "frmConsulta.h"
#include "platform/db/Database.h"
#include "platform/db/DbError.h"
#include "platform/widgets/QueryTableModel.h"
#include "shell/AppContext.h"
#include "shell/Services.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace orb {

namespace {

// "Contains" pattern of a filter. The user's wildcard stands for any run of
// characters; every other character, % _ \ and apostrophes included, is literal.
QString patron(const QString& texto, const QString& comodin) {
    QString p = db::containsPattern(texto);
    if (!comodin.isEmpty() && !comodin.contains(u'%') && !comodin.contains(u'_') && !comodin.contains(u'\\'))
        p.replace(comodin, QStringLiteral("%"));
    return p;
}

} // namespace

frmConsultaPropietario::frmConsultaPropietario(AppContext& ctx, QWidget* parent)
    : QDialog(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("frmConsultaPropietario"));
    setWindowTitle(QStringLiteral("Consulta de"));

    auto* filtros = new QGridLayout;
    const auto etiqueta = [&](int index, const QString& texto, QWidget* buddy, int fila, int columna) {
        auto* l = new QLabel(texto, this);
        l->setObjectName(QStringLiteral("lbl(%1)").arg(index));
        l->setBuddy(buddy);
        buddy->setAccessibleName(QString(texto).remove(u'&').remove(u':'));
        filtros->addWidget(l, fila, columna);
        filtros->addWidget(buddy, fila, columna + 1);
    };
    for (int i : {0, 1}) {
        auto* e = new QLineEdit(this);
        e->setObjectName(QStringLiteral("txt(%1)").arg(i));
        e->setClearButtonEnabled(true);
        e->installEventFilter(this);
        txt.insert(i, e);
    }
    txt[0]->setToolTip(QStringLiteral("Parte del código; * sustituye a cualquier texto"));
    txt[1]->setToolTip(QStringLiteral("Parte del nombre; * sustituye a cualquier texto"));
    cboOrder = new QComboBox(this);
    cboOrder->setObjectName(QStringLiteral("cboOrder"));
    cboOrder->addItems({QStringLiteral("Código"), QStringLiteral("Nombre")});
    cmd.insert(2, consulta::crearBoton(this, 2, QStringLiteral("&Buscar")));
    connect(cmd[2], &QPushButton::clicked, this, &frmConsultaPropietario::Buscar);

    etiqueta(0, QStringLiteral("Código:"), txt[0], 0, 0);
    etiqueta(1, QStringLiteral("Nombre:"), txt[1], 1, 0);
    etiqueta(2, QStringLiteral("Orden:"), cboOrder, 0, 2);
    filtros->addWidget(cmd[2], 1, 3, Qt::AlignRight);
    filtros->setColumnStretch(1, 1);

    data = new ui::QueryTableModel(this);
    grd = consulta::crearRejilla(this, data, QStringLiteral("Propietarios"));
    connect(grd, &QTableView::doubleClicked, this, [this](const QModelIndex& i) {
        if (i.isValid())
            accept();
    });

    auto* botones = consulta::crearAceptarCancelar(this, cmd);

    auto* main = new QVBoxLayout(this);
    main->addLayout(filtros);
    main->addWidget(grd, 1);
    main->addWidget(botones);

    setTabOrder(txt[0], txt[1]);
    setTabOrder(txt[1], cboOrder);
    setTabOrder(cboOrder, cmd[2]);
    setTabOrder(cmd[2], grd);
    setTabOrder(grd, cmd[0]);
    setTabOrder(cmd[0], cmd[1]);
    resize(520, 480);
}

void frmConsultaPropietario::cargar(bool modoAlquiler) {
    modoAlquiler_ = modoAlquiler;
    setWindowTitle(modoAlquiler ? QStringLiteral("Consulta de Propietarios de Alquileres")
                                : QStringLiteral("Consulta de ") + QStringLiteral("Propietarios de Ventas"));
    grd->setAccessibleName(modoAlquiler ? QStringLiteral("Propietarios de Alquileres")
                                        : QStringLiteral("Propietarios de Ventas"));
    txt[0]->clear();
    txt[1]->clear();
    cboOrder->setCurrentIndex(0);
    Buscar();
}

void frmConsultaPropietario::Buscar() {
    QString sql = QStringLiteral("select Cod,Nombre from Propietarios where Alquiler = ?");
    db::Params params{modoAlquiler_};
    if (!txt[0]->text().isEmpty()) {
        sql += QStringLiteral(" and Cod like ? escape '\\'");
        params << patron(txt[0]->text(), ctx_.Comodin);
    }
    if (!txt[1]->text().isEmpty()) {
        sql += QStringLiteral(" and Nombre like ? escape '\\'");
        params << patron(txt[1]->text(), ctx_.Comodin);
    }
    sql += cboOrder->currentIndex() == 1 ? QStringLiteral(" order by Nombre COLLATE es, Cod")
                                         : QStringLiteral(" order by Cod");
    try {
        data->setQuery(ctx_.db(), sql, params);
    } catch (const db::DbError& e) {
        data->setRows({QStringLiteral("Cod"), QStringLiteral("Nombre")}, {});
        if (ctx_.dialogs)
            MensajeError(*ctx_.dialogs,
                         QStringLiteral("No se ha podido consultar los propietarios.\n") + e.description(),
                         this);
    }
    consulta::ajustarRejilla(grd);
    cmd[0]->setEnabled(data->rowCount() > 0);
}

QVariant frmConsultaPropietario::codigo() const {
    return consulta::codigoActual(grd);
}

void frmConsultaPropietario::done(int r) {
    // The close box and Escape arrive here as a rejection, like cmd(1).
    aceptado_ = r == QDialog::Accepted && grd->currentIndex().isValid();
    data->finishFetching(); // the chosen row is read; release the file's read snapshot
    QDialog::done(r);
}

bool frmConsultaPropietario::eventFilter(QObject* o, QEvent* e) {
    if (e->type() == QEvent::KeyPress && (o == txt[0] || o == txt[1])) {
        const int key = static_cast<QKeyEvent*>(e)->key();
        // Enter in a filter searches instead of accepting the dialog.
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            Buscar();
            return true;
        }
        if (key == Qt::Key_Down && data->rowCount() > 0) {
            grd->setFocus(Qt::TabFocusReason);
            return true;
        }
    }
    return QDialog::eventFilter(o, e);
}

void frmConsultaPropietario::showEvent(QShowEvent* e) {
    aceptado_ = false;
    QDialog::showEvent(e);
    txt[0]->setFocus(Qt::OtherFocusReason);
}

} // namespace orb
