#include "browse/preview/PreviewWindow.h"

#include "browse/preview/PreviewImageView.h"
#include "browse/preview/PreviewLocalizable.h"
#include "scan/format/SizeFormatter.h"

#include <QApplication>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QMimeDatabase>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStackedWidget>
#include <QStyle>
#include <QTextDocument>
#include <QToolButton>
#include <QVBoxLayout>

namespace korvex {

namespace {

constexpr int kHeaderIcon = 32;
constexpr int kCardIcon = 128;

QColor mixed(const QColor& a, const QColor& b, double t) {
    return QColor::fromRgbF(static_cast<float>(a.redF() * (1 - t) + b.redF() * t),
                            static_cast<float>(a.greenF() * (1 - t) + b.greenF() * t),
                            static_cast<float>(a.blueF() * (1 - t) + b.blueF() * t));
}

QSize imageBounds() {
    // Decode no larger than the screen could show the window.
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return {2048, 2048};
    }
    const QSize available = screen->availableSize() * screen->devicePixelRatio();
    return available.boundedTo(QSize(4096, 4096)).expandedTo(QSize(512, 512));
}

QString plainName(const QString& name) {
    // Newlines and other control characters in names would break the layout.
    QString shown = name;
    for (auto& c : shown) {
        if (c.category() == QChar::Other_Control) {
            c = QChar(0xFFFD);
        }
    }
    return shown;
}

}  // namespace

PreviewWindow::PreviewWindow(QWidget* parent) : QWidget(parent, Qt::Tool) {
    setObjectName(QStringLiteral("previewWindow"));
    setWindowTitle(PreviewLocalizable::text(PreviewLocalizable::panelTitle));
    resize(720, 540);
    setMinimumSize(360, 280);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(buildHeader());

    mPages = new QStackedWidget(this);
    mPages->setObjectName(QStringLiteral("previewPages"));
    mImageView = new PreviewImageView(mPages);
    mTextView = new QPlainTextEdit(mPages);
    mTextView->setObjectName(QStringLiteral("previewText"));
    mTextView->setReadOnly(true);
    mTextView->setLineWrapMode(QPlainTextEdit::NoWrap);
    mTextView->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    mTextView->setFrameShape(QFrame::NoFrame);
    mTextView->document()->setDocumentMargin(14);
    mPages->addWidget(mImageView);
    mPages->addWidget(mTextView);
    mPages->addWidget(buildInfoCard());
    layout->addWidget(mPages, 1);

    mNote = new QLabel(this);
    mNote->setObjectName(QStringLiteral("previewNote"));
    mNote->setAlignment(Qt::AlignCenter);
    mNote->hide();
    layout->addWidget(mNote);

    // Keys belong to the window itself, so that they can be handed on.
    for (auto* child : findChildren<QWidget*>()) {
        child->setFocusPolicy(Qt::NoFocus);
    }
    setFocusPolicy(Qt::StrongFocus);
    applyPalette();
}

QWidget* PreviewWindow::buildHeader() {
    auto* header = new QWidget(this);
    header->setObjectName(QStringLiteral("previewHeader"));
    auto* row = new QHBoxLayout(header);
    row->setContentsMargins(14, 10, 10, 10);
    row->setSpacing(10);

    mIcon = new QLabel(header);
    mIcon->setFixedSize(kHeaderIcon, kHeaderIcon);
    row->addWidget(mIcon);

    auto* texts = new QVBoxLayout;
    texts->setSpacing(1);
    mTitle = new QLabel(header);
    mTitle->setObjectName(QStringLiteral("previewTitle"));
    mTitle->setTextFormat(Qt::PlainText);
    mTitle->setMinimumWidth(60);
    mSubtitle = new QLabel(header);
    mSubtitle->setObjectName(QStringLiteral("previewSubtitle"));
    mSubtitle->setTextFormat(Qt::PlainText);
    texts->addWidget(mTitle);
    texts->addWidget(mSubtitle);
    row->addLayout(texts, 1);

    mPrevious = new QToolButton(header);
    mPrevious->setArrowType(Qt::LeftArrow);
    mPrevious->setAutoRaise(true);
    mCounter = new QLabel(header);
    mCounter->setObjectName(QStringLiteral("previewSubtitle"));
    mNext = new QToolButton(header);
    mNext->setArrowType(Qt::RightArrow);
    mNext->setAutoRaise(true);
    row->addWidget(mPrevious);
    row->addWidget(mCounter);
    row->addWidget(mNext);
    connect(mPrevious, &QToolButton::clicked, this, &PreviewWindow::previousRequested);
    connect(mNext, &QToolButton::clicked, this, &PreviewWindow::nextRequested);
    setPosition(0, 1);

    mOpen = new QPushButton(PreviewLocalizable::text(PreviewLocalizable::openButton), header);
    mOpen->setObjectName(QStringLiteral("previewOpen"));
    connect(mOpen, &QPushButton::clicked, this, [this] {
        if (!mContent.path.empty()) {
            emit openRequested(mContent.path);
        }
    });
    row->addWidget(mOpen);
    return header;
}

QWidget* PreviewWindow::buildInfoCard() {
    mInfoCard = new QWidget(mPages);
    mInfoCard->setObjectName(QStringLiteral("previewCard"));
    auto* column = new QVBoxLayout(mInfoCard);
    column->setContentsMargins(24, 24, 24, 24);
    column->setSpacing(12);
    column->addStretch(1);
    mCardIcon = new QLabel(mInfoCard);
    mCardIcon->setAlignment(Qt::AlignCenter);
    mCardIcon->setMinimumHeight(kCardIcon);
    mCardName = new QLabel(mInfoCard);
    mCardName->setObjectName(QStringLiteral("previewCardName"));
    mCardName->setTextFormat(Qt::PlainText);
    mCardName->setAlignment(Qt::AlignCenter);
    mCardName->setWordWrap(true);
    mCardFacts = new QLabel(mInfoCard);
    mCardFacts->setObjectName(QStringLiteral("previewSubtitle"));
    mCardFacts->setTextFormat(Qt::PlainText);
    mCardFacts->setAlignment(Qt::AlignCenter);
    mCardFacts->setWordWrap(true);
    column->addWidget(mCardIcon);
    column->addWidget(mCardName);
    column->addWidget(mCardFacts);
    column->addStretch(1);
    return mInfoCard;
}

void PreviewWindow::showPath(const std::string& path) {
    showContent(loadPreviewContent(path, imageBounds()));
}

void PreviewWindow::showContent(PreviewContent content) {
    mContent = std::move(content);
    fillHeader();
    mNote->hide();
    switch (mContent.kind) {
        case PreviewContent::Kind::Image:
            mImageView->setImage(mContent.image);
            mTextView->clear();
            mPages->setCurrentWidget(mImageView);
            break;
        case PreviewContent::Kind::Text:
            mImageView->setImage({});
            mTextView->setPlainText(mContent.text);
            mPages->setCurrentWidget(mTextView);
            if (mContent.textTruncated) {
                mNote->setText(PreviewLocalizable::text(PreviewLocalizable::truncatedNote));
                mNote->show();
            }
            break;
        default:
            mImageView->setImage({});
            mTextView->clear();
            fillInfoCard();
            mPages->setCurrentWidget(mInfoCard);
            break;
    }
    mOpen->setEnabled(mContent.kind != PreviewContent::Kind::Missing);
    setWindowTitle(plainName(mContent.name));
}

void PreviewWindow::setPosition(int index, int count) {
    const bool several = count > 1;
    mCounter->setVisible(several);
    mPrevious->setVisible(several);
    mNext->setVisible(several);
    mCounter->setText(
        PreviewLocalizable::text(PreviewLocalizable::counterLabel).arg(index + 1).arg(count));
    mPrevious->setEnabled(index > 0);
    mNext->setEnabled(index + 1 < count);
}

QWidget* PreviewWindow::currentPage() const {
    return mPages->currentWidget();
}

QString PreviewWindow::sizeText() const {
    std::optional<std::int64_t> size;
    if (mSizeProvider) {
        size = mSizeProvider(mContent.path);
    }
    if (!size) {
        size = mContent.size;
    }
    if (!size || *size < 0) {
        return {};
    }
    return QString::fromStdString(formatMemoryStringDot1(static_cast<std::uint64_t>(*size)));
}

void PreviewWindow::fillHeader() {
    mIcon->setPixmap(iconFor(mContent).pixmap(kHeaderIcon, kHeaderIcon));
    mTitle->setText(plainName(mContent.name));
    QStringList parts;
    parts << mContent.kindName;
    if (const QString size = sizeText(); !size.isEmpty()) {
        parts << size;
    }
    if (mContent.kind == PreviewContent::Kind::Image && mContent.imageSourceSize.isValid()) {
        parts << QStringLiteral("%1 × %2")
                     .arg(mContent.imageSourceSize.width())
                     .arg(mContent.imageSourceSize.height());
    }
    if (mContent.modified.isValid()) {
        parts << QLocale().toString(mContent.modified, QLocale::ShortFormat);
    }
    parts.removeAll(QString());
    mSubtitle->setText(parts.join(QStringLiteral("  ·  ")));
}

void PreviewWindow::fillInfoCard() {
    mCardIcon->setPixmap(iconFor(mContent).pixmap(kCardIcon, kCardIcon));
    mCardName->setText(plainName(mContent.name));
    QStringList facts;
    using namespace PreviewLocalizable;
    if (mContent.kind == PreviewContent::Kind::Missing) {
        facts << text(missingItem);
    } else {
        facts << text(kindFact) + QStringLiteral(": ") + mContent.kindName;
        if (const QString size = sizeText(); !size.isEmpty()) {
            facts << text(sizeFact) + QStringLiteral(": ") + size;
        }
        if (mContent.folderItemCount) {
            facts << text(folderItems).arg(*mContent.folderItemCount);
        }
        if (mContent.modified.isValid()) {
            facts << text(modifiedFact) + QStringLiteral(": ") +
                         QLocale().toString(mContent.modified, QLocale::LongFormat);
        }
    }
    facts << text(whereFact) + QStringLiteral(": ") + plainName(mContent.folder);
    mCardFacts->setText(facts.join(QLatin1Char('\n')));
}

QIcon PreviewWindow::iconFor(const PreviewContent& content) const {
    const bool folder = content.kind == PreviewContent::Kind::Folder;
    const QIcon fallback = style()->standardIcon(folder ? QStyle::SP_DirIcon : QStyle::SP_FileIcon);
    if (content.mimeType.isEmpty()) {
        return fallback;
    }
    const QMimeType mime = QMimeDatabase().mimeTypeForName(content.mimeType);
    QIcon icon = QIcon::fromTheme(mime.iconName());
    if (icon.isNull()) {
        icon = QIcon::fromTheme(mime.genericIconName(), fallback);
    }
    return icon;
}

void PreviewWindow::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Space:
        case Qt::Key_Escape:
            emit closeRequested();
            event->accept();
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (!mContent.path.empty() && mContent.kind != PreviewContent::Kind::Missing) {
                emit openRequested(mContent.path);
            }
            event->accept();
            return;
        default:
            break;
    }
    if (mKeyHandler && mKeyHandler(event)) {
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void PreviewWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange && !mApplyingPalette) {
        applyPalette();
    }
}

void PreviewWindow::applyPalette() {
    // The look is derived from the palette, so dark and light themes both
    // get a matching header, content area and muted secondary text.
    mApplyingPalette = true;
    const QPalette pal = palette();
    const QColor window = pal.color(QPalette::Window);
    const QColor text = pal.color(QPalette::WindowText);
    const bool dark = window.lightness() < 128;
    const QColor content = dark ? mixed(window, Qt::black, 0.25) : mixed(window, Qt::white, 0.6);
    const QColor header = dark ? mixed(window, Qt::white, 0.06) : mixed(window, Qt::white, 0.3);
    const QColor border = mixed(window, text, 0.15);
    const QColor muted = mixed(window, text, 0.6);
    const QColor accent = pal.color(QPalette::Highlight);
    setStyleSheet(
        QStringLiteral("#previewWindow { background: %1; }"
                       "#previewHeader { background: %2; border-bottom: 1px solid %3; }"
                       "#previewTitle { font-weight: 600; font-size: 11pt; color: %4; }"
                       "#previewSubtitle, #previewNote { color: %5; }"
                       "#previewNote { padding: 4px; background: %2; border-top: 1px solid %3; }"
                       "#previewPages, #previewCard, #previewText { background: %1; color: %4; }"
                       "#previewCardName { font-weight: 600; font-size: 13pt; color: %4; }"
                       "#previewOpen { padding: 4px 14px; border-radius: 6px; border: 1px solid %3;"
                       " background: %2; color: %4; }"
                       "#previewOpen:hover { border-color: %6; }"
                       "#previewOpen:pressed { background: %6; color: %7; }")
            .arg(content.name(), header.name(), border.name(), text.name(), muted.name(),
                 accent.name(), pal.color(QPalette::HighlightedText).name()));
    mApplyingPalette = false;
}

}  // namespace korvex
