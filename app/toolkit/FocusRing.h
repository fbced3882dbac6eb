#pragma once

#include <QPointer>
#include <QWidget>

#include <vector>

namespace korvex {

// A ring drawn around whichever control of one window holds the keyboard
// focus: two strokes, the highlight outside and the highlighted text inside,
// so that it shows on light and dark backgrounds and on controls filled with
// the highlight alike. It lies over the window, above every control, and
// follows the focused one when it or any of its parents moves or resizes.
class FocusRing : public QWidget {
    Q_OBJECT
  public:
    explicit FocusRing(QWidget* window);
    ~FocusRing() override;

    // The control the ring is drawn around, if any.
    QWidget* target() const { return mTarget; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    void follow(QWidget* focused);
    void place();
    void unwatch();

    QPointer<QWidget> mTarget;
    std::vector<QPointer<QWidget>> mWatched;  // the target and its parents
};

}  // namespace korvex
