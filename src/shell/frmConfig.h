#pragma once

#include <QCheckBox>
#include <QDialog>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QPushButton>
#include <QTabWidget>

namespace orb {

struct AppContext;

// The settings dialog: counters, code mask, add-again, web connection and
// picture sizes, office-exchange account. Accept checks the counters, the mask
// and the picture sizes, then writes every setting in one transaction; Cancel
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
    // Captions lbl(n) of the catalogue counters.
    static constexpr int RotuloTipos = 16;
    static constexpr int RotuloLocalidades = 17;
    static constexpr int RotuloAreas = 18;

    explicit frmConfig(AppContext& ctx, QWidget* parent = nullptr);

    QTabWidget* tab = nullptr;
    QMap<int, QLineEdit*> txt;
    QMap<int, QLabel*> lbl;
    QCheckBox* chkAñadirTrasAñadir = nullptr; // chk(2)
    QPushButton* cmdOk = nullptr;
    QPushButton* cmdCancel = nullptr;

    void cmdOk_Click();

private:
    void cargar();
    void enfocar(QLineEdit* e); // shows its tab, puts the focus in it
    QLineEdit* campo(int index, QWidget* page, QFormLayout* form, const QString& label, int lblIndex = -1);

    AppContext& ctx_;
    QMap<int, QString> rotulo_; // txt(n) → its visible caption, for messages
};

} // namespace orb
