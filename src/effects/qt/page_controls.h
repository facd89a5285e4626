#pragma once
// Small pieces the settings pages need beyond the stock widgets: static text that lays
// out a tab character, and wrapping of button texts that must take several lines.
#include <QLabel>

class QAbstractButton;

// A label whose text may hold one "\t": the part before it is drawn at the left, the part
// after it (the mnemonic and the colon) at the right edge, so such parts line up in a
// column in front of their edits.
class TabbedLabel : public QLabel {
    Q_OBJECT

  public:
    using QLabel::QLabel;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

  protected:
    void paintEvent(QPaintEvent* event) override;
};

// Breaks the text of a check box or radio button into lines that fit its current width
// (between any two characters where needed, as Japanese text has no spaces), like a
// multi-line button of the dialog templates.
void wrapButtonText(QAbstractButton* button);
