#include "platform/desktop/FileUris.h"

#include <QByteArray>
#include <QFile>
#include <QUrl>

namespace korvex::platform {

namespace {

QByteArray rawBytes(const std::string& path) {
    return QByteArray(path.data(), static_cast<qsizetype>(path.size()));
}

}  // namespace

bool isUtf8Path(const std::string& path) {
    // Qt's decoders do not report every invalid sequence, so check by hand:
    // no stray continuation bytes, overlong forms, surrogates or values past
    // U+10FFFF.
    const auto* bytes = reinterpret_cast<const unsigned char*>(path.data());
    const std::size_t size = path.size();
    for (std::size_t i = 0; i < size;) {
        const unsigned char lead = bytes[i];
        std::size_t length = 0;
        char32_t value = 0;
        if (lead < 0x80) {
            ++i;
            continue;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            value = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            value = lead & 0x0F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            value = lead & 0x07;
        } else {
            return false;
        }
        if (i + length > size) {
            return false;
        }
        for (std::size_t k = 1; k < length; ++k) {
            if ((bytes[i + k] & 0xC0) != 0x80) {
                return false;
            }
            value = (value << 6) | (bytes[i + k] & 0x3F);
        }
        if ((length == 3 && value < 0x800) || (length == 4 && value < 0x10000) ||
            value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
            return false;
        }
        i += length;
    }
    return true;
}

QString fileUriForPath(const std::string& path) {
    const QByteArray bytes = rawBytes(path);
    if (isUtf8Path(path)) {
        return QString::fromLatin1(QUrl::fromLocalFile(QFile::decodeName(bytes)).toEncoded());
    }
    // Decoding would name another file; the same characters as QUrl are left
    // as they are, every other byte is encoded.
    return QStringLiteral("file://") +
           QString::fromLatin1(bytes.toPercentEncoding("/!$&'()*+,;=:@~"));
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
