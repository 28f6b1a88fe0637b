#include "Email.h"

#include "platform/mail/MailClient.h"
#include "shell/AppContext.h"
#include "shell/Services.h"

#include <QDir>
#include <QFileInfo>

namespace orb {

namespace {

void enviar(AppContext& ctx, QWidget* parent, const mail::Message& m, const QString& extra = {}) {
    mail::XdgEmailClient fallback;
    mail::MailClient& client = ctx.mail ? *ctx.mail : fallback;
    QString error;
    if (!client.compose(m, &error))
        MensajeError(*ctx.dialogs, error + extra, parent);
}

} // namespace

void EmailPara(AppContext& ctx, QWidget* parent, const QString& direccion, const QString& nombre) {
    if (direccion.trimmed().isEmpty())
        return;
    enviar(ctx, parent, {direccion.trimmed(), nombre, {}, {}, {}});
}

void EmailDossier(AppContext& ctx, QWidget* parent, const QString& asunto, const QString& texto,
                  const QString& fichero) {
    enviar(ctx, parent, {{}, {}, asunto, texto, fichero},
           QStringLiteral("\n\nEl documento está guardado en la carpeta %1")
               .arg(QDir::toNativeSeparators(QFileInfo(fichero).absolutePath())));
}

} // namespace orb
