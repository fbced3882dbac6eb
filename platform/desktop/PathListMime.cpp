#include "platform/desktop/PathListMime.h"

#include "platform/desktop/FileUris.h"

#include <QDataStream>
#include <QIODevice>

#include <algorithm>

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

std::string pathAsPastableText(const std::string& path) {
    const bool plain = isUtf8Path(path) && std::none_of(path.begin(), path.end(), [](char c) {
                           return static_cast<unsigned char>(c) < 0x20 || c == 0x7f;
                       });
    if (plain)
        return path;
    std::string quoted = "$'";
    for (std::size_t i = 0; i < path.size();) {
        const auto byte = static_cast<unsigned char>(path[i]);
        const std::size_t length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
        if (byte >= 0x80 && i + length <= path.size() && isUtf8Path(path.substr(i, length))) {
            quoted += path.substr(i, length);
            i += length;
            continue;
        }
        if (byte == '\'' || byte == '\\') {
            quoted += '\\';
            quoted += static_cast<char>(byte);
        } else if (byte < 0x20 || byte >= 0x7f) {
            static constexpr char kHex[] = "0123456789abcdef";
            quoted += "\\x";
            quoted += kHex[byte >> 4];
            quoted += kHex[byte & 0xF];
        } else {
            quoted += static_cast<char>(byte);
        }
        ++i;
    }
    return quoted + "'";
}

std::unique_ptr<QMimeData> mimeDataForPaths(const std::vector<std::string>& paths) {
    auto mime = std::make_unique<QMimeData>();
    // Written as bytes: a QUrl would turn a name that is not UTF-8 into
    // replacement characters.
    QByteArray uriList;
    for (const auto& uri : fileUrisForPaths(paths))
        uriList += uri.toLatin1() + "\r\n";
    mime->setData(QStringLiteral("text/uri-list"), uriList);
    std::string text;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        if (i)
            text += '\n';
        text += pathAsPastableText(paths[i]);
    }
    mime->setText(QString::fromStdString(text));
    mime->setData(kKorvexDataMime, encodePathList(paths));
    return mime;
}

}  // namespace korvex::platform
