#include "frmConsultaPropietario.h"

#include "platform/db/Database.h"
#include "platform/db/DbError.h"
#include "platform/db/TextMatching.h"
#include "platform/widgets/QueryTableModel.h"
#include "shell/AppContext.h"
#include "shell/ErrorReport.h"
#include "shell/Mensajes.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
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
    : DialogoConsulta(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("frmConsultaPropietario"));
    setWindowTitle(tr("Consulta de"));

    auto* filtros = new QGridLayout;
    const auto etiqueta = [&](int index, const QString& texto, QWidget* buddy, int fila, int columna) {
        auto* l = new QLabel(texto, this);
        l->setObjectName(QStringLiteral("lbl(%1)").arg(index));
        l->setBuddy(buddy);
        buddy->setAccessibleName(QString(texto).remove(u'&').remove(u':'));
        filtros->addWidget(l, fila, columna);
        filtros->addWidget(buddy, fila, columna + 1);
    };
    txt.insert(FiltroCodigo,
               crearFiltro(FiltroCodigo, tr("Parte del código; * sustituye a cualquier texto")));
    txt.insert(FiltroNombre,
               crearFiltro(FiltroNombre, tr("Parte del nombre; * sustituye a cualquier texto")));
    cboOrder = new QComboBox(this);
    cboOrder->setObjectName(QStringLiteral("cboOrder"));
    cboOrder->addItems({tr("Código"), tr("Nombre")});
    connect(crearBoton(BotonBuscar, tr("&Buscar")), &QPushButton::clicked, this,
            &frmConsultaPropietario::Buscar);

    etiqueta(0, tr("Código:"), txt[FiltroCodigo], 0, 0);
    etiqueta(1, tr("Nombre:"), txt[FiltroNombre], 1, 0);
    etiqueta(2, tr("Orden:"), cboOrder, 0, 2);
    filtros->addWidget(cmd[BotonBuscar], 1, 3, Qt::AlignRight);
    filtros->setColumnStretch(1, 1);

    crearRejilla(tr("Propietarios"));
    auto* botones = crearAceptarCancelar();

    auto* main = new QVBoxLayout(this);
    main->addLayout(filtros);
    main->addWidget(grd, 1);
    main->addWidget(botones);

    setTabOrder(txt[FiltroCodigo], txt[FiltroNombre]);
    setTabOrder(txt[FiltroNombre], cboOrder);
    setTabOrder(cboOrder, cmd[BotonBuscar]);
    setTabOrder(cmd[BotonBuscar], grd);
    setTabOrder(grd, cmd[Aceptar]);
    setTabOrder(cmd[Aceptar], cmd[Cancelar]);
    resize(520, 480);
}

void frmConsultaPropietario::cargar(bool modoAlquiler) {
    modoAlquiler_ = modoAlquiler;
    setWindowTitle(modoAlquiler ? tr("Consulta de Propietarios de Alquileres")
                                : tr("Consulta de Propietarios de Ventas"));
    grd->setAccessibleName(modoAlquiler ? tr("Propietarios de Alquileres") : tr("Propietarios de Ventas"));
    txt[FiltroCodigo]->clear();
    txt[FiltroNombre]->clear();
    cboOrder->setCurrentIndex(0);
    Buscar();
}

void frmConsultaPropietario::Buscar() {
    QString sql = QStringLiteral("select Cod,Nombre from Propietarios where Alquiler = ?");
    db::Params params{modoAlquiler_};
    if (!txt[FiltroCodigo]->text().isEmpty()) {
        sql += QStringLiteral(" and Cod like ? escape '\\'");
        params << patron(txt[FiltroCodigo]->text(), ctx_.Comodin);
    }
    if (!txt[FiltroNombre]->text().isEmpty()) {
        sql += QStringLiteral(" and Nombre like ? escape '\\'");
        params << patron(txt[FiltroNombre]->text(), ctx_.Comodin);
    }
    sql += cboOrder->currentIndex() == 1 ? QStringLiteral(" order by Nombre COLLATE es, Cod")
                                         : QStringLiteral(" order by Cod");
    try {
        modelo->setQuery(ctx_.db(), sql, params);
    } catch (const db::DbError& e) {
        modelo->setRows({QStringLiteral("Cod"), QStringLiteral("Nombre")}, {});
        if (ctx_.dialogs)
            InformarErrorBaseDatos(*ctx_.dialogs, this, tr("consultar los propietarios"),
                                   tr("No se ha podido consultar los propietarios."), e, {},
                                   ctx_.RutaBaseDatos);
    }
    modelo->setHeader(0, tr("Cod"));
    modelo->setHeader(1, tr("Nombre"));
    rejillaCargada();
}

QWidget* frmConsultaPropietario::controlInicial() const {
    return txt[FiltroCodigo];
}

} // namespace orb
