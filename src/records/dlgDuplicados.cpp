#include "dlgDuplicados.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace orb {

dlgDuplicados::dlgDuplicados(const QString& pregunta, const QStringList& cabeceras,
                             const QList<Candidato>& candidatos, const QString& textoAbrir, QWidget* parent)
    : QDialog(parent), candidatos_(candidatos) {
    setObjectName(QStringLiteral("dlgDuplicados"));
    setWindowTitle(tr("Posible duplicado"));
    auto* texto = new QLabel(pregunta, this);
    texto->setWordWrap(true);

    grd = new QTableWidget(int(candidatos.size()), int(cabeceras.size()), this);
    grd->setObjectName(QStringLiteral("grd"));
    grd->setAccessibleName(tr("Registros parecidos"));
    grd->setHorizontalHeaderLabels(cabeceras);
    grd->setSelectionBehavior(QAbstractItemView::SelectRows);
    grd->setSelectionMode(QAbstractItemView::SingleSelection);
    grd->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grd->verticalHeader()->hide();
    grd->horizontalHeader()->setStretchLastSection(true);
    for (int i = 0; i < candidatos.size(); ++i) {
        const Candidato& c = candidatos.at(i);
        const QStringList celdas{c.cod,   c.nombre,  c.telefonos,
                                 c.email, c.oficina, c.motivos.join(QStringLiteral(", "))};
        for (int j = 0; j < cabeceras.size() && j < celdas.size(); ++j)
            grd->setItem(i, j, new QTableWidgetItem(celdas.at(j)));
    }
    grd->resizeColumnsToContents();
    if (!candidatos.isEmpty())
        grd->selectRow(0);
    texto->setBuddy(grd);

    cmdAbrir = new QPushButton(textoAbrir, this);
    cmdAbrir->setObjectName(QStringLiteral("cmdAbrir"));
    cmdAbrir->setAccessibleName(QString(textoAbrir).remove(u'&'));
    cmdGuardar = new QPushButton(tr("&Guardar de todos modos"), this);
    cmdGuardar->setObjectName(QStringLiteral("cmdGuardar"));
    cmdGuardar->setAccessibleName(tr("Guardar de todos modos"));
    cmdCancelar = new QPushButton(tr("Cancelar"), this);
    cmdCancelar->setObjectName(QStringLiteral("cmdCancelar"));
    cmdCancelar->setAccessibleName(tr("Cancelar"));
    // Nothing is stored unless the agent says so.
    cmdCancelar->setDefault(true);
    auto* botones = new QHBoxLayout;
    botones->addWidget(cmdAbrir);
    botones->addWidget(cmdGuardar);
    botones->addStretch(1);
    botones->addWidget(cmdCancelar);

    auto* v = new QVBoxLayout(this);
    v->addWidget(texto);
    v->addWidget(grd, 1);
    v->addLayout(botones);
    connect(cmdAbrir, &QPushButton::clicked, this, [this] { terminar(Respuesta::Abrir); });
    connect(cmdGuardar, &QPushButton::clicked, this, [this] { terminar(Respuesta::Guardar); });
    connect(cmdCancelar, &QPushButton::clicked, this, [this] { terminar(Respuesta::Cancelar); });
    connect(grd, &QTableWidget::cellDoubleClicked, this, [this] { terminar(Respuesta::Abrir); });
    resize(720, 300);
}

QString dlgDuplicados::elegido() const {
    const int fila = grd->currentRow();
    return fila >= 0 && fila < candidatos_.size() ? candidatos_.at(fila).cod : QString();
}

void dlgDuplicados::reject() {
    terminar(Respuesta::Cancelar);
}

void dlgDuplicados::terminar(Respuesta r) {
    if (r == Respuesta::Abrir && elegido().isEmpty())
        return;
    respuesta_ = r;
    done(r == Respuesta::Cancelar ? QDialog::Rejected : QDialog::Accepted);
}

dlgDuplicados::Respuesta dlgDuplicados::PreguntarPersonas(QWidget* parent, const QList<Candidato>& candidatos,
                                                          const QString& textoAbrir, QString& elegido) {
    const qsizetype n = candidatos.size();
    dlgDuplicados dlg(
        tr("Ya hay %n registros que pueden ser la misma persona:", nullptr, int(n)),
        {tr("Código"), tr("Nombre"), tr("Teléfonos"), tr("E-mail"), tr("Oficina"), tr("Coincide en")},
        candidatos, textoAbrir, parent);
    dlg.exec();
    elegido = dlg.elegido();
    return dlg.respuesta();
}

dlgDuplicados::Respuesta
dlgDuplicados::PreguntarPropiedades(QWidget* parent, const QList<Candidato>& candidatos, QString& elegido) {
    const qsizetype n = candidatos.size();
    dlgDuplicados dlg(tr("Ya hay %n propiedades disponibles en esta dirección:", nullptr, int(n)),
                      {tr("Código"), tr("Dirección"), tr("Propietario"), tr("E-mail"), tr("Oficina")},
                      candidatos, tr("&Abrir la elegida"), parent);
    dlg.grd->hideColumn(3);
    dlg.exec();
    elegido = dlg.elegido();
    return dlg.respuesta();
}

} // namespace orb
