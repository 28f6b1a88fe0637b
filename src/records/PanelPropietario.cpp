#include "PanelPropietario.h"

#include "platform/db/Database.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>

namespace orb {

namespace {

struct Dato {
    const char* campo;
    const char* rotulo;
};
// In the index order of lblPropietario.
const Dato Datos[PanelPropietario::NumEtiquetas] = {
    {"Nombre", QT_TRANSLATE_NOOP("orb::PanelPropietario", "Nombre:")},
    {"Direccion", QT_TRANSLATE_NOOP("orb::PanelPropietario", "Dirección:")},
    {"Localidad", QT_TRANSLATE_NOOP("orb::PanelPropietario", "Localidad:")},
    {"Provincia", QT_TRANSLATE_NOOP("orb::PanelPropietario", "Provincia:")},
    {"CP", QT_TRANSLATE_NOOP("orb::PanelPropietario", "CP:")},
    {"Telefono", QT_TRANSLATE_NOOP("orb::PanelPropietario", "Teléfono:")},
    {"Movil", QT_TRANSLATE_NOOP("orb::PanelPropietario", "Móvil:")},
    {"Fax", QT_TRANSLATE_NOOP("orb::PanelPropietario", "Fax:")},
    {"Pasaporte", QT_TRANSLATE_NOOP("orb::PanelPropietario", "Pasap.:")},
    {"Dni", QT_TRANSLATE_NOOP("orb::PanelPropietario", "DNI:")},
    {"Nie", QT_TRANSLATE_NOOP("orb::PanelPropietario", "NIE:")},
    {"Email", QT_TRANSLATE_NOOP("orb::PanelPropietario", "Email:")}};

} // namespace

PanelPropietario::PanelPropietario(QWidget* parent) : QGroupBox(tr("Datos del Propietario"), parent) {
    setObjectName(QStringLiteral("picPropietario"));
    grid_ = new QGridLayout(this);
    grid_->setContentsMargins(8, 6, 8, 6);
    grid_->setHorizontalSpacing(6);
    grid_->setVerticalSpacing(2);
    for (int i = 0; i < NumEtiquetas; ++i) {
        auto* rotulo = new QLabel(tr(Datos[i].rotulo), this);
        rotulo->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        auto* valor = new QLabel(this);
        valor->setObjectName(QStringLiteral("lblPropietario(%1)").arg(i));
        valor->setTextInteractionFlags(Qt::TextSelectableByMouse);
        valor->setMinimumWidth(120);
        valor->setWordWrap(true); // a long name or street goes on to a second line, never cut off
        valor->setAccessibleName(rotulo->text().chopped(1));
        lblPropietario[std::size_t(i)] = valor;
        grid_->addWidget(rotulo, i, 0);
        grid_->addWidget(valor, i, 1);
    }
    auto* botones = new QHBoxLayout;
    for (int i = 0; i < 2; ++i) {
        auto* b = new QPushButton(i == Nuevo ? tr("Nuevo") : tr("Existente"), this);
        b->setObjectName(QStringLiteral("butPropietario(%1)").arg(i));
        b->setAccessibleName(i == Nuevo ? tr("Nuevo propietario") : tr("Propietario existente"));
        butPropietario[std::size_t(i)] = b;
        botones->addWidget(b);
    }
    botones->addStretch(1);
    grid_->addLayout(botones, NumEtiquetas, 0, 1, 2);
    grid_->setColumnStretch(1, 1);
    grid_->setRowStretch(NumEtiquetas + 1, 1);
}

void PanelPropietario::ponerBotonEmail(QToolButton* boton) {
    grid_->removeWidget(lblPropietario[Email]);
    auto* fila = new QHBoxLayout;
    fila->addWidget(lblPropietario[Email], 1);
    fila->addWidget(boton);
    grid_->addLayout(fila, Email, 1);
}

void PanelPropietario::Mostrar(db::Database& database, const QString& codPropietario) {
    const QList<db::Row> filas =
        codPropietario.isEmpty()
            ? QList<db::Row>{}
            : database.query(QStringLiteral("select Nombre, Direccion, Localidad, Provincia, CP, Telefono, "
                                            "Movil, Fax, Pasaporte, Dni, Nie, Email from Propietarios where "
                                            "Cod = ?"),
                             {codPropietario});
    // A selectable label builds its text document again on every setText:
    // only the labels whose text changes are set.
    for (int i = 0; i < NumEtiquetas; ++i) {
        const QString texto = filas.isEmpty() ? QString() : filas.first().value(i).toString();
        QLabel* l = lblPropietario[std::size_t(i)];
        if (l->text() != texto)
            l->setText(texto);
    }
}

} // namespace orb
