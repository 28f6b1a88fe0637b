#pragma once

#include <QDialog>
#include <QLineEdit>
#include <QMap>
#include <QPlainTextEdit>
#include <QPushButton>

namespace ui {
class DialogService;
}

namespace orb {

struct AppContext;

// Personal data of a new owner, typed while entering a property. Only its two
// buttons end it; the caller reads the result members afterwards.
class frmPropietarioNuevo : public QDialog {
    Q_OBJECT
public:
    explicit frmPropietarioNuevo(QWidget* parent = nullptr);

    QMap<int, QLineEdit*> txt;
    QPlainTextEdit* txtComentarios = nullptr; // txt(7), comments
    QPushButton* cmdOk = nullptr;
    QPushButton* cmdCancel = nullptr;

    // Where a refused identity number is told (the box is named and keeps the focus).
    ui::DialogService* dialogos = nullptr;

    // Result, valid after the dialog was hidden.
    bool Aceptado = false;
    QString Nombre, Direccion, Localidad, CP, Provincia, Telefono, Movil, Fax, Pasaporte, Dni, Nie, Email,
        Comentarios;

    void cmdOk_Click();
    void cmdCancel_Click();

protected:
    void closeEvent(QCloseEvent* e) override;
    void reject() override; // Escape cancels, as the Cancel button
};

// Stores a new owner with the dialog's data, the next free number of this
// office and the given side; returns its code. A number already taken is
// skipped. Throws db::DbError when the owner cannot be stored (nothing is
// stored then and the counter stays).
QString CrearPropietario(AppContext& ctx, const frmPropietarioNuevo& datos, bool alquiler);

} // namespace orb
