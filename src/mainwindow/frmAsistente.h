#pragma once

#include "shell/AppContext.h"

#include <QCheckBox>
#include <QDialog>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QPlainTextEdit>
#include <QPushButton>

namespace ui {
class DialogService;
}

namespace orb {

// First start on a seat without an installation: asks the agency's facts and
// logos, checks them as start-up would, and lays the installation out with
// orbalia-install (which builds it aside and renames it, so a failure leaves
// no half installation). Accepted once the folder is complete.
class frmAsistente : public QDialog {
    Q_OBJECT
public:
    // Boxes txt(n), by the fact each holds.
    static constexpr int Agencia = 0;
    static constexpr int Oficina = 1;
    static constexpr int Web = 2;
    static constexpr int Red = 3;
    static constexpr int Logo = 4;        // Logo800.jpg: the file chosen, empty for the plain default
    static constexpr int LogoDossier = 5; // DossierLogo.jpg

    // carpeta: where the installation goes; instalador: the orbalia-install executable.
    frmAsistente(ui::DialogService& dialogs, const QString& carpeta, const QString& instalador,
                 QWidget* parent = nullptr);

    QMap<int, QLineEdit*> txt;
    QCheckBox* chkPrincipal = nullptr;
    QPlainTextEdit* txtPie = nullptr;
    QMap<int, QPushButton*> cmdElegir;   // by Logo / LogoDossier
    QMap<int, QPushButton*> cmdSencillo; // back to the plain default
    QPushButton* cmdCrear = nullptr;
    QPushButton* cmdCancelar = nullptr;

    InstallationFacts datos() const;
    void cmdCrear_Click();

private:
    QLineEdit* campo(int index, const QString& label, QFormLayout* form);
    void elegirLogo(int index);
    bool instalar(const InstallationFacts& f);

    ui::DialogService& dialogs_;
    QString carpeta_;
    QString instalador_;
    QMap<int, QString> rotulo_;
};

} // namespace orb
