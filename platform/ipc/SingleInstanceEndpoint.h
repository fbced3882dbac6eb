#pragma once

#include <QObject>
#include <QStringList>

namespace korvex::platform {

class SingleInstance;

// The bus object the primary process exports; its slots are the methods
// later processes call.
class SingleInstanceEndpoint : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "com.halvorn.korvex.Instance")
  public:
    explicit SingleInstanceEndpoint(SingleInstance& owner) : mOwner(owner) {}

  public Q_SLOTS:
    void OpenFiles(const QStringList& paths);
    void Activate();

  private:
    SingleInstance& mOwner;
};

}  // namespace korvex::platform
