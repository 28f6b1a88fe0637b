#include "BoundControls.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMimeData>
#include <QTimer>

namespace ui {

qsizetype Caracteres(QStringView texto) {
    // A lone surrogate is one character, as the database stores it (U+FFFD).
    qsizetype n = texto.size();
    for (qsizetype i = 0; i + 1 < texto.size(); ++i)
        if (texto[i].isHighSurrogate() && texto[i + 1].isLowSurrogate()) {
            --n;
            ++i;
        }
    return n;
}

namespace {

// The position n characters before pos, never between the halves of a pair.
qsizetype atras(QStringView texto, qsizetype pos, qsizetype n) {
    for (; n > 0 && pos > 0; --n) {
        --pos;
        if (pos > 0 && texto[pos].isLowSurrogate() && texto[pos - 1].isHighSurrogate())
            --pos;
    }
    return pos;
}

// The first n characters of texto.
QString primeros(const QString& texto, qsizetype n) {
    qsizetype i = 0;
    for (; n > 0 && i < texto.size(); --n)
        i += texto[i].isHighSurrogate() && i + 1 < texto.size() && texto[i + 1].isLowSurrogate() ? 2 : 1;
    return texto.left(i);
}

} // namespace

LimiteCaracteres::LimiteCaracteres(QLineEdit* box, int limite)
    : QValidator(box), box_(box), limite_(limite), anterior_(Caracteres(box->text())) {
    box->setValidator(this);
}

void LimiteCaracteres::ponerTexto(const QString& texto) {
    programa_ = true;
    box_->setText(texto);
    programa_ = false;
}

QValidator::State LimiteCaracteres::validate(QString& input, int& pos) const {
    qsizetype largo = Caracteres(input);
    if (!programa_ && limite_ > 0 && largo > limite_) {
        // A change ends at the cursor: the end of what it added is left out,
        // never text that was there before (the program may have put in more).
        const qsizetype sobra = std::min(largo - limite_, largo - anterior_);
        if (sobra > 0) {
            const qsizetype desde = atras(input, pos, sobra);
            input.remove(desde, pos - desde);
            pos = int(desde);
            largo = Caracteres(input);
        }
    }
    anterior_ = largo;
    return Acceptable;
}

void LimitarCaracteres(QLineEdit* box, int limite) {
    if (auto* v = qobject_cast<LimiteCaracteres*>(const_cast<QValidator*>(box->validator())))
        v->setLimite(limite);
    else
        new LimiteCaracteres(box, limite);
}

QString BoundControl::caption() {
    QWidget* w = widget();
    QString text;
    if (QWidget* top = w->window())
        for (QLabel* l : top->findChildren<QLabel*>())
            if (l->buddy() == w && !l->text().trimmed().isEmpty()) {
                text = l->text();
                break;
            }
    if (text.isEmpty())
        text = w->accessibleName();
    text.remove(u'&');
    text = text.trimmed();
    if (text.endsWith(u':'))
        text.chop(1);
    return text.isEmpty() ? DataField : text.trimmed();
}

BoundTextBox::BoundTextBox(QWidget* parent, const QString& dataField)
    : QLineEdit(parent), limite_(new LimiteCaracteres(this, 0)) {
    DataField = dataField;
    connect(this, &QLineEdit::textChanged, this, [this] { DataChanged = true; });
}

void BoundTextBox::focusInEvent(QFocusEvent* e) {
    QLineEdit::focusInEvent(e);
    // Entering a box selects its whole text, so typing replaces it. Deferred
    // because a mouse click would otherwise move the cursor afterwards.
    QTimer::singleShot(0, this, [this] { selectAll(); });
}

BoundMemo::BoundMemo(QWidget* parent, const QString& dataField) : QPlainTextEdit(parent) {
    DataField = dataField;
    setTabChangesFocus(true);
    connect(this, &QPlainTextEdit::textChanged, this, [this] { DataChanged = true; });
}

qsizetype BoundMemo::sitio() const {
    return maxLength_ - (Caracteres(toPlainText()) - Caracteres(textCursor().selectedText()));
}

void BoundMemo::keyPressEvent(QKeyEvent* e) {
    // The key's text may be a pair of UTF-16 units: its first character decides;
    // a new line is a character too.
    const QList<uint> tecla = e->text().toUcs4();
    const bool linea = e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
    if (maxLength_ > 0 && !tecla.isEmpty() && (QChar::isPrint(char32_t(tecla.first())) || linea) &&
        Caracteres(e->text()) > sitio())
        return;
    QPlainTextEdit::keyPressEvent(e);
}

void BoundMemo::inputMethodEvent(QInputMethodEvent* e) {
    // A composed text (dead keys, an emoji picker) is cut as a paste would be.
    if (maxLength_ <= 0 || Caracteres(e->commitString()) <= std::max<qsizetype>(sitio(), 0)) {
        QPlainTextEdit::inputMethodEvent(e);
        return;
    }
    QInputMethodEvent cortado(e->preeditString(), e->attributes());
    cortado.setCommitString(primeros(e->commitString(), std::max<qsizetype>(sitio(), 0)),
                            e->replacementStart(), e->replacementLength());
    QPlainTextEdit::inputMethodEvent(&cortado);
}

void BoundMemo::insertFromMimeData(const QMimeData* source) {
    if (maxLength_ <= 0 || !source->hasText()) {
        QPlainTextEdit::insertFromMimeData(source);
        return;
    }
    const qsizetype room = sitio();
    if (room > 0)
        insertPlainText(primeros(source->text(), room));
}

BoundCheckBox::BoundCheckBox(const QString& caption, QWidget* parent, const QString& dataField)
    : QCheckBox(caption, parent) {
    DataField = dataField;
    connect(this, &QCheckBox::stateChanged, this, [this] { DataChanged = true; });
}

int BoundCheckBox::Value() const {
    switch (checkState()) {
    case Qt::Checked:
        return 1;
    case Qt::PartiallyChecked:
        return 2;
    default:
        return 0;
    }
}

void BoundCheckBox::setValue(int value) {
    if (value == 2)
        setTristate(true);
    setCheckState(value == 1 ? Qt::Checked : value == 2 ? Qt::PartiallyChecked : Qt::Unchecked);
}

BoundComboBox::BoundComboBox(Style style, QWidget* parent, const QString& dataField)
    : QComboBox(parent), style_(style) {
    DataField = dataField;
    setEditable(style != DropDownList);
    if (isEditable())
        setInsertPolicy(QComboBox::NoInsert);
    connect(this, &QComboBox::currentIndexChanged, this, [this] { DataChanged = true; });
    connect(this, &QComboBox::editTextChanged, this, [this] { DataChanged = true; });
}

void BoundComboBox::setText(const QString& t) {
    int found = -1;
    for (int i = 0; i < count(); ++i)
        if (itemText(i) == t)
            found = i;
    setCurrentIndex(found);
    if (isEditable())
        setEditText(t);
}

void BoundComboBox::addItemWithTag(const QString& text, qint64 tag) {
    addItem(text, tag);
}

qint64 BoundComboBox::itemTag(int index) const {
    return itemData(index).toLongLong();
}

void BoundComboBox::selectTag(qint64 tag) {
    int found = -1;
    for (int i = 0; i < count(); ++i)
        if (itemData(i).isValid() && itemData(i).toLongLong() == tag)
            found = i;
    setCurrentIndex(found);
}

} // namespace ui
