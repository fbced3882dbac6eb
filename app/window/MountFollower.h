#pragma once

#include <QObject>

#include <functional>
#include <set>
#include <string>
#include <vector>

class QSocketNotifier;

namespace korvex {

// Follows mounts and unmounts as they happen: the kernel flags the process's
// mount table when it changes, so nothing is polled. Each change is compared
// with the volume paths known before and told as mounted or unmounted paths.
class MountFollower : public QObject {
    Q_OBJECT
  public:
    using PathsSource = std::function<std::vector<std::string>()>;

    explicit MountFollower(PathsSource currentPaths, QObject* parent = nullptr);
    ~MountFollower() override;

    // Compares the current volume paths with the known ones and reports.
    void check();

  signals:
    void mounted(const QString& path);
    void unmounted(const QString& path);

  private:
    void rearm();

    PathsSource mCurrentPaths;
    std::set<std::string> mKnown;
    int mFd = -1;
    QSocketNotifier* mNotifier = nullptr;
};

}  // namespace korvex
