#include "platform/desktop/DesktopPreviewer.h"
#include "platform/desktop/FileManagerService.h"
#include "platform/desktop/FileUris.h"
#include "preview/PreviewTestSupport.h"

#include <gtest/gtest.h>
#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusError>
#include <QDBusMessage>
#include <QObject>

#include <atomic>

namespace korvex {
namespace {

// A file manager on the test's private bus: records what it was asked, or
// refuses everything.
class FakeFileManager : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.FileManager1")
  public:
    QStringList shownUris;
    QStringList propertyUris;
    QString startupId = QStringLiteral("unset");
    int calls = 0;
    bool refuse = false;

  public slots:
    void ShowItems(const QStringList& uris, const QString& startup) {
        record(uris, startup, shownUris);
    }
    void ShowItemProperties(const QStringList& uris, const QString& startup) {
        record(uris, startup, propertyUris);
    }

  private:
    void record(const QStringList& uris, const QString& startup, QStringList& into) {
        ++calls;
        if (refuse) {
            sendErrorReply(QDBusError::Failed, QStringLiteral("no"));
            return;
        }
        into = uris;
        startupId = startup;
    }
};

class FakePreviewer : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.gnome.NautilusPreviewer")
  public:
    QString uri;
    int closes = 0;

  public slots:
    void ShowFile(const QString& fileUri, int /*window*/, bool /*closeIfShown*/) { uri = fileUri; }
    void Close() { ++closes; }
};

int nextConnection() {
    static std::atomic<int> counter{0};
    return ++counter;
}

// The service under test and the fake it talks to use two connections to
// the same private bus, so every call really crosses the bus daemon.
class DesktopServices : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!test::onPrivateBus()) {
            GTEST_SKIP() << "needs the private bus the test launcher starts";
        }
        const int n = nextConnection();
        clientName = QStringLiteral("client-%1").arg(n);
        serverName = QStringLiteral("server-%1").arg(n);
        client = std::make_unique<QDBusConnection>(
            QDBusConnection::connectToBus(QDBusConnection::SessionBus, clientName));
        server = std::make_unique<QDBusConnection>(
            QDBusConnection::connectToBus(QDBusConnection::SessionBus, serverName));
        ASSERT_TRUE(client->isConnected());
        ASSERT_TRUE(server->isConnected());
        service = std::make_unique<platform::FileManagerService>(*client);
        service->setReplyTimeout(3000);
        service->setPathOpener(
            [this](const std::string& path, const platform::FileManagerService::Opened& done) {
                opened.push_back(path);
                done(handlerOpens);
            });
    }
    void TearDown() override {
        service.reset();
        if (server) {
            server->unregisterService(
                QString::fromLatin1(platform::FileManagerService::kServiceName));
            server->unregisterService(
                QString::fromLatin1(platform::DesktopPreviewer::kServiceName));
        }
        client.reset();
        server.reset();
        QDBusConnection::disconnectFromBus(clientName);
        QDBusConnection::disconnectFromBus(serverName);
    }

    void registerFileManager() {
        ASSERT_TRUE(
            server->registerObject(QString::fromLatin1(platform::FileManagerService::kObjectPath),
                                   &fileManager, QDBusConnection::ExportAllSlots));
        ASSERT_TRUE(server->registerService(
            QString::fromLatin1(platform::FileManagerService::kServiceName)));
    }

    QString clientName, serverName;
    std::unique_ptr<QDBusConnection> client, server;
    std::unique_ptr<platform::FileManagerService> service;
    FakeFileManager fileManager;
    std::vector<std::string> opened;
    bool handlerOpens = true;
};

TEST_F(DesktopServices, RevealSendsExactUrisForOddNames) {
    registerFileManager();
    const std::vector<std::string> paths = {
        "/tmp/with space/a \"quoted\" 'name'.txt",
        "/tmp/hash#and%percent?.txt",
        "/tmp/line\nbreak",
        "/tmp/caf\xc3\xa9",
        "/tmp/bad\xff\xfe name",
    };
    ASSERT_TRUE(service->revealItems(paths));
    ASSERT_TRUE(test::spinUntil([&] { return fileManager.calls == 1; }));

    const QStringList expected = {
        QStringLiteral("file:///tmp/with%20space/a%20%22quoted%22%20'name'.txt"),
        QStringLiteral("file:///tmp/hash%23and%25percent%3F.txt"),
        QStringLiteral("file:///tmp/line%0Abreak"),
        QStringLiteral("file:///tmp/caf%C3%A9"),
        QStringLiteral("file:///tmp/bad%FF%FE%20name"),
    };
    EXPECT_EQ(fileManager.shownUris, expected);
    EXPECT_EQ(fileManager.startupId, QString());
    EXPECT_TRUE(opened.empty());
}

TEST(FileUris, LeadBackToTheSameBytes) {
    for (const std::string path : {"/tmp/bad\xff name", "/tmp/a%25b", "/tmp/#x?", "/", "/t/\xc3"}) {
        const QByteArray back = platform::fileUriForPath(path).toLatin1();
        ASSERT_TRUE(back.startsWith("file:///")) << path;
        EXPECT_EQ(QByteArray::fromPercentEncoding(back.mid(7)).toStdString(), path) << path;
    }
}

TEST(FileUris, OnlyWellFormedUtf8CountsAsUtf8) {
    EXPECT_TRUE(platform::isUtf8Path("/plain/caf\xc3\xa9/\xf0\x9f\x93\x81"));
    EXPECT_FALSE(platform::isUtf8Path("/overlong/\xc0\xaf"));
    EXPECT_FALSE(platform::isUtf8Path("/surrogate/\xed\xa0\x80"));
    EXPECT_FALSE(platform::isUtf8Path("/cut/\xe2\x82"));
    EXPECT_FALSE(platform::isUtf8Path("/stray/\x80"));
    EXPECT_EQ(platform::parentFolderOf("/a/b/"), "/a");
    EXPECT_EQ(platform::parentFolderOf("/a"), "/");
}

TEST_F(DesktopServices, WithoutFileManagerTheHoldingFoldersOpen) {
    int nothingOpened = 0;
    const auto tell = [&] { ++nothingOpened; };
    ASSERT_TRUE(service->revealItems({"/tmp/x/one", "/tmp/x/two", "/tmp/y z/three/"}, tell));
    EXPECT_EQ(opened, (std::vector<std::string>{"/tmp/x", "/tmp/y z"}));
    // A folder shows in the folder that holds it, the root in itself.
    opened.clear();
    ASSERT_TRUE(service->showItemProperties({"/tmp/x/folder/", "/"}, tell));
    EXPECT_EQ(opened, (std::vector<std::string>{"/tmp/x", "/"}));
    EXPECT_EQ(nothingOpened, 0);
    EXPECT_FALSE(service->revealItems({}, tell));
    EXPECT_FALSE(service->showItemProperties({}, tell));
    EXPECT_EQ(nothingOpened, 0);
}

TEST_F(DesktopServices, NothingToShowTheItemsIsToldOnce) {
    handlerOpens = false;
    int nothingOpened = 0;
    ASSERT_TRUE(service->revealItems({"/tmp/a/1", "/tmp/b/2"}, [&] { ++nothingOpened; }));
    EXPECT_EQ(opened.size(), 2u);
    EXPECT_EQ(nothingOpened, 1);

    // The same when a file manager is there but refuses.
    fileManager.refuse = true;
    registerFileManager();
    ASSERT_TRUE(service->showItemProperties({"/tmp/c/3"}, [&] { ++nothingOpened; }));
    ASSERT_TRUE(test::spinUntil([&] { return nothingOpened == 2; }));
    EXPECT_EQ(opened.back(), "/tmp/c");
}

TEST_F(DesktopServices, PropertiesGoToTheFileManager) {
    registerFileManager();
    bool toldRefused = false;
    ASSERT_TRUE(service->showItemProperties({"/tmp/p q", "/tmp/r"}, [&] { toldRefused = true; }));
    ASSERT_TRUE(test::spinUntil([&] { return fileManager.calls == 1; }));
    EXPECT_EQ(fileManager.propertyUris,
              (QStringList{QStringLiteral("file:///tmp/p%20q"), QStringLiteral("file:///tmp/r")}));
    test::spinUntil([] { return false; }, 100);
    EXPECT_FALSE(toldRefused);
    EXPECT_TRUE(opened.empty());
}

TEST_F(DesktopServices, PreviewerAnswersOnlyWhenOnTheBus) {
    platform::DesktopPreviewer previewer(*client);
    EXPECT_FALSE(previewer.isAvailable());
    EXPECT_FALSE(previewer.showFile("/tmp/a.png"));

    FakePreviewer fake;
    ASSERT_TRUE(server->registerObject(QString::fromLatin1(platform::DesktopPreviewer::kObjectPath),
                                       &fake, QDBusConnection::ExportAllSlots));
    ASSERT_TRUE(
        server->registerService(QString::fromLatin1(platform::DesktopPreviewer::kServiceName)));
    bool failed = false;
    EXPECT_TRUE(previewer.showFile("/tmp/a b.png", 0, [&] { failed = true; }));
    ASSERT_TRUE(test::spinUntil([&] { return !fake.uri.isEmpty(); }));
    EXPECT_EQ(fake.uri, QStringLiteral("file:///tmp/a%20b.png"));
    previewer.close();
    ASSERT_TRUE(test::spinUntil([&] { return fake.closes == 1; }));
    EXPECT_FALSE(failed);
}

}  // namespace
}  // namespace korvex

#include "DesktopServicesTest.moc"
