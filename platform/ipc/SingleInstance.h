#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

namespace korvex::platform {

class SingleInstanceEndpoint;

// Keeps one application process per user session. The first process owns a
// well-known bus name and serves requests from later ones: a later process
// hands over the folders it was started with (or asks for the window to be
// raised) and then exits. Without a session bus every process runs alone.
class SingleInstance : public QObject {
    Q_OBJECT
  public:
    enum class Role {
        Unclaimed,  // claim() not called yet
        Primary,    // this process owns the name and serves the others
        Secondary,  // another process owns it: hand over and exit
        Alone,      // no bus: run on its own
    };

    using OpenFilesHandler = std::function<void(const QStringList& paths)>;
    using ActivateHandler = std::function<void()>;

    static constexpr const char* kServiceName = "com.halvorn.korvex";
    static constexpr const char* kObjectPath = "/com/halvorn/korvex/Instance";
    static constexpr const char* kInterface = "com.halvorn.korvex.Instance";

    explicit SingleInstance(const QDBusConnection& connection = QDBusConnection::sessionBus(),
                            const QString& serviceName = QString::fromLatin1(kServiceName),
                            QObject* parent = nullptr);
    ~SingleInstance() override;

    // Tries to own the name; answers (and keeps) the role this process got.
    Role claim();
    Role role() const { return mRole; }

    // For a Secondary: gives `paths` to the primary process, or asks it to
    // raise its window when there are none. Waits up to `timeoutMs` for the
    // answer (serving this thread's events meanwhile) and answers whether the
    // primary took the request; when it did not, the caller may run alone.
    bool handOver(const QStringList& paths, int timeoutMs = 5000);

    // Called on this object's thread when another process hands over.
    void setOpenFilesHandler(OpenFilesHandler handler) { mOpenFiles = std::move(handler); }
    void setActivateHandler(ActivateHandler handler) { mActivate = std::move(handler); }

  private:
    friend class SingleInstanceEndpoint;
    void openFilesRequested(const QStringList& paths);
    void activateRequested();
    void release();

    QDBusConnection mConnection;
    QString mServiceName;
    Role mRole = Role::Unclaimed;
    std::unique_ptr<SingleInstanceEndpoint> mEndpoint;
    OpenFilesHandler mOpenFiles;
    ActivateHandler mActivate;
};

}  // namespace korvex::platform
