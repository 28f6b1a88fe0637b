// Table recordsets: the whole table in rowid order, or in the order of an
// index chosen by setIndex, with seek "=" on the index's leading columns.

#include "RecordsetImpl.h"

#include <QCoreApplication>

namespace db {

using namespace detail;

void Recordset::setIndex(const QString& indexName) {
    auto& I = checked(d);
    if (I.m->type != RecordsetType::Table)
        throw DbError(ErrNotSupported, QCoreApplication::translate(
                                           "db::TableIndex",
                                           "La operación no es válida para este tipo de recordset (Index)."));
    Database& database = *I.m->database;
    if (database.onServer())
        throw DbError(ErrNotSupported,
                      QCoreApplication::translate("db::TableIndex",
                                                  "Los índices de un recordset de tabla no se eligen en una "
                                                  "base de datos del servidor: use una consulta ordenada."));
    QList<Row> cols;
    const Value found =
        database.scalar(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'index' AND "
                                       "tbl_name = ? COLLATE NOCASE AND name = ? COLLATE NOCASE"),
                        {I.m->table, indexName});
    if (!isNull(found)) {
        cols = database.query(QStringLiteral("SELECT x.name, x.coll, x.desc, upper(t.type) FROM "
                                             "pragma_index_xinfo(?) x LEFT JOIN pragma_table_info(?) t "
                                             "ON t.name = x.name WHERE x.key ORDER BY x.seqno"),
                              {found, I.m->table});
    } else if (indexName.compare(u"PrimaryKey", Qt::CaseInsensitive) == 0) {
        cols = database.query(QStringLiteral("SELECT name, '', 0, upper(type) FROM pragma_table_info(?) "
                                             "WHERE pk > 0 ORDER BY pk"),
                              {I.m->table});
    }
    if (cols.isEmpty())
        throw DbError(ErrItemNotFound,
                      QCoreApplication::translate("db::TableIndex", "'%1' no es un índice de la tabla '%2'.")
                          .arg(indexName, I.m->table));
    QList<IndexColumn> columns;
    QStringList order;
    for (const Row& c : cols) {
        IndexColumn ic;
        ic.name = isNull(c[0]) ? QStringLiteral("rowid") : c[0].toString(); // an expression index has no name
        ic.collation = c[1].toString();
        ic.desc = c[2].toLongLong() != 0;
        const FieldType t = fieldInfoFromDeclType(c[3].toString()).type;
        ic.text = t == FieldType::Text || t == FieldType::Memo || c[3].toString().contains(u"CHAR") ||
                  c[3].toString().contains(u"TEXT");
        order << orderTerm(ic);
        columns << ic;
    }
    auto keys = std::make_shared<Keys>();
    readKeys(
        database,
        QStringLiteral("SELECT rowid FROM %1 ORDER BY %2, rowid").arg(I.m->fromClause, order.join(u", ")), {},
        *keys);
    I.k = std::move(keys);
    I.indexName = indexName;
    I.indexColumns = columns;
    I.dropEdit();
    I.openAtFirst();
}

bool Recordset::seek(const QString& comparison, const Params& keys) {
    auto& I = checked(d);
    if (I.m->type != RecordsetType::Table || I.indexColumns.isEmpty())
        throw DbError(ErrNotSupported,
                      QCoreApplication::translate(
                          "db::TableIndex",
                          "La operación no es válida sin un índice activo en un recordset de tabla."));
    if (comparison.trimmed() != u"=")
        throw DbError(ErrNotSupported,
                      QCoreApplication::translate("db::TableIndex", "Comparación de búsqueda no admitida: %1")
                          .arg(comparison));
    if (keys.isEmpty() || keys.size() > I.indexColumns.size())
        throw DbError(
            ErrSyntax,
            QCoreApplication::translate("db::TableIndex",
                                        "El índice '%1' tiene %2 campos y se dieron %3 valores.")
                .arg(I.indexName, QString::number(I.indexColumns.size()), QString::number(keys.size())));
    // Text keys compare as the engine compares text: without regard to case.
    QStringList where;
    QStringList order;
    for (qsizetype c = 0; c < keys.size(); ++c) {
        const IndexColumn& ic = I.indexColumns[c];
        where << quoteId(ic.name) + QStringLiteral(" = ?") +
                     (ic.text ? QStringLiteral(" COLLATE es") : QString());
    }
    for (const IndexColumn& ic : I.indexColumns)
        order << orderTerm(ic);
    Stmt st(I.m->db, QStringLiteral("SELECT rowid FROM %1 WHERE %2 ORDER BY %3, rowid LIMIT 1")
                         .arg(I.m->fromClause, where.join(QStringLiteral(" AND ")), order.join(u", ")));
    st.bind(keys);
    I.noMatch = !st.step();
    if (I.noMatch)
        return false;
    const qint64 rowid = sqlite3_column_int64(st.get(), 0);
    qsizetype i = I.k->find(rowid);
    if (i < 0) { // added to the table since the index was chosen
        I.k->append(rowid);
        i = I.k->size() - 1;
    }
    I.dropEdit();
    I.goTo(i);
    return true;
}

} // namespace db
