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
        const QString none;
        // Several '%': the pieces in order, anywhere, possibly adjacent.
        QTest::newRow("%a%b% in order") << "xxAyyBzz"
                                        << "%a%b%" << none << true;
        QTest::newRow("%a%b% wrong order") << "xxByyAzz"
                                           << "%a%b%" << none << false;
        QTest::newRow("%a%b% adjacent") << "ab"
                                        << "%a%b%" << none << true;
        QTest::newRow("pieces share no letter") << "aba"
                                                << "%ab%ba%" << none << false;
        QTest::newRow("last piece at the end") << "abcabc"
                                               << "a%bc" << none << true;
        QTest::newRow("last piece must end the text") << "abcab"
                                                      << "a%bc" << none << false;
        QTest::newRow("first and last overlap") << "a"
                                                << "a%a" << none << false;
        QTest::newRow("repeated candidate") << "aaaaaaaaab"
                                            << "%aab" << none << true;
        QTest::newRow("no %: whole text") << "Casa"
                                          << "casa" << none << true;
        QTest::newRow("no %: prefix only") << "Casas"
                                           << "casa" << none << false;
        QTest::newRow("prefix") << "0100042"
                                << "01%" << none << true;
        QTest::newRow("prefix elsewhere") << "0201"
                                          << "01%" << none << false;
        // '_' is one character, a multibyte one included.
        QTest::newRow("_ on ñ") << "Año"
                                << "a_o" << none << true;
        QTest::newRow("_ on emoji") << "a😀o"
                                    << "a_o" << none << true;
        QTest::newRow("_ needs a character") << "ao"
                                             << "a_o" << none << false;
        QTest::newRow("__ on two multibyte") << "€ñ"
                                             << "__" << none << true;
        QTest::newRow("% then _ at the end") << "Málaga"
                                             << "%g_" << none << true;
        // Case folds beyond ASCII; accents still count.
        QTest::newRow("ñ/Ñ") << "ESPAÑA"
                             << "%españa%" << none << true;
        QTest::newRow("á/Á") << "ávila"
                             << "ÁVILA" << none << true;
        QTest::newRow("accents count") << "Avila"
                                       << "Ávila" << none << false;
        QTest::newRow("Greek") << "ΣΟΦΙΑ"
                               << "%σοφια" << none << true;
        // Empty pattern matches only empty text; '%' matches anything.
        QTest::newRow("empty pattern, empty text") << ""
                                                   << "" << none << true;
        QTest::newRow("empty pattern, text") << "a"
                                             << "" << none << false;
        QTest::newRow("% on empty") << ""
                                    << "%" << none << true;
        QTest::newRow("%% on text") << "abc"
                                    << "%%" << none << true;
        // ESCAPE makes % _ and itself literal.
        QTest::newRow("escaped %") << "50% menos"
                                   << "%0\\%%"
                                   << "\\" << true;
        QTest::newRow("escaped % is not a wildcard") << "500 menos"
                                                     << "%0\\%%"
                                                     << "\\" << false;
        QTest::newRow("escaped _") << "s_m"
                                   << "s\\_m"
                                   << "\\" << true;
        QTest::newRow("escaped _ is literal") << "sam"
                                              << "s\\_m"
                                              << "\\" << false;
        QTest::newRow("escaped escape") << "a\\b"
                                        << "a\\\\b"
                                        << "\\" << true;
        QTest::newRow("escaped letter ignores case") << "xay"
                                                     << "x\\Ay"
                                                     << "\\" << true;
        QTest::newRow("other escape char") << "100%"
                                           << "100!%"
                                           << "!" << true;
        QTest::newRow("multibyte escape") << "a%"
                                          << "aé%"
                                          << "é" << true;
        QTest::newRow("without ESCAPE \\ is plain") << "a\\b"
                                                    << "a\\b" << none << true;
    }
    void matches() {
        QFETCH(QString, text);
        QFETCH(QString, pattern);
        QFETCH(QString, escape);
        QFETCH(bool, match);
        QCOMPARE(like(text, pattern, escape), int(match));
    }

    void nullsAndBadEscapes() {
        QCOMPARE(t_->db->scalar("SELECT NULL LIKE 'a'").isNull(), true);
        QCOMPARE(t_->db->scalar("SELECT 'a' LIKE NULL").isNull(), true);
        QCOMPARE(dbtest::errorOf([&] { like("a", "a", "ab"); }) != 0, true);
        QCOMPARE(dbtest::errorOf([&] { like("a", "a", ""); }) != 0, true);
    }

    // A pattern taken from each row (not constant) gives the same answers as
    // the constant one compiled once; the constant one keeps no stale state.
    void patternPerRowAndConstantAgree() {
        Database& d = *t_->db;
        d.executeScript("CREATE TABLE P (Texto TEXT, Patron TEXT);"
                        "INSERT INTO P VALUES ('Ávila', '%VIL%'), ('Nerja', '%vil%'), ('ÑORA', 'ñ_ra'),"
                        "('abc', NULL), ('Mañana', 'MAÑ%'), ('x', '%');");
        const QList<Row> perRow = d.query("SELECT Texto FROM P WHERE Texto LIKE Patron ORDER BY rowid");
        QStringList got;
        for (const Row& r : perRow)
            got << r[0].toString();
        QCOMPARE(got, (QStringList{"Ávila", "ÑORA", "Mañana", "x"}));
        got.clear();
        for (const Row& r : d.query("SELECT Texto FROM P WHERE Texto LIKE ? ORDER BY rowid", {"%A%"}))
            got << r[0].toString();
        QCOMPARE(got, (QStringList{"Ávila", "Nerja", "ÑORA", "abc", "Mañana"}));
    }

    // sinacentos(): accents off Latin letters, ñ kept as its own letter, the
    // same text in SQL as stripAccents() gives in C++, so a pattern folded in
    // C++ finds the column folded in SQL.
    void sinacentosDropsAccentsButKeepsEnye_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("ascii unchanged") << "Calle Larios, 5"
                                         << "Calle Larios, 5";
        QTest::newRow("french") << "Hélène Lefèvre"
                                << "Helene Lefevre";
        QTest::newRow("upper accents") << "ÁLORA ÇÜ"
                                       << "ALORA CU";
        QTest::newRow("enye kept") << "Ñoño Núñez"
                                   << "Ñoño Nuñez";
        QTest::newRow("german") << "Jürgen Weiß"
                                << "Jurgen Weiß";
        QTest::newRow("outside latin") << "Αθήνα €😀"
                                       << "Αθήνα €😀";
        QTest::newRow("empty") << ""
                               << "";
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
