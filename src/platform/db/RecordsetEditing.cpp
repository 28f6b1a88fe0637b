// Changing rows through a recordset: addNew/edit/update/delete, and the
// conversion of a caller's value to what the field stores.

#include "RecordsetImpl.h"
#include "ServerEngine.h"

#include <QCoreApplication>
#include <QLocale>
#include <cmath>

namespace db {

using namespace detail;

namespace {

qsizetype codePoints(const QString& s) {
    qsizetype n = s.size();
    for (const QChar c : s)
        if (c.isLowSurrogate())
            --n;
    return n;
}

} // namespace

// A table with a Version column tells every change by moving it, so a
// confirm can see that another seat changed the row since it was read.
const QString& Recordset::Impl::versionColumn() {
    if (!m->versionColumn) {
        m->versionColumn = QString();
        QStringList names;
        if (m->server)
            for (const FieldInfo& f : m->server->columnsOf(m->table))
                names << f.column;
        else
            for (const Row& col :
                 m->database->query(QStringLiteral("SELECT name FROM pragma_table_info(?)"), {m->table}))
                names << col[0].toString();
        for (const QString& name : names)
            if (name.compare(QLatin1String("Version"), Qt::CaseInsensitive) == 0)
                m->versionColumn = name;
    }
    return *m->versionColumn;
}

// The Version of one row as stored now; null for a table without one.
Value Recordset::Impl::versionOf(qint64 rowid) {
    const QString& version = versionColumn();
    if (version.isEmpty())
        return {};
    return m->database->scalar(
        QStringLiteral("SELECT %1 FROM %2 WHERE rowid = ?").arg(m->id(version), m->id(m->table)), {rowid});
}

Value Recordset::rowVersion() {
    auto& I = checked(d);
    if (!I.k || !I.current() || I.m->table.isEmpty() || I.versionColumn().isEmpty())
        return {};
    // The current row was read when it became current (or by edit): no second read when it has the column.
    if (const int f = I.m->indexOf(I.versionColumn()); f >= 0 && I.m->writable[f])
        return I.row[f];
    return I.versionOf(I.k->ids[I.pos]);
}

qint64 Recordset::rowId() const {
    auto& I = checked(d);
    return I.current() && I.k ? I.k->ids[I.pos] : 0;
}

bool Recordset::storedVersion(Value* version) {
    auto& I = checked(d);
    *version = {};
    if (!I.current() || !I.k || I.m->table.isEmpty())
        return I.current();
    const QString& columna = I.versionColumn();
    const QList<Row> filas = I.m->database->query(
        QStringLiteral("SELECT %1 FROM %2 WHERE rowid = ?")
            .arg(columna.isEmpty() ? QStringLiteral("1") : I.m->id(columna), I.m->id(I.m->table)),
        {I.k->ids[I.pos]});
    if (filas.isEmpty())
        return false;
    if (!columna.isEmpty())
        *version = filas.first().value(0);
    return true;
}

const Row& Recordset::Impl::loadDefaults() {
    if (!m->defaults) {
        Row defaults(m->fields.size());
        // Identity and generated columns take their values when the row is stored.
        const QList<Row> info =
            m->server
                ? m->database->query(
                      QStringLiteral(
                          "SELECT a.attname, pg_get_expr(d.adbin, d.adrelid) FROM pg_catalog.pg_attrdef d "
                          "JOIN pg_catalog.pg_attribute a ON a.attrelid = d.adrelid AND a.attnum = "
                          "d.adnum WHERE d.adrelid = to_regclass(?) AND a.attgenerated = '' AND "
                          "a.attidentity = ''"),
                      {m->table.toLower()})
                : m->database->query(QStringLiteral("SELECT name, dflt_value FROM pragma_table_info(?) WHERE "
                                                    "dflt_value IS NOT NULL"),
                                     {m->table});
        for (const Row& col : info) {
            for (int f = 0; f < m->fields.size(); ++f) {
                if (!m->writable[f] || m->fields[f].column.compare(col[0].toString(), Qt::CaseInsensitive))
                    continue;
                try {
                    if (m->server) {
                        defaults[f] =
                            toStorage(m->database->scalar(QStringLiteral("SELECT ") + col[1].toString()),
                                      m->fields[f].type);
                        continue;
                    }
                    Stmt st(m->db, QStringLiteral("SELECT ") + col[1].toString());
                    if (st.step())
                        defaults[f] = st.raw(0);
                } catch (const DbError&) {
                    // A default the engine evaluates only when inserting: shown as null.
                }
            }
        }
        m->defaults = defaults;
    }
    return *m->defaults;
}

void Recordset::addNew() {
    auto& I = checked(d);
    if (!I.m->updatable)
        readOnly();
    I.buffer = I.loadDefaults();
    I.dirty = QList<bool>(I.m->fields.size(), false);
    I.mode = EditMode::Add;
}

void Recordset::edit() {
    auto& I = checked(d);
    if (!I.m->updatable)
        readOnly();
    I.requireCurrent();
    // Start from the row as it is now, not as it was when it became current.
    Row fresh;
    if (!I.m->readRow(I.k->ids[I.pos], fresh)) {
        I.k->markDeleted(I.pos);
        I.hasRow = false;
        noCurrentRecord();
    }
    I.row = fresh;
    I.buffer = fresh;
    I.dirty = QList<bool>(I.m->fields.size(), false);
    I.editRowid = I.k->ids[I.pos];
    I.editVersion = I.versionOf(I.editRowid);
    I.mode = EditMode::InProgress;
}

void Recordset::update() {
    auto& I = checked(d);
    if (I.mode == EditMode::None)
        throw DbError(ErrUpdateWithoutEdit,
                      QCoreApplication::translate("db::RecordsetEditing",
                                                  "Actualizar o CancelarActualizar sin AgregarNuevo o "
                                                  "Modificar."));
    Meta& m = *I.m;
    QStringList columns;
    Params values;
    qint64 newRowid = I.editRowid;
    for (int f = 0; f < m.fields.size(); ++f) {
        if (!I.dirty[f])
            continue;
        columns << m.id(m.fields[f].column);
        values << I.buffer[f];
        if (!m.rowidAlias.isEmpty() && m.fields[f].column.compare(m.rowidAlias, Qt::CaseInsensitive) == 0 &&
            !isNull(I.buffer[f]))
            newRowid = I.buffer[f].toLongLong();
    }
    if (I.mode == EditMode::Add) {
        QString sql;
        if (columns.isEmpty()) {
            sql = QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(m.id(m.table));
        } else {
            QStringList marks(columns.size(), QStringLiteral("?"));
            sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                      .arg(m.id(m.table), columns.join(u", "), marks.join(u", "));
        }
        qint64 rowid = 0;
        if (m.server) {
            rowid = m.database->scalar(sql + QStringLiteral(" RETURNING rowid"), values).toLongLong();
        } else {
            Stmt st(m.db, sql);
            for (int i = 0; i < values.size(); ++i)
                st.bind(i + 1, values[i]);
            st.step();
            rowid = sqlite3_last_insert_rowid(m.db);
        }
        I.k->append(rowid);
        I.dropEdit();
        I.lastModified = encodeBookmark(rowid, I.k->size() - 1);
        I.goTo(I.k->size() - 1);
        return;
    }
    const qsizetype i = I.pos;
    if (!columns.isEmpty()) {
        QStringList sets;
        for (const QString& c : columns)
            sets << c + QStringLiteral(" = ?");
        QString where = QStringLiteral("rowid = ?");
        const QString& version = I.versionColumn();
        const bool conVersion = !version.isEmpty() && !columns.contains(m.id(version));
        if (conVersion) {
            sets << QStringLiteral("%1 = coalesce(%1, 0) + 1").arg(m.id(version));
            where +=
                (m.server ? QStringLiteral(" AND %1 IS NOT DISTINCT FROM ?") : QStringLiteral(" AND %1 IS ?"))
                    .arg(m.id(version));
        }
        Params binds = values;
        binds << I.editRowid;
        if (conVersion)
            binds << I.editVersion;
        const int changed = m.database->execute(
            QStringLiteral("UPDATE %1 SET %2 WHERE %3").arg(m.id(m.table), sets.join(u", "), where), binds);
        if (changed == 0) {
            // Still there: another seat stored it meanwhile. The edit stays for the user to decide.
            if (conVersion &&
                !isNull(m.database->scalar(
                    QStringLiteral("SELECT 1 FROM %1 WHERE rowid = ?").arg(m.id(m.table)), {I.editRowid})))
                throw DbError::cambiadoPorOtro();
            I.k->markDeleted(i);
            I.hasRow = false;
            I.dropEdit();
            noCurrentRecord();
        }
        if (newRowid != I.editRowid)
            I.k->changeRowid(i, newRowid);
    }
    I.dropEdit();
    I.lastModified = encodeBookmark(newRowid, i);
    I.goTo(i);
}

void Recordset::cancelUpdate() {
    auto& I = checked(d);
    if (I.mode == EditMode::None)
        throw DbError(ErrUpdateWithoutEdit,
                      QCoreApplication::translate("db::RecordsetEditing",
                                                  "Actualizar o CancelarActualizar sin AgregarNuevo o "
                                                  "Modificar."));
    I.dropEdit();
}

EditMode Recordset::editMode() const {
    auto& I = checked(d);
    return I.mode;
}

void Recordset::deleteRecord() {
    auto& I = checked(d);
    if (!I.m->updatable)
        readOnly();
    I.dropEdit();
    I.requireCurrent();
    const bool gone =
        I.m->database->execute(QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(I.m->id(I.m->table)),
                               {I.k->ids[I.pos]}) == 0;
    I.k->markDeleted(I.pos);
    I.hasRow = false;
    if (gone)
        noCurrentRecord();
}

// The value as it will be stored, checked against the field's type and size.
QVariant Recordset::Impl::convert(int index, const Value& v) const {
    const FieldInfo& f = m->fields[index];
    if (isNull(v))
        return {};
    auto mismatch = [&]() -> QVariant {
        throw DbError(ErrConversion,
                      QCoreApplication::translate("db::RecordsetEditing",
                                                  "Error de conversión de tipo de datos en el campo '%1': %2")
                          .arg(f.name, v.toString()));
    };
    switch (f.type) {
    case FieldType::Text: {
        const QString s = v.toString();
        if (f.size > 0 && codePoints(s) > f.size)
            throw DbError(
                ErrFieldTooSmall,
                QStringLiteral("El campo '%1' es demasiado pequeño para aceptar la cantidad de datos "
                               "que intentó agregar (%2 caracteres como máximo).")
                    .arg(f.name)
                    .arg(f.size));
        return s;
    }
    case FieldType::Integer:
    case FieldType::Long:
    case FieldType::Currency:
    case FieldType::Double: {
        bool ok = true;
        double x = 0;
        if (v.typeId() == QMetaType::QString)
            x = QLocale::c().toDouble(v.toString().trimmed(), &ok);
        else if (v.canConvert<double>())
            x = v.toDouble(&ok);
        else
            ok = false;
        if (!ok || !std::isfinite(x))
            return mismatch();
        if (f.type == FieldType::Integer || f.type == FieldType::Long)
            return qint64(std::llround(x));
        return x;
    }
    case FieldType::Date: {
        if (v.typeId() == QMetaType::QDate || v.typeId() == QMetaType::QDateTime) {
            const QVariant s = toStorage(v, f.type);
            return isNull(fromStorage(s, f.type)) ? mismatch() : s;
        }
        const Value parsed = fromStorage(v.toString().trimmed(), f.type);
        return isNull(parsed) ? mismatch() : toStorage(parsed, f.type);
    }
    case FieldType::Boolean:
        return qint64(v.toBool() ? 1 : 0);
    case FieldType::Memo:
        return v.toString();
    case FieldType::Unknown:
        break;
    }
    return toStorage(v, f.type);
}

void Recordset::setValue(int index, const Value& value) {
    auto& I = checked(d);
    const FieldInfo& f = I.fieldAt(index);
    if (I.mode == EditMode::None)
        throw DbError(
            ErrUpdateWithoutEdit,
            QCoreApplication::translate("db::RecordsetEditing",
                                        "No se puede cambiar el campo '%1' sin AgregarNuevo o Modificar.")
                .arg(f.name));
    if (!I.m->writable[index])
        throw DbError(ErrReadOnly, QCoreApplication::translate("db::RecordsetEditing",
                                                               "El campo '%1' no se puede actualizar.")
                                       .arg(f.name));
    I.buffer[index] = I.convert(index, value);
    I.dirty[index] = true;
}

void Recordset::setValue(const QString& name, const Value& value) {
    auto& I = checked(d);
    setValue(I.fieldByName(name), value);
}

} // namespace db
