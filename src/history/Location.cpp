#include "history/Location.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>
#include <QUrlQuery>

#include "history/SqlHistoryStore.h"

namespace history {

namespace {

DatabaseTarget SqliteTarget(const QString& path, bool createFolder) {
    DatabaseTarget target;
    target.driver = "QSQLITE";
    target.name = QFileInfo(path).absoluteFilePath().toStdString();
    target.description = target.name;
    target.createFolder = createFolder;
    return target;
}

DatabaseTarget Unusable(const std::string& location) {
    DatabaseTarget target;
    target.description = location;
    target.problem = "Not a history database location: " + location +
                     " (give a file, sqlite:FILE or postgresql://user@host/database)";
    return target;
}

DatabaseTarget PostgresTarget(const std::string& location) {
    const QUrl url(QString::fromStdString(location), QUrl::StrictMode);
    const QString database = url.path().mid(1);
    if (!url.isValid() || url.host().isEmpty() || database.isEmpty() || database.contains('/'))
        return Unusable(location);
    DatabaseTarget target;
    target.driver = "QPSQL";
    target.name = database.toStdString();
    target.host = url.host().toStdString();
    target.port = url.port();
    target.user = url.userName(QUrl::FullyDecoded).toStdString();
    target.password = url.password(QUrl::FullyDecoded).toStdString();
    QStringList options;
    for (const auto& [key, value] : QUrlQuery(url).queryItems(QUrl::FullyDecoded))
        options << key + '=' + value;
    target.options = options.join(';').toStdString();
    target.description =
        url.adjusted(QUrl::RemovePassword | QUrl::RemoveQuery).toString().toStdString();
    return target;
}

bool StartsWith(const std::string& text, const char* prefix) {
    return text.rfind(prefix, 0) == 0;
}

}  // namespace

std::string DefaultLocation() {
    QString base = qEnvironmentVariable("XDG_DATA_HOME");
    if (!QDir::isAbsolutePath(base))
        base = QDir::homePath() + QStringLiteral("/.local/share");
    return (base + QStringLiteral("/KYR/varnel/history.sqlite")).toStdString();
}

DatabaseTarget ParseLocation(const std::string& location) {
    if (location.empty())
        return SqliteTarget(QString::fromStdString(DefaultLocation()), true);
    if (StartsWith(location, "postgresql://") || StartsWith(location, "postgres://"))
        return PostgresTarget(location);
    if (StartsWith(location, "sqlite:")) {
        const std::string path = location.substr(7);
        return path.empty() ? Unusable(location)
                            : SqliteTarget(QString::fromStdString(path), false);
    }
    if (location.find("://") != std::string::npos)
        return Unusable(location);
    return SqliteTarget(QString::fromStdString(location), false);
}

std::string DescribeLocation(const std::string& location) {
    return ParseLocation(location).description;
}

std::unique_ptr<HistoryStore> OpenStore(const std::string& location) {
    return std::make_unique<SqlHistoryStore>(ParseLocation(location));
}

}  // namespace history
