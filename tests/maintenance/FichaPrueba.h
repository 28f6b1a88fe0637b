#pragma once

// A record window as the application builds them, on a small table of its
// own: what the controller's tests drive.

#include "maintenance/clsManten.h"
#include "platform/db/Database.h"
#include "platform/widgets/BoundControls.h"
#include "platform/widgets/DialogService.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <functional>
#include <memory>

namespace fichaprueba {

using namespace orb;

inline const char* const kSchema = R"(
CREATE TABLE Fichas (
  Cod VARCHAR(10) COLLATE es NOT NULL UNIQUE CHECK (length(Cod) <= 10),
  Nombre VARCHAR(20) COLLATE es CHECK (length(Nombre) <= 20),
  Numero INTEGER,
  Importe CURRENCY,
  Fecha DATE,
  Activo BOOLEAN NOT NULL DEFAULT 0,
  Estado VARCHAR(20) COLLATE es,
  Notas VARCHAR(30) COLLATE es CHECK (length(Notas) <= 30)
);
CREATE TABLE Historial (Cod VARCHAR(10), Texto TEXT);
)";

// A record window as the application builds them: one data panel, ten buttons.
class Ficha : public QWidget, public MantenEvents {
public:
    Ficha(ui::DialogService& dialogs) {
        auto* lay = new QVBoxLayout(this);
        Picture1 = new QWidget(this);
        auto* pl = new QVBoxLayout(Picture1);
        cod = new ui::BoundTextBox(Picture1, "Cod");
        nombre = new ui::BoundTextBox(Picture1, "Nombre");
        numero = new ui::BoundTextBox(Picture1, "Numero");
        importe = new ui::BoundTextBox(Picture1, "Importe");
        fecha = new ui::BoundTextBox(Picture1, "Fecha");
        activo = new ui::BoundCheckBox("Activo", Picture1, "Activo");
        estado = new ui::BoundComboBox(ui::BoundComboBox::DropDownList, Picture1, "Estado");
        estado->addItems({"Buscando", "Pendiente", "Comprado"});
        notas = new ui::BoundMemo(Picture1, "Notas");
        libre = new ui::BoundTextBox(Picture1); // no field: never bound
        // Messages name a box by its label, else its accessible name, else its field.
        auto* etiqueta = new QLabel("Fecha &Alta:", Picture1);
        etiqueta->setBuddy(fecha);
        importe->setAccessibleName("Importe total");
        for (QWidget* w : std::initializer_list<QWidget*>{cod, nombre, numero, importe, etiqueta, fecha,
                                                          activo, estado, notas, libre})
            pl->addWidget(w);
        lay->addWidget(Picture1);
        using Set = void (clsManten::*)(QAbstractButton*);
        const Set sets[] = {&clsManten::setFirstButton,  &clsManten::setPreviousButton,
                            &clsManten::setNextButton,   &clsManten::setLastButton,
                            &clsManten::setAddButton,    &clsManten::setEditButton,
                            &clsManten::setDeleteButton, &clsManten::setOkButton,
                            &clsManten::setCancelButton, &clsManten::setCloseButton};
        data = new clsManten(this, this, dialogs);
        data->DataPicture(Picture1);
        int i = 0;
        for (auto** b : {&first, &prev, &next, &last, &add, &edit, &del, &ok, &cancel, &close}) {
            *b = new QPushButton(this);
            lay->addWidget(*b);
            (data->*sets[i++])(*b);
        }
    }

    void asked(const char* event, bool& cancel) {
        log << event;
        cancel = refuse;
    }
    void data_CanAddNew(bool& c) override { asked("CanAddNew", c); }
    void data_CanDelete(bool& c) override { asked("CanDelete", c); }
    void data_CanUpdate(bool& c) override { asked("CanUpdate", c); }
    void data_OnAddNew() override { log << "OnAddNew"; }
    void data_Reposition() override { log << "Reposition"; }
    void data_BeforeDelete() override { log << "BeforeDelete"; }
    void data_BeforeUpdate() override {
        log << "BeforeUpdate";
        if (durante)
            durante("BeforeUpdate");
        // A code the window builds, as the owner and property windows do.
        if (!codigoAlGrabar.isEmpty())
            cod->setText(codigoAlGrabar);
        // A related row written in the confirm's transaction, as the property window does.
        if (historial)
            data->BaseDatos().execute("INSERT INTO Historial (Cod, Texto) VALUES (?, 'alta')", {cod->text()});
    }
    void data_AfterUpdate() override {
        log << "AfterUpdate";
        if (durante)
            durante("AfterUpdate");
        if (fallarDespues)
            throw db::DbError(db::ErrGeneric, "fallo provocado después de grabar");
    }
    // Files beside the database follow the outcome: these come once it is known.
    void data_AfterCommit() override {
        log << (data->BaseDatos().inTransaction() ? "AfterCommit (open)" : "AfterCommit");
    }
    void data_AfterRollback() override {
        log << (data->BaseDatos().inTransaction() ? "AfterRollback (open)" : "AfterRollback");
    }
    void data_StateChanged() override { log << QStringLiteral("StateChanged(%1)").arg(data->Estado()); }

    // Enabled flags in the order First, Prev, Next, Last, Add, Edit, Del, Ok, Cancel, Close, picture.
    QString flags() const {
        QString s;
        for (QWidget* w : std::initializer_list<QWidget*>{first, prev, next, last, add, edit, del, ok, cancel,
                                                          close, Picture1})
            s += w->isEnabled() ? u'1' : u'0';
        s.chop(1);
        // The data panel is open for input or locked (read-only text, disabled lists).
        s += Picture1->property("editable").toBool() && !nombre->isReadOnly() && estado->isEnabled() ? u'1'
                                                                                                     : u'0';
        return s;
    }

    clsManten* data;
    QWidget* Picture1;
    ui::BoundTextBox *cod, *nombre, *numero, *importe, *fecha, *libre;
    ui::BoundCheckBox* activo;
    ui::BoundComboBox* estado;
    ui::BoundMemo* notas;
    QPushButton *first, *prev, *next, *last, *add, *edit, *del, *ok, *cancel, *close;
    QStringList log;
    bool refuse = false;
    bool historial = false;
    bool fallarDespues = false;
    QString codigoAlGrabar;
    // Run inside the confirm's events, as a slow window lets the user act meanwhile.
    std::function<void(const QString& evento)> durante;
};

// A window on the Fichas of the file at path, opened on its first record.
inline std::unique_ptr<Ficha> abrirFicha(ui::DialogService& dialogs, const QString& path, bool addAgain) {
    auto f = std::make_unique<Ficha>(dialogs);
    f->data->setAddAgain(addAgain);
    f->data->setDatabaseName(path);
    f->data->setRecordSource("select * from Fichas order by Cod");
    f->data->Refresh();
    return f;
}

// One key press per character, as a keyboard (or an emoji key) sends them.
inline void teclear(QWidget* w, const QString& texto) {
    for (const uint c : texto.toUcs4()) {
        const char32_t cp = c;
        const QString t = QString::fromUcs4(&cp, 1);
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, t);
        QApplication::sendEvent(w, &press);
    }
}

} // namespace fichaprueba
