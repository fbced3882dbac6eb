#pragma once

#include "diagram/RadialController.h"

#include <QFrame>

class QLabel;

namespace korvex {

// The floating panel beside the pointer: title, size with its caption, path.
class DiagramHintPanel : public QFrame {
    Q_OBJECT
  public:
    explicit DiagramHintPanel(QWidget* parent = nullptr);

    // Shows the content with its top-left corner `distance` below and right
    // of `globalPoint`.
    void showContent(const HintContent& content, QPoint globalPoint, int distance);
    QString titleText() const;
    QString sizeText() const;
    QString captionText() const;
    QString pathText() const;
    QString noteText() const;

  private:
    QLabel* mTitle;
    QLabel* mCaption;
    QLabel* mSize;
    QLabel* mPath;
    QLabel* mNote;
};

}  // namespace korvex
