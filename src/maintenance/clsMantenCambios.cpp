// What the controller tells besides the window's events: the record shown,
// the record stored, and whether an add or edit holds anything to lose.

#include "clsManten.h"

#include "platform/widgets/BoundControls.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>

namespace orb {

void clsManten::avisarReposicion() {
    events_->data_Reposition();
    Q_EMIT registroMostrado();
    if (!avisoMostrado_.isEmpty())
        Q_EMIT avisoOtroPuesto(avisoMostrado_ = QString());
}

void clsManten::avisarEstado() {
    events_->data_StateChanged();
    avisadoEnEdicion_ = false;
    if (!avisoMostrado_.isEmpty())
        Q_EMIT avisoOtroPuesto(avisoMostrado_ = QString());
    // An edit starts from the record as loaded and as the window set it up.
    if (estado_ == Modificando)
        TomarInstantanea();
}

void clsManten::avisarNuevo() {
    events_->data_OnAddNew();
    // A new record starts from the defaults and codes the window filled in.
    TomarInstantanea();
}

QStringList clsManten::valoresActuales() const {
    QStringList valores;
    for (ui::BoundControl* c : bound_) {
        if (auto* t = dynamic_cast<ui::TextControl*>(c))
            valores << t->Text();
        else if (auto* k = dynamic_cast<ui::BoundCheckBox*>(c))
            valores << QString::number(k->Value());
        else if (auto* cb = dynamic_cast<ui::BoundComboBox*>(c))
            valores << QString::number(cb->currentIndex()) + u'\n' + cb->currentText();
    }
    return valores;
}

void clsManten::TomarInstantanea() {
    instantanea_ = valoresActuales();
    tocado_ = false;
    // What the panels hold beyond the bound controls (photos, activity lines,
    // wanted places) has no stored copy to compare with: the user working any
    // of it counts as a change. Connected again each time, for widgets and
    // models that came later; a connection is never doubled.
    for (QWidget* p : pictures())
        for (QWidget* w : p->findChildren<QWidget*>()) {
            if (dynamic_cast<ui::BoundControl*>(w))
                continue;
            if (auto* b = qobject_cast<QAbstractButton*>(w); b && !b->property("alwaysEnabled").toBool())
                connect(b, &QAbstractButton::clicked, this, &clsManten::marcarTocado, Qt::UniqueConnection);
            else if (auto* v = qobject_cast<QAbstractItemView*>(w); v && v->model()) {
                QAbstractItemModel* m = v->model();
                connect(m, &QAbstractItemModel::dataChanged, this, &clsManten::marcarTocado,
                        Qt::UniqueConnection);
                connect(m, &QAbstractItemModel::rowsInserted, this, &clsManten::marcarTocado,
                        Qt::UniqueConnection);
                connect(m, &QAbstractItemModel::rowsRemoved, this, &clsManten::marcarTocado,
                        Qt::UniqueConnection);
            } else if (auto* cb = qobject_cast<QComboBox*>(w))
                connect(cb, &QComboBox::activated, this, &clsManten::marcarTocado, Qt::UniqueConnection);
            else if (auto* t = qobject_cast<QLineEdit*>(w))
                connect(t, &QLineEdit::textEdited, this, &clsManten::marcarTocado, Qt::UniqueConnection);
        }
}

bool clsManten::HayCambios() const {
    if (estado_ != Añadiendo && estado_ != Modificando)
        return false;
    return tocado_ || valoresActuales() != instantanea_;
}

} // namespace orb
