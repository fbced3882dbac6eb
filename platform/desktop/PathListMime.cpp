#include "platform/desktop/PathListMime.h"

#include "platform/desktop/FileUris.h"

#include <QDataStream>
#include <QIODevice>
#include <QList>
#include <QUrl>

namespace korvex::platform {

namespace {
// Bumped when the layout of the list changes; older data is refused.
constexpr quint32 kPathListVersion = 1;
}  // namespace

QByteArray encodePathList(const std::vector<std::string>& paths) {
    QByteArray data;
    QDataStream out(&data, QIODevice::WriteOnly);
    out << kPathListVersion << static_cast<quint32>(paths.size());
    for (const auto& path : paths)
        out << QByteArray(path.data(), static_cast<qsizetype>(path.size()));
    return data;
}

std::optional<std::vector<std::string>> decodePathList(const QByteArray& data) {
    if (data.isEmpty())
        return std::nullopt;
    QDataStream in(data);
    quint32 version = 0;
    quint32 count = 0;
    in >> version >> count;
    if (in.status() != QDataStream::Ok || version != kPathListVersion)
        return std::nullopt;
    std::vector<std::string> paths;
    for (quint32 i = 0; i < count; ++i) {
        QByteArray path;
        in >> path;
        if (in.status() != QDataStream::Ok)
            return std::nullopt;
        paths.emplace_back(path.constData(), static_cast<std::size_t>(path.size()));
    }
    if (!in.atEnd())
        return std::nullopt;
    return paths;
}

std::unique_ptr<QMimeData> mimeDataForPaths(const std::vector<std::string>& paths) {
    auto mime = std::make_unique<QMimeData>();
    QList<QUrl> urls;
    for (const auto& uri : fileUrisForPaths(paths))
        urls.append(QUrl(uri, QUrl::StrictMode));
    mime->setUrls(urls);
    QByteArray text;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        if (i)
            text += '\n';
        text += QByteArray(paths[i].data(), static_cast<qsizetype>(paths[i].size()));
    }
    mime->setText(QString::fromLocal8Bit(text));
    mime->setData(kKorvexDataMime, encodePathList(paths));
    return mime;
}

}  // namespace korvex::platform
