#pragma once

#include "ExportacionPortales.h"

#include <QDialog>
#include <array>
#include <memory>

class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace orb {

struct AppContext;

// Tools > portal feed: writes the feed and, when it is in place, uploads the
// web folder; log, progress, the published and refused counts, and Cancel.
class frmExportacionPortales : public QDialog {
    Q_OBJECT
public:
    // Indices of cmd.
    static constexpr int CmdExportar = 0;
    static constexpr int CmdCerrar = 1;
    static constexpr int CmdCancelar = 2;

    frmExportacionPortales(AppContext& ctx, QWidget* parent = nullptr);
    ~frmExportacionPortales() override;

    QPushButton* cmd(int index) const { return cmd_[static_cast<std::size_t>(index)]; }
    QPlainTextEdit* txtLog() const { return txtLog_; }
    QProgressBar* prgPropiedades() const { return prgPropiedades_; }
    QProgressBar* prgFotos() const { return prgFotos_; }
    QLabel* lblPublicadas() const { return lblPublicadas_; }
    QLabel* lblRechazadas() const { return lblRechazadas_; }
    ExportacionPortales& exportacion() { return *exportacion_; }
    bool ultimaCorrecta() const { return ultimaCorrecta_; }

public Q_SLOTS:
    void cmd_Click(int index);
    void reject() override; // not during a run: cancels it instead

private:
    void Log(const QString& linea);
    void mostrarProgreso(const ProgresoPortales& p);
    void ponerBotones(bool enCurso);

    std::unique_ptr<ExportacionPortales> exportacion_;
    std::array<QPushButton*, 3> cmd_{};
    QPlainTextEdit* txtLog_ = nullptr;
    QProgressBar* prgPropiedades_ = nullptr;
    QProgressBar* prgFotos_ = nullptr;
    QLabel* lblPublicadas_ = nullptr;
    QLabel* lblRechazadas_ = nullptr;
    bool ultimaCorrecta_ = false;
};

class WindowRegistry;
void RegistrarExportacionPortales(WindowRegistry& registro);

} // namespace orb
