#include "SqlSource.h"

#include <algorithm>

namespace db::detail {

QString quoteId(const QString& name) {
    QString q = name;
    q.replace(u'"', QStringLiteral("\"\""));
    return u'"' + q + u'"';
}

namespace {
bool isWordChar(QChar c) {
    return c.isLetterOrNumber() || c == u'_' || c == u'$' || c.unicode() >= 0x80;
}
} // namespace

QList<Token> tokenize(const QString& sql) {
    QList<Token> out;
    const qsizetype n = sql.size();
    int depth = 0;
    qsizetype i = 0;
    while (i < n) {
        const QChar c = sql[i];
        if (c.isSpace()) {
            ++i;
            continue;
        }
        if (c == u'-' && i + 1 < n && sql[i + 1] == u'-') {
            while (i < n && sql[i] != u'\n')
                ++i;
            continue;
        }
        if (c == u'/' && i + 1 < n && sql[i + 1] == u'*') {
            const qsizetype e = sql.indexOf(QStringLiteral("*/"), i + 2);
            i = e < 0 ? n : e + 2;
            continue;
        }
        Token t{Token::Punct, i, i + 1, depth, {}};
        if (c == u'\'' || c == u'"' || c == u'[' || c == u'`') {
            const QChar close = c == u'[' ? QChar(u']') : c;
            t.kind = c == u'\'' ? Token::String : Token::Quoted;
            qsizetype j = i + 1;
            while (j < n) {
                if (sql[j] == close) {
                    if (close != u']' && j + 1 < n && sql[j + 1] == close) {
                        t.text += close;
                        j += 2;
                        continue;
                    }
                    break;
                }
                t.text += sql[j++];
            }
            t.end = std::min(n, j + 1);
        } else if (c.isDigit() || (c == u'.' && i + 1 < n && sql[i + 1].isDigit())) {
            t.kind = Token::Number;
            qsizetype j = i;
            while (j < n &&
                   (isWordChar(sql[j]) || sql[j] == u'.' ||
                    ((sql[j] == u'+' || sql[j] == u'-') && (sql[j - 1] == u'e' || sql[j - 1] == u'E'))))
                ++j;
            t.end = j;
        } else if (isWordChar(c)) {
            t.kind = Token::Word;
            qsizetype j = i;
            while (j < n && isWordChar(sql[j]))
                ++j;
            t.end = j;
            t.text = sql.mid(i, j - i);
        } else if (c == u'?' || c == u':' || c == u'@') {
            t.kind = Token::Param;
            qsizetype j = i + 1;
            while (j < n && isWordChar(sql[j]))
                ++j;
            t.end = j;
        } else if (c == u'(') {
            ++depth;
        } else if (c == u')') {
            t.depth = --depth;
        }
        if (t.kind == Token::Punct)
            t.text = c;
        out << t;
        i = t.end;
    }
    return out;
}

} // namespace db::detail
