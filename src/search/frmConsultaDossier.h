#pragma once

#include "DialogoConsulta.h"

class QListWidget;

namespace orb {

// Chooser of the dossier model. It stays alive between calls, so the next
// call starts on the model chosen last.
class frmConsultaDossier : public DialogoConsulta {
    Q_OBJECT
public:
    // Lists "Dossier nº 1" … "Dossier nº modelos", the first selected.
    explicit frmConsultaDossier(int modelos, QWidget* parent = nullptr);

    // 1 … N when accepted, 0 when cancelled or closed.
    int elegido() const { return elegido_; }

    QListWidget* lst = nullptr;

    void done(int r) override;

protected:
    QWidget* controlInicial() const override;
    void showEvent(QShowEvent* e) override;

private:
    int elegido_ = 0;
};

} // namespace orb
