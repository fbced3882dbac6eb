#pragma once

#include <QImage>
#include <QWidget>

namespace korvex {

// Shows one image scaled to fit, centred, never enlarged beyond twice its
// size; transparent parts sit on a soft checkerboard.
class PreviewImageView : public QWidget {
    Q_OBJECT
  public:
    explicit PreviewImageView(QWidget* parent = nullptr);

    void setImage(QImage image);
    const QImage& image() const { return mImage; }
    // Where the image is drawn inside the widget.
    QRect imageRect() const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QImage mImage;
};

}  // namespace korvex
