#include "frmIntercambio.h"

#include "shell/Log.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

namespace orb {

frmIntercambio::frmIntercambio(AppContext& ctx, const QString& titulo, const QString& accion, QWidget* parent)
    : QDialog(parent), ctx_(ctx) {
    setWindowTitle(titulo);
    setModal(true);
    resize(640, 440);

    txtLog = new QPlainTextEdit(this);
    txtLog->setObjectName(QStringLiteral("txtLog"));
    txtLog->setReadOnly(true);
    txtLog->setAccessibleName(tr("Registro de la ejecución"));
    txtLog->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    txtLog->setMaximumBlockCount(200000);

    lblFilas = new QLabel(tr("Registros: %1").arg(0), this);
    lblFilas->setObjectName(QStringLiteral("lblFilas"));
    lblFilas->setAccessibleName(tr("Registros copiados"));
    // Room for large counts: the label must not be cut while the layout waits for the run to end.
    lblFilas->setMinimumWidth(
        lblFilas->fontMetrics().horizontalAdvance(tr("Registros: %1").arg(QStringLiteral("00000000000"))));
    prgFotos = new QProgressBar(this);
    prgFotos->setObjectName(QStringLiteral("prgFotos"));
    prgFotos->setAccessibleName(tr("Fotos"));
    prgFotos->setFormat(tr("Fotos: %v de %m"));
    prgFotos->setRange(0, 1);
    prgFotos->setValue(0);

    const QString textos[2] = {accion, tr("&Cerrar")};
    for (int i = 0; i < 2; ++i) {
        cmd[std::size_t(i)] = new QPushButton(textos[i], this);
        cmd[std::size_t(i)]->setObjectName(QStringLiteral("cmd(%1)").arg(i));
        cmd[std::size_t(i)]->setAccessibleName(QString(textos[i]).remove(u'&'));
        connect(cmd[std::size_t(i)], &QPushButton::clicked, this, [this, i] { cmd_Click(i); });
    }
    cmd[Ejecutar]->setDefault(true);

    auto* estado = new QHBoxLayout;
    estado->addWidget(lblFilas);
    estado->addWidget(prgFotos, 1);
    auto* botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(cmd[Ejecutar]);
    botones->addWidget(cmd[Cerrar]);
    auto* l = new QVBoxLayout(this);
    l->addWidget(txtLog, 1);
    l->addLayout(estado);
    l->addLayout(botones);
}

void frmIntercambio::cmd_Click(int index) {
    if (index == Cerrar) {
        if (!enCurso_)
            accept();
        return;
    }
    if (index != Ejecutar || enCurso_)
        return; // one run at a time
    enCurso_ = true;
    cmd[Ejecutar]->setEnabled(false);
    cmd[Cerrar]->setEnabled(false);
    LimpiarLog();
    lblFilas->setText(tr("Registros: %1").arg(0));
    prgFotos->setRange(0, 1);
    prgFotos->setValue(0);
    pintado_.start();
    InformeIntercambio informe;
    informe.log = [this](const QString& linea) { Log(linea); };
    informe.progreso = [this](const Progreso& p) { mostrarProgreso(p); };
    informe.filas = [this](const QStringList& lineas) { LogFilas(lineas); };
    resultado_ = correr(runner_, informe);
    enCurso_ = false;
    cmd[Ejecutar]->setEnabled(true);
    cmd[Cerrar]->setEnabled(true);
    cmd[Cerrar]->setFocus();
    Q_EMIT ejecucionTerminada(resultado_);
}

void frmIntercambio::LimpiarLog() {
    txtLog->clear();
}

void frmIntercambio::Log(const QString& linea) {
    txtLog->appendPlainText(linea);
    dejarPintar();
}

// Every row line goes to Orbalia.log, a hundred at a time; the window shows
// one line per hundred rows and the last, so a large office does not spend
// its time appending a line per row to the window.
void frmIntercambio::LogFilas(const QStringList& lineas) {
    constexpr qsizetype Cada = 100;
    const QString patron = tr("%1 (%2 de %3)");
    for (qsizetype desde = 0; desde < lineas.size(); desde += Cada) {
        const qsizetype hasta = std::min(lineas.size(), desde + Cada);
        EscribirLog(lineas.mid(desde, hasta - desde));
        Log(patron.arg(lineas[hasta - 1], QString::number(hasta), QString::number(lineas.size())));
    }
}

void frmIntercambio::mostrarProgreso(const Progreso& p) {
    lblFilas->setText(tr("Registros: %1").arg(p.filas));
    prgFotos->setRange(0, qMax(1, p.fotosTotal));
    prgFotos->setValue(qMin(p.fotos, qMax(1, p.fotosTotal)));
    dejarPintar();
}

// The database work runs on this thread: let the window repaint now and then
// so the log and the progress stay live. User input waits (the buttons are
// off anyway); the external tools' waits let it through.
void frmIntercambio::dejarPintar() {
    if (!enCurso_ || pintado_.elapsed() < 40)
        return;
    pintado_.restart();
    txtLog->verticalScrollBar()->setValue(txtLog->verticalScrollBar()->maximum());
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void frmIntercambio::reject() {
    if (!enCurso_)
        QDialog::reject();
}

void frmIntercambio::closeEvent(QCloseEvent* event) {
    if (enCurso_)
        event->ignore();
    else
        QDialog::closeEvent(event);
}

} // namespace orb
