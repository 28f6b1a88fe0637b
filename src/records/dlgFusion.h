#pragma once

#include "Fusion.h"

#include <QDialog>
#include <QList>

class QButtonGroup;
class QPushButton;

namespace orb {

// Field by field, which value the merged record keeps: the kept record's or
// the removed one's. Aceptar merges; Cancelar changes nothing.
class dlgFusion : public QDialog {
    Q_OBJECT
public:
    dlgFusion(const QString& queda, const QString& sale, const QList<CampoFusion>& campos,
              QWidget* parent = nullptr);

    // The fields with the agent's choice.
    QList<CampoFusion> campos() const;

    QList<QButtonGroup*> opciones; // one per field: button 0 keeps, 1 takes the removed record's
    QPushButton* cmdAceptar = nullptr;
    QPushButton* cmdCancelar = nullptr;

private:
    QList<CampoFusion> campos_;
};

} // namespace orb
