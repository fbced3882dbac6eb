#include "browse/lists/ItemTexts.h"

#include "scan/format/SizeFormatter.h"

namespace korvex {

QString qtText(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString sizeText(std::int64_t bytes) {
    return qtText(stringFromSize(static_cast<std::uint64_t>(std::max<std::int64_t>(bytes, 0))));
}

QString lockMessageHtml(const FileSystemItem& item) {
    std::optional<LockMessage> message = lockMessageFor(selectionAvailability(item));
    if (!message) {
        return {};
    }
    EmphasisedText parts = splitEmphasis(message->text);
    auto html = [](const std::string& text) {
        return qtText(text).toHtmlEscaped().replace('\n', QStringLiteral("<br>"));
    };
    return html(parts.before) + QStringLiteral("<b>") + html(parts.emphasised) +
           QStringLiteral("</b>") + html(parts.after);
}

}  // namespace korvex
