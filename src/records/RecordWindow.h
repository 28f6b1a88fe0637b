#pragma once

#include "maintenance/clsManten.h"
#include "platform/widgets/BoundControls.h"

#include <QLabel>
#include <QMap>
#include <QPointer>
#include <QToolButton>
#include <QWidget>

class QGridLayout;
class QHBoxLayout;

namespace ui {
class AtajosTeclado;
}

namespace orb {

struct AppContext;

// What every record window shares: the data panel Picture1, the button panel
// Picture2 with the ten controller buttons, the controller `data`, and the
// question before closing while a record is being added or edited.
class RecordWindow : public QWidget, public MantenEvents {
    Q_OBJECT
public:
    RecordWindow(AppContext& ctx, const QString& objectName, QWidget* parent = nullptr);

    clsManten* data = nullptr;
    QWidget* Picture1 = nullptr;
    QWidget* Picture2 = nullptr;
    QToolButton *cmdFirst, *cmdPrev, *cmdNext, *cmdLast, *cmdAdd, *cmdEdit, *cmdDel, *cmdOk, *cmdCancel,
        *cmdClose;
    QMap<int, ui::TextControl*> txt;
    QMap<int, QLabel*> lbl;
    QMap<int, ui::BoundComboBox*> cboLookup;
    // Between the buttons and the data: what another seat did to the record
    // (changed while it was being edited, deleted while it was shown); hidden
    // when there is nothing to say.
    QLabel* lblOtroPuesto = nullptr;

protected:
    AppContext& ctx;
    QGridLayout* grid = nullptr;    // layout of Picture1
    QHBoxLayout* buttons = nullptr; // layout of Picture2

    // A bound single-line box at txt(index), labelled at (row, column) of the grid.
    ui::BoundTextBox* addText(int index, const QString& field, const QString& label, int row, int column,
                              int span = 1);
    ui::BoundMemo* addMemo(int index, const QString& field, const QString& label, int row, int column,
                           int rowSpan = 1, int span = 1);
    QLabel* addLabel(const QString& text, int row, int column, QWidget* buddy, int lblIndex = -1);
    // A catalogue list cboLookup(index) filled from sql (code, name), paired with
    // a hidden box txt(index) bound to the code field: picking an item writes its
    // code into the box, and whatever the box holds selects the item (none when
    // no item has that code).
    ui::BoundComboBox* addListaCatalogo(int index, const QString& field, const QString& label, int row,
                                        int column, const QString& sql);
    // The code of a record numbered within its office: the office box txt(agencia),
    // the number txt(numero) and the whole code txt(cod), hidden, side by side in the
    // row labelled "Código:" at (0, 0). Returns the row's layout, for what follows them.
    QHBoxLayout* addFilaCodigo(int agencia, int numero, int cod, int anchoAgencia, int anchoNumero,
                               int span = 1);
    // A button for Picture2 after the ten standard ones.
    QToolButton* addToolButton(const QString& name, const QString& tooltip, const QString& icon);

    // Standard set-up order: panels, buttons, AddAgain, database, source, Refresh.
    void iniciarControlador(const QString& recordSource, const db::Params& params = {});
    // Shows the record whose Cod is cod (the search windows' Go to). A record
    // being added or edited is not thrown away: the user is asked first, and an
    // unknown code or an answer to stay leaves the window as it was. Going to the
    // record being edited keeps the edit.
    void irRegistro(const QString& cod);

    void closeEvent(QCloseEvent* e) override;
    // The first time: Tab follows the reading order, and the print button,
    // which windows add after this class, gets its key.
    void showEvent(QShowEvent* e) override;

    // The window's keys; each acts as its button does, and only while the
    // button is enabled.
    ui::AtajosTeclado* atajos = nullptr;
    // Where Tab starts in the data panel when it is not the first control in
    // reading order (a catalogue's name before its code); the controls above
    // it follow at the panel's end.
    QPointer<QWidget> primeroAlTabular;

private:
    void crearAtajos();
    // Esc: the cancel button, after asking when the add or edit holds changes.
    void cancelarConEsc();
    QAbstractButton* botonImprimir() const;
    // "Registro 12 de 51" in the main window's status bar.
    void avisarPosicion();
    void mostrarAvisoOtroPuesto(const QString& texto);
    bool mostrada_ = false;
};

} // namespace orb
