#pragma once

#include <QAbstractTableModel>
#include <QKeyEvent>
#include <QStyledItemDelegate>
#include <array>
#include <functional>

class QAbstractItemView;

namespace db {
class Database;
}

namespace orb {

// The activity log of the shown property as an editable in-memory table:
// four text columns and, at the end, a new-row line on which the user adds a
// line. It reaches the table Actividades only through guardar().
class ActividadModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // Agente: who wrote the line; a new line takes the seat's agent.
    enum Columna {
        ColFecha = 0,
        ColCodCliente = 1,
        ColCliente = 2,
        ColActividad = 3,
        ColAgente = 4,
        NumColumnas = 5
    };
    using Linea = std::array<QString, NumColumnas>;

    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // Lines only, without the new-row line.
    int lineas() const { return int(lineas_.size()); }
    const Linea& linea(int fila) const { return lineas_.at(fila); }
    bool esLineaNueva(int fila) const { return fila == lineas(); }
    void setEditable(bool editable);
    // The name of the client with that code ("" when there is none): a client
    // code typed into a line brings the client's name with it, as a pick does.
    void setNombreCliente(std::function<QString(const QString& cod)> nombre) {
        nombreCliente_ = std::move(nombre);
    }

    // The agent a line added from now on carries.
    void setAgente(const QString& agente) { agente_ = agente; }

    void Limpiar();
    // The log of property cod, in the order it was written.
    void Cargar(db::Database& database, const QString& cod);
    // An empty line at fila (that line and those after it move down).
    void insertarLinea(int fila);
    void borrarLinea(int fila);

    // "" when every line can be stored; otherwise the message naming the first
    // line that cannot (its date is empty or not a date).
    QString Comprobar() const;
    // Replaces the stored log of cod by the lines, in their order. Call inside
    // the confirm's transaction; throws db::DbError.
    void Guardar(db::Database& database, const QString& cod) const;

private:
    static bool vacia(const Linea& l);
    QList<Linea> lineas_;
    bool editable_ = false;
    QString agente_;
    std::function<QString(const QString&)> nombreCliente_;
};

// F4 or Ctrl+Enter: the keys that pick a client from the Cliente cell.
bool esTeclaElegirCliente(const QKeyEvent* e);

// The client column: a text cell with a button that picks a client, also
// reached from the keyboard, in the cell or its editor (esTeclaElegirCliente).
// elegir returns the picked client's name (null when the pick was cancelled).
class DelegadoCliente : public QStyledItemDelegate {
    Q_OBJECT
public:
    DelegadoCliente(std::function<QString(int fila)> elegir, QAbstractItemView* vista);
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;

protected:
    bool eventFilter(QObject* object, QEvent* event) override;

private:
    QAbstractItemView* vista_;
    std::function<QString(int)> elegir_;
};

} // namespace orb
