// Listening on a channel: the notices other sessions send, read as they
// arrive without the caller ever waiting on the socket.

#include "Connection.h"

#include <libpq-fe.h>

namespace pg {

void Connection::listen(const QString& channel) {
    const QByteArray nombre = channel.toUtf8();
    char* citado = PQescapeIdentifier(conn_, nombre.constData(), size_t(nombre.size()));
    if (!citado)
        fail(nullptr);
    const QString sql = QStringLiteral("LISTEN ") + QString::fromUtf8(citado);
    PQfreemem(citado);
    execute(sql);
}

int Connection::socket() const {
    return PQsocket(conn_);
}

QList<Notification> Connection::takeNotifications() {
    // Reads whatever the socket holds without blocking; a closed socket or a
    // terminated session shows here as a connection gone bad.
    if (PQconsumeInput(conn_) != 1 || PQstatus(conn_) != CONNECTION_OK)
        throw PgError(Causa::ConexionPerdida, {}, scrub(QString::fromUtf8(PQerrorMessage(conn_)).trimmed()));
    QList<Notification> out;
    while (PGnotify* n = PQnotifies(conn_)) {
        out << Notification{QString::fromUtf8(n->relname), QString::fromUtf8(n->extra), n->be_pid};
        PQfreemem(n);
    }
    return out;
}

} // namespace pg
