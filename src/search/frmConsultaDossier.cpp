#include "frmConsultaDossier.h"

#include "frmConsulta.h"

#include <QDialogButtonBox>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace orb {

frmConsultaDossier::frmConsultaDossier(int modelos, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmConsultaDossier"));
    setWindowTitle(QStringLiteral("Elección de Dossier"));

    lst = new QListWidget(this);
    lst->setObjectName(QStringLiteral("lst"));
    lst->setAccessibleName(QStringLiteral("Modelos de dossier"));
    lst->setSelectionMode(QAbstractItemView::SingleSelection);
    for (int i = 1; i <= modelos; ++i)
        lst->addItem(QStringLiteral("Dossier nº ") + QString::number(i));
    if (lst->count() > 0)
        lst->setCurrentRow(0);
    connect(lst, &QListWidget::itemDoubleClicked, this, [this] { accept(); });

    auto* botones = consulta::crearAceptarCancelar(this, cmd);

    auto* main = new QVBoxLayout(this);
    main->addWidget(lst, 1);
    main->addWidget(botones);
    setTabOrder(lst, cmd[0]);
    setTabOrder(cmd[0], cmd[1]);
    resize(300, 280);
}

void frmConsultaDossier::done(int r) {
    // The close box and Escape arrive here as a rejection: no model.
    aceptado_ = r == QDialog::Accepted;
    elegido_ = aceptado_ ? lst->currentRow() + 1 : 0;
    QDialog::done(r);
}

void frmConsultaDossier::showEvent(QShowEvent* e) {
    aceptado_ = false;
    elegido_ = 0;
    QDialog::showEvent(e);
    lst->setFocus(Qt::OtherFocusReason);
}

} // namespace orb
