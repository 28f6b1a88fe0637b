#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class QPrinter;
class QWidget;

namespace ui {

// Every message box and file dialog of the program goes through this service,
// so tests can answer them without a person.
class DialogService {
public:
    enum class Icon { None, Critical, Question, Exclamation, Information };
    enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };
    enum class Answer { Ok, Cancel, Yes, No, Retry };

    struct Box {
        QString text;
        QString title;
        Buttons buttons = Buttons::Ok;
        Icon icon = Icon::None;
        Answer defaultButton = Answer::Ok;
    };

    // Who is at the seat: a user chosen from a list or typed, and a password
    // when one is asked for.
    struct SignIn {
        QString title;
        QString text;
        QStringList users; // offered in the list; the user may type another when editable
        bool editable = true;
        bool askPassword = true;
    };

    virtual ~DialogService() = default;
    virtual Answer message(QWidget* parent, const Box& box) = 0;
    // Returns the chosen file, or "" when cancelled. The filter is in Qt's
    // form ("Imágenes (*.jpg *.bmp)"; see qtFileFilter).
    virtual QString openFile(QWidget* parent, const QString& title, const QString& filter,
                             const QString& directory) = 0;
    // The print dialog: true when the user chose a printer (set up in printer).
    virtual bool choosePrinter(QWidget* parent, QPrinter& printer) = 0;
    // user comes in as the one to offer first; true with user (and password) set, false when cancelled.
    virtual bool signIn(QWidget* parent, const SignIn& request, QString& user, QString& password) = 0;
};

// Real boxes (QMessageBox, QFileDialog).
class QtDialogService : public DialogService {
public:
    Answer message(QWidget* parent, const Box& box) override;
    QString openFile(QWidget* parent, const QString& title, const QString& filter,
                     const QString& directory) override;
    bool choosePrinter(QWidget* parent, QPrinter& printer) override;
    bool signIn(QWidget* parent, const SignIn& request, QString& user, QString& password) override;
};

// Records every box and answers from a script; with the script empty it
// answers each box with its default button. File dialogs answer from their
// own queue ("" when empty).
class ScriptedDialogService : public DialogService {
public:
    Answer message(QWidget* parent, const Box& box) override;
    QString openFile(QWidget* parent, const QString& title, const QString& filter,
                     const QString& directory) override;
    // Recorded as a box titled "Imprimir"; answers with the next queued PDF
    // file as the printer's output, or cancels when none is queued.
    bool choosePrinter(QWidget* parent, QPrinter& printer) override;
    // Recorded as a box with the request's title and, as its text, the user
    // offered first; answers with the next queued user and password, or
    // cancels when none is queued.
    bool signIn(QWidget* parent, const SignIn& request, QString& user, QString& password) override;

    void queueSignIn(const QString& user, const QString& password) { signIns_ << std::pair{user, password}; }
    void queuePrintFile(const QString& pdfPath) { printFiles_ << pdfPath; }
    void queueAnswer(Answer a) { answers_ << a; }
    void queueFile(const QString& path) { files_ << path; }
    const QList<Box>& boxes() const { return boxes_; }
    QStringList texts() const;
    void clear() { boxes_.clear(); }

private:
    QList<Answer> answers_;
    QStringList files_;
    QStringList printFiles_;
    QList<std::pair<QString, QString>> signIns_;
    QList<Box> boxes_;
};

// Converts the legacy filter "Imágenes (*.bmp;*.jpg)|*.bmp;*.jpg" to Qt's form.
QString qtFileFilter(const QString& legacyFilter);

} // namespace ui
