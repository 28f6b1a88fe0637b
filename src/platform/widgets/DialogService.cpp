#include "DialogService.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <tuple>

namespace ui {

namespace {

QMessageBox::StandardButton toStandard(DialogService::Answer a) {
    switch (a) {
    case DialogService::Answer::Ok:
        return QMessageBox::Ok;
    case DialogService::Answer::Cancel:
        return QMessageBox::Cancel;
    case DialogService::Answer::Yes:
        return QMessageBox::Yes;
    case DialogService::Answer::No:
        return QMessageBox::No;
    case DialogService::Answer::Retry:
        return QMessageBox::Retry;
    }
    return QMessageBox::Ok;
}

} // namespace

DialogService::Answer QtDialogService::message(QWidget* parent, const Box& box) {
    QMessageBox mb(parent);
    mb.setText(box.text);
    mb.setWindowTitle(box.title);
    switch (box.icon) {
    case Icon::None:
        mb.setIcon(QMessageBox::NoIcon);
        break;
    case Icon::Critical:
        mb.setIcon(QMessageBox::Critical);
        break;
    case Icon::Question:
        mb.setIcon(QMessageBox::Question);
        break;
    case Icon::Exclamation:
        mb.setIcon(QMessageBox::Warning);
        break;
    case Icon::Information:
        mb.setIcon(QMessageBox::Information);
        break;
    }
    QMessageBox::StandardButtons buttons;
    switch (box.buttons) {
    case Buttons::Ok:
        buttons = QMessageBox::Ok;
        break;
    case Buttons::OkCancel:
        buttons = QMessageBox::Ok | QMessageBox::Cancel;
        break;
    case Buttons::YesNo:
        buttons = QMessageBox::Yes | QMessageBox::No;
        break;
    case Buttons::YesNoCancel:
        buttons = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        break;
    case Buttons::RetryCancel:
        buttons = QMessageBox::Retry | QMessageBox::Cancel;
        break;
    }
    mb.setStandardButtons(buttons);
    mb.setDefaultButton(toStandard(box.defaultButton));
    switch (mb.exec()) {
    case QMessageBox::Cancel:
        return Answer::Cancel;
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    case QMessageBox::Retry:
        return Answer::Retry;
    case QMessageBox::Ok:
        return Answer::Ok;
    default:
        // Closed with Escape or the close box: the safe answer.
        return box.buttons == Buttons::YesNo ? Answer::No
               : box.buttons == Buttons::Ok  ? Answer::Ok
                                             : Answer::Cancel;
    }
}

QString QtDialogService::openFile(QWidget* parent, const QString& title, const QString& filter,
                                  const QString& directory) {
    QFileDialog dialog(parent, title, directory, filter);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

bool QtDialogService::choosePrinter(QWidget* parent, QPrinter& printer) {
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(QCoreApplication::translate("ui::DialogService", "Imprimir"));
    return dialog.exec() == QDialog::Accepted;
}

bool QtDialogService::signIn(QWidget* parent, const SignIn& request, QString& user, QString& password) {
    QDialog dialog(parent);
    dialog.setWindowTitle(request.title);
    auto* form = new QFormLayout(&dialog);
    if (!request.text.isEmpty())
        form->addRow(new QLabel(request.text, &dialog));
    auto* usuario = new QComboBox(&dialog);
    usuario->setEditable(request.editable);
    usuario->addItems(request.users);
    usuario->setCurrentText(user);
    usuario->setAccessibleName(QCoreApplication::translate("ui::DialogService", "Agente"));
    auto* etiquetaUsuario = new QLabel(QCoreApplication::translate("ui::DialogService", "&Agente:"), &dialog);
    etiquetaUsuario->setBuddy(usuario);
    form->addRow(etiquetaUsuario, usuario);
    QLineEdit* clave = nullptr;
    if (request.askPassword) {
        clave = new QLineEdit(&dialog);
        clave->setEchoMode(QLineEdit::Password);
        clave->setAccessibleName(QCoreApplication::translate("ui::DialogService", "Contraseña"));
        auto* etiquetaClave =
            new QLabel(QCoreApplication::translate("ui::DialogService", "&Contraseña:"), &dialog);
        etiquetaClave->setBuddy(clave);
        form->addRow(etiquetaClave, clave);
    }
    auto* botones = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    botones->button(QDialogButtonBox::Ok)
        ->setText(QCoreApplication::translate("ui::DialogService", "Aceptar"));
    botones->button(QDialogButtonBox::Cancel)
        ->setText(QCoreApplication::translate("ui::DialogService", "Cancelar"));
    QObject::connect(botones, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(botones, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    form->addRow(botones);
    // The password is what the agent types first when the name is already there.
    if (clave && !user.isEmpty())
        clave->setFocus();
    if (dialog.exec() != QDialog::Accepted)
        return false;
    user = usuario->currentText().trimmed();
    password = clave ? clave->text() : QString();
    return true;
}

bool ScriptedDialogService::signIn(QWidget*, const SignIn& request, QString& user, QString& password) {
    boxes_ << Box{user, request.title, Buttons::OkCancel, Icon::Question, Answer::Ok};
    if (signIns_.isEmpty())
        return false;
    std::tie(user, password) = signIns_.takeFirst();
    return true;
}

bool ScriptedDialogService::choosePrinter(QWidget*, QPrinter& printer) {
    boxes_ << Box{QString(), QCoreApplication::translate("ui::DialogService", "Imprimir"), Buttons::OkCancel,
                  Icon::None, Answer::Ok};
    if (printFiles_.isEmpty())
        return false;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(printFiles_.takeFirst());
    return true;
}

DialogService::Answer ScriptedDialogService::message(QWidget*, const Box& box) {
    boxes_ << box;
    if (answers_.isEmpty())
        return box.defaultButton;
    return answers_.takeFirst();
}

QString ScriptedDialogService::openFile(QWidget*, const QString& title, const QString& filter,
                                        const QString&) {
    boxes_ << Box{title, filter, Buttons::OkCancel, Icon::None, Answer::Ok};
    return files_.isEmpty() ? QString() : files_.takeFirst();
}

QStringList ScriptedDialogService::texts() const {
    QStringList out;
    for (const Box& b : boxes_)
        out << b.text;
    return out;
}

QString qtFileFilter(const QString& legacyFilter) {
    const QStringList parts = legacyFilter.split(u'|');
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString label = parts[i];
        const QString patterns = parts[i + 1];
        const int paren = label.indexOf(u'(');
        if (paren >= 0)
            label = label.left(paren).trimmed();
        out << QStringLiteral("%1 (%2)").arg(label, QString(patterns).replace(u';', u' '));
    }
    return out.join(QStringLiteral(";;"));
}

} // namespace ui
