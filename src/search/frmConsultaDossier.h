#pragma once

#include <QDialog>
#include <QMap>

class QListWidget;
class QPushButton;

namespace orb {

// Chooser of the dossier model. It stays alive between calls, so the next
// call starts on the model chosen last.
class frmConsultaDossier : public QDialog {
    Q_OBJECT
public:
    // Lists "Dossier nº 1" … "Dossier nº modelos", the first selected.
    explicit frmConsultaDossier(int modelos, QWidget* parent = nullptr);

    bool aceptado() const { return aceptado_; }
    // 1 … N when accepted, 0 when cancelled or closed.
    int elegido() const { return elegido_; }

    QListWidget* lst = nullptr;
    QMap<int, QPushButton*> cmd;

    void done(int r) override;

protected:
    void showEvent(QShowEvent* e) override;

private:
    bool aceptado_ = false;
    int elegido_ = 0;
};

} // namespace orb
