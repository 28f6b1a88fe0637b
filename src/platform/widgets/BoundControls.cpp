#include "BoundControls.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMimeData>
#include <QTimer>

namespace ui {

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

BoundTextBox::BoundTextBox(QWidget* parent, const QString& dataField) : QLineEdit(parent) {
    DataField = dataField;
    connect(this, &QLineEdit::textChanged, this, [this] { DataChanged = true; });
}

void BoundTextBox::setMaxLength(int length) {
    maxLength_ = length;
    QLineEdit::setMaxLength(length > 0 ? length : 32767);
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

void BoundMemo::keyPressEvent(QKeyEvent* e) {
    if (maxLength_ > 0 && !e->text().isEmpty() && e->text().at(0).isPrint() &&
        toPlainText().size() - textCursor().selectedText().size() >= maxLength_)
        return;
    QPlainTextEdit::keyPressEvent(e);
}

void BoundMemo::insertFromMimeData(const QMimeData* source) {
    if (maxLength_ <= 0 || !source->hasText()) {
        QPlainTextEdit::insertFromMimeData(source);
        return;
    }
    const qsizetype room = maxLength_ - (toPlainText().size() - textCursor().selectedText().size());
    if (room > 0)
        insertPlainText(source->text().left(room));
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
