// Text semantics every connection shares: a LIKE that ignores case for all of
// Unicode (SQLite's own only folds ASCII), sinacentos() for searches that
// ignore accents, and the Spanish collation "es".

#include "Database.h"
#include "SqliteSupport.h"
#include "TextMatching.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

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

bool asciiLetter(unsigned char c) {
    return (c | 0x20) >= 'a' && (c | 0x20) <= 'z';
}

int collateEs(void*, int la, const void* pa, int lb, const void* pb) {
    const auto* a = static_cast<const unsigned char*>(pa);
    const auto* b = static_cast<const unsigned char*>(pb);
    // Most comparisons are of codes made of digits: an equal ASCII start adds
    // nothing to either key, and two ASCII non-letters order as their bytes.
    const int n = std::min(la, lb);
    int i = 0;
    while (i < n && a[i] == b[i] && a[i] < 0x80)
        ++i;
    if (i == n)
        return la == lb ? 0 : (la < lb ? -1 : 1);
    if (a[i] < 0x80 && b[i] < 0x80 && !asciiLetter(a[i]) && !asciiLetter(b[i]))
        return a[i] < b[i] ? -1 : 1;
    return compareKeys(Utf8Reader{a + i, a + la}, Utf8Reader{b + i, b + lb});
}

// ----- LIKE
//
// The pattern is read once per statement (kept as SQLite auxiliary data while
// it stays the same) into folded code points split at '%'. The text is read
// in place, folding one code point at a time with no allocation: ASCII by
// table, the Latin blocks by table, the rest through Qt. Each piece between
// '%' is matched at its leftmost place, which is enough for LIKE and keeps the
// match linear in the text for ordinary patterns (no backtracking).

constexpr char32_t AnyOne = 0xFFFFFFFF; // '_'

struct FoldTables {
    std::array<unsigned char, 0x80> ascii{};
    std::array<char32_t, 0x250> latin{};
    FoldTables() {
        for (char32_t c = 0; c < latin.size(); ++c) {
            latin[c] = QChar::toCaseFolded(c);
            if (c < 0x80)
                ascii[c] = static_cast<unsigned char>(latin[c]);
        }
    }
};
// Built at start-up, so reading them needs no guard on every character.
const FoldTables kFold;

// Base letter of each Latin code point (accents and other marks off; ñ and
// Ñ stay themselves, as Spanish reads them). Used by sinacentos() and by
// likesinacentos().
const std::array<char16_t, 0x250>& latinBases() {
    static const std::array<char16_t, 0x250> table = [] {
        std::array<char16_t, 0x250> t{};
        for (char16_t c = 0; c < t.size(); ++c) {
            t[c] = c;
            if (c < 0x80 || c == u'ñ' || c == u'Ñ')
                continue;
            const QString d = QString(QChar(c)).normalized(QString::NormalizationForm_D);
            if (!d.isEmpty() && d.at(0).unicode() < 0x80)
                t[c] = d.at(0).unicode();
        }
        return t;
    }();
    return table;
}

inline char32_t withoutAccent(char32_t c) {
    return c < 0x250 ? latinBases()[c] : c;
}

inline char32_t fold(char32_t c) {
    if (c < 0x250)
        return kFold.latin[c];
    return QChar::toCaseFolded(c);
}

// Next code point of UTF-8 text, folded.
// With accents, also off their marks first (ASCII has none): the same as
// LIKE over sinacentos() of the text.
inline char32_t fold(char32_t c, bool accents) {
    return fold(accents ? withoutAccent(c) : c);
}

inline char32_t nextFolded(const unsigned char*& p, const unsigned char* end, bool accents) {
    if (*p < 0x80)
        return kFold.ascii[*p++];
    Utf8Reader r{p, end};
    char32_t c = 0;
    r.next(c);
    p = r.p;
    return fold(c, accents);
}

struct LikePattern {
    QByteArray source; // the pattern's bytes and its escape, to know it again
    char32_t escape = 0;
    bool accents = false;                          // likesinacentos(): letters compared without their accents
    std::vector<char32_t> elems;                   // folded code points or AnyOne
    std::vector<std::pair<size_t, size_t>> pieces; // [begin, end) in elems, between '%'
    bool leadingAny = false;                       // starts with '%'
    bool trailingAny = false;                      // ends with '%'
    bool anyPercent = false;
    // Per piece, the two ASCII bytes its first character can be written as
    // (0 when it starts with '_' or a non-ASCII character): the search for
    // the piece skips every other ASCII byte without decoding it.
    std::vector<std::pair<unsigned char, unsigned char>> firstBytes;

    void compile(const unsigned char* pattern, int bytes, char32_t esc, bool withoutAccents) {
        source = QByteArray(reinterpret_cast<const char*>(pattern), bytes);
        escape = esc;
        accents = withoutAccents;
        Utf8Reader r{pattern, pattern + bytes};
        char32_t c = 0;
        size_t begin = 0;
        bool first = true;
        while (r.next(c)) {
            c = fold(c, accents);
            if (c == U'%') {
                anyPercent = true;
                if (first)
                    leadingAny = true;
                if (elems.size() > begin)
                    pieces.emplace_back(begin, elems.size());
                begin = elems.size();
                trailingAny = true;
                first = false;
                continue;
            }
            first = false;
            trailingAny = false;
            if (escape && c == escape) {
                char32_t next = 0;
                if (r.next(next))
                    c = fold(next, accents); // escaped: literal, even % and _
                elems.push_back(c);          // a final escape stands for itself
                continue;
            }
            elems.push_back(c == U'_' ? AnyOne : c);
        }
        if (elems.size() > begin || !anyPercent)
            pieces.emplace_back(begin, elems.size());
        for (const auto& [b, e] : pieces) {
            const char32_t c = b < e ? elems[b] : AnyOne;
            if (c >= 0x80) {
                firstBytes.emplace_back(0, 0);
                continue;
            }
            const auto lower = static_cast<unsigned char>(c);
            const auto upper = static_cast<unsigned char>(QChar::toUpper(c));
            firstBytes.emplace_back(lower, upper < 0x80 ? upper : lower);
        }
    }

    // First place from p where piece i may start: a byte that is its first
    // character in either case, or any non-ASCII character (some fold to ASCII).
    const unsigned char* candidate(size_t i, const unsigned char* p, const unsigned char* end) const {
        const auto [lower, upper] = firstBytes[i];
        if (lower == 0)
            return p;
        while (p < end && *p != lower && *p != upper && *p < 0x80)
            ++p;
        return p;
    }

    // Piece i matches the text at p; after points past it.
    bool matchAt(size_t i, const unsigned char* p, const unsigned char* end,
                 const unsigned char*& after) const {
        for (size_t e = pieces[i].first; e < pieces[i].second; ++e) {
            if (p >= end)
                return false;
            const char32_t c = nextFolded(p, end, accents);
            if (elems[e] != AnyOne && elems[e] != c)
                return false;
        }
        after = p;
        return true;
    }

    bool matches(const unsigned char* p, const unsigned char* end) const {
        const unsigned char* after = nullptr;
        if (!anyPercent)
            return matchAt(0, p, end, after) && after == end;
        size_t i = 0;
        size_t last = pieces.size(); // past the pieces matched left to right
        if (!leadingAny) {
            if (!matchAt(0, p, end, after))
                return false;
            p = after;
            i = 1;
        }
        if (!trailingAny && last > i)
            --last; // the final piece must end the text: matched from the end below
        for (; i < last; ++i) {
            for (;;) {
                p = candidate(i, p, end);
                if (matchAt(i, p, end, after)) {
                    p = after;
                    break;
                }
                if (p >= end)
                    return false;
                ++p;
                while (p < end && (*p & 0xC0) == 0x80)
                    ++p;
            }
        }
        if (trailingAny || last == pieces.size())
            return true;
        // As many code points back from the end as the final piece has.
        const unsigned char* tail = end;
        for (size_t n = pieces[last].second - pieces[last].first; n > 0; --n) {
            if (tail <= p)
                return false;
            --tail;
            while (tail > p && (*tail & 0xC0) == 0x80)
                --tail;
        }
        return matchAt(last, tail, end, after) && after == end;
    }
};

void deletePattern(void* p) {
    delete static_cast<LikePattern*>(p);
}

void like(sqlite3_context* ctx, int argc, sqlite3_value** argv, bool accents) {
    const unsigned char* pattern = sqlite3_value_text(argv[0]);
    const int patternBytes = sqlite3_value_bytes(argv[0]);
    const unsigned char* text = sqlite3_value_text(argv[1]);
    const int textBytes = sqlite3_value_bytes(argv[1]);
    if (!pattern || !text)
        return; // NULL result
    char32_t escape = 0;
    if (argc == 3) {
        const unsigned char* e = sqlite3_value_text(argv[2]);
        const int eBytes = sqlite3_value_bytes(argv[2]);
        Utf8Reader r{e, e ? e + eBytes : e};
        char32_t c = 0;
        if (!e || !r.next(c) || r.p != r.end) {
            sqlite3_result_error(ctx, "ESCAPE expression must be a single character", -1);
            return;
        }
        escape = fold(c, accents);
    }
    auto* compiled = static_cast<LikePattern*>(sqlite3_get_auxdata(ctx, 0));
    const bool cached = compiled && compiled->escape == escape;
    if (!cached) {
        compiled = new LikePattern;
        compiled->compile(pattern, patternBytes, escape, accents);
    }
    sqlite3_result_int(ctx, compiled->matches(text, text + textBytes) ? 1 : 0);
    if (!cached) // kept while the pattern stays the same; freed by SQLite otherwise
        sqlite3_set_auxdata(ctx, 0, compiled, deletePattern);
}

void likeFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    like(ctx, argc, argv, false);
}

// likesinacentos(pattern, text [, escape]): LIKE that also ignores accents,
// as sinacentos(text) LIKE sinacentos(pattern) would, without building the
// folded text of every row.
void likeSinAcentosFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    like(ctx, argc, argv, true);
}

// ----- sinacentos(text)
//
// The text without accents or other marks on Latin letters, ñ and Ñ kept as
// the letters of their own Spanish reads them. Searches compare
// sinacentos(column) LIKE pattern-folded-the-same-way, so "lefevre" finds
// "Lefèvre". Plain ASCII (most rows) is handed back as it is, without a copy.

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

void sinAcentosFunction(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL)
        return;
    const auto* p = sqlite3_value_text(argv[0]);
    const int n = sqlite3_value_bytes(argv[0]);
    int i = 0;
    while (i < n && p[i] < 0x80)
        ++i;
    if (i == n) {
        sqlite3_result_value(ctx, argv[0]);
        return;
    }
    thread_local std::string out;
    out.assign(reinterpret_cast<const char*>(p), std::size_t(i));
    Utf8Reader r{p + i, p + n};
    char32_t c = 0;
    while (r.next(c))
        appendUtf8(out, withoutAccent(c));
    sqlite3_result_text(ctx, out.data(), int(out.size()), SQLITE_TRANSIENT);
}

} // namespace

QString stripAccents(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text)
        out += QChar(char16_t(withoutAccent(c.unicode())));
    return out;
}

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
    sqlite3_create_function(db, "sinacentos", 1, flags, nullptr, sinAcentosFunction, nullptr, nullptr);
    sqlite3_create_function(db, "likesinacentos", 2, flags, nullptr, likeSinAcentosFunction, nullptr,
                            nullptr);
    sqlite3_create_function(db, "likesinacentos", 3, flags, nullptr, likeSinAcentosFunction, nullptr,
                            nullptr);
    sqlite3_create_collation(db, "es", SQLITE_UTF8, nullptr, collateEs);
}

} // namespace detail
} // namespace db
