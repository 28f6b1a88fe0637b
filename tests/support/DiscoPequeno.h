#pragma once

#include <QString>
#include <QtTest>

// A small tmpfs mounted on a folder for the life of the object, so that a
// test meets a really full disk (ENOSPC from the kernel, not a fake). Mounting
// needs the right to (root, as the test command runs here and in CI); where
// it is refused the test skips with the reason, even under CI=true.
class DiscoPequeno {
public:
    DiscoPequeno(const QString& carpeta, qint64 bytes);
    ~DiscoPequeno(); // unmounts (lazily, should a file still be open)
    DiscoPequeno(const DiscoPequeno&) = delete;
    DiscoPequeno& operator=(const DiscoPequeno&) = delete;

    bool montado() const { return montado_; }
    QString motivo() const { return motivo_; }

    // Takes every free byte with a file that no folder shows (open, then
    // unlinked), so the folder's listing stays what the test made; vaciar()
    // gives the space back.
    void llenar();
    void vaciar();
    qint64 libre() const;

private:
    QString carpeta_;
    bool montado_ = false;
    QString motivo_;
    int relleno_ = -1;
};

#define ORB_REQUIRE_SMALL_DISK(var, carpeta, bytes)                                                          \
    DiscoPequeno var(carpeta, bytes);                                                                        \
    if (!var.montado())                                                                                      \
    QSKIP(qPrintable(var.motivo()))
