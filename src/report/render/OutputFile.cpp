#include "OutputFile.h"

#include <QFile>
#include <string_view>

#include "platform/AtomicFile.h"

namespace report {

FileOutcome WriteOutputFile(const QString& path, const QByteArray& bytes) {
    const platform::WriteResult result = platform::WriteFileAtomically(
        QFile::encodeName(path).toStdString(),
        std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
    return {result.ok, QString::fromStdString(result.reason)};
}

}  // namespace report
