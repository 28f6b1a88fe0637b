#include "PreferenciasCliente.h"

#include "CamposPersona.h"
#include "platform/db/Database.h"
#include "platform/db/Statement.h"
#include "platform/widgets/DialogService.h"
#include "platform/widgets/ResultGrid.h"
#include "shell/AppContext.h"
#include "shell/Numeros.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>

namespace orb {

namespace {

QLabel* etiqueta(const QString& texto, QWidget* buddy, QWidget* parent) {
    auto* l = new QLabel(texto, parent);
    l->setBuddy(buddy);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QString nombre = texto;
    nombre.remove(u'&');
    if (nombre.endsWith(u':'))
        nombre.chop(1);
    buddy->setAccessibleName(nombre);
    return l;
}

} // namespace

PreferenciasCliente::PreferenciasCliente(AppContext& ctx, QWidget* panel, QGridLayout* grid,
                                         QMap<int, ui::TextControl*>& txt)
    : QObject(panel), ctx_(ctx) {
    tabs = new QTabWidget(panel);
    tabs->setObjectName(QStringLiteral("tabCliente"));
    tabs->setAccessibleName(tr("Pestañas del cliente"));

    // The client's data as laid out so far, moved cell by cell onto the first tab.
    auto* datos = new QWidget(tabs);
    auto* g = new QGridLayout(datos);
    g->setHorizontalSpacing(grid->horizontalSpacing());
    g->setVerticalSpacing(grid->verticalSpacing());
    struct Celda {
        QLayoutItem* item;
        int fila, columna, filas, columnas;
    };
    QList<Celda> celdas;
    for (int i = grid->count() - 1; i >= 0; --i) {
        Celda c{nullptr, 0, 0, 0, 0};
        grid->getItemPosition(i, &c.fila, &c.columna, &c.filas, &c.columnas);
        c.item = grid->takeAt(i);
        celdas.prepend(c);
    }
    for (const Celda& c : celdas) {
        if (QWidget* w = c.item->widget()) {
            w->setParent(datos);
            g->addWidget(w, c.fila, c.columna, c.filas, c.columnas, c.item->alignment());
            delete c.item;
        } else {
            g->addItem(c.item, c.fila, c.columna, c.filas, c.columnas);
        }
    }
    for (int i = 0; i < grid->columnCount(); ++i)
        g->setColumnStretch(i, grid->columnStretch(i));
    for (int i = 0; i < grid->rowCount(); ++i)
        g->setRowStretch(i, grid->rowStretch(i));
    tabs->addTab(datos, tr("&Datos"));

    auto* pref = new QWidget(tabs);
    pref->setObjectName(QStringLiteral("tabPreferencias"));
    auto* p = new QGridLayout(pref);
    auto* minimo = new ui::BoundTextBox(pref, QStringLiteral("PresupuestoMinimo"));
    minimo->setObjectName(QStringLiteral("txt(%1)").arg(cli::PresupuestoMinimo));
    minimo->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    txt.insert(cli::PresupuestoMinimo, minimo);
    minimo_ = minimo;
    maximo_ = txt.value(cliente::Presupuesto);
    p->addWidget(etiqueta(tr("Presupuesto mín&imo:"), minimo, pref), 0, 0);
    auto* celda = new QWidget(pref);
    auto* h = new QHBoxLayout(celda);
    h->setContentsMargins(0, 0, 0, 0);
    h->addWidget(minimo, 1);
    h->addWidget(new QLabel(tr("€  (el máximo es el Presupuesto de la ficha)"), celda));
    p->addWidget(celda, 0, 1, 1, 3);

    auto* dormitorios = new ui::BoundTextBox(pref, QStringLiteral("DormitoriosMinimo"));
    dormitorios->setObjectName(QStringLiteral("txt(%1)").arg(cli::DormitoriosMinimo));
    dormitorios->setMaximumWidth(60);
    txt.insert(cli::DormitoriosMinimo, dormitorios);
    p->addWidget(etiqueta(tr("Dormitorios mínimo&s:"), dormitorios, pref), 1, 0);
    p->addWidget(dormitorios, 1, 1, Qt::AlignLeft);

    auto* imprescindible = new QGroupBox(tr("Imprescindible"), pref);
    auto* hi = new QHBoxLayout(imprescindible);
    chkPiscina = new ui::BoundCheckBox(tr("Pisci&na"), imprescindible, QStringLiteral("QuierePiscina"));
    chkGaraje = new ui::BoundCheckBox(tr("Gara&je"), imprescindible, QStringLiteral("QuiereGaraje"));
    chkAscensor = new ui::BoundCheckBox(tr("Ascens&or"), imprescindible, QStringLiteral("QuiereAscensor"));
    chkTerraza = new ui::BoundCheckBox(tr("Terra&za"), imprescindible, QStringLiteral("QuiereTerraza"));
    for (ui::BoundCheckBox* c : {chkPiscina, chkGaraje, chkAscensor, chkTerraza}) {
        QString nombre = c->text();
        c->setAccessibleName(nombre.remove(u'&'));
        c->setObjectName(QStringLiteral("chk") + c->DataField);
        hi->addWidget(c);
    }
    hi->addStretch(1);
    p->addWidget(imprescindible, 2, 0, 1, 4);

    auto* zonasCaja = new QGroupBox(tr("Localidades y zonas deseadas"), pref);
    auto* gz = new QGridLayout(zonasCaja);
    cboLocalidad = new QComboBox(zonasCaja);
    cboLocalidad->setObjectName(QStringLiteral("cboLocalidadDeseada"));
    cboZona = new QComboBox(zonasCaja);
    cboZona->setObjectName(QStringLiteral("cboZonaDeseada"));
    gz->addWidget(etiqueta(tr("&Localidad deseada:"), cboLocalidad, zonasCaja), 0, 0);
    gz->addWidget(cboLocalidad, 0, 1);
    gz->addWidget(etiqueta(tr("Zona dese&ada:"), cboZona, zonasCaja), 0, 2);
    gz->addWidget(cboZona, 0, 3);
    cmdAñadirZona = new QPushButton(tr("Añadir &zona"), zonasCaja);
    cmdAñadirZona->setObjectName(QStringLiteral("cmdAnadirZona"));
    cmdAñadirZona->setAccessibleName(tr("Añadir zona"));
    cmdQuitarZona = new QPushButton(tr("&Quitar zona"), zonasCaja);
    cmdQuitarZona->setObjectName(QStringLiteral("cmdQuitarZona"));
    cmdQuitarZona->setAccessibleName(tr("Quitar zona"));
    gz->addWidget(cmdAñadirZona, 0, 4);
    gz->addWidget(cmdQuitarZona, 0, 5);
    grdZonas = new QTableWidget(0, 2, zonasCaja);
    grdZonas->setObjectName(QStringLiteral("grdZonas"));
    grdZonas->setAccessibleName(tr("Zonas deseadas"));
    grdZonas->setHorizontalHeaderLabels({tr("Localidad"), tr("Zona")});
    grdZonas->horizontalHeader()->setStretchLastSection(true);
    grdZonas->verticalHeader()->hide();
    grdZonas->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdZonas->setSelectionMode(QAbstractItemView::SingleSelection);
    grdZonas->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ui::disableCornerButton(grdZonas, tr("Esquina de las zonas deseadas"));
    gz->addWidget(grdZonas, 1, 0, 1, 6);
    gz->setColumnStretch(1, 1);
    gz->setColumnStretch(3, 1);
    p->addWidget(zonasCaja, 3, 0, 1, 4);
    p->setRowStretch(3, 1);
    p->setColumnStretch(3, 1);
    tabs->addTab(pref, tr("&Preferencias"));

    grid->addWidget(tabs, 0, 0);
    for (int i = 0; i < grid->columnCount(); ++i)
        grid->setColumnStretch(i, 0);
    for (int i = 0; i < grid->rowCount(); ++i)
        grid->setRowStretch(i, 0);
    grid->setContentsMargins(4, 4, 4, 4);

    // The catalogues as they are when the window opens, like the type list.
    for (const db::Row& r :
         ctx_.db().query(QStringLiteral("SELECT Cod, Nombre FROM Localidades ORDER BY Nombre")))
        localidades_.insert(r[0].toLongLong(), r[1].toString());
    for (const db::Row& r :
         ctx_.db().query(QStringLiteral("SELECT Cod, Nombre, CodLocalidad FROM Areas ORDER BY Nombre")))
        areas_.insert(r[0].toLongLong(), {r[1].toString(), r[2].toLongLong()});
    for (const db::Row& r :
         ctx_.db().query(QStringLiteral("SELECT Cod, Nombre FROM Localidades ORDER BY Nombre")))
        cboLocalidad->addItem(r[1].toString(), r[0].toLongLong());
    connect(cboLocalidad, &QComboBox::currentIndexChanged, this, &PreferenciasCliente::llenarZonas);
    llenarZonas();
    connect(cmdAñadirZona, &QPushButton::clicked, this, [this] {
        if (cboLocalidad->currentIndex() < 0)
            return;
        añadirZona(cboLocalidad->currentData().toLongLong(), cboZona->currentData().toLongLong());
    });
    connect(cmdQuitarZona, &QPushButton::clicked, this, &PreferenciasCliente::quitarZona);
}

void PreferenciasCliente::llenarZonas() {
    cboZona->clear();
    cboZona->addItem(tr("(toda la localidad)"), qint64(0));
    const qint64 localidad = cboLocalidad->currentData().toLongLong();
    QList<QPair<QString, qint64>> lista;
    for (auto it = areas_.cbegin(); it != areas_.cend(); ++it)
        if (it.value().second == localidad)
            lista << qMakePair(it.value().first, it.key());
    std::sort(lista.begin(), lista.end());
    for (const auto& [nombre, cod] : lista)
        cboZona->addItem(nombre, cod);
}

void PreferenciasCliente::añadirFila(qint64 localidad, qint64 area) {
    const int fila = grdZonas->rowCount();
    grdZonas->insertRow(fila);
    auto* l = new QTableWidgetItem(localidades_.value(localidad, QString::number(localidad)));
    l->setData(Qt::UserRole, localidad);
    auto* a = new QTableWidgetItem(area == 0 ? tr("(toda la localidad)") : areas_.value(area).first);
    a->setData(Qt::UserRole, area);
    grdZonas->setItem(fila, 0, l);
    grdZonas->setItem(fila, 1, a);
}

void PreferenciasCliente::añadirZona(qint64 localidad, qint64 area) {
    if (zonas().contains(qMakePair(localidad, area)))
        return;
    añadirFila(localidad, area);
    grdZonas->selectRow(grdZonas->rowCount() - 1);
}

void PreferenciasCliente::quitarZona() {
    const int fila = grdZonas->currentRow();
    if (fila >= 0)
        grdZonas->removeRow(fila);
}

bool PreferenciasCliente::presupuestoValido(QWidget* ventana) {
    if (!minimo_ || !maximo_)
        return true;
    // The controller has refused a changed box that is not an amount; an empty
    // box, or a maximum of 0, sets no bound.
    const std::optional<double> minimo = LeerNumero(minimo_->Text());
    const std::optional<double> maximo = LeerNumero(maximo_->Text());
    if (!minimo || !maximo || *maximo <= 0 || *minimo <= *maximo)
        return true;
    ctx_.dialogs->message(ventana,
                          {tr("%1: \"%2\" es mayor que el %3 (%4): el mínimo no puede superar al máximo.")
                               .arg(minimo_->caption(), minimo_->Text().trimmed(), maximo_->caption(),
                                    maximo_->Text().trimmed()),
                           QStringLiteral("Orbalia"), ui::DialogService::Buttons::Ok,
                           ui::DialogService::Icon::Exclamation, ui::DialogService::Answer::Ok});
    if (QWidget* w = minimo_->widget(); w->window()->isVisible()) {
        tabs->setCurrentWidget(tabs->findChild<QWidget*>(QStringLiteral("tabPreferencias")));
        w->setFocus(Qt::OtherFocusReason);
    }
    return false;
}

QList<QPair<qint64, qint64>> PreferenciasCliente::zonas() const {
    QList<QPair<qint64, qint64>> out;
    for (int i = 0; i < grdZonas->rowCount(); ++i)
        out << qMakePair(grdZonas->item(i, 0)->data(Qt::UserRole).toLongLong(),
                         grdZonas->item(i, 1)->data(Qt::UserRole).toLongLong());
    return out;
}

void PreferenciasCliente::limpiar() {
    grdZonas->setRowCount(0);
}

void PreferenciasCliente::cargar(db::Database& database, const QString& codCliente) {
    limpiar();
    if (codCliente.isEmpty())
        return;
    const QList<db::Row> filas = database.query(
        QStringLiteral("SELECT CodLocalidad, CodArea FROM ClientesZonas WHERE CodCliente = ? ORDER BY Cod"),
        {codCliente});
    for (const db::Row& r : filas)
        añadirFila(r[0].toLongLong(), r[1].toLongLong());
}

void PreferenciasCliente::guardar(db::Database& database, const QString& codCliente) {
    database.execute(QStringLiteral("DELETE FROM ClientesZonas WHERE CodCliente = ?"), {codCliente});
    db::Statement insertar(
        database,
        QStringLiteral("INSERT INTO ClientesZonas (CodCliente, CodLocalidad, CodArea) VALUES (?, ?, ?)"));
    for (const auto& [localidad, area] : zonas())
        insertar.execute({codCliente, localidad, area == 0 ? db::Value() : db::Value(area)});
}

} // namespace orb
