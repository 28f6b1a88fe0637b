#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

class QProcess;

namespace proc {

// Runs an external program and waits for it without freezing the windows:
// the wait is a local event loop, so the caller's window repaints, its log
// grows and a cancel button still answers. The program is started directly
// with its argument list (no shell), so no argument is ever re-parsed.
class ProcessRunner : public QObject {
    Q_OBJECT
public:
    using LineSink = std::function<void(const QString&)>;

    static constexpr int NotStarted = -1;

    explicit ProcessRunner(QObject* parent = nullptr);
    ~ProcessRunner() override;

    // Defaults to the caller's current directory.
    void setWorkingDirectory(const QString& dir) { workingDirectory_ = dir; }

    // Runs program with arguments and returns its exit code. Standard output
    // and error reach onLine as whole lines, in the order the program wrote
    // them (a carriage-return progress line keeps only its last state).
    // A program that cannot be started returns NotStarted at once; one that
    // was cancelled or crashed returns NotStarted too (see cancelled()).
    int run(const QString& program, const QStringList& arguments, const LineSink& onLine = {});

    bool isRunning() const { return process_ != nullptr; }
    // True when the last run ended because of cancel().
    bool cancelled() const { return cancelled_; }
    // A readable reason when the last run did not end by itself with code 0
    // ("no se pudo iniciar", a crash, a cancel); empty otherwise.
    QString failure() const { return failure_; }

public Q_SLOTS:
    // Stops the running program (terminate, then kill); run() then returns.
    // Call it from the thread that called run(), e.g. from a button.
    void cancel();

private:
    void drain(bool atEnd);

    QString workingDirectory_;
    QProcess* process_ = nullptr;
    LineSink sink_;
    QByteArray pending_;
    bool cancelled_ = false;
    QString failure_;
};

} // namespace proc
