#include "ActividadModel.h"

#include "platform/db/Database.h"
#include "platform/db/Statement.h"
#include "shell/Services.h"

#include <QAbstractItemView>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPointer>
#include <QToolButton>

namespace orb {

int ActividadModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : lineas() + 1;
}

int ActividadModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : NumColumnas;
}

QVariant ActividadModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || esLineaNueva(index.row()))
        return {};
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return lineas_.at(index.row())[std::size_t(index.column())];
    return {};
}

bool ActividadModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole || !editable_)
        return false;
    QString texto = value.toString();
    if (index.column() == ColFecha) {
        // Dates are shown and stored as dd/mm/yyyy; text that is not a date stays as typed.
        const QDate d = LeerFecha(texto);
        if (d.isValid())
            texto = FormatoFecha(d);
    }
    const int fila = index.row();
    if (esLineaNueva(fila)) {
        if (texto.isEmpty())
            return false;
        beginInsertRows({}, fila + 1, fila + 1); // a new new-row line appears below
        Linea nueva{};
        nueva[ColAgente] = agente_;
        lineas_.append(nueva);
        endInsertRows();
    }
    Linea& linea = lineas_[fila];
    const bool otroCliente = index.column() == ColCodCliente && linea[ColCodCliente] != texto;
    linea[std::size_t(index.column())] = texto;
    QModelIndex ultima = index;
    if (otroCliente && nombreCliente_) {
        // An unknown code keeps whatever name the line had: the user may type it.
        const QString nombre = nombreCliente_(texto.trimmed());
        if (!nombre.isEmpty()) {
            linea[ColCliente] = nombre;
            ultima = this->index(fila, ColCliente);
        }
    }
    Q_EMIT dataChanged(index, ultima);
    return true;
}

Qt::ItemFlags ActividadModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (editable_ && index.isValid())
        f |= Qt::ItemIsEditable;
    return f;
}

QVariant ActividadModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role == Qt::ToolTipRole && orientation == Qt::Horizontal && section == ColCliente)
        return tr("F4 o Ctrl+Intro en la celda: elegir cliente");
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return esLineaNueva(section) ? QStringLiteral("*") : QString::number(section + 1);
    static const char* const titulos[NumColumnas] = {QT_TRANSLATE_NOOP("orb::ActividadModel", "Fecha"),
                                                     QT_TRANSLATE_NOOP("orb::ActividadModel", "CodCliente"),
                                                     QT_TRANSLATE_NOOP("orb::ActividadModel", "Cliente"),
                                                     QT_TRANSLATE_NOOP("orb::ActividadModel", "Actividad"),
                                                     QT_TRANSLATE_NOOP("orb::ActividadModel", "Agente")};
    return tr(titulos[section]);
}

void ActividadModel::setEditable(bool editable) {
    editable_ = editable;
}

void ActividadModel::Limpiar() {
    beginResetModel();
    lineas_.clear();
    endResetModel();
}

void ActividadModel::Cargar(db::Database& database, const QString& cod) {
    beginResetModel();
    lineas_.clear();
    const QList<db::Row> filas = database.query(
        QStringLiteral(
            "select Fecha, CodCliente, Cliente, Actividad, Agente from Actividades where Propiedad = ? "
            "order by Cod"),
        {cod});
    for (const db::Row& f : filas)
        lineas_.append(Linea{FormatoFecha(f.value(0)), f.value(1).toString(), f.value(2).toString(),
                             f.value(3).toString(), f.value(4).toString()});
    endResetModel();
}

void ActividadModel::insertarLinea(int fila) {
    if (fila < 0 || fila >= lineas())
        return;
    beginInsertRows({}, fila, fila);
    Linea nueva{};
    nueva[ColAgente] = agente_;
    lineas_.insert(fila, nueva);
    endInsertRows();
}

void ActividadModel::borrarLinea(int fila) {
    if (fila < 0 || fila >= lineas())
        return;
    beginRemoveRows({}, fila, fila);
    lineas_.removeAt(fila);
    endRemoveRows();
}

bool ActividadModel::vacia(const Linea& l) {
    // The agent alone, which every new line carries, does not make a line.
    for (std::size_t c = 0; c < l.size(); ++c)
        if (c != ColAgente && !l[c].trimmed().isEmpty())
            return false;
    return true;
}

QString ActividadModel::Comprobar() const {
    for (int i = 0; i < lineas(); ++i) {
        const Linea& l = lineas_.at(i);
        if (vacia(l))
            continue; // an inserted line left empty is not a line
        if (l[ColFecha].trimmed().isEmpty())
            return tr("Actividades, línea %1: falta la fecha.").arg(i + 1);
        if (!LeerFecha(l[ColFecha]).isValid())
            return tr("Actividades, línea %1: \"%2\" no es una fecha válida (dd/mm/aaaa).")
                .arg(QString::number(i + 1), l[ColFecha]);
    }
    return {};
}

void ActividadModel::Guardar(db::Database& database, const QString& cod) const {
    database.execute(QStringLiteral("delete from Actividades where Propiedad = ?"), {cod});
    db::Statement insertar(database, QStringLiteral("insert into Actividades (Propiedad, Fecha, CodCliente, "
                                                    "Cliente, Actividad, Agente) values (?, ?, ?, ?, ?, ?)"));
    for (const Linea& l : lineas_) {
        if (vacia(l))
            continue;
        insertar.execute({cod, FechaSQL(LeerFecha(l[ColFecha])), l[ColCodCliente], l[ColCliente],
                          l[ColActividad], l[ColAgente].left(50)});
    }
}

bool esTeclaElegirCliente(const QKeyEvent* e) {
    if (e->key() == Qt::Key_F4 && (e->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier)
        return true;
    const bool intro = e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
    return intro && (e->modifiers() & ~Qt::KeypadModifier) == Qt::ControlModifier;
}

DelegadoCliente::DelegadoCliente(std::function<QString(int)> elegir, QAbstractItemView* vista)
    : QStyledItemDelegate(vista), vista_(vista), elegir_(std::move(elegir)) {
    // The keys reach the cell before the grid moves or starts an editor with them.
    vista_->installEventFilter(this);
}

bool DelegadoCliente::eventFilter(QObject* object, QEvent* event) {
    const bool tecla =
        event->type() == QEvent::KeyPress && esTeclaElegirCliente(static_cast<QKeyEvent*>(event));
    if (object == vista_) {
        if (!tecla)
            return false;
        const QModelIndex actual = vista_->currentIndex();
        if (vista_->indexWidget(actual) || !actual.isValid() ||
            vista_->itemDelegateForColumn(actual.column()) != this || !(actual.flags() & Qt::ItemIsEditable))
            return false;
        elegir_(actual.row());
        return true;
    }
    if (object->objectName() == u"texto") {
        // The editor's own box: other keys are the box's and then the editor's.
        if (!tecla)
            return false;
        if (auto* boton = object->parent()->findChild<QToolButton*>(QStringLiteral("butCliente")))
            boton->click();
        return true;
    }
    return QStyledItemDelegate::eventFilter(object, event);
}

QWidget* DelegadoCliente::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                       const QModelIndex& index) const {
    auto* editor = new QWidget(parent);
    editor->setAutoFillBackground(true);
    auto* h = new QHBoxLayout(editor);
    h->setContentsMargins(0, 0, 0, 0);
    h->setSpacing(0);
    auto* texto = new QLineEdit(editor);
    texto->setObjectName(QStringLiteral("texto"));
    texto->setAccessibleName(tr("Cliente"));
    texto->setFrame(false);
    auto* boton = new QToolButton(editor);
    boton->setObjectName(QStringLiteral("butCliente"));
    boton->setText(QStringLiteral("…"));
    boton->setToolTip(tr("Elegir cliente (F4 o Ctrl+Intro)"));
    boton->setAccessibleName(tr("Elegir cliente"));
    h->addWidget(texto, 1);
    h->addWidget(boton);
    editor->setFocusProxy(texto);
    texto->installEventFilter(const_cast<DelegadoCliente*>(this));
    const int fila = index.row();
    connect(boton, &QToolButton::clicked, editor, [this, fila, texto = QPointer<QLineEdit>(texto)] {
        // The pick writes the line itself; the editor may have been closed
        // meanwhile, when the focus went to the lookup.
        const QString nombre = elegir_(fila);
        if (!nombre.isNull() && texto)
            texto->setText(nombre);
    });
    return editor;
}

void DelegadoCliente::setEditorData(QWidget* editor, const QModelIndex& index) const {
    editor->findChild<QLineEdit*>(QStringLiteral("texto"))->setText(index.data(Qt::EditRole).toString());
}

void DelegadoCliente::setModelData(QWidget* editor, QAbstractItemModel* model,
                                   const QModelIndex& index) const {
    model->setData(index, editor->findChild<QLineEdit*>(QStringLiteral("texto"))->text(), Qt::EditRole);
}

} // namespace orb
