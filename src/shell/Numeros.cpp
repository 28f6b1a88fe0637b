#include "Numeros.h"

#include <QList>
#include <QLocale>

#include <cmath>

namespace orb {

namespace {

// A decimal number kept as its digits, so rounding works on the digits the
// user typed and not on their nearest binary double (2.345 is 2.34499… as a
// double, yet must round as 2.345).
struct Decimal {
    bool negative = false;
    QString digits; // at least one digit
    int scale = 0;  // digits after the decimal point
};

bool allDigits(QStringView s) {
    for (const QChar c : s)
        if (c < u'0' || c > u'9')
            return false;
    return true;
}

// "1.234.567": first group of 1–3 digits not starting with 0, then groups
// of exactly 3.
bool wellGrouped(const QString& s) {
    const QStringList groups = s.split(u'.');
    const QString& first = groups.first();
    if (first.isEmpty() || first.size() > 3 || !allDigits(first) || first.startsWith(u'0'))
        return false;
    for (qsizetype i = 1; i < groups.size(); ++i)
        if (groups[i].size() != 3 || !allDigits(groups[i]))
            return false;
    return true;
}

bool parseParts(bool negative, const QString& whole, const QString& fraction, Decimal& out) {
    if (!allDigits(whole) || !allDigits(fraction) || whole.size() + fraction.size() == 0)
        return false;
    out.negative = negative;
    out.digits = whole + fraction;
    out.scale = int(fraction.size());
    return true;
}

// Spanish reading: "," is the decimal separator and "." groups thousands
// ("1.500", "250.000", "1.234,5"), so a typed price means what it says. A
// single "." that cannot be grouping is a decimal point ("1.5", "0.500").
bool parseSpanish(const QString& text, Decimal& out) {
    QString body = text.trimmed();
    bool negative = false;
    if (body.startsWith(u'-') || body.startsWith(u'+')) {
        negative = body.startsWith(u'-');
        body = body.mid(1);
    }
    if (body.isEmpty())
        return false;
    const qsizetype commas = body.count(u',');
    if (commas > 1)
        return false;
    if (commas == 1) {
        const qsizetype at = body.indexOf(u',');
        QString whole = body.left(at);
        const QString fraction = body.mid(at + 1);
        if (whole.contains(u'.')) {
            if (!wellGrouped(whole))
                return false;
            whole.remove(u'.');
        }
        return parseParts(negative, whole, fraction, out);
    }
    const qsizetype dots = body.count(u'.');
    if (dots == 0)
        return parseParts(negative, body, QString(), out);
    if (wellGrouped(body))
        return parseParts(negative, body.remove(u'.'), QString(), out);
    if (dots > 1)
        return false;
    const qsizetype at = body.indexOf(u'.');
    return parseParts(negative, body.left(at), body.mid(at + 1), out);
}

bool fromDouble(double d, Decimal& out) {
    if (!std::isfinite(d))
        return false;
    // The shortest text that reads back as d: the number as it was written.
    const QString text = QString::number(d, 'f', QLocale::FloatingPointShortest);
    const bool negative = text.startsWith(u'-');
    const QString body = negative ? text.mid(1) : text;
    const qsizetype at = body.indexOf(u'.');
    if (at < 0)
        return parseParts(negative, body, QString(), out);
    return parseParts(negative, body.left(at), body.mid(at + 1), out);
}

bool toDecimal(const db::Value& valor, Decimal& out) {
    if (db::isNull(valor))
        return false;
    switch (valor.typeId()) {
    case QMetaType::QString:
        return parseSpanish(valor.toString(), out);
    case QMetaType::Int:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::Short:
        return parseSpanish(QString::number(valor.toLongLong()), out);
    case QMetaType::UInt:
    case QMetaType::ULong:
    case QMetaType::ULongLong:
    case QMetaType::UShort:
        return parseSpanish(QString::number(valor.toULongLong()), out);
    case QMetaType::Bool:
        // Yes/No fields hold 0 and 1.
        return parseSpanish(valor.toBool() ? QStringLiteral("1") : QStringLiteral("0"), out);
    case QMetaType::Double:
    case QMetaType::Float:
        return fromDouble(valor.toDouble(), out);
    default:
        return false;
    }
}

enum class Tie { ToEven, AwayFromZero };

// Adds one unit in the last place of a digit string.
QString increment(QString digits) {
    qsizetype i = digits.size() - 1;
    while (i >= 0 && digits[i] == u'9') {
        digits[i] = u'0';
        --i;
    }
    if (i < 0)
        return u'1' + digits;
    digits[i] = QChar(digits[i].unicode() + 1);
    return digits;
}

Decimal rounded(Decimal d, int places, Tie tie) {
    if (d.scale <= places)
        return d;
    const int drop = d.scale - places;
    if (d.digits.size() <= drop)
        d.digits = QString(drop + 1 - d.digits.size(), u'0') + d.digits;
    QString kept = d.digits.left(d.digits.size() - drop);
    const QString rest = d.digits.right(drop);
    bool up = false;
    if (rest[0] > u'5') {
        up = true;
    } else if (rest[0] == u'5') {
        const bool exactHalf = rest.mid(1).count(u'0') == rest.size() - 1;
        if (!exactHalf || tie == Tie::AwayFromZero)
            up = true;
        else
            up = (kept.back().unicode() - u'0') % 2 == 1;
    }
    d.digits = up ? increment(kept) : kept;
    d.scale = places;
    return d;
}

bool isZero(const Decimal& d) {
    for (const QChar c : d.digits)
        if (c != u'0')
            return false;
    return true;
}

double toDouble(const Decimal& d) {
    if (isZero(d))
        return 0.0; // never -0
    QString text = d.digits;
    if (d.scale > 0) {
        if (text.size() <= d.scale)
            text = QString(d.scale + 1 - text.size(), u'0') + text;
        text.insert(text.size() - d.scale, u'.');
    }
    if (d.negative)
        text.prepend(u'-');
    return text.toDouble();
}

// The value as an amount: text reads every "." as ",", then 4 and 2 decimals.
bool importe(const db::Value& valor, Decimal& out) {
    db::Value v = valor;
    if (valor.typeId() == QMetaType::QString)
        v = valor.toString().replace(u'.', u',');
    if (!toDecimal(v, out))
        return false;
    out = rounded(rounded(out, 4, Tie::ToEven), 2, Tie::ToEven);
    return true;
}

} // namespace

double ValorNumerico(const db::Value& valor) {
    Decimal d;
    if (!toDecimal(valor, d))
        return 0.0;
    return toDouble(rounded(d, 4, Tie::ToEven));
}

std::optional<double> LeerNumero(const QString& texto) {
    Decimal d;
    if (!toDecimal(texto, d))
        return std::nullopt;
    return toDouble(rounded(d, 4, Tie::ToEven));
}

double ValorImporte(const db::Value& valor) {
    Decimal d;
    if (!importe(valor, d))
        return 0.0;
    return toDouble(d);
}

QString FormatoImporte(const db::Value& valor) {
    Decimal d;
    if (!importe(valor, d))
        return QStringLiteral("0");
    // Display rounding goes half away from zero, as the "#,0" format does.
    d = rounded(d, 0, Tie::AwayFromZero);
    QString digits = d.digits;
    while (digits.size() > 1 && digits.front() == u'0')
        digits.remove(0, 1);
    QString out;
    for (qsizetype i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            out += u'.';
        out += digits[i];
    }
    if (d.negative && !isZero(d))
        out.prepend(u'-');
    return out;
}

QString FormatoMascara(qint64 numero, const QString& mascara) {
    struct Token {
        bool placeholder;
        QChar ch;
        QString literal;
    };
    QList<Token> tokens;
    int placeholders = 0;
    for (qsizetype i = 0; i < mascara.size(); ++i) {
        const QChar c = mascara[i];
        if (c == u'0' || c == u'#') {
            tokens.append({true, c, {}});
            ++placeholders;
        } else if (c == u'\\' && i + 1 < mascara.size()) {
            tokens.append({false, {}, QString(mascara[++i])});
        } else if (c == u'"') {
            const qsizetype end = mascara.indexOf(u'"', i + 1);
            const qsizetype stop = end < 0 ? mascara.size() : end;
            tokens.append({false, {}, mascara.mid(i + 1, stop - i - 1)});
            i = stop;
        } else {
            tokens.append({false, {}, QString(c)});
        }
    }

    const quint64 magnitude = numero < 0 ? quint64(0) - quint64(numero) : quint64(numero);
    // Zero has no significant digits: "#" shows nothing for it, "0" shows 0.
    const QString digits = magnitude == 0 ? QString() : QString::number(magnitude);
    const QString sign = numero < 0 ? QStringLiteral("-") : QString();

    if (placeholders == 0) {
        // A mask without positions must not lose the number: codes built
        // from it would all be the same.
        QString out;
        for (const Token& t : tokens)
            out += t.literal;
        return sign + out + (digits.isEmpty() ? QStringLiteral("0") : digits);
    }

    QString out;
    qsizetype pos = digits.size();
    int seen = 0;
    for (qsizetype k = tokens.size() - 1; k >= 0; --k) {
        const Token& t = tokens[k];
        if (!t.placeholder) {
            out.prepend(t.literal);
            continue;
        }
        ++seen;
        if (seen == placeholders) {
            // The leftmost position takes every digit left over.
            if (pos > 0)
                out.prepend(digits.left(pos));
            else if (t.ch == u'0')
                out.prepend(u'0');
            pos = 0;
        } else if (pos > 0) {
            out.prepend(digits[--pos]);
        } else if (t.ch == u'0') {
            out.prepend(u'0');
        }
    }
    return sign + out;
}

} // namespace orb
