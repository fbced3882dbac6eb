#include "platform/desktop/FileUris.h"

#include <QByteArray>
#include <QFile>
#include <QStringDecoder>

namespace korvex::platform {

namespace {

bool isValidUtf8(const QByteArray& bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    (void)decoder.decode(bytes);
    return !decoder.hasError();
}

}  // namespace

QUrl fileUrlForPath(const std::string& path) {
    const QByteArray bytes(path.data(), static_cast<qsizetype>(path.size()));
    if (isValidUtf8(bytes)) {
        return QUrl::fromLocalFile(QFile::decodeName(bytes));
    }
    // Decoding would turn the odd bytes into replacement characters and name
    // another file; keep the bytes instead.
    return QUrl::fromEncoded("file://" + bytes.toPercentEncoding("/"), QUrl::StrictMode);
}

QString fileUriForPath(const std::string& path) {
    return QString::fromLatin1(fileUrlForPath(path).toEncoded());
}

QStringList fileUrisForPaths(const std::vector<std::string>& paths) {
    QStringList uris;
    uris.reserve(static_cast<qsizetype>(paths.size()));
    for (const auto& path : paths) {
        uris.append(fileUriForPath(path));
    }
    return uris;
}

std::string parentFolderOf(const std::string& path) {
    std::string trimmed = path;
    while (trimmed.size() > 1 && trimmed.back() == '/') {
        trimmed.pop_back();
    }
    const auto slash = trimmed.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    if (slash == 0) {
        return "/";
    }
    return trimmed.substr(0, slash);
}

}  // namespace korvex::platform
