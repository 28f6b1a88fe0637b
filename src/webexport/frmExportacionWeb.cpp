#include "frmExportacionWeb.h"

#include "shell/AppContext.h"
#include "shell/WindowRegistry.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>

namespace orb {

namespace {

QProgressBar* barra(const QString& nombre, const QString& accesible, QWidget* parent) {
    auto* b = new QProgressBar(parent);
    b->setObjectName(nombre);
    b->setAccessibleName(accesible);
    b->setValue(0);
    b->setFormat(QStringLiteral("%v / %m"));
    b->setRange(0, 1);
    return b;
}

} // namespace

frmExportacionWeb::frmExportacionWeb(AppContext& ctx, QWidget* parent)
    : QDialog(parent), ctx_(ctx),
      exportacion_(std::make_unique<ExportacionWeb>(ctx, AjustesWeb::leer(ctx), this)) {
    setObjectName(QStringLiteral("frmExportacionWeb"));
    setWindowTitle(tr("Exportación Web"));
    setModal(true);
    resize(640, 460);

    txtLog_ = new QPlainTextEdit(this);
    txtLog_->setObjectName(QStringLiteral("txtLog"));
    txtLog_->setAccessibleName(tr("Registro de la exportación"));
    txtLog_->setReadOnly(true);
    txtLog_->setLineWrapMode(QPlainTextEdit::NoWrap);
    // Keeps memory bounded on a run of many thousands of properties.
    txtLog_->setMaximumBlockCount(200000);

    lblPropiedades_ = new QLabel(tr("Propiedades:"), this);
    lblFotos_ = new QLabel(tr("Fotos:"), this);
    prgPropiedades_ = barra(QStringLiteral("prgPropiedades"), tr("Propiedades exportadas"), this);
    prgFotos_ = barra(QStringLiteral("prgFotos"), tr("Fotos preparadas"), this);
    lblPropiedades_->setBuddy(prgPropiedades_);
    lblFotos_->setBuddy(prgFotos_);

    const std::array<QString, 3> titulos = {tr("&Exportar"), tr("&Cerrar"), tr("C&ancelar")};
    const std::array<QString, 3> nombres = {tr("Exportar"), tr("Cerrar"), tr("Cancelar")};
    for (int i = 0; i < 3; ++i) {
        auto* b = new QPushButton(titulos[static_cast<std::size_t>(i)], this);
        b->setObjectName(QStringLiteral("cmd(%1)").arg(i));
        b->setAccessibleName(nombres[static_cast<std::size_t>(i)]);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, [this, i] { cmd_Click(i); });
        cmd_[static_cast<std::size_t>(i)] = b;
    }
    cmd(CmdExportar)->setDefault(true);

    auto* progreso = new QGridLayout;
    progreso->addWidget(lblPropiedades_, 0, 0);
    progreso->addWidget(prgPropiedades_, 0, 1);
    progreso->addWidget(lblFotos_, 1, 0);
    progreso->addWidget(prgFotos_, 1, 1);
    auto* botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(cmd(CmdExportar));
    botones->addWidget(cmd(CmdCancelar));
    botones->addWidget(cmd(CmdCerrar));
    auto* l = new QVBoxLayout(this);
    l->addWidget(txtLog_, 1);
    l->addLayout(progreso);
    l->addLayout(botones);

    exportacion_->alLog = [this](const QString& linea) { Log(linea); };
    exportacion_->alProgreso = [this](const ProgresoWeb& p) { mostrarProgreso(p); };
    ponerBotones(false);
}

frmExportacionWeb::~frmExportacionWeb() {
    exportacion_->cancelar();
}

void frmExportacionWeb::ponerBotones(bool enCurso) {
    cmd(CmdExportar)->setEnabled(!enCurso);
    cmd(CmdCerrar)->setEnabled(!enCurso);
    cmd(CmdCancelar)->setEnabled(enCurso);
}

void frmExportacionWeb::cmd_Click(int index) {
    switch (index) {
    case CmdExportar: {
        if (exportacion_->enCurso())
            return;
        LimpiarLog();
        ponerBotones(true);
        cmd(CmdCancelar)->setFocus();
        ultimaCorrecta_ = exportacion_->ejecutar(true);
        volcarLog();
        ponerBotones(false);
        cmd(CmdCerrar)->setFocus();
        break;
    }
    case CmdCancelar:
        exportacion_->cancelar();
        break;
    case CmdCerrar:
        if (!exportacion_->enCurso())
            accept();
        break;
    default:
        break;
    }
}

void frmExportacionWeb::reject() {
    // Closing mid-run would leave the run without its window: cancel first.
    if (exportacion_->enCurso()) {
        exportacion_->cancelar();
        return;
    }
    QDialog::reject();
}

void frmExportacionWeb::LimpiarLog() {
    pendientes_.clear();
    txtLog_->clear();
    prgPropiedades_->setRange(0, 1);
    prgPropiedades_->setValue(0);
    prgFotos_->setRange(0, 1);
    prgFotos_->setValue(0);
    QCoreApplication::processEvents();
}

// Lines reach the box together each time the run lets the window repaint
// (every 40 ms at most), not one append and scroll per exported property.
void frmExportacionWeb::Log(const QString& linea) {
    if (pendientes_.isEmpty())
        QTimer::singleShot(0, this, &frmExportacionWeb::volcarLog);
    pendientes_ << linea;
}

void frmExportacionWeb::volcarLog() {
    if (pendientes_.isEmpty())
        return;
    txtLog_->appendPlainText(pendientes_.join(u'\n'));
    pendientes_.clear();
    txtLog_->verticalScrollBar()->setValue(txtLog_->verticalScrollBar()->maximum());
}

void frmExportacionWeb::mostrarProgreso(const ProgresoWeb& p) {
    prgPropiedades_->setRange(0, qMax(1, p.propiedadesTotal));
    prgPropiedades_->setValue(p.propiedadesHechas);
    prgFotos_->setRange(0, qMax(1, p.fotosTotal));
    prgFotos_->setValue(p.fotosHechas);
}

void RegistrarExportacionWeb(WindowRegistry& registro) {
    registro.registrar(Ventana::ExportacionWeb, [](AppContext& ctx, bool, QWidget* parent) -> QWidget* {
        return new frmExportacionWeb(ctx, parent);
    });
}

} // namespace orb
