#pragma once
// An up-down arrow control bound to the line edit before it: the arrows and the arrow
// keys step the number in the edit within a range and write it back as plain decimal
// text. The edit stays an ordinary edit, so any typed text is kept as typed and only
// read as a number when the page is applied.
#include <QTimer>
#include <QWidget>

class QLineEdit;

// The decimal number at the start of `text`: leading white space skipped, an optional
// sign, then the digits up to the first other character. Text without a number gives 0;
// a number beyond the int range is clamped to it.
int leadingDecimal(const QString& text);

class UpDown : public QWidget {
    Q_OBJECT

  public:
    // Attaches to `buddy`, which must be a sibling already placed: the arrows take
    // `width` pixels at the buddy's right edge and the buddy shrinks by that much.
    UpDown(QLineEdit* buddy, int width, QWidget* parent);

    void setRange(int minimum, int maximum);
    int minimum() const { return minimum_; }
    int maximum() const { return maximum_; }
    QLineEdit* buddy() const { return buddy_; }

    // Reads the buddy's number, brings it into the range, moves it `steps` and writes it
    // back into the buddy.
    void stepBy(int steps);

    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    enum class Arrow { None, Up, Down };

    Arrow arrowAt(const QPoint& point) const;
    QRect arrowRect(Arrow arrow) const;
    void repeatStep();
    void stopRepeat();

    QLineEdit* buddy_;
    int minimum_ = 0;
    int maximum_ = 100;
    Arrow pressed_ = Arrow::None;
    int repeats_ = 0;
    QTimer repeatTimer_;
};
