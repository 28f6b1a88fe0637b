#include "frmExportacionPortales.h"

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
#include <QVBoxLayout>

namespace orb {

namespace {

QProgressBar* barra(const QString& nombre, const QString& accesible, QWidget* parent) {
    auto* b = new QProgressBar(parent);
    b->setObjectName(nombre);
    b->setAccessibleName(accesible);
    b->setRange(0, 1);
    b->setValue(0);
    return b;
}

} // namespace

frmExportacionPortales::frmExportacionPortales(AppContext& ctx, QWidget* parent)
    : QDialog(parent),
      exportacion_(std::make_unique<ExportacionPortales>(ctx, AjustesPortales::leer(ctx), this)) {
    setObjectName(QStringLiteral("frmExportacionPortales"));
    setWindowTitle(tr("Exportación a portales"));
    setModal(true);
    resize(640, 460);

    txtLog_ = new QPlainTextEdit(this);
    txtLog_->setObjectName(QStringLiteral("txtLog"));
    txtLog_->setAccessibleName(tr("Registro de la exportación a portales"));
    txtLog_->setReadOnly(true);
    // Long lines (rsync's command, a refusal's reason) wrap rather than hide their end.
    txtLog_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    txtLog_->setMaximumBlockCount(200000);

    auto* lblPropiedades = new QLabel(tr("Propiedades:"), this);
    auto* lblFotos = new QLabel(tr("Fotos:"), this);
    prgPropiedades_ = barra(QStringLiteral("prgPropiedades"), tr("Propiedades comprobadas"), this);
    prgFotos_ = barra(QStringLiteral("prgFotos"), tr("Fotos para portales preparadas"), this);
    lblPropiedades->setBuddy(prgPropiedades_);
    lblFotos->setBuddy(prgFotos_);
    lblPublicadas_ = new QLabel(this);
    lblPublicadas_->setObjectName(QStringLiteral("lblPublicadas"));
    lblRechazadas_ = new QLabel(this);
    lblRechazadas_->setObjectName(QStringLiteral("lblRechazadas"));

    const std::array<QString, 3> titulos = {tr("&Exportar"), tr("&Cerrar"), tr("C&ancelar")};
    for (int i = 0; i < 3; ++i) {
        auto* b = new QPushButton(titulos[static_cast<std::size_t>(i)], this);
        b->setObjectName(QStringLiteral("cmd(%1)").arg(i));
        b->setAccessibleName(QString(titulos[static_cast<std::size_t>(i)]).remove(u'&'));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, [this, i] { cmd_Click(i); });
        cmd_[static_cast<std::size_t>(i)] = b;
    }
    cmd(CmdExportar)->setDefault(true);

    auto* progreso = new QGridLayout;
    progreso->addWidget(lblPropiedades, 0, 0);
    progreso->addWidget(prgPropiedades_, 0, 1);
    progreso->addWidget(lblFotos, 1, 0);
    progreso->addWidget(prgFotos_, 1, 1);
    auto* cuentas = new QHBoxLayout;
    cuentas->addWidget(lblPublicadas_);
    cuentas->addSpacing(24);
    cuentas->addWidget(lblRechazadas_);
    cuentas->addStretch();
    auto* botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(cmd(CmdExportar));
    botones->addWidget(cmd(CmdCancelar));
    botones->addWidget(cmd(CmdCerrar));
    auto* l = new QVBoxLayout(this);
    l->addWidget(txtLog_, 1);
    l->addLayout(progreso);
    l->addLayout(cuentas);
    l->addLayout(botones);

    exportacion_->alLog = [this](const QString& linea) { Log(linea); };
    exportacion_->alProgreso = [this](const ProgresoPortales& p) { mostrarProgreso(p); };
    mostrarProgreso({});
    ponerBotones(false);
}

frmExportacionPortales::~frmExportacionPortales() {
    exportacion_->cancelar();
}

void frmExportacionPortales::ponerBotones(bool enCurso) {
    cmd(CmdExportar)->setEnabled(!enCurso);
    cmd(CmdCerrar)->setEnabled(!enCurso);
    cmd(CmdCancelar)->setEnabled(enCurso);
}

void frmExportacionPortales::cmd_Click(int index) {
    switch (index) {
    case CmdExportar:
        if (exportacion_->enCurso())
            return;
        txtLog_->clear();
        mostrarProgreso({});
        ponerBotones(true);
        cmd(CmdCancelar)->setFocus();
        QCoreApplication::processEvents();
        ultimaCorrecta_ = exportacion_->ejecutar(true);
        ponerBotones(false);
        cmd(CmdCerrar)->setFocus();
        break;
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

void frmExportacionPortales::reject() {
    if (exportacion_->enCurso()) {
        exportacion_->cancelar();
        return;
    }
    QDialog::reject();
}

void frmExportacionPortales::Log(const QString& linea) {
    txtLog_->appendPlainText(linea);
    txtLog_->verticalScrollBar()->setValue(txtLog_->verticalScrollBar()->maximum());
}

void frmExportacionPortales::mostrarProgreso(const ProgresoPortales& p) {
    // The bar needs a range of at least one; its text says the real count ("0 / 0" before a run).
    const auto poner = [](QProgressBar* b, int hechas, int total) {
        b->setFormat(QStringLiteral("%1 / %2").arg(hechas).arg(total));
        b->setRange(0, qMax(1, total));
        b->setValue(hechas);
    };
    poner(prgPropiedades_, p.propiedadesHechas, p.propiedadesTotal);
    poner(prgFotos_, p.fotosHechas, p.fotosTotal);
    lblPublicadas_->setText(tr("Publicadas: %1").arg(p.publicadas));
    lblRechazadas_->setText(tr("Rechazadas: %1").arg(p.rechazadas));
    lblPublicadas_->setAccessibleName(lblPublicadas_->text());
    lblRechazadas_->setAccessibleName(lblRechazadas_->text());
}

void RegistrarExportacionPortales(WindowRegistry& registro) {
    registro.registrar(Ventana::ExportacionPortales, [](AppContext& ctx, bool, QWidget* parent) -> QWidget* {
        return new frmExportacionPortales(ctx, parent);
    });
}

} // namespace orb
