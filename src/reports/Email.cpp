#include "Email.h"

#include "platform/mail/MailClient.h"
#include "shell/AppContext.h"
#include "shell/Mensajes.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace orb {

namespace {

// False when the mail client could not take the message (the user was told).
bool enviar(AppContext& ctx, QWidget* parent, const mail::Message& m, const QString& extra = {},
            const QString& carpeta = {}) {
    mail::XdgEmailClient fallback;
    mail::MailClient& client = ctx.mail ? *ctx.mail : fallback;
    QString error;
    if (client.compose(m, &error))
        return true;
    MensajeError(*ctx.dialogs, error + extra, parent);
    // The file is ready: show where it is, to be attached by hand.
    if (!carpeta.isEmpty())
        client.showFolder(carpeta);
    return false;
}

} // namespace

void EmailPara(AppContext& ctx, QWidget* parent, const QString& direccion, const QString& nombre) {
    if (direccion.trimmed().isEmpty())
        return;
    enviar(ctx, parent, {direccion.trimmed(), nombre, {}, {}, {}, {}});
}

void EmailDossier(AppContext& ctx, QWidget* parent, const QString& asunto, const QString& texto,
                  const QString& fichero) {
    const QString carpeta = QFileInfo(fichero).absolutePath();
    enviar(ctx, parent, {{}, {}, asunto, texto, fichero, {}},
           QCoreApplication::translate("Email", "\n\nEl documento está guardado en la carpeta %1")
               .arg(QDir::toNativeSeparators(carpeta)),
           carpeta);
}

} // namespace orb

namespace orb {

bool EmailConDocumento(AppContext& ctx, QWidget* parent, const QString& direccion, const QString& nombre,
                       const QString& asunto, const QString& texto, const QString& fichero) {
    const QString carpeta = QFileInfo(fichero).absolutePath();
    return enviar(ctx, parent, {direccion.trimmed(), nombre, asunto, texto, fichero, {}},
                  QCoreApplication::translate("Email", "\n\nEl documento está guardado en la carpeta %1")
                      .arg(QDir::toNativeSeparators(carpeta)),
                  carpeta);
}

} // namespace orb
