#include "frmConsulta.h"

#include "platform/widgets/QueryTableModel.h"

#include <algorithm>

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace orb {

namespace consulta {

// Sizes of the original grid, in twips (15 to a pixel at 96 dpi).
constexpr int AnchoCodigo = 700 / 15;
constexpr int AnchoNombre = 3000 / 15;

QTableView* crearRejilla(QWidget* parent, ui::QueryTableModel* model, const QString& nombreAccesible) {
    auto* grd = new QTableView(parent);
    grd->setObjectName(QStringLiteral("grd"));
    grd->setAccessibleName(nombreAccesible);
    grd->setModel(model);
    grd->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grd->setSelectionBehavior(QAbstractItemView::SelectRows);
    grd->setSelectionMode(QAbstractItemView::SingleSelection);
    grd->setTabKeyNavigation(false);
    grd->setAlternatingRowColors(true);
    grd->setWordWrap(false);
    grd->verticalHeader()->hide();
    grd->verticalHeader()->setDefaultSectionSize(grd->fontMetrics().height() + 6);
    grd->horizontalHeader()->setStretchLastSection(true);
    grd->horizontalHeader()->setHighlightSections(false);
    grd->setMinimumWidth(AnchoCodigo + AnchoNombre + 24);
    return grd;
}

void ajustarRejilla(QTableView* grd) {
    // Codes such as "0100042" need more room than the original's narrow column.
    const int codigo =
        std::max(AnchoCodigo, grd->fontMetrics().horizontalAdvance(QStringLiteral("00000000")) + 12);
    grd->setColumnWidth(0, codigo);
    if (grd->model()->rowCount() > 0) {
        const QModelIndex primero = grd->model()->index(0, 0);
        grd->selectionModel()->setCurrentIndex(primero, QItemSelectionModel::ClearAndSelect |
                                                            QItemSelectionModel::Rows);
        grd->scrollTo(primero);
    }
}

QPushButton* crearBoton(QWidget* parent, int index, const QString& caption) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QStringLiteral("cmd(%1)").arg(index));
    b->setAccessibleName(QString(caption).remove(u'&'));
    return b;
}

QDialogButtonBox* crearAceptarCancelar(QDialog* dialog, QMap<int, QPushButton*>& cmd) {
    cmd.insert(0, crearBoton(dialog, 0, QStringLiteral("&Aceptar")));
    cmd.insert(1, crearBoton(dialog, 1, QStringLiteral("&Cancelar")));
    cmd[0]->setDefault(true);
    QObject::connect(cmd[0], &QPushButton::clicked, dialog, &QDialog::accept);
    QObject::connect(cmd[1], &QPushButton::clicked, dialog, &QDialog::reject);
    auto* botones = new QDialogButtonBox(dialog);
    botones->addButton(cmd[0], QDialogButtonBox::AcceptRole);
    botones->addButton(cmd[1], QDialogButtonBox::RejectRole);
    return botones;
}

QVariant codigoActual(const QTableView* grd) {
    const QModelIndex actual = grd->currentIndex();
    if (!actual.isValid())
        return {};
    return grd->model()->index(actual.row(), 0).data(Qt::EditRole);
}

} // namespace consulta

frmConsulta::frmConsulta(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmConsulta"));
    setWindowTitle(QStringLiteral("Consulta de"));

    lblCaption = new QLabel(this);
    lblCaption->setObjectName(QStringLiteral("lblCaption"));
    QFont f = lblCaption->font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() * 1.2);
    lblCaption->setFont(f);

    data = new ui::QueryTableModel(this);
    grd = consulta::crearRejilla(this, data, QString());
    lblCaption->setBuddy(grd);
    connect(grd, &QTableView::doubleClicked, this, [this](const QModelIndex& i) {
        if (i.isValid())
            accept();
    });

    auto* botones = consulta::crearAceptarCancelar(this, cmd);

    auto* main = new QVBoxLayout(this);
    main->addWidget(lblCaption);
    main->addWidget(grd, 1);
    main->addWidget(botones);

    setTabOrder(grd, cmd[0]);
    setTabOrder(cmd[0], cmd[1]);
    resize(380, 440);
}

void frmConsulta::setTitulo(const QString& titulo) {
    setWindowTitle(QStringLiteral("Consulta de ") + titulo);
    lblCaption->setText(titulo.toUpper());
    grd->setAccessibleName(titulo);
}

void frmConsulta::cargar(db::Database& database, const QString& sql) {
    // Rows are read as the grid scrolls to them, so a long list opens at once.
    data->setQuery(database, sql);
    data->setHeader(0, QStringLiteral("Cod"));
    consulta::ajustarRejilla(grd);
    cmd[0]->setEnabled(data->rowCount() > 0);
}

QVariant frmConsulta::codigo() const {
    return consulta::codigoActual(grd);
}

void frmConsulta::done(int r) {
    // The close box and Escape arrive here as a rejection, like cmd(1).
    aceptado_ = r == QDialog::Accepted && grd->currentIndex().isValid();
    data->finishFetching(); // the chosen row is read; release the file's read snapshot
    QDialog::done(r);
}

void frmConsulta::showEvent(QShowEvent* e) {
    aceptado_ = false;
    QDialog::showEvent(e);
    grd->setFocus(Qt::OtherFocusReason);
}

} // namespace orb
