#pragma once
// Pixel helpers for the control tests: widgets are rendered to images and looked at.
#include <QColor>
#include <QImage>
#include <QRect>
#include <QWidget>

#include <cstdlib>

namespace controls_test {

inline QImage render(QWidget& widget) {
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

inline bool near(QRgb a, QRgb b, int tolerance) {
    return std::abs(qRed(a) - qRed(b)) <= tolerance &&
           std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
           std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

inline QRgb pixel(const QImage& image, int x, int y) {
    return image.pixel(x, y) & 0xFFFFFF;
}

// Bounding box of the pixels within `tolerance` of `colour`; null when there are none.
inline QRect boxOf(const QImage& image, QRgb colour, int tolerance = 4) {
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (near(image.pixel(x, y), colour, tolerance))
                box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

inline int countOf(const QImage& image, QRgb colour, int tolerance = 4) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (near(image.pixel(x, y), colour, tolerance))
                ++count;
        }
    }
    return count;
}

// Bounding box of the pixels that differ from `background` by more than `tolerance`.
inline QRect inkBox(const QImage& image, QRect area, QRgb background, int tolerance = 60) {
    QRect box;
    area &= image.rect();
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (!near(image.pixel(x, y), background, tolerance))
                box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

}  // namespace controls_test
