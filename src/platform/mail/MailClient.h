#pragma once

#include <QString>
#include <QStringList>

namespace mail {

// A message prepared for the user's mail client, which shows it to be
// completed and sent. Every part is optional.
struct Message {
    QString toAddress;
    QString toName;
    QString subject;
    QString body;
    QString attachment;      // full path
    QStringList attachments; // further files, full paths, after attachment
};

class MailClient {
public:
    virtual ~MailClient() = default;
    // Opens the message in the mail client. False with a Spanish reason when
    // no mail client could be started.
    virtual bool compose(const Message& message, QString* error) = 0;
    // Opens a folder in the file manager, so the user can attach a file by
    // hand when no mail client could take it. False when nothing could be started.
    virtual bool showFolder(const QString& folder) = 0;
};

// Hands the message to `xdg-email --utf8`, found on PATH.
class XdgEmailClient : public MailClient {
public:
    bool compose(const Message& message, QString* error) override;
    // Through `xdg-open`, found on PATH; it is not waited for.
    bool showFolder(const QString& folder) override;

    // The command line arguments for a message (without the program).
    static QStringList arguments(const Message& message);
};

// "Nombre <direccion>", the display name quoted as mail headers need it
// (commas, quotes and the like), line breaks removed; the bare address when
// there is no name.
QString formatRecipient(const QString& name, const QString& address);

} // namespace mail
