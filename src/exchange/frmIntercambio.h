#pragma once

#include "Intercambio.h"
#include "platform/process/ProcessRunner.h"

#include <QDialog>
#include <QElapsedTimer>
#include <array>

class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace orb {

struct AppContext;

// The modal window of an exchange run: a button that runs it, one that
// closes, the log and the progress. The run itself is a headless class; this
// window only shows what it reports and keeps painting while it works.
class frmIntercambio : public QDialog {
    Q_OBJECT
public:
    enum Boton { Ejecutar = 0, Cerrar = 1 };

    std::array<QPushButton*, 2> cmd{}; // cmd(0) runs, cmd(1) closes
    QPlainTextEdit* txtLog = nullptr;
    QLabel* lblFilas = nullptr;
    QProgressBar* prgFotos = nullptr;

    void cmd_Click(int index);
    bool enCurso() const { return enCurso_; }
    // Result of the last run.
    bool ultimoResultado() const { return resultado_; }

    void LimpiarLog();
    void Log(const QString& linea);
    void LogFilas(const QStringList& lineas);

Q_SIGNALS:
    void ejecucionTerminada(bool ok);

protected:
    frmIntercambio(AppContext& ctx, const QString& titulo, const QString& accion, QWidget* parent);
    virtual bool correr(proc::ProcessRunner& runner, const InformeIntercambio& informe) = 0;

    void reject() override;
    void closeEvent(QCloseEvent* event) override;

    AppContext& ctx_;

private:
    void mostrarProgreso(const Progreso& p);
    void dejarPintar();

    proc::ProcessRunner runner_;
    bool enCurso_ = false;
    bool resultado_ = false;
    QElapsedTimer pintado_;
};

} // namespace orb
