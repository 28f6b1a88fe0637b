#include "FakeMail.h"

#include <QFile>
#include <QTextStream>

namespace {

void writeScript(const QString& path, const QString& body) {
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(body.toUtf8());
    f.close();
    f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

} // namespace

FakeMail::FakeMail(bool clientRegistered, int exitCode) {
    writeScript(dir_.filePath("xdg-email"),
                QStringLiteral("#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\" >> '%1/calls'; done\n"
                               "echo '--' >> '%1/calls'\nexit %2\n")
                    .arg(dir_.path())
                    .arg(exitCode));
    writeScript(dir_.filePath("xdg-mime"), clientRegistered
                                               ? QStringLiteral("#!/bin/sh\necho thunderbird.desktop\n")
                                               : QStringLiteral("#!/bin/sh\nexit 0\n"));
    writeScript(dir_.filePath("xdg-open"),
                QStringLiteral("#!/bin/sh\nprintf '%s\\n' \"$1\" >> '%1/opened'\n").arg(dir_.path()));
    oldPath_ = qgetenv("PATH");
    qputenv("PATH", dir_.path().toLocal8Bit() + ':' + oldPath_);
}

FakeMail::~FakeMail() {
    qputenv("PATH", oldPath_);
}

QList<QStringList> FakeMail::calls() const {
    QFile f(dir_.filePath("calls"));
    QList<QStringList> out;
    if (!f.open(QIODevice::ReadOnly))
        return out;
    QStringList current;
    for (const QString& line : QString::fromUtf8(f.readAll()).split(u'\n', Qt::SkipEmptyParts)) {
        if (line == u"--") {
            out << current;
            current.clear();
        } else {
            current << line;
        }
    }
    return out;
}

QStringList FakeMail::openedFolders() const {
    QFile f(dir_.filePath("opened"));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll()).split(u'\n', Qt::SkipEmptyParts);
}
