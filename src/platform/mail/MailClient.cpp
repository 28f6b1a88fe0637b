#include "MailClient.h"

#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>

namespace mail {

namespace {

QString oneLine(QString s) {
    s.replace(u'\r', u' ');
    s.replace(u'\n', u' ');
    return s.trimmed();
}

// Waits for a helper command without freezing the window: events keep running.
bool runAndWait(QProcess& p, int timeoutMs) {
    if (!p.waitForStarted(5000))
        return false;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const bool finished = p.waitForFinished(timeoutMs);
    QGuiApplication::restoreOverrideCursor();
    return finished;
}

} // namespace

QString formatRecipient(const QString& name, const QString& address) {
    const QString addr = oneLine(address);
    QString display = oneLine(name);
    if (display.isEmpty())
        return addr;
    static const QString special = QStringLiteral("()<>[]:;@\\,.\"");
    bool needsQuotes = false;
    for (const QChar c : display)
        if (special.contains(c))
            needsQuotes = true;
    if (needsQuotes) {
        display.replace(u'\\', QStringLiteral("\\\\"));
        display.replace(u'"', QStringLiteral("\\\""));
        display = u'"' + display + u'"';
    }
    return display + QStringLiteral(" <") + addr + u'>';
}

QStringList XdgEmailClient::arguments(const Message& m) {
    QStringList args{QStringLiteral("--utf8")};
    if (!m.subject.isEmpty())
        args << QStringLiteral("--subject") << oneLine(m.subject);
    if (!m.body.isEmpty())
        args << QStringLiteral("--body") << m.body;
    if (!m.attachment.isEmpty())
        args << QStringLiteral("--attach") << m.attachment;
    for (const QString& file : m.attachments)
        if (!file.isEmpty())
            args << QStringLiteral("--attach") << file;
    if (!m.toAddress.trimmed().isEmpty())
        args << formatRecipient(m.toName, m.toAddress);
    return args;
}

bool XdgEmailClient::compose(const Message& message, QString* error) {
    const QString noClient = QCoreApplication::translate(
        "mail::XdgEmailClient",
        "No se ha podido abrir el programa de correo. Compruebe que hay un programa de correo "
        "instalado y configurado como predeterminado en este equipo.");
    const QString program = QStandardPaths::findExecutable(QStringLiteral("xdg-email"));
    if (program.isEmpty()) {
        if (error)
            *error = noClient;
        return false;
    }
    // xdg-email falls back to a web browser when no mail client is registered;
    // say so plainly instead.
    const QString xdgMime = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (!xdgMime.isEmpty()) {
        QProcess q;
        q.start(xdgMime, {QStringLiteral("query"), QStringLiteral("default"),
                          QStringLiteral("x-scheme-handler/mailto")});
        if (runAndWait(q, 10000) && q.exitCode() == 0 && q.readAllStandardOutput().trimmed().isEmpty()) {
            if (error)
                *error = noClient;
            return false;
        }
    }
    QProcess p;
    p.start(program, arguments(message));
    if (!runAndWait(p, 60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        if (error) {
            const QString detail = QString::fromLocal8Bit(p.readAllStandardError()).trimmed();
            *error = detail.isEmpty() ? noClient : noClient + QStringLiteral("\n\n") + detail;
        }
        return false;
    }
    return true;
}

bool XdgEmailClient::showFolder(const QString& folder) {
    const QString program = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (program.isEmpty() || folder.isEmpty())
        return false;
    return QProcess::startDetached(program, {folder});
}

} // namespace mail
