#include "ProcessRunner.h"

#include <QEventLoop>
#include <QProcess>
#include <QTimer>

namespace proc {

namespace {

// A line rewritten in place with '\r' (rsync --progress) is shown as the
// terminal would show it: its last state only.
QString visibleLine(QByteArray line) {
    if (line.endsWith('\r'))
        line.chop(1);
    const qsizetype cr = line.lastIndexOf('\r');
    if (cr >= 0)
        line = line.mid(cr + 1);
    return QString::fromUtf8(line);
}

} // namespace

ProcessRunner::ProcessRunner(QObject* parent) : QObject(parent) {}

ProcessRunner::~ProcessRunner() {
    cancel();
}

int ProcessRunner::run(const QString& program, const QStringList& arguments, const LineSink& onLine) {
    if (process_) {
        failure_ = tr("ya hay un programa en marcha");
        return NotStarted;
    }
    cancelled_ = false;
    failure_.clear();
    pending_.clear();
    sink_ = onLine;

    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.setInputChannelMode(QProcess::ManagedInputChannel);
    if (!workingDirectory_.isEmpty())
        process.setWorkingDirectory(workingDirectory_);

    QEventLoop loop;
    connect(&process, &QProcess::readyReadStandardOutput, this, [this] { drain(false); });
    connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    connect(&process, &QProcess::errorOccurred, &loop, [&loop, &process](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart || process.state() == QProcess::NotRunning)
            loop.quit();
    });

    process.start(program, arguments);
    // Only waits for exec() to succeed or fail, never for the program itself.
    if (!process.waitForStarted(-1)) {
        failure_ = tr("no se pudo iniciar %1: %2").arg(program, process.errorString());
        sink_ = nullptr;
        return NotStarted;
    }
    process.closeWriteChannel(); // tools that read stdin see its end instead of hanging

    process_ = &process;
    if (process.state() != QProcess::NotRunning)
        loop.exec(QEventLoop::AllEvents);
    drain(true);
    process_ = nullptr;
    sink_ = nullptr;

    if (cancelled_) {
        failure_ = tr("cancelado");
        return NotStarted;
    }
    if (process.exitStatus() == QProcess::CrashExit) {
        failure_ = tr("%1 terminó de forma anormal").arg(program);
        return NotStarted;
    }
    const int code = process.exitCode();
    if (code != 0)
        failure_ = tr("%1 terminó con el código %2").arg(program, QString::number(code));
    return code;
}

void ProcessRunner::cancel() {
    if (!process_ || process_->state() == QProcess::NotRunning)
        return;
    cancelled_ = true;
    process_->terminate();
    // A tool that ignores SIGTERM is killed shortly after.
    QProcess* p = process_;
    QTimer::singleShot(2000, p, [p] {
        if (p->state() != QProcess::NotRunning)
            p->kill();
    });
}

void ProcessRunner::drain(bool atEnd) {
    if (!process_)
        return;
    pending_ += process_->readAllStandardOutput();
    qsizetype start = 0;
    for (qsizetype nl = pending_.indexOf('\n'); nl >= 0; nl = pending_.indexOf('\n', start)) {
        const QString line = visibleLine(pending_.mid(start, nl - start));
        start = nl + 1;
        if (sink_)
            sink_(line);
    }
    pending_.remove(0, start);
    if (atEnd && !pending_.isEmpty()) {
        const QString line = visibleLine(pending_);
        pending_.clear();
        if (sink_ && !line.isEmpty())
            sink_(line);
    }
}

} // namespace proc
