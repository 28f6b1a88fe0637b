#include "SqliteSupport.h"

#include <QCoreApplication>

namespace db::detail {

[[noreturn]] void throwError(sqlite3* db, int rc, const QString& context) {
    const int ext = db ? sqlite3_extended_errcode(db) : rc;
    const QString engine = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(rc));
    const QString where = context.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(context);
    switch (ext) {
    case SQLITE_CONSTRAINT_UNIQUE:
    case SQLITE_CONSTRAINT_PRIMARYKEY:
        throw DbError(ErrDuplicateKey,
                      QCoreApplication::translate(
                          "db::SqliteSupport",
                          "No se realizaron los cambios porque crearían valores duplicados en el "
                          "índice o la clave principal: %1")
                          .arg(engine),
                      ext);
    case SQLITE_CONSTRAINT_NOTNULL:
        throw DbError(
            ErrNullNotAllowed,
            QCoreApplication::translate("db::SqliteSupport", "El campo no puede contener un valor nulo: %1")
                .arg(engine),
            ext);
    case SQLITE_CONSTRAINT_CHECK:
        if (engine.contains(QStringLiteral("length(")))
            throw DbError(
                ErrFieldTooSmall,
                QCoreApplication::translate("db::SqliteSupport",
                                            "El campo es demasiado pequeño para aceptar la cantidad de datos "
                                            "que intentó agregar: %1")
                    .arg(engine),
                ext);
        throw DbError(
            ErrConstraint,
            QCoreApplication::translate("db::SqliteSupport", "El valor no cumple la regla del campo: %1")
                .arg(engine),
            ext);
    case SQLITE_CONSTRAINT_FOREIGNKEY:
        throw DbError(
            ErrConstraint,
            QCoreApplication::translate("db::SqliteSupport", "El registro está relacionado con otros: %1")
                .arg(engine),
            ext);
    default:
        break;
    }
    switch (rc & 0xff) {
    case SQLITE_CANTOPEN:
    case SQLITE_NOTADB:
        throw DbError(
            ErrCannotOpen,
            QCoreApplication::translate("db::SqliteSupport", "No se puede abrir la base de datos%1: %2")
                .arg(where, engine),
            ext);
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        throw DbError(ErrLocked,
                      QCoreApplication::translate("db::SqliteSupport",
                                                  "La base de datos está bloqueada por otro proceso: %1")
                          .arg(engine),
                      ext);
    case SQLITE_READONLY:
        throw DbError(
            ErrReadOnly,
            QCoreApplication::translate("db::SqliteSupport", "La base de datos es de sólo lectura: %1")
                .arg(engine),
            ext);
    case SQLITE_ERROR:
        throw DbError(ErrSyntax,
                      QCoreApplication::translate("db::SqliteSupport", "Error en la instrucción SQL%1: %2")
                          .arg(where, engine),
                      ext);
    default:
        throw DbError(ErrGeneric,
                      QCoreApplication::translate("db::SqliteSupport", "Error de la base de datos%1: %2")
                          .arg(where, engine),
                      ext);
    }
}

Stmt::Stmt(sqlite3* db, const QString& sql) : db_(db) {
    const QByteArray utf8 = sql.toUtf8();
    const int rc = sqlite3_prepare_v2(db, utf8.constData(), int(utf8.size()), &s_, nullptr);
    if (rc != SQLITE_OK)
        throwError(db, rc, sql);
    if (!s_)
        throw DbError(ErrSyntax, QCoreApplication::translate("db::SqliteSupport", "Instrucción SQL vacía"));
}

Stmt::~Stmt() {
    sqlite3_finalize(s_);
}

void Stmt::bind(const Params& params) {
    if (params.size() != sqlite3_bind_parameter_count(s_))
        throw DbError(ErrSyntax, QCoreApplication::translate(
                                     "db::SqliteSupport", "La instrucción espera %1 parámetros y recibió %2")
                                     .arg(sqlite3_bind_parameter_count(s_))
                                     .arg(params.size()));
    for (int i = 0; i < params.size(); ++i)
        bind(i + 1, toStorage(params[i], FieldType::Unknown));
}

void Stmt::bind(int index, const QVariant& v) {
    int rc = SQLITE_OK;
    if (!v.isValid() || v.isNull()) {
        rc = sqlite3_bind_null(s_, index);
    } else {
        switch (v.typeId()) {
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Long:
        case QMetaType::Short:
        case QMetaType::UShort:
            rc = sqlite3_bind_int64(s_, index, v.toLongLong());
            break;
        case QMetaType::Bool:
            rc = sqlite3_bind_int(s_, index, v.toBool() ? 1 : 0);
            break;
        case QMetaType::Double:
        case QMetaType::Float:
            rc = sqlite3_bind_double(s_, index, v.toDouble());
            break;
        case QMetaType::QByteArray: {
            const QByteArray b = v.toByteArray();
            rc = sqlite3_bind_blob(s_, index, b.constData(), int(b.size()), SQLITE_TRANSIENT);
            break;
        }
        default: {
            const QByteArray t = v.toString().toUtf8();
            rc = sqlite3_bind_text(s_, index, t.constData(), int(t.size()), SQLITE_TRANSIENT);
            break;
        }
        }
    }
    if (rc != SQLITE_OK)
        throwError(db_, rc);
}

bool Stmt::step() {
    const int rc = sqlite3_step(s_);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    sqlite3_reset(s_);
    throwError(db_, rc, QString::fromUtf8(sqlite3_sql(s_)));
}

void Stmt::reset() {
    sqlite3_reset(s_);
    sqlite3_clear_bindings(s_);
}

int Stmt::columnCount() const {
    return sqlite3_column_count(s_);
}

static QString str(const char* s) {
    return s ? QString::fromUtf8(s) : QString();
}

QString Stmt::columnName(int i) const {
    return str(sqlite3_column_name(s_, i));
}
QString Stmt::columnDeclType(int i) const {
    return str(sqlite3_column_decltype(s_, i));
}
QString Stmt::columnTable(int i) const {
    return str(sqlite3_column_table_name(s_, i));
}
QString Stmt::columnOrigin(int i) const {
    return str(sqlite3_column_origin_name(s_, i));
}

QVariant Stmt::raw(int i) const {
    switch (sqlite3_column_type(s_, i)) {
    case SQLITE_INTEGER:
        return qint64(sqlite3_column_int64(s_, i));
    case SQLITE_FLOAT:
        return sqlite3_column_double(s_, i);
    case SQLITE_TEXT:
        return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s_, i)),
                                 sqlite3_column_bytes(s_, i));
    case SQLITE_BLOB:
        return QByteArray(static_cast<const char*>(sqlite3_column_blob(s_, i)), sqlite3_column_bytes(s_, i));
    default:
        return {};
    }
}

} // namespace db::detail
