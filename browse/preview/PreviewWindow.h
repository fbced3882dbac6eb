#pragma once

#include "browse/preview/PreviewContent.h"

#include <QWidget>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QStackedWidget;
class QToolButton;

namespace korvex {

class PreviewImageView;

// The built-in preview: a tool window with the item's icon, name and facts
// in a header, and below it the picture, the beginning of the text, or a
// card describing the item. Colours follow the application's palette.
class PreviewWindow : public QWidget {
    Q_OBJECT
  public:
    // The scanned size of an item when the caller knows it (folders have no
    // size of their own on disk).
    using SizeProvider = std::function<std::optional<std::int64_t>(const std::string&)>;

    explicit PreviewWindow(QWidget* parent = nullptr);

    void showContent(PreviewContent content);
    void showPath(const std::string& path);
    const PreviewContent& content() const { return mContent; }

    // "2 of 5"; hidden with a single item.
    void setPosition(int index, int count);
    void setSizeProvider(SizeProvider provider) { mSizeProvider = std::move(provider); }
    // Key presses other than Space, Escape and Return; answers whether handled.
    void setKeyHandler(std::function<bool(QKeyEvent*)> handler) {
        mKeyHandler = std::move(handler);
    }

    PreviewImageView* imageView() const { return mImageView; }
    QPlainTextEdit* textView() const { return mTextView; }
    QWidget* currentPage() const;

  signals:
    void closeRequested();
    void openRequested(const std::string& path);
    void previousRequested();
    void nextRequested();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    QWidget* buildHeader();
    QWidget* buildInfoCard();
    void applyPalette();
    void fillHeader();
    void fillInfoCard();
    QIcon iconFor(const PreviewContent& content) const;
    QString sizeText() const;

    PreviewContent mContent;
    SizeProvider mSizeProvider;
    std::function<bool(QKeyEvent*)> mKeyHandler;

    QLabel* mIcon = nullptr;
    QLabel* mTitle = nullptr;
    QLabel* mSubtitle = nullptr;
    QLabel* mCounter = nullptr;
    QToolButton* mPrevious = nullptr;
    QToolButton* mNext = nullptr;
    QPushButton* mOpen = nullptr;
    QStackedWidget* mPages = nullptr;
    PreviewImageView* mImageView = nullptr;
    QPlainTextEdit* mTextView = nullptr;
    QWidget* mInfoCard = nullptr;
    QLabel* mCardIcon = nullptr;
    QLabel* mCardName = nullptr;
    QLabel* mCardFacts = nullptr;
    QLabel* mNote = nullptr;
    bool mApplyingPalette = false;
};

}  // namespace korvex
