#pragma once

#include "diagram/ChangeScale.h"

#include <QWidget>

namespace korvex {

// The key of the comparison colours over the diagram: a bar from the
// biggest shrinkage through no change to the biggest growth, with its sizes.
class ChangeLegend : public QWidget {
    Q_OBJECT
  public:
    explicit ChangeLegend(QWidget* parent = nullptr);

    void setScale(const ChangeScale& scale, const QString& title);
    QString title() const { return mTitle; }
    // The texts under the bar: left, middle and right.
    QStringList labels() const;
    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    ChangeScale mScale{1, false};
    QString mTitle;
};

}  // namespace korvex
