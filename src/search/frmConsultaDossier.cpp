#include "frmConsultaDossier.h"

#include <QDialogButtonBox>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace orb {

frmConsultaDossier::frmConsultaDossier(int modelos, QWidget* parent) : DialogoConsulta(parent) {
    setObjectName(QStringLiteral("frmConsultaDossier"));
    setWindowTitle(tr("Elección de Dossier"));

    lst = new QListWidget(this);
    lst->setObjectName(QStringLiteral("lst"));
    lst->setAccessibleName(tr("Modelos de dossier"));
    lst->setSelectionMode(QAbstractItemView::SingleSelection);
    for (int i = 1; i <= modelos; ++i)
        lst->addItem(tr("Dossier nº %1").arg(i));
    if (lst->count() > 0)
        lst->setCurrentRow(0);
    connect(lst, &QListWidget::itemDoubleClicked, this, [this] { accept(); });

    auto* botones = crearAceptarCancelar();

    auto* main = new QVBoxLayout(this);
    main->addWidget(lst, 1);
    main->addWidget(botones);
    setTabOrder(lst, cmd[Aceptar]);
    setTabOrder(cmd[Aceptar], cmd[Cancelar]);
    resize(300, 280);
}

void frmConsultaDossier::done(int r) {
    // The close box and Escape arrive here as a rejection: no model.
    DialogoConsulta::done(r);
    elegido_ = aceptado() ? lst->currentRow() + 1 : 0;
}

QWidget* frmConsultaDossier::controlInicial() const {
    return lst;
}

void frmConsultaDossier::showEvent(QShowEvent* e) {
    elegido_ = 0;
    DialogoConsulta::showEvent(e);
}

} // namespace orb
