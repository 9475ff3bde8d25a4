#pragma once

#include <QByteArray>
#include <QString>

namespace report {

struct FileOutcome {
    bool written = false;
    QString reason;  // the system's reason when it was not written
};

// Writes a rendered report file so that a failure leaves any existing file as it was.
FileOutcome WriteOutputFile(const QString& path, const QByteArray& bytes);

}  // namespace report
