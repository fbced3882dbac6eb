#include "app/startup/AppStartupDelegate.h"

#include "app/startup/LaunchProtocol.h"
#include "platform/UserFolders.h"
#include "platform/dispatch/MainQueue.h"

#include <filesystem>
#include <system_error>

namespace korvex {
namespace {

QString q(const char* text) {
    return QString::fromLatin1(text);
}

// Compares folders regardless of trailing separators and "." parts.
std::string normalFolder(const std::string& path) {
    std::string normal = std::filesystem::path(path).lexically_normal().string();
    while (normal.size() > 1 && normal.back() == '/') {
        normal.pop_back();
    }
    return normal;
}

}  // namespace

AppStartupDelegate::AppStartupDelegate(ScanRequestTarget& treeController,
                                       StartScanningInLaunchedAppManager& manager,
                                       std::string homeFolder)
    : mTreeController(treeController), mManager(manager), mHomeFolder(std::move(homeFolder)) {}

AppStartupDelegate::AppStartupDelegate(ScanRequestTarget& treeController)
    : AppStartupDelegate(treeController, StartScanningInLaunchedAppManager::shared(),
                         platform::UserFolders::current().home()) {}

AppStartupDelegate::~AppStartupDelegate() {
    *mAlive = false;
    mManager.setStartScaningBlock({});
    mManager.setSelectSegmentBlock({});
}

void AppStartupDelegate::tellOtherApplicationsThatAppStarted() {
    mManager.setStartScaningBlock([this](const QVariantMap& userInfo) { startScanning(userInfo); });
    mManager.setSelectSegmentBlock(
        [this](const QVariantMap& userInfo) { selectSegment(userInfo); });
    mManager.appWithTypeDidFinishLaunching(launch::kKorvexAppType);
}

void AppStartupDelegate::startScanning(const QVariantMap& userInfo) {
    platform::MainQueue::shared().async([this, alive = std::weak_ptr<bool>(mAlive), userInfo] {
        if (alive.expired()) {
            return;
        }
        if (userInfo.contains(q(launch::kHomeKey))) {
            mTreeController.startHomeFolder();
            return;
        }
        const auto path = userInfo.constFind(q(launch::kPathToScanKey));
        if (path != userInfo.cend()) {
            const std::string folder = path->toString().toStdString();
            if (isHomeFolder(folder)) {
                mTreeController.softStartHomeFolder(userInfo.contains(q(launch::kSoftRescanKey)));
            } else {
                mTreeController.doScanFolder(folder);
            }
            return;
        }
        // No request of its own: the answer to a launch by a sibling.
        mTreeController.startScanRootVolume();
    });
}

void AppStartupDelegate::selectSegment(const QVariantMap& userInfo) {
    QString segment = userInfo.value(q(launch::kSelectSegmentKey)).toString();
    segment.remove(QStringLiteral("selectSegment:"));
    if (segment == QStringLiteral("selectBiggest")) {
        mTreeController.switchToBiggestTab();
    }
}

bool AppStartupDelegate::application(QCoreApplication* /*sender*/, const std::string& openFile) {
    std::error_code error;
    if (!openFile.empty() && std::filesystem::is_directory(openFile, error)) {
        mTreeController.doScanFolder(openFile);
    } else if (!openFile.empty() && std::filesystem::is_regular_file(openFile, error)) {
        mTreeController.openScanFile(openFile);
    }
    return true;
}

void AppStartupDelegate::application(QCoreApplication* /*sender*/,
                                     const std::vector<std::string>& openFiles) {
    platform::MainQueue::shared().after(
        mOpenFilesDelay, [this, alive = std::weak_ptr<bool>(mAlive), openFiles] {
            if (alive.expired()) {
                return;
            }
            std::vector<std::string> folders;
            std::vector<std::string> files;
            for (const std::string& path : openFiles) {
                std::error_code error;
                if (path.empty()) {
                    continue;
                }
                (std::filesystem::is_regular_file(path, error) ? files : folders).push_back(path);
            }
            if (!folders.empty() || files.empty()) {
                mTreeController.addFoldersAndScanFirst(folders);
            }
            // Scan files open after the folders,
            // so the last one opened stays shown.
            for (const std::string& file : files) {
                mTreeController.openScanFile(file);
            }
        });
}

bool AppStartupDelegate::isHomeFolder(const std::string& path) const {
    return !path.empty() && !mHomeFolder.empty() && normalFolder(path) == normalFolder(mHomeFolder);
}

}  // namespace korvex
