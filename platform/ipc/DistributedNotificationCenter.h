#pragma once

#include "platform/dispatch/ObserverRegistry.h"

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <QVariantMap>

#include <cstdint>
#include <functional>

class QDBusMessage;

namespace korvex::platform {

// One notification as it travels between processes.
struct DistributedNotification {
    QString name;
    QString object;
    QVariantMap userInfo;
};

// Notifications between processes of the same user, carried as one D-Bus
// signal on the session bus that every observing process listens to (the
// posting process included). Nothing is queued or coalesced: a post goes out
// at once and observers are called as soon as it arrives. Handlers run on the
// thread that created the center, which must run a Qt event loop (the main
// thread). Without a bus the center stays usable and does nothing.
class DistributedNotificationCenter : public QObject {
    Q_OBJECT
  public:
    using Handler = std::function<void(const DistributedNotification&)>;
    using Token = std::uint64_t;

    static constexpr const char* kObjectPath = "/com/halvorn/DistributedNotifications";
    static constexpr const char* kInterface = "com.halvorn.DistributedNotifications";
    static constexpr const char* kSignal = "Posted";

    // The session bus center of this process, made on first use.
    static DistributedNotificationCenter& shared();

    explicit DistributedNotificationCenter(const QDBusConnection& connection,
                                           QObject* parent = nullptr);
    ~DistributedNotificationCenter() override;

    bool isConnected() const { return mConnected; }

    // Answers whether the notification left the process. User-info values that
    // D-Bus cannot carry (invalid variants) are left out.
    bool post(const QString& name, const QString& object = {}, const QVariantMap& userInfo = {});

    // An empty `object` observes every object of that name.
    Token addObserver(const QString& name, const QString& object, Handler handler);
    void removeObserver(Token token);

  private Q_SLOTS:
    void receive(const QDBusMessage& message);

  private:
    // The name observed and the object it is limited to (empty: any).
    struct ObservedKey {
        QString name;
        QString object;
    };

    void deliver(const DistributedNotification& notification);

    QDBusConnection mConnection;
    bool mConnected = false;
    ObserverRegistry<ObservedKey, DistributedNotification> mObservers;
};

}  // namespace korvex::platform
