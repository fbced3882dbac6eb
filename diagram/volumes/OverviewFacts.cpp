#include "diagram/volumes/OverviewFacts.h"

#include "diagram/volumes/VolumesTableLocalizable.h"
#include "scan/format/PathUtils.h"
#include "scan/format/SizeFormatter.h"
#include "scan/targets/VolumeItem.h"

#include <QDateTime>
#include <QLocale>
#include <QRegularExpression>

#include <filesystem>

namespace korvex {

namespace {
QString tr(const platform::TextEntry& entry) {
    return QString::fromStdString(VolumesTableLocalizable::text(entry));
}

QString sizeText(std::int64_t bytes) {
    return QString::fromStdString(sizeString(bytes));
}

// The folder that holds the entry, home shown as "~"; the root is its own place.
QString whereText(const std::string& path) {
    std::filesystem::path parent = std::filesystem::path(path).parent_path();
    std::string where = parent.empty() ? path : parent.string();
    return QString::fromStdString(pathWithReplasingHomeFolderUsingTilda(where));
}
}  // namespace

QString overviewDateText(const std::optional<FileDate>& date) {
    if (!date) {
        return QStringLiteral("\u2014");
    }
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(date->time_since_epoch());
    QDateTime when = QDateTime::fromMSecsSinceEpoch(ms.count());
    // The locale's long date without the weekday and its short time without
    // seconds: "6 December 2026, 12:55".
    QLocale locale;
    QString dateFormat = locale.dateFormat(QLocale::LongFormat);
    dateFormat.remove(QRegularExpression(QStringLiteral("d{4}[,.]?\\s*")));
    QString timeFormat = locale.timeFormat(QLocale::ShortFormat);
    timeFormat.remove(QRegularExpression(QStringLiteral("[:.]ss?")));
    return locale.toString(when.date(), dateFormat.trimmed()) + QStringLiteral(", ") +
           locale.toString(when.time(), timeFormat);
}

std::vector<std::pair<QString, QString>> overviewFacts(const TopLevelItem& entry) {
    using namespace VolumesTableLocalizable;
    if (const auto* volume = dynamic_cast<const VolumeItem*>(&entry)) {
        QString type = volume->DAVolumeKind.empty() ? tr(kUnknown)
                                                    : QString::fromStdString(volume->DAVolumeKind);
        std::vector<std::pair<QString, QString>> facts = {
            {tr(kCapacity), sizeText(volume->getsize())},
            {tr(kUsed), sizeText(volume->getOccSize())},
            {tr(kAvailable), sizeText(volume->getfsize())}};
        if (volume->getReservedSize() > 0) {
            facts.emplace_back(tr(kReserved), sizeText(volume->getReservedSize()));
        }
        if (volume->getnodescount() > 0) {
            facts.emplace_back(tr(kItems), QLocale().toString(volume->getnodescount()));
        }
        facts.emplace_back(tr(kType), type);
        return facts;
    }
    return {{tr(kKind), tr(kFolderKind)},
            {tr(kCreated), overviewDateText(entry.getCreationDate())},
            {tr(kModified), overviewDateText(entry.getModificationDate())},
            {tr(kLastOpened), overviewDateText(entry.getLastAcccessDate())},
            {tr(kWhere), whereText(entry.getPath())}};
}

}  // namespace korvex
