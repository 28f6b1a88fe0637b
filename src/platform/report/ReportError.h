#pragma once

#include <QCoreApplication>
#include <QString>
#include <stdexcept>

namespace report {

// A report that cannot be loaded, generated or written. The message is the
// text shown to the user, in the interface's language, and names the layout file or the output.
class ReportError : public std::runtime_error {
public:
    explicit ReportError(const QString& message)
        : std::runtime_error(message.toStdString()), message_(message) {}
    const QString& message() const { return message_; }

private:
    QString message_;
};

// Generation stopped by its progress callback.
class ReportCancelled : public ReportError {
public:
    ReportCancelled()
        : ReportError(QCoreApplication::translate("report::ReportError", "Informe cancelado.")) {}
};

} // namespace report
