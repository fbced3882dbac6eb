#include "platform/desktop/FileManagerService.h"
#include "platform/desktop/PathListMime.h"
#include "preview/PreviewTestSupport.h"
#include "support/ScopedVariable.h"
#include "support/TempTree.h"

#include <gtest/gtest.h>
#include <QFile>
#include <QMimeData>
#include <QProcess>
#include <QUrl>

#include <cstdlib>
#include <fstream>
#include <optional>

namespace korvex {
namespace {

// An xdg-open of the test's own, first on PATH: it writes the argument it
// was given, byte for byte, and exits with a chosen status.
class FakeXdgOpen : public ::testing::Test {
  protected:
    void installExitingWith(int status) {
        const std::string script = bin.path("xdg-open");
        std::ofstream(script) << "#!/bin/sh\nprintf '%s' \"$1\" > '" << bin.path("asked")
                              << "'\nexit " << status << "\n";
        std::filesystem::permissions(script, std::filesystem::perms::owner_all);
    }
    std::string asked() const {
        QFile file(QString::fromStdString(bin.path("asked")));
        return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
    }
    // Opens through the default handler and waits for its answer.
    std::optional<bool> open(const std::string& path) {
        std::optional<bool> answer;
        if (!platform::FileManagerService::openWithDesktopHandler(
                path, [&](bool opened) { answer = opened; })) {
            return false;
        }
        test::spinUntil([&] { return answer.has_value(); });
        return answer;
    }

    test::TempTree bin;
    test::ScopedVariable searchPath{"PATH", bin.path() + ':' + std::getenv("PATH")};
};

TEST_F(FakeXdgOpen, TheHandlerGetsTheExactBytesAndItsAnswerIsTold) {
    installExitingWith(0);
    const std::string odd = "/tmp/caf\xE9 \"x\"\n\xFF dir";
    EXPECT_EQ(open(odd), true);
    EXPECT_EQ(asked(), odd);

    // xdg-open's "no method available for opening".
    installExitingWith(3);
    EXPECT_EQ(open("/tmp/folder"), false);
    EXPECT_EQ(asked(), "/tmp/folder");
}

TEST_F(FakeXdgOpen, WithoutAHandlerNothingOpens) {
    ::setenv("PATH", bin.path().c_str(), 1);
    EXPECT_FALSE(platform::FileManagerService::openWithDesktopHandler("/tmp", [](bool) {}));
    platform::FileManagerService service{QDBusConnection(QStringLiteral("korvex-no-bus"))};
    int nothingOpened = 0;
    EXPECT_TRUE(service.revealItems({"/tmp/a"}, [&] { ++nothingOpened; }));
    EXPECT_EQ(nothingOpened, 1);
}

// What a shell makes of the pasted text.
std::string shellWord(const std::string& text) {
    QProcess shell;
    shell.start(QStringLiteral("bash"),
                {QStringLiteral("-c"), QStringLiteral("printf %s ") + QString::fromUtf8(text)});
    shell.waitForFinished();
    return shell.readAllStandardOutput().toStdString();
}

TEST(PastablePaths, PlainNamesStayPlainAndOddOnesNameTheirBytes) {
    EXPECT_EQ(platform::pathAsPastableText("/home/u/caf\xC3\xA9 notes.txt"),
              "/home/u/caf\xC3\xA9 notes.txt");
    for (const std::string& odd :
         {std::string("/tmp/caf\xE9-\xFF.bin"), std::string("/tmp/two\nlines"),
          std::string("/tmp/it's \\ \xC3\xA9\x80")}) {
        const std::string text = platform::pathAsPastableText(odd);
        EXPECT_EQ(text.rfind("$'", 0), 0u) << text;
        EXPECT_TRUE(QString::fromUtf8(text).toUtf8().toStdString() == text)
            << "the text form is valid UTF-8";
        EXPECT_EQ(shellWord(text), odd);
    }
}

TEST(PastablePaths, CopiedDataCarriesTheBytesAsUrisAndText) {
    const std::string odd = "/tmp/caf\xE9-\xFF.bin";
    const auto mime = platform::mimeDataForPaths({odd, "/tmp/plain"});
    EXPECT_EQ(mime->data(QStringLiteral("text/uri-list")).toStdString(),
              "file:///tmp/caf%E9-%FF.bin\r\nfile:///tmp/plain\r\n");
    EXPECT_EQ(mime->text().toStdString(), "$'/tmp/caf\\xe9-\\xff.bin'\n/tmp/plain");
    ASSERT_EQ(mime->urls().size(), 2);
    EXPECT_EQ(QByteArray::fromPercentEncoding(mime->urls().front().toEncoded()).toStdString(),
              "file://" + odd);
}

}  // namespace
}  // namespace korvex
