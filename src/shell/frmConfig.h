#pragma once

#include "AppContext.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>

namespace orb {

// The settings dialog: counters, code mask, add-again, web connection and
// picture sizes, office-exchange account, the installation's facts. Accept
// checks the counters, the mask, the picture sizes and the facts, then writes
// every setting in one transaction and the changed facts to Orbalia.ini;
// the interface language is the seat's own and goes to its settings. Cancel
// writes none.
class frmConfig : public QDialog {
    Q_OBJECT
public:
    // Boxes txt(n), by the setting each holds.
    static constexpr int ContadorClientes = 0;
    static constexpr int ContadorPropiedades = 1;
    static constexpr int FotoAnchura = 2;
    static constexpr int FotoAltura = 3;
    static constexpr int MiniaturaAnchura = 4;
    static constexpr int MiniaturaAltura = 5;
    static constexpr int ContadorPropietarios = 13;
    static constexpr int ContadorTipos = 15;
    static constexpr int ContadorLocalidades = 16;
    static constexpr int ContadorAreas = 17;
    static constexpr int Mascara = 18;
    static constexpr int SincContrasena = 19;
    static constexpr int SincUsuario = 20;
    static constexpr int SincServidor = 21;
    static constexpr int WebServidor = 22;
    static constexpr int WebBaseDatos = 23;
    static constexpr int WebUsuario = 24;
    static constexpr int WebContrasena = 25;
    static constexpr int WebPuertoRsync = 26;
    static constexpr int SincPuertoRsync = 27;
    // The portal feed, on the web page.
    static constexpr int PortalesUrlFotos = 40;
    static constexpr int PortalesRechazoMaximo = 41;
    static constexpr int PortalesFotoAnchura = 42;
    static constexpr int PortalesFotoAltura = 43;
    // The page "Instalación": the facts of Orbalia.ini, read at the next start.
    static constexpr int InstAgencia = 30;
    static constexpr int InstOficina = 31;
    static constexpr int InstWeb = 32;
    static constexpr int InstRed = 33;
    // Captions lbl(n) of the catalogue counters.
    static constexpr int RotuloTipos = 16;
    static constexpr int RotuloLocalidades = 17;
    static constexpr int RotuloAreas = 18;

    explicit frmConfig(AppContext& ctx, QWidget* parent = nullptr);

    QTabWidget* tab = nullptr;
    QMap<int, QLineEdit*> txt;
    QMap<int, QLabel*> lbl;
    QCheckBox* chkAñadirTrasAñadir = nullptr; // chk(2)
    QComboBox* cboIdioma = nullptr;           // this seat's interface language
    QCheckBox* chkPrincipal = nullptr;        // page "Instalación"
    QPlainTextEdit* txtPie = nullptr;         // page "Instalación": the dossier footer
    QPushButton* cmdOk = nullptr;
    QPushButton* cmdCancel = nullptr;

    void cmdOk_Click();

private:
    void cargar();
    // The page "Instalación" (frmConfigInstalacion.cpp).
    void crearPaginaInstalacion();
    void cargarInstalacion();
    InstallationFacts datosInstalacion() const;
    bool comprobarInstalacion();
    bool guardarInstalacion();
    void enfocar(QLineEdit* e); // shows its tab, puts the focus in it
    QLineEdit* campo(int index, QWidget* page, QFormLayout* form, const QString& label, int lblIndex = -1);

    AppContext& ctx_;
    QMap<int, QString> rotulo_;     // txt(n) → its visible caption, for messages
    InstallationFacts instalacion_; // as Orbalia.ini held them when the dialog opened
};

} // namespace orb
