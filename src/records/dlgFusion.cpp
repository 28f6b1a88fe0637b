#include "dlgFusion.h"

#include <QButtonGroup>
#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QVBoxLayout>

namespace orb {

namespace {

QString Mostrado(const db::Value& v) {
    const QString s = v.toString().simplified();
    return s.isEmpty() ? QCoreApplication::translate("orb::dlgFusion", "(vacío)") : s.left(60);
}

} // namespace

dlgFusion::dlgFusion(const QString& queda, const QString& sale, const QList<CampoFusion>& campos,
                     QWidget* parent)
    : QDialog(parent), campos_(campos) {
    setObjectName(QStringLiteral("dlgFusion"));
    setWindowTitle(tr("Fusionar %1 con %2").arg(queda, sale));
    auto* texto = new QLabel(tr("Elija, campo por campo, el valor que se queda. Las propiedades, "
                                "actividades y coincidencias de %2 pasan a %1, los comentarios "
                                "se unen y %2 se elimina.")
                                 .arg(queda, sale),
                             this);
    texto->setWordWrap(true);

    auto* panel = new QWidget;
    auto* g = new QGridLayout(panel);
    auto* cabeceraQueda = new QLabel(tr("<b>%1 (se queda)</b>").arg(queda), panel);
    auto* cabeceraSale = new QLabel(tr("<b>%1 (se elimina)</b>").arg(sale), panel);
    g->addWidget(cabeceraQueda, 0, 1);
    g->addWidget(cabeceraSale, 0, 2);
    int fila = 1;
    for (const CampoFusion& c : campos_) {
        g->addWidget(new QLabel(c.rotulo + u':', panel), fila, 0);
        auto* a = new QRadioButton(Mostrado(c.queda), panel);
        auto* b = new QRadioButton(Mostrado(c.sale), panel);
        a->setObjectName(QStringLiteral("opt%1(0)").arg(c.campo));
        b->setObjectName(QStringLiteral("opt%1(1)").arg(c.campo));
        // Unique names in the window: the field and whose value it is.
        a->setAccessibleName(tr("%1 de %2: %3").arg(c.rotulo, queda, Mostrado(c.queda)));
        b->setAccessibleName(tr("%1 de %2: %3").arg(c.rotulo, sale, Mostrado(c.sale)));
        auto* grupo = new QButtonGroup(this);
        grupo->addButton(a, 0);
        grupo->addButton(b, 1);
        (c.delQueSale ? b : a)->setChecked(true);
        opciones << grupo;
        g->addWidget(a, fila, 1);
        g->addWidget(b, fila, 2);
        ++fila;
    }
    g->setColumnStretch(1, 1);
    g->setColumnStretch(2, 1);
    auto* scroll = new QScrollArea(this);
    scroll->setWidget(panel);
    scroll->setWidgetResizable(true);
    scroll->setAccessibleName(tr("Campos"));

    cmdAceptar = new QPushButton(tr("&Fusionar"), this);
    cmdAceptar->setObjectName(QStringLiteral("cmdAceptar"));
    cmdAceptar->setAccessibleName(tr("Fusionar"));
    cmdCancelar = new QPushButton(tr("Cancelar"), this);
    cmdCancelar->setObjectName(QStringLiteral("cmdCancelar"));
    cmdCancelar->setAccessibleName(tr("Cancelar"));
    auto* botones = new QHBoxLayout;
    botones->addWidget(cmdAceptar);
    botones->addStretch(1);
    botones->addWidget(cmdCancelar);
    auto* v = new QVBoxLayout(this);
    v->addWidget(texto);
    v->addWidget(scroll, 1);
    v->addLayout(botones);
    connect(cmdAceptar, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdCancelar, &QPushButton::clicked, this, &QDialog::reject);
    resize(680, 560);
}

QList<CampoFusion> dlgFusion::campos() const {
    QList<CampoFusion> out = campos_;
    for (qsizetype i = 0; i < out.size(); ++i)
        out[i].delQueSale = opciones.at(i)->checkedId() == 1;
    return out;
}

} // namespace orb
