#pragma once

#include <QStringList>
#include <QTemporaryDir>

// A stand-in `xdg-email` (and `xdg-mime` answering that a mail client is
// registered) put first on PATH; it records the arguments it was given. A
// stand-in `xdg-open` records the folders shown to the user.
class FakeMail {
public:
    explicit FakeMail(bool clientRegistered = true, int exitCode = 0);
    ~FakeMail();

    // Arguments of each call, in order.
    QList<QStringList> calls() const;
    // Folders opened with xdg-open, in order (it runs detached: wait for it).
    QStringList openedFolders() const;

private:
    QTemporaryDir dir_;
    QByteArray oldPath_;
};
