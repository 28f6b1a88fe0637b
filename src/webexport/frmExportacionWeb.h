#pragma once

#include "ExportacionWeb.h"

#include <QDialog>
#include <array>

class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace orb {

struct AppContext;

// Tools > web export: runs the export and, when it succeeds, the picture
// upload, with a log and progress; the run can be cancelled between properties.
class frmExportacionWeb : public QDialog {
    Q_OBJECT
public:
    // Indices of cmd.
    static constexpr int CmdExportar = 0;
    static constexpr int CmdCerrar = 1;
    static constexpr int CmdCancelar = 2;

    frmExportacionWeb(AppContext& ctx, QWidget* parent = nullptr);
    ~frmExportacionWeb() override;

    QPushButton* cmd(int index) const { return cmd_[static_cast<std::size_t>(index)]; }
    QPlainTextEdit* txtLog() const { return txtLog_; }
    QProgressBar* prgPropiedades() const { return prgPropiedades_; }
    QProgressBar* prgFotos() const { return prgFotos_; }
    ExportacionWeb& exportacion() { return *exportacion_; }
    // Whether the last run (database and upload) succeeded.
    bool ultimaCorrecta() const { return ultimaCorrecta_; }

public Q_SLOTS:
    void cmd_Click(int index);
    void reject() override; // Escape or the title bar's close: not during a run

private:
    void Log(const QString& linea);
    void volcarLog();
    void LimpiarLog();
    void mostrarProgreso(const ProgresoWeb& p);
    void ponerBotones(bool enCurso);

    AppContext& ctx_;
    std::unique_ptr<ExportacionWeb> exportacion_;
    std::array<QPushButton*, 3> cmd_{};
    QPlainTextEdit* txtLog_ = nullptr;
    QStringList pendientes_; // lines not yet in txtLog_
    QLabel* lblPropiedades_ = nullptr;
    QLabel* lblFotos_ = nullptr;
    QProgressBar* prgPropiedades_ = nullptr;
    QProgressBar* prgFotos_ = nullptr;
    bool ultimaCorrecta_ = false;
};

class WindowRegistry;
// Plugs the window into the main window's tools menu.
void RegistrarExportacionWeb(WindowRegistry& registro);

} // namespace orb
