#include "browse/preview/PreviewContent.h"

#include "browse/preview/PreviewLocalizable.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QMimeDatabase>
#include <QStringDecoder>

namespace korvex {

namespace {

QSize fittedSize(QSize source, QSize bounds) {
    if (!bounds.isValid() ||
        (source.width() <= bounds.width() && source.height() <= bounds.height())) {
        return source;
    }
    return source.scaled(bounds, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
}

bool readImage(const QString& file, QSize bounds, PreviewContent& content) {
    QImageReader reader(file);
    reader.setAutoTransform(true);
    if (!reader.canRead()) {
        return false;
    }
    const QSize source = reader.size();
    if (source.isValid()) {
        content.imageSourceSize = source;
        const QSize target = fittedSize(source, bounds);
        if (target != source) {
            reader.setScaledSize(target);
        }
    }
    QImage image = reader.read();
    if (image.isNull()) {
        return false;
    }
    if (!content.imageSourceSize.isValid()) {
        content.imageSourceSize = image.size();
    }
    const QSize target = fittedSize(image.size(), bounds);
    if (target != image.size()) {
        image = image.scaled(target, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }
    content.image = std::move(image);
    return true;
}

bool readText(const QString& file, PreviewContent& content) {
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly)) {
        return false;
    }
    const QByteArray bytes = in.read(kPreviewTextLimit);
    if (!looksLikeText(bytes)) {
        return false;
    }
    // A stateful decoder leaves out a character cut in half at the limit;
    // bytes that are not UTF-8 become replacement characters.
    QStringDecoder decoder(QStringDecoder::Utf8);
    content.text = decoder.decode(bytes);
    content.textTruncated = !in.atEnd();
    return true;
}

QString folderPart(const QFileInfo& info) {
    return QDir::toNativeSeparators(info.absolutePath());
}

}  // namespace

bool looksLikeText(const QByteArray& head) {
    const auto sample = head.left(8192);
    if (sample.contains('\0')) {
        return false;
    }
    qsizetype control = 0;
    for (const char c : sample) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 && byte != '\n' && byte != '\r' && byte != '\t' && byte != '\f' &&
            byte != 0x1b) {
            ++control;
        }
    }
    // A few stray control bytes occur in real text; many mean data.
    return control * 20 <= sample.size();
}

PreviewContent loadPreviewContent(const std::string& path, QSize bounds) {
    PreviewContent content;
    content.path = path;
    const QString file =
        QFile::decodeName(QByteArray(path.data(), static_cast<qsizetype>(path.size())));
    const QFileInfo info(file);
    content.name = info.fileName().isEmpty() ? file : info.fileName();
    content.folder = folderPart(info);
    if (!info.exists() && !info.isSymLink()) {
        content.kind = PreviewContent::Kind::Missing;
        content.kindName = PreviewLocalizable::text(PreviewLocalizable::missingItem);
        return content;
    }
    content.modified = info.lastModified();

    if (info.isDir()) {
        content.kind = PreviewContent::Kind::Folder;
        content.kindName = PreviewLocalizable::text(PreviewLocalizable::folderKind);
        content.mimeType = QStringLiteral("inode/directory");
        const QDir dir(file);
        if (dir.isReadable()) {
            content.folderItemCount = static_cast<int>(
                dir.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System)
                    .size());
        }
        return content;
    }

    content.size = info.size();
    const QMimeDatabase mimes;
    const QMimeType mime = mimes.mimeTypeForFile(info);
    content.mimeType = mime.name();
    content.kindName = mime.comment().isEmpty() ? mime.name() : mime.comment();
    if (!info.isFile()) {
        content.kind = PreviewContent::Kind::Other;  // devices, sockets, pipes: never read
        return content;
    }
    if (readImage(file, bounds, content)) {
        content.kind = PreviewContent::Kind::Image;
    } else if (readText(file, content)) {
        content.kind = PreviewContent::Kind::Text;
    } else {
        content.kind = PreviewContent::Kind::Other;
    }
    return content;
}

}  // namespace korvex
