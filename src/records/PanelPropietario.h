#pragma once

#include <QGroupBox>
#include <array>

class QLabel;
class QPushButton;
class QToolButton;
class QGridLayout;

namespace db {
class Database;
}

namespace orb {

// "Datos del Propietario": the owner of the shown property, read-only, with
// the buttons that create or pick an owner and the e-mail button.
class PanelPropietario : public QGroupBox {
    Q_OBJECT
public:
    // Index order of the labels: the owner's fields they show.
    static constexpr int Nombre = 0, Email = 11, NumEtiquetas = 12;

    explicit PanelPropietario(QWidget* parent = nullptr);

    std::array<QLabel*, NumEtiquetas> lblPropietario{};
    // butPropietario(0) "Nuevo", butPropietario(1) "Existente".
    static constexpr int Nuevo = 0;
    static constexpr int Existente = 1;
    std::array<QPushButton*, 2> butPropietario{};

    // Places the e-mail button beside the owner's address.
    void ponerBotonEmail(QToolButton* boton);
    // Shows the owner with that code; an unknown code empties every label.
    void Mostrar(db::Database& database, const QString& codPropietario);

private:
    QGridLayout* grid_ = nullptr;
};

} // namespace orb
