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
    explicit frmConfig(AppContext& ctx, QWidget* parent = nullptr);

    QTabWidget* tab = nullptr;
    QMap<int, QLineEdit*> txt;
    QMap<int, QLabel*> lbl;
    QCheckBox* chk2 = nullptr; // chk(2)
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
