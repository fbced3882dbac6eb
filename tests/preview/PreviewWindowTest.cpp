#include "browse/preview/PreviewContent.h"
#include "browse/preview/PreviewImageView.h"
#include "browse/preview/PreviewWindow.h"
#include "support/TempTree.h"

#include <gtest/gtest.h>
#include <QImage>
#include <QImageWriter>
#include <QPlainTextEdit>

#include <sys/stat.h>

#include <fstream>

namespace korvex {
namespace {

std::string writeBytes(const test::TempTree& tree, const std::string& name,
                       const std::string& bytes) {
    std::ofstream(tree.path(name), std::ios::binary) << bytes;
    return tree.path(name);
}

std::string writePng(const test::TempTree& tree, const std::string& name, QSize size,
                     QColor colour) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    const std::string path = tree.path(name);
    EXPECT_TRUE(image.save(QString::fromStdString(path), "PNG"));
    return path;
}

class BuiltInPreview : public ::testing::Test {
  protected:
    void SetUp() override {
        window.resize(640, 480);
        window.show();
    }
    test::TempTree tree;
    PreviewWindow window;
};

TEST_F(BuiltInPreview, PictureIsDrawnWithItsOwnPixels) {
    const auto path = writePng(tree, "red square.png", QSize(64, 48), QColor(200, 30, 40));
    window.showPath(path);

    ASSERT_EQ(window.content().kind, PreviewContent::Kind::Image);
    EXPECT_EQ(window.currentPage(), window.imageView());
    EXPECT_EQ(window.content().imageSourceSize, QSize(64, 48));

    const QImage shown = window.imageView()->grab().toImage();
    const QRect drawn = window.imageView()->imageRect();
    ASSERT_FALSE(drawn.isEmpty());
    EXPECT_EQ(shown.pixelColor(drawn.center()).rgb(), QColor(200, 30, 40).rgb());
    // Scaled to fit but never distorted.
    EXPECT_NEAR(double(drawn.width()) / drawn.height(), 64.0 / 48.0, 0.05);
    EXPECT_NE(shown.pixelColor(2, 2).rgb(), QColor(200, 30, 40).rgb());
}

TEST_F(BuiltInPreview, LargePictureIsDecodedAtTheReducedSize) {
    const auto path = writePng(tree, "wide.png", QSize(3000, 1000), QColor(10, 120, 220));
    const PreviewContent content = loadPreviewContent(path, QSize(600, 600));
    ASSERT_EQ(content.kind, PreviewContent::Kind::Image);
    EXPECT_EQ(content.imageSourceSize, QSize(3000, 1000));
    EXPECT_LE(content.image.width(), 600);
    EXPECT_NEAR(content.image.width() / double(content.image.height()), 3.0, 0.05);
    EXPECT_EQ(content.image.pixelColor(content.image.rect().center()).rgb(),
              QColor(10, 120, 220).rgb());
}

TEST_F(BuiltInPreview, TextWithInvalidUtf8IsShownWithReplacementCharacters) {
    const auto path =
        writeBytes(tree, "notes.txt", "first line caf\xc3\xa9\nbad \xff\xfe bytes\nlast\n");
    window.showPath(path);

    ASSERT_EQ(window.content().kind, PreviewContent::Kind::Text);
    EXPECT_EQ(window.currentPage(), window.textView());
    const QString shown = window.textView()->toPlainText();
    EXPECT_TRUE(shown.startsWith(QStringLiteral("first line caf\u00e9")));
    EXPECT_TRUE(shown.contains(QChar(0xFFFD)));
    EXPECT_TRUE(shown.contains(QStringLiteral("last")));
    EXPECT_FALSE(window.content().textTruncated);
}

TEST_F(BuiltInPreview, LongTextIsCutWithoutSplittingACharacter) {
    // Two-byte characters, so the cut falls in the middle of one.
    std::string text;
    while (text.size() < static_cast<std::size_t>(kPreviewTextLimit) + 1001) {
        text += "\xc3\xa9";
    }
    const auto path = writeBytes(tree, "long.txt", "x" + text);

    const PreviewContent content = loadPreviewContent(path, QSize(100, 100));
    ASSERT_EQ(content.kind, PreviewContent::Kind::Text);
    EXPECT_TRUE(content.textTruncated);
    EXPECT_FALSE(content.text.contains(QChar(0xFFFD)));
    EXPECT_EQ(content.text.size(), 1 + (kPreviewTextLimit - 1) / 2);
}

TEST_F(BuiltInPreview, BinaryFileIsDescribedNotDumped) {
    std::string bytes = "MAGIC-HEADER";
    for (int i = 0; i < 4096; ++i) {
        bytes.push_back(static_cast<char>(i % 256));
    }
    window.showPath(writeBytes(tree, "blob.bin", bytes));

    EXPECT_EQ(window.content().kind, PreviewContent::Kind::Other);
    EXPECT_NE(window.currentPage(), window.textView());
    EXPECT_TRUE(window.textView()->toPlainText().isEmpty());
    ASSERT_TRUE(window.content().size.has_value());
    EXPECT_EQ(*window.content().size, static_cast<std::int64_t>(bytes.size()));
}

TEST(TextSniffing, ControlBytesDecideBetweenTextAndData) {
    EXPECT_TRUE(looksLikeText("plain words\twith tabs\r\n"));
    EXPECT_TRUE(looksLikeText(QByteArray()));
    EXPECT_FALSE(looksLikeText(QByteArray("abc\0def", 7)));
    EXPECT_FALSE(looksLikeText("\x01\x02\x03\x04\x05 abc"));
}

TEST_F(BuiltInPreview, FolderAndMissingItemGetACard) {
    tree.file("box/a", 10);
    tree.file("box/.hidden", 10);
    tree.folder("box/inner");
    window.showPath(tree.path("box"));
    EXPECT_EQ(window.content().kind, PreviewContent::Kind::Folder);
    EXPECT_EQ(window.content().folderItemCount, 3);
    EXPECT_FALSE(window.content().size.has_value());

    window.setSizeProvider([](const std::string&) { return std::optional<std::int64_t>(5000); });
    window.showPath(tree.path("gone\nwith \"quotes\""));
    EXPECT_EQ(window.content().kind, PreviewContent::Kind::Missing);
    EXPECT_NE(window.currentPage(), window.imageView());
    EXPECT_FALSE(window.windowTitle().contains(QLatin1Char('\n')));
}

TEST_F(BuiltInPreview, SpecialFileIsNeverRead) {
    const auto fifo = tree.path("pipe");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    // Reading a pipe with no writer would hang here.
    const PreviewContent content = loadPreviewContent(fifo, QSize(100, 100));
    EXPECT_EQ(content.kind, PreviewContent::Kind::Other);
}

}  // namespace
}  // namespace korvex
