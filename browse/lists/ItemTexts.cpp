#include "browse/lists/ItemTexts.h"

#include "scan/format/ItemNotes.h"
#include "scan/format/SizeFormatter.h"

namespace korvex {

QString qtText(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString sizeText(std::int64_t bytes) {
    return qtText(sizeString(bytes));
}

QString detailsHtml(const FileSystemItem& item) {
    auto html = [](const std::string& text) {
        return qtText(text).toHtmlEscaped().replace('\n', QStringLiteral("<br>"));
    };
    QString note = html(itemNote(item).value_or(""));
    std::optional<LockMessage> message = lockMessageFor(selectionAvailability(item));
    if (!message) {
        return note;
    }
    EmphasisedText parts = splitEmphasis(message->text);
    QString lock = html(parts.before) + QStringLiteral("<b>") + html(parts.emphasised) +
                   QStringLiteral("</b>") + html(parts.after);
    return note.isEmpty() ? lock : note + QStringLiteral("<br><br>") + lock;
}

}  // namespace korvex
