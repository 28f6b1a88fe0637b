#include "DialogoConsulta.h"

#include "platform/widgets/QueryTableModel.h"
#include "platform/widgets/ResultGrid.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

#include <algorithm>

namespace orb {

namespace {

// Sizes of the original grid, in twips (15 to a pixel at 96 dpi).
constexpr int AnchoCodigo = 700 / 15;
constexpr int AnchoNombre = 3000 / 15;

} // namespace

DialogoConsulta::DialogoConsulta(QWidget* parent) : QDialog(parent) {}

void DialogoConsulta::crearRejilla(const QString& nombreAccesible) {
    modelo = new ui::QueryTableModel(this);
    grd = new QTableView(this);
    ui::configureResultGrid(grd, modelo, nombreAccesible);
    grd->setMinimumWidth(AnchoCodigo + AnchoNombre + 24);
    connect(grd, &QTableView::doubleClicked, this, [this](const QModelIndex& i) {
        if (i.isValid())
            accept();
    });
}

void DialogoConsulta::rejillaCargada() {
    // Codes such as "0100042" need more room than the original's narrow column.
    const int codigo =
        std::max(AnchoCodigo, grd->fontMetrics().horizontalAdvance(QStringLiteral("00000000")) + 12);
    grd->setColumnWidth(0, codigo);
    if (modelo->rowCount() > 0) {
        const QModelIndex primero = modelo->index(0, 0);
        grd->selectionModel()->setCurrentIndex(primero, QItemSelectionModel::ClearAndSelect |
                                                            QItemSelectionModel::Rows);
        grd->scrollTo(primero);
    }
    cmd[Aceptar]->setEnabled(modelo->rowCount() > 0);
}

QPushButton* DialogoConsulta::crearBoton(int index, const QString& caption) {
    auto* b = new QPushButton(caption, this);
    b->setObjectName(QStringLiteral("cmd(%1)").arg(index));
    b->setAccessibleName(QString(caption).remove(u'&'));
    cmd.insert(index, b);
    return b;
}

QDialogButtonBox* DialogoConsulta::crearAceptarCancelar() {
    crearBoton(Aceptar, tr("&Aceptar"));
    crearBoton(Cancelar, tr("&Cancelar"));
    cmd[Aceptar]->setDefault(true);
    connect(cmd[Aceptar], &QPushButton::clicked, this, &QDialog::accept);
    connect(cmd[Cancelar], &QPushButton::clicked, this, &QDialog::reject);
    auto* botones = new QDialogButtonBox(this);
    botones->addButton(cmd[Aceptar], QDialogButtonBox::AcceptRole);
    botones->addButton(cmd[Cancelar], QDialogButtonBox::RejectRole);
    return botones;
}

QLineEdit* DialogoConsulta::crearFiltro(int index, const QString& tooltip) {
    auto* e = new QLineEdit(this);
    e->setObjectName(QStringLiteral("txt(%1)").arg(index));
    e->setClearButtonEnabled(true);
    e->setToolTip(tooltip);
    e->installEventFilter(this);
    filtros_.append(e);
    return e;
}

QVariant DialogoConsulta::codigo() const {
    if (!grd)
        return {};
    const QModelIndex actual = grd->currentIndex();
    if (!actual.isValid())
        return {};
    return modelo->index(actual.row(), 0).data(Qt::EditRole);
}

void DialogoConsulta::done(int r) {
    // The close box and Escape arrive here as a rejection, like cmd(1).
    aceptado_ = r == QDialog::Accepted && (!grd || grd->currentIndex().isValid());
    if (modelo)
        modelo->finishFetching(); // the chosen row is read; release the file's read snapshot
    QDialog::done(r);
}

bool DialogoConsulta::eventFilter(QObject* o, QEvent* e) {
    if (e->type() == QEvent::KeyPress && filtros_.contains(qobject_cast<QLineEdit*>(o))) {
        const int key = static_cast<QKeyEvent*>(e)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            buscar();
            return true;
        }
        if (key == Qt::Key_Down && grd && modelo->rowCount() > 0) {
            grd->setFocus(Qt::TabFocusReason);
            return true;
        }
    }
    return QDialog::eventFilter(o, e);
}

void DialogoConsulta::showEvent(QShowEvent* e) {
    aceptado_ = false;
    QDialog::showEvent(e);
    controlInicial()->setFocus(Qt::OtherFocusReason);
}

} // namespace orb
