#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QValidator>

namespace ui {

// Characters as the database counts them (length() in SQLite): code points,
// so an emoji is one character, not the two UTF-16 units QString counts.
qsizetype Caracteres(QStringView texto);

// Keeps what the user types, pastes or drops into a line edit within a number
// of characters (code points): what does not fit is left out, as a box with a
// maximum length does. Text the program puts in with setText is never cut, so
// an over-long value reaches the confirm, which refuses it naming the box.
class LimiteCaracteres : public QValidator {
    Q_OBJECT
public:
    // Installs itself on box; limite 0 = no limit.
    LimiteCaracteres(QLineEdit* box, int limite);
    int limite() const { return limite_; }
    void setLimite(int limite) { limite_ = limite; }
    // setText on the box without the cut.
    void ponerTexto(const QString& texto);

    State validate(QString& input, int& pos) const override;

private:
    QLineEdit* box_;
    int limite_;
    mutable qsizetype anterior_ = 0; // characters of the text last validated
    bool programa_ = false;
};

// The limit for a plain QLineEdit (one that is not bound to a field).
void LimitarCaracteres(QLineEdit* box, int limite);

// What the record controller needs of a control bound to a field: the field's
// name and a flag set by every content change (the user's or the code's), which
// the controller clears after it loads the control.
class BoundControl {
public:
    virtual ~BoundControl() = default;

    QString DataField;
    bool DataChanged = false;
    // The box holds a code number: besides being a whole number it must be above 0.
    bool Codigo = false;

    virtual QWidget* widget() = 0;

    // How messages name the control: the text of the label that points to it
    // (without its '&' and ':'), else its accessible name, else its field.
    QString caption();
};

// Text box: single line (BoundTextBox) or several lines (BoundMemo).
class TextControl : public BoundControl {
public:
    virtual QString Text() const = 0;
    virtual void setText(const QString& text) = 0;
    virtual int MaxLength() const = 0; // 0 = no limit
    virtual void setMaxLength(int length) = 0;
};

class BoundTextBox : public QLineEdit, public TextControl {
    Q_OBJECT
public:
    explicit BoundTextBox(QWidget* parent = nullptr, const QString& dataField = {});
    QWidget* widget() override { return this; }
    QString Text() const override { return QLineEdit::text(); }
    void setText(const QString& t) override { limite_->ponerTexto(t); }
    // In characters (code points), as the field's size is.
    int MaxLength() const override { return limite_->limite(); }
    void setMaxLength(int length) override { limite_->setLimite(length); }

protected:
    void focusInEvent(QFocusEvent* e) override;

private:
    LimiteCaracteres* limite_;
};

class BoundMemo : public QPlainTextEdit, public TextControl {
    Q_OBJECT
public:
    explicit BoundMemo(QWidget* parent = nullptr, const QString& dataField = {});
    QWidget* widget() override { return this; }
    QString Text() const override { return toPlainText(); }
    void setText(const QString& t) override { setPlainText(t); }
    // In characters (code points), as the field's size is.
    int MaxLength() const override { return maxLength_; }
    void setMaxLength(int length) override { maxLength_ = length; }

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void inputMethodEvent(QInputMethodEvent* e) override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    // Characters that still fit in place of the selection.
    qsizetype sitio() const;
    int maxLength_ = 0;
};

// Check box with Value 0 (clear), 1 (ticked), 2 (grayed).
class BoundCheckBox : public QCheckBox, public BoundControl {
    Q_OBJECT
public:
    explicit BoundCheckBox(const QString& caption, QWidget* parent = nullptr, const QString& dataField = {});
    QWidget* widget() override { return this; }
    int Value() const;
    void setValue(int value);
};

// Combo box in the three legacy styles; items may carry a numeric tag.
class BoundComboBox : public QComboBox, public BoundControl {
    Q_OBJECT
public:
    enum Style { DropDownCombo = 0, SimpleCombo = 1, DropDownList = 2 };

    explicit BoundComboBox(Style style, QWidget* parent = nullptr, const QString& dataField = {});
    QWidget* widget() override { return this; }
    Style comboStyle() const { return style_; }

    QString Text() const { return currentText(); }
    // Selects the last item whose text equals t exactly; a drop-down list with
    // no such item shows no selection, an editable combo shows the text.
    void setText(const QString& t);
    int ListIndex() const { return currentIndex(); }
    void setListIndex(int index) { setCurrentIndex(index); }

    void addItemWithTag(const QString& text, qint64 tag);
    qint64 itemTag(int index) const;
    // Selects the last item whose tag equals tag; none when no item has it.
    void selectTag(qint64 tag);

private:
    Style style_;
};

} // namespace ui
