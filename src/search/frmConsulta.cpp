#include "frmConsulta.h"

#include "platform/widgets/QueryTableModel.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace orb {

frmConsulta::frmConsulta(QWidget* parent) : DialogoConsulta(parent) {
    setObjectName(QStringLiteral("frmConsulta"));
    setWindowTitle(tr("Consulta de"));

    lblCaption = new QLabel(this);
    lblCaption->setObjectName(QStringLiteral("lblCaption"));
    QFont f = lblCaption->font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() * 1.2);
    lblCaption->setFont(f);

    crearRejilla(QString());
    lblCaption->setBuddy(grd);
    auto* botones = crearAceptarCancelar();

    auto* main = new QVBoxLayout(this);
    main->addWidget(lblCaption);
    main->addWidget(grd, 1);
    main->addWidget(botones);

    setTabOrder(grd, cmd[Aceptar]);
    setTabOrder(cmd[Aceptar], cmd[Cancelar]);
    resize(380, 440);
}

void frmConsulta::setTitulo(const QString& titulo) {
    setWindowTitle(tr("Consulta de %1").arg(titulo));
    lblCaption->setText(titulo.toUpper());
    grd->setAccessibleName(titulo);
}

void frmConsulta::cargar(db::Database& database, const QString& sql) {
    // Rows are read as the grid scrolls to them, so a long list opens at once.
    modelo->setQuery(database, sql);
    modelo->setHeader(0, tr("Cod"));
    modelo->setHeader(1, tr("Nombre"));
    rejillaCargada();
}

QWidget* frmConsulta::controlInicial() const {
    return grd;
}

} // namespace orb
