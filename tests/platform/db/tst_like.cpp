// The program's LIKE: case-insensitive for all of Unicode, '%' and '_' with
// an optional ESCAPE, the same answer whether the pattern is a constant of the
// statement (compiled once) or changes from row to row.

#include "dbtestutil.h"

using namespace db;

class tst_Like : public QObject {
    Q_OBJECT

    std::unique_ptr<dbtest::TempDb> t_;

    int like(const QString& text, const QString& pattern, const QString& escape = {}) {
        const QString sql = escape.isNull() ? "SELECT ? LIKE ?" : "SELECT ? LIKE ? ESCAPE ?";
        Params p{text, pattern};
        if (!escape.isNull())
            p << escape;
        const Value v = t_->db->scalar(sql, p);
        return isNull(v) ? -1 : v.toInt();
    }

private Q_SLOTS:
    void initTestCase() { t_ = std::make_unique<dbtest::TempDb>(false); }
    void cleanupTestCase() { t_.reset(); }

    void matches_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("escape");
        QTest::addColumn<bool>("match");
        struct Caso {
            const char *name, *text, *pattern, *escape;
            bool match;
        };
        // clang-format off
        const Caso casos[] = {
            // Several '%': the pieces in order, anywhere, possibly adjacent.
            {"%a%b% in order", "xxAyyBzz", "%a%b%", nullptr, true},
            {"%a%b% wrong order", "xxByyAzz", "%a%b%", nullptr, false},
            {"%a%b% adjacent", "ab", "%a%b%", nullptr, true},
            {"pieces share no letter", "aba", "%ab%ba%", nullptr, false},
            {"last piece at the end", "abcabc", "a%bc", nullptr, true},
            {"last piece must end the text", "abcab", "a%bc", nullptr, false},
            {"first and last overlap", "a", "a%a", nullptr, false},
            {"repeated candidate", "aaaaaaaaab", "%aab", nullptr, true},
            {"no %: whole text", "Casa", "casa", nullptr, true},
            {"no %: prefix only", "Casas", "casa", nullptr, false},
            {"prefix", "0100042", "01%", nullptr, true},
            {"prefix elsewhere", "0201", "01%", nullptr, false},
            // '_' is one character, a multibyte one included.
            {"_ on ñ", "Año", "a_o", nullptr, true},
            {"_ on emoji", "a😀o", "a_o", nullptr, true},
            {"_ needs a character", "ao", "a_o", nullptr, false},
            {"__ on two multibyte", "€ñ", "__", nullptr, true},
            {"% then _ at the end", "Málaga", "%g_", nullptr, true},
            // Case folds beyond ASCII; accents still count.
            {"ñ/Ñ", "ESPAÑA", "%españa%", nullptr, true},
            {"á/Á", "ávila", "ÁVILA", nullptr, true},
            {"accents count", "Avila", "Ávila", nullptr, false},
            {"Greek", "ΣΟΦΙΑ", "%σοφια", nullptr, true},
            // Empty pattern matches only empty text; '%' matches anything.
            {"empty pattern, empty text", "", "", nullptr, true},
            {"empty pattern, text", "a", "", nullptr, false},
            {"% on empty", "", "%", nullptr, true},
            {"%% on text", "abc", "%%", nullptr, true},
            // ESCAPE makes % _ and itself literal.
            {"escaped %", "50% menos", "%0\\%%", "\\", true},
            {"escaped % is not a wildcard", "500 menos", "%0\\%%", "\\", false},
            {"escaped _", "s_m", "s\\_m", "\\", true},
            {"escaped _ is literal", "sam", "s\\_m", "\\", false},
            {"escaped escape", "a\\b", "a\\\\b", "\\", true},
            {"escaped letter ignores case", "xay", "x\\Ay", "\\", true},
            {"other escape char", "100%", "100!%", "!", true},
            {"multibyte escape", "a%", "aé%", "é", true},
            {"without ESCAPE \\ is plain", "a\\b", "a\\b", nullptr, true},
        };
        // clang-format on
        for (const Caso& c : casos)
            QTest::newRow(c.name) << QString::fromUtf8(c.text) << QString::fromUtf8(c.pattern)
                                  << (c.escape ? QString::fromUtf8(c.escape) : QString()) << c.match;
    }
    void matches() {
        QFETCH(QString, text);
        QFETCH(QString, pattern);
        QFETCH(QString, escape);
        QFETCH(bool, match);
        QCOMPARE(like(text, pattern, escape), int(match));
    }

    void nullsAndBadEscapes() {
        QVERIFY(t_->db->scalar("SELECT NULL LIKE 'a'").isNull());
        QVERIFY(t_->db->scalar("SELECT 'a' LIKE NULL").isNull());
        QVERIFY(dbtest::errorOf([&] { like("a", "a", "ab"); }) != 0);
        QVERIFY(dbtest::errorOf([&] { like("a", "a", ""); }) != 0);
    }

    // A pattern taken from each row (not constant) gives the same answers as
    // the constant one compiled once; the constant one keeps no stale state.
    void patternPerRowAndConstantAgree() {
        Database& d = *t_->db;
        d.executeScript("CREATE TABLE P (Texto TEXT, Patron TEXT);"
                        "INSERT INTO P VALUES ('Ávila', '%VIL%'), ('Nerja', '%vil%'), ('ÑORA', 'ñ_ra'),"
                        "('abc', NULL), ('Mañana', 'MAÑ%'), ('x', '%');");
        const auto textos = [&](const QString& where, const Params& p = {}) {
            QStringList got;
            for (const Row& r : d.query("SELECT Texto FROM P WHERE " + where + " ORDER BY rowid", p))
                got << r[0].toString();
            return got;
        };
        QCOMPARE(textos("Texto LIKE Patron"), (QStringList{"Ávila", "ÑORA", "Mañana", "x"}));
        QCOMPARE(textos("Texto LIKE ?", {"%A%"}), (QStringList{"Ávila", "Nerja", "ÑORA", "abc", "Mañana"}));
    }

    // sinacentos(): accents off Latin letters, ñ kept as its own letter, the
    // same text in SQL as stripAccents() gives in C++, so a pattern folded in
    // C++ finds the column folded in SQL.
    void sinacentosDropsAccentsButKeepsEnye_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        const std::pair<const char*, const char*> casos[] = {{"Calle Larios, 5", "Calle Larios, 5"},
                                                             {"Hélène Lefèvre", "Helene Lefevre"},
                                                             {"ÁLORA ÇÜ", "ALORA CU"},
                                                             {"Ñoño Núñez", "Ñoño Nuñez"},
                                                             {"Jürgen Weiß", "Jurgen Weiß"},
                                                             {"Αθήνα €😀", "Αθήνα €😀"},
                                                             {"", ""}};
        for (const auto& [text, expected] : casos)
            QTest::newRow(*text ? text : "empty") << QString::fromUtf8(text) << QString::fromUtf8(expected);
    }
    void sinacentosDropsAccentsButKeepsEnye() {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(t_->db->scalar("SELECT sinacentos(?)", {text}).toString(), expected);
        QCOMPARE(stripAccents(text), expected);
    }
    void sinacentosInASearch() {
        Database& d = *t_->db;
        QVERIFY(d.scalar("SELECT sinacentos(NULL)").isNull());
        d.executeScript("CREATE TABLE N (Nombre TEXT);"
                        "INSERT INTO N VALUES ('Hélène Lefèvre'), ('Ana Núñez'), ('Ana Nunez'), (NULL);");
        const auto find = [&](const QString& typed) {
            QStringList got;
            for (const Row& r : d.query("SELECT Nombre FROM N WHERE sinacentos(Nombre) LIKE ? ESCAPE '\\' "
                                        "ORDER BY rowid",
                                        {containsPattern(stripAccents(typed))}))
                got << r[0].toString();
            return got;
        };
        QCOMPARE(find("LEFEVRE"), QStringList{"Hélène Lefèvre"});
        QCOMPARE(find("lefèvre"), QStringList{"Hélène Lefèvre"});
        QCOMPARE(find("núñez"), QStringList{"Ana Núñez"});
        QCOMPARE(find("nunez"), QStringList{"Ana Nunez"});
    }

    // likesinacentos(pattern, text, escape): the searches' one-call form of
    // sinacentos(text) LIKE sinacentos(pattern), with the same answers.
    void likesinacentosAgreesWithSinacentosAndLike() {
        Database& d = *t_->db;
        d.executeScript("CREATE TABLE T (Texto TEXT);"
                        "INSERT INTO T VALUES ('Hélène Lefèvre'), ('Ana Núñez'), ('Ana Nunez'), ('İzmir'),"
                        "('100% Ávila_1'), ('Ærø'), ('ÉCIJA'), (NULL), ('');");
        const QStringList patrones{"%lefevre%", "%LEFÈVRE%", "%núñez%", "%nunez%", "izmir", "%\\%%",
                                   "%a\\_1",    "%æ%",       "ecija",   "%",       "_%",    "%ñ%"};
        for (const QString& p : patrones) {
            QStringList uno, dos;
            for (const Row& r : d.query(
                     "SELECT quote(Texto) FROM T WHERE likesinacentos(?, Texto, '\\') ORDER BY rowid", {p}))
                uno << r[0].toString();
            for (const Row& r :
                 d.query("SELECT quote(Texto) FROM T WHERE sinacentos(Texto) LIKE ? ESCAPE '\\' "
                         "ORDER BY rowid",
                         {stripAccents(p)}))
                dos << r[0].toString();
            QVERIFY2(uno == dos, qPrintable(p + ": " + uno.join(',') + " / " + dos.join(',')));
        }
        QCOMPARE(d.scalar("SELECT likesinacentos('%lefevre%', 'Hélène Lefèvre')").toInt(), 1);
        QCOMPARE(d.scalar("SELECT likesinacentos('%nunez%', 'Ana Núñez')").toInt(), 0);
        QVERIFY(d.scalar("SELECT likesinacentos('%', NULL)").isNull());
    }
};

QTEST_GUILESS_MAIN(tst_Like)
#include "tst_like.moc"
