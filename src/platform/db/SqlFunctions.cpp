// Text semantics every connection shares: a LIKE that ignores case for all of
// Unicode (SQLite's own only folds ASCII) and the Spanish collation "es".

#include "Database.h"
#include "SqliteSupport.h"

#include <array>

namespace db {

namespace {

// Collation key of one character: primary = base letter, case and accents
// removed (ñ kept apart, right after n); secondary = the case-folded character.
struct Key {
    char32_t primary;
    char32_t secondary;
};

Key computeKey(char32_t c) {
    const QString folded = QString::fromUcs4(&c, 1).toCaseFolded();
    const char32_t f = folded.isEmpty() ? c : folded.at(0).unicode();
    if (f == U'ñ')
        return {U'n' * 2 + 1, f};
    char32_t base = f;
    const QString decomposed = QString::fromUcs4(&f, 1).normalized(QString::NormalizationForm_D);
    if (!decomposed.isEmpty())
        base = decomposed.at(0).unicode();
    // Latin letters are spread out so that ñ fits between n and o.
    if (base < 0x80)
        return {base * 2, f};
    return {base + 0x100, f};
}

const std::array<Key, 0x250>& latinKeys() {
    static const std::array<Key, 0x250> table = [] {
        std::array<Key, 0x250> t{};
        for (char32_t c = 0; c < t.size(); ++c)
            t[c] = computeKey(c);
        return t;
    }();
    return table;
}

inline Key keyOf(char32_t c) {
    if (c < 0x250)
        return latinKeys()[c];
    return computeKey(c);
}

// Code points read one after the other, without building strings: the
// collation runs for every comparison of a sort over thousands of rows.
struct Utf8Reader {
    const unsigned char* p;
    const unsigned char* end;
    bool next(char32_t& c) {
        if (p >= end)
            return false;
        const unsigned char b = *p++;
        if (b < 0x80) {
            c = b;
            return true;
        }
        int extra = b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : 0;
        c = b & (0x3F >> extra);
        for (; extra > 0 && p < end && (*p & 0xC0) == 0x80; --extra)
            c = (c << 6) | (*p++ & 0x3F);
        return true;
    }
};

struct Utf16Reader {
    const QChar* p;
    const QChar* end;
    bool next(char32_t& c) {
        if (p >= end)
            return false;
        const char16_t h = (p++)->unicode();
        if (QChar::isHighSurrogate(h) && p < end && p->isLowSurrogate())
            c = QChar::surrogateToUcs4(h, (p++)->unicode());
        else
            c = h;
        return true;
    }
};

// Primary keys decide first; then the shorter text; then the first secondary difference.
template <typename Reader> int compareKeys(Reader a, Reader b) {
    int secondary = 0;
    char32_t ca = 0;
    char32_t cb = 0;
    for (;;) {
        const bool ha = a.next(ca);
        const bool hb = b.next(cb);
        if (!ha || !hb)
            return ha != hb ? (ha ? 1 : -1) : secondary;
        if (ca == cb)
            continue;
        const Key ka = keyOf(ca);
        const Key kb = keyOf(cb);
        if (ka.primary != kb.primary)
            return ka.primary < kb.primary ? -1 : 1;
        if (secondary == 0 && ka.secondary != kb.secondary)
            secondary = ka.secondary < kb.secondary ? -1 : 1;
    }
}

int collateEs(void*, int la, const void* pa, int lb, const void* pb) {
    const auto* a = static_cast<const unsigned char*>(pa);
    const auto* b = static_cast<const unsigned char*>(pb);
    return compareKeys(Utf8Reader{a, a + la}, Utf8Reader{b, b + lb});
}

// Case-insensitive match of pattern p (with % _ and an optional escape) against s.
bool likeMatch(const QList<uint>& p, qsizetype pi, const QList<uint>& s, qsizetype si, uint escape) {
    while (pi < p.size()) {
        uint pc = p[pi];
        if (pc == '%') {
            while (pi < p.size() && p[pi] == '%')
                ++pi;
            if (pi == p.size())
                return true;
            for (qsizetype k = si; k <= s.size(); ++k)
                if (likeMatch(p, pi, s, k, escape))
                    return true;
            return false;
        }
        if (si == s.size())
            return false;
        if (pc == '_') {
            ++pi;
            ++si;
            continue;
        }
        if (escape && pc == escape && pi + 1 < p.size()) {
            ++pi;
            pc = p[pi];
        }
        if (pc != s[si])
            return false;
        ++pi;
        ++si;
    }
    return si == s.size();
}

QList<uint> folded(const unsigned char* text) {
    return QString::fromUtf8(reinterpret_cast<const char*>(text)).toCaseFolded().toUcs4();
}

void likeFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    const unsigned char* pattern = sqlite3_value_text(argv[0]);
    const unsigned char* text = sqlite3_value_text(argv[1]);
    if (!pattern || !text)
        return; // NULL result
    uint escape = 0;
    if (argc == 3) {
        const unsigned char* e = sqlite3_value_text(argv[2]);
        const QList<uint> esc = e ? folded(e) : QList<uint>();
        if (esc.size() != 1) {
            sqlite3_result_error(ctx, "ESCAPE expression must be a single character", -1);
            return;
        }
        escape = esc[0];
    }
    sqlite3_result_int(ctx, likeMatch(folded(pattern), 0, folded(text), 0, escape) ? 1 : 0);
}

} // namespace

int compareSpanish(const QString& a, const QString& b) {
    return compareKeys(Utf16Reader{a.constData(), a.constData() + a.size()},
                       Utf16Reader{b.constData(), b.constData() + b.size()});
}

QString escapeLike(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c == u'%' || c == u'_' || c == u'\\')
            out += u'\\';
        out += c;
    }
    return out;
}

QString containsPattern(const QString& text) {
    return u'%' + escapeLike(text) + u'%';
}

namespace detail {

void registerFunctions(sqlite3* db) {
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    sqlite3_create_function(db, "like", 2, flags, nullptr, likeFunction, nullptr, nullptr);
    sqlite3_create_function(db, "like", 3, flags, nullptr, likeFunction, nullptr, nullptr);
    sqlite3_create_collation(db, "es", SQLITE_UTF8, nullptr, collateEs);
}

} // namespace detail
} // namespace db
