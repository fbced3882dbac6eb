#include "window/MainWindowFixture.h"

#include "app/toolkit/Appearance.h"

#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QImage>
#include <QLineEdit>
#include <QStyleOptionViewItem>

#include <algorithm>
#include <cmath>
#include <map>

namespace korvex {
namespace {

// Relative luminance and contrast ratio as the accessibility guidelines
// define them; 3:1 is their floor for the parts of a control.
double luminance(QRgb pixel) {
    auto channel = [](int value) {
        const double v = value / 255.0;
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(qRed(pixel)) + 0.7152 * channel(qGreen(pixel)) +
           0.0722 * channel(qBlue(pixel));
}

double contrast(QRgb a, QRgb b) {
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// How far the strongest pixel of `area` stands out from the area's commonest
// colour, its background: a control nobody can see stays near 1.
double strongestContrast(const QImage& image, const QRect& area) {
    std::map<QRgb, int> counts;
    const QRect inside = area.intersected(image.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x) {
            ++counts[image.pixel(x, y) | 0xff000000u];
        }
    }
    if (counts.empty()) {
        return 0;
    }
    const auto commonest =
        std::max_element(counts.begin(), counts.end(),
                         [](const auto& a, const auto& b) { return a.second < b.second; });
    const QRgb background = commonest->first;
    double strongest = 1;
    for (const auto& [colour, count] : counts) {
        strongest = std::max(strongest, contrast(colour, background));
    }
    return strongest;
}

class AppearanceContrastTest : public MainWindowTest, public ::testing::WithParamInterface<int> {
  protected:
    void TearDown() override { Appearance::setStoredType(1); }

    QRect inWindow(const QWidget* widget, const QRect& area) const {
        return QRect(widget->mapTo(&window, area.topLeft()), area.size());
    }
};

TEST_P(AppearanceContrastTest, EveryControlStandsOutOfItsBackground) {
    // The appearance changes under a window already open, as from the menu.
    showSized({1366, 768});
    ASSERT_NO_FATAL_FAILURE(scanTree());
    Appearance::setStoredType(static_cast<unsigned long long>(GetParam()));
    // A tick in the list shows the checked box beside unchecked ones.
    FolderColumnView* column = contents().folderColumns().column(0);
    ASSERT_NE(column, nullptr);
    ASSERT_GE(column->model()->rowCount(), 2);
    column->model()->setData(column->model()->index(0, 0), Qt::Checked, Qt::CheckStateRole);
    waitFor([] { return false; }, 300ms);
    const QImage shot = window.grab().toImage();

    int sampled = 0;
    auto expectVisible = [&](const QWidget* widget, const QRect& area, const QString& what) {
        ++sampled;
        EXPECT_GE(strongestContrast(shot, inWindow(widget, area)), 3.0)
            << what.toStdString() << " in appearance " << GetParam();
    };
    for (QAbstractButton* button : window.findChildren<QAbstractButton*>()) {
        // Dimmed on purpose while they cannot be used.
        if (button->isVisible() && button->isEnabled() && !button->window()->isHidden() &&
            button->window() == &window) {
            expectVisible(button, button->rect(),
                          button->text().isEmpty() ? button->objectName() : button->text());
        }
    }
    for (QLineEdit* field : window.findChildren<QLineEdit*>()) {
        if (field->isVisible() && field->isEnabled()) {
            expectVisible(field, field->rect(), "field " + field->placeholderText());
        }
    }
    // The check box of a ticked and of an unticked row.
    for (int row = 0; row < 2; ++row) {
        const QRect check = checkIndicatorRect(column, column->model()->index(row, 0));
        ASSERT_TRUE(check.isValid());
        expectVisible(column->viewport(), check, QStringLiteral("check box of row %1").arg(row));
    }
    EXPECT_GE(sampled, 6) << "the window's controls were not found";
}

INSTANTIATE_TEST_SUITE_P(LightAndDark, AppearanceContrastTest, ::testing::Values(1, 2));

}  // namespace
}  // namespace korvex
