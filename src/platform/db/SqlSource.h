#pragma once

// Reading a recordset's source: just enough of a tokenizer to find the clauses
// of a SELECT at the top level, and what a keyset needs to know of them.

#include <QList>
#include <QString>

namespace db::detail {

// Identifier between double quotes, inner quotes doubled.
QString quoteId(const QString& name);

struct Token {
    enum Kind { Word, Quoted, String, Number, Param, Punct } kind;
    qsizetype start;
    qsizetype end;
    int depth;    // parentheses around the token
    QString text; // identifiers unquoted, keywords as written
    bool is(const char* keyword) const {
        return kind == Word && depth == 0 && text.compare(QLatin1String(keyword), Qt::CaseInsensitive) == 0;
    }
};

QList<Token> tokenize(const QString& sql);

// What a dynaset needs to know of its source.
struct ParsedSource {
    bool bareName = false; // the source is a table or view name alone
    bool simple = false;   // SELECT over one table, no grouping, no compound, no aggregates
    QString table;         // unquoted
    QString selectList;    // "*" or the columns as written
    QString fromClause;    // the table and its alias, as written
    QString fromOn;        // "FROM …" to the end, as written
    bool numericOrderBy = false;
    // Why no keyset can be built over it (join, grouping, DISTINCT…); empty when simple.
    QString notSimpleBecause;
};

ParsedSource parseSource(const QString& source);

} // namespace db::detail
