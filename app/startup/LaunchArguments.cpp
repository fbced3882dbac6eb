#include "app/startup/LaunchArguments.h"

#include <QFile>
#include <QUrl>

namespace korvex {

std::vector<std::string> foldersFromArguments(const QStringList& arguments) {
    std::vector<std::string> folders;
    bool optionsEnded = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (!optionsEnded && argument == QStringLiteral("--")) {
            optionsEnded = true;
            continue;
        }
        if (argument.isEmpty() || (!optionsEnded && argument.startsWith(QLatin1Char('-')))) {
            continue;
        }
        if (argument.contains(QStringLiteral("://"))) {
            const QUrl url(argument);
            if (url.isLocalFile()) {
                folders.push_back(QFile::encodeName(url.toLocalFile()).toStdString());
            }
            continue;
        }
        folders.push_back(QFile::encodeName(argument).toStdString());
    }
    return folders;
}

}  // namespace korvex
