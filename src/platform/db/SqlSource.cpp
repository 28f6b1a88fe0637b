#include "SqlSource.h"

#include <QCoreApplication>

namespace db::detail {

ParsedSource parseSource(const QString& source) {
    ParsedSource p;
    // A keyset needs the rowids of one table in the source's order.
    auto fail = [&p](const QString& why) -> ParsedSource {
        p.notSimpleBecause = why;
        return p;
    };
    QString sql = source.trimmed();
    while (sql.endsWith(u';'))
        sql = sql.chopped(1).trimmed();
    const QList<Token> tk = tokenize(sql);
    if (tk.size() == 1 && (tk[0].kind == Token::Word || tk[0].kind == Token::Quoted)) {
        p.bareName = true;
        p.simple = true;
        p.table = tk[0].text;
        p.selectList = QStringLiteral("*");
        p.fromClause = quoteId(p.table);
        p.fromOn = QStringLiteral("FROM ") + p.fromClause;
        return p;
    }
    if (tk.isEmpty() || !tk[0].is("SELECT"))
        return fail(QCoreApplication::translate("db::SqlSource",
                                                "no es una consulta SELECT ni el nombre de una tabla"));
    qsizetype i = 1;
    if (i < tk.size() && tk[i].is("DISTINCT"))
        return fail(QCoreApplication::translate("db::SqlSource", "usa DISTINCT"));
    if (i < tk.size() && tk[i].is("ALL"))
        ++i;
    qsizetype from = -1;
    for (qsizetype j = i; j < tk.size(); ++j) {
        if (tk[j].is("FROM")) {
            from = j;
            break;
        }
    }
    if (from < 0 || from == i)
        return fail(QCoreApplication::translate("db::SqlSource", "no lee de ninguna tabla"));
    static const char* const aggregates[] = {"count", "sum", "avg", "min", "max", "total", "group_concat"};
    for (qsizetype j = i; j < from; ++j) {
        if (tk[j].kind == Token::Param)
            return fail(
                QCoreApplication::translate("db::SqlSource", "tiene parámetros en la lista de campos"));
        if (tk[j].kind == Token::Word && tk[j].text.compare(u"OVER", Qt::CaseInsensitive) == 0)
            return fail(QCoreApplication::translate("db::SqlSource", "usa una función de ventana"));
        if (tk[j].kind == Token::Word && j + 1 < from && tk[j + 1].text == u"(")
            for (const char* a : aggregates)
                if (tk[j].text.compare(QLatin1String(a), Qt::CaseInsensitive) == 0)
                    return fail(
                        QCoreApplication::translate("db::SqlSource", "calcula totales (%1)").arg(tk[j].text));
    }
    qsizetype clauseEnd = tk.size();
    bool inOrderBy = false;
    for (qsizetype j = from + 1; j < tk.size(); ++j) {
        const Token& t = tk[j];
        if (t.is("GROUP") || t.is("HAVING") || t.is("WINDOW") || t.is("UNION") || t.is("INTERSECT") ||
            t.is("EXCEPT"))
            return fail(QCoreApplication::translate("db::SqlSource", "agrupa o combina consultas (%1)")
                            .arg(t.text.toUpper()));
        if (clauseEnd == tk.size() && (t.is("WHERE") || t.is("ORDER") || t.is("LIMIT")))
            clauseEnd = j;
        if (t.is("ORDER"))
            inOrderBy = true;
        else if (t.is("LIMIT"))
            inOrderBy = false;
        else if (inOrderBy && t.kind == Token::Number && t.depth == 0)
            p.numericOrderBy = true;
    }
    // One table, optionally with an alias: anything else is a join or a subquery.
    const qsizetype nFrom = clauseEnd - from - 1;
    auto isName = [&](qsizetype j) { return tk[j].kind == Token::Word || tk[j].kind == Token::Quoted; };
    bool oneTable = false;
    if (nFrom == 1)
        oneTable = isName(from + 1);
    else if (nFrom == 2)
        oneTable = isName(from + 1) && isName(from + 2) && !tk[from + 2].is("JOIN");
    else if (nFrom == 3)
        oneTable = isName(from + 1) && tk[from + 2].is("AS") && isName(from + 3);
    if (!oneTable)
        return fail(
            QCoreApplication::translate("db::SqlSource", "lee de más de una tabla o de una subconsulta"));
    p.simple = true;
    p.table = tk[from + 1].text;
    p.selectList = sql.mid(tk[i].start, tk[from].start - tk[i].start).trimmed();
    const qsizetype fromEnd = clauseEnd < tk.size() ? tk[clauseEnd].start : sql.size();
    p.fromClause = sql.mid(tk[from + 1].start, fromEnd - tk[from + 1].start).trimmed();
    p.fromOn = sql.mid(tk[from].start);
    return p;
}

} // namespace db::detail
