#pragma once
// Windows keep the proportions of their dialog templates: positions and sizes given in
// dialog units are turned into pixels with the dialog font's metrics
// (x: units * average character width / 4, y: units * character height / 8).
#include <QFont>
#include <QRect>

// The dialog font: "ＭＳ Ｐゴシック" 9 pt when installed, else a Japanese Gothic font.
QFont dialogFont();

class DialogUnits {
  public:
    explicit DialogUnits(const QFont& font = dialogFont());
    int x(int units) const;
    int y(int units) const;
    QRect rect(int left, int top, int width, int height) const;
    int averageCharWidth() const { return charWidth_; }
    int charHeight() const { return charHeight_; }

  private:
    int charWidth_;
    int charHeight_;
};
