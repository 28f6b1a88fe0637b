#pragma once

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QTimer>
#include <functional>

// Plays the user's part on modal dialogs: while it lives, each modal dialog
// of type Dlg that shows is handed to actuar once, from inside its modal loop,
// as a person would find it on the screen.
template <typename Dlg = QDialog> class ModalUser {
public:
    explicit ModalUser(std::function<void(Dlg*)> actuar) : actuar_(std::move(actuar)) {
        timer_.setInterval(10);
        QObject::connect(&timer_, &QTimer::timeout, [this] { mirar(); });
        timer_.start();
    }
    ModalUser(const ModalUser&) = delete;
    ModalUser& operator=(const ModalUser&) = delete;

    int vistos() const { return vistos_; }

private:
    void mirar() {
        auto* d = qobject_cast<Dlg*>(QApplication::activeModalWidget());
        if (!d || !d->isVisible() || ultimo_ == d)
            return;
        ultimo_ = d;
        // The same dialog shown again later is a new showing.
        QObject::connect(
            d, &QDialog::finished, &timer_, [this] { ultimo_ = nullptr; }, Qt::SingleShotConnection);
        ++vistos_;
        actuar_(d);
    }

    std::function<void(Dlg*)> actuar_;
    QTimer timer_;
    QPointer<Dlg> ultimo_;
    int vistos_ = 0;
};

// Runs inspeccion on the next modal window of any kind as soon as it is up,
// then closes it (for windows a test only looks at).
inline void alAbrirseModal(std::function<void(QWidget*)> inspeccion) {
    auto* t = new QTimer;
    t->setInterval(10);
    QObject::connect(t, &QTimer::timeout, t, [t, inspeccion] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        t->stop();
        t->deleteLater();
        inspeccion(modal);
        if (QApplication::activeModalWidget() == modal)
            modal->close();
    });
    t->start();
}
