// Bound text boxes and memos: their limits count characters as the database
// does (an emoji is one), and text the program puts in is never cut.

#include "platform/widgets/BoundControls.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QtTest>

namespace {

const QString Cara = QString::fromUtf8("😀"); // two UTF-16 units, one character

// One key press per character, as a keyboard (or an emoji key) sends them.
void teclear(QWidget* w, const QString& texto) {
    for (const uint c : texto.toUcs4()) {
        const char32_t cp = c;
        const QString t = QString::fromUcs4(&cp, 1);
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, t);
        QApplication::sendEvent(w, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, t);
        QApplication::sendEvent(w, &release);
    }
}

// A memo whose paste (and drop) entry point the test can call.
class Memo : public ui::BoundMemo {
public:
    using ui::BoundMemo::insertFromMimeData;
};

} // namespace

class TestBoundControls : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void charactersAreCountedAsTheDatabaseCountsThem() {
        QCOMPARE(ui::Caracteres(u"Peñíscola"), 9);
        QCOMPARE(ui::Caracteres(Cara.repeated(3)), 3);
        QCOMPARE(ui::Caracteres(QString("a") + Cara + "b"), 3);
        // A lone half of a pair is stored as one replacement character.
        QCOMPARE(ui::Caracteres(Cara.left(1) + "x"), 2);
        QCOMPARE(ui::Caracteres(QString()), 0);
    }

    void aTextBoxTakesAsManyEmojiAsItsFieldHoldsCharacters() {
        ui::BoundTextBox box(nullptr, "Direccion");
        box.setMaxLength(70);
        QCOMPARE(box.MaxLength(), 70);
        teclear(&box, Cara.repeated(71));
        QCOMPARE(ui::Caracteres(box.Text()), 70);
        QCOMPARE(box.Text(), Cara.repeated(70));
        // Full: another key changes nothing, not even half of a pair.
        teclear(&box, "x");
        QCOMPARE(box.Text(), Cara.repeated(70));
        QVERIFY(box.DataChanged);

        // A paste keeps what fits from its start.
        box.clear();
        box.insert("ab" + Cara.repeated(80));
        QCOMPARE(box.Text(), "ab" + Cara.repeated(68));
        // Pasted over a selection in the middle: only the paste is shortened.
        box.setMaxLength(5);
        box.clear();
        box.insert("abc");
        box.setSelection(1, 1);
        box.insert(Cara.repeated(4));
        QCOMPARE(box.Text(), "a" + Cara.repeated(3) + "c");
        QCOMPARE(box.cursorPosition(), 1 + 2 * 3);
        // Without a limit nothing is left out.
        box.setMaxLength(0);
        box.clear();
        box.insert(Cara.repeated(1000));
        QCOMPARE(ui::Caracteres(box.Text()), 1000);
    }

    void textTheProgramPutsInIsNeverCut() {
        // A code built by a window, a value read from the database: an
        // over-long one reaches the confirm whole, for it to refuse.
        ui::BoundTextBox box(nullptr, "Cod");
        box.setMaxLength(20);
        const QString largo = "01" + QString(30, u'0') + "1";
        box.setText(largo);
        QCOMPARE(box.Text(), largo);
        // Typing into it adds nothing and removes nothing of what was there.
        box.end(false);
        teclear(&box, "9");
        QCOMPARE(box.Text(), largo);
        box.backspace();
        QCOMPARE(box.Text(), largo.chopped(1));
        teclear(&box, "7");
        QCOMPARE(box.Text(), largo.chopped(1));
        // Emptied, it takes what fits again.
        box.clear();
        teclear(&box, QString(25, u'x'));
        QCOMPARE(box.Text(), QString(20, u'x'));
    }

    void aMemoTakesAsManyEmojiAsItsFieldHoldsCharacters() {
        Memo memo;
        memo.setMaxLength(30);
        teclear(&memo, Cara.repeated(31));
        QCOMPARE(memo.Text(), Cara.repeated(30));
        // A new line is a character too.
        QTest::keyClick(&memo, Qt::Key_Return);
        QCOMPARE(memo.Text(), Cara.repeated(30));

        memo.clear();
        QMimeData pegado;
        pegado.setText("z" + Cara.repeated(40));
        memo.insertFromMimeData(&pegado);
        QCOMPARE(memo.Text(), "z" + Cara.repeated(29));

        // Text composed by an input method (an emoji picker) is cut the same way.
        memo.setPlainText(Cara.repeated(27));
        memo.moveCursor(QTextCursor::End);
        QInputMethodEvent compuesto;
        compuesto.setCommitString(Cara.repeated(5));
        QApplication::sendEvent(&memo, &compuesto);
        QCOMPARE(memo.Text(), Cara.repeated(30));
        // One that fits goes in whole.
        memo.setPlainText("ab");
        memo.moveCursor(QTextCursor::End);
        QInputMethodEvent cabe;
        cabe.setCommitString(Cara + "é");
        QApplication::sendEvent(&memo, &cabe);
        QCOMPARE(memo.Text(), "ab" + Cara + "é");
    }

    void aPlainLineEditCanBeLimitedTheSameWay() {
        QLineEdit box;
        ui::LimitarCaracteres(&box, 5);
        teclear(&box, Cara.repeated(6));
        QCOMPARE(box.text(), Cara.repeated(5));
        ui::LimitarCaracteres(&box, 6); // a second call changes the limit
        teclear(&box, Cara.repeated(2));
        QCOMPARE(box.text(), Cara.repeated(6));
    }
};

QTEST_MAIN(TestBoundControls)
#include "tst_boundcontrols.moc"
