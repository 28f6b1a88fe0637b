#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace orb {

// The About box: product name and the supplier's contact details.
class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(QWidget* parent = nullptr);

    QLabel* lblInfo() const { return lblInfo_; }
    QPushButton* cmdAceptar() const { return cmdAceptar_; }

    static QString textoInfo();

private:
    QLabel* lblInfo_;
    QPushButton* cmdAceptar_;
};

} // namespace orb
