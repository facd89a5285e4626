#pragma once
// A push button drawn flat: it shows a raised edge only while the pointer is over it or
// while it has the keyboard focus, and a pressed edge while it is being pressed. The main
// bar's Exit, Play and mode buttons and the player window's file button use it.
#include <QPen>
#include <QPushButton>

class FlatButton : public QPushButton {
    Q_OBJECT

  public:
    explicit FlatButton(QWidget* parent = nullptr);
    explicit FlatButton(const QString& text, QWidget* parent = nullptr);

    // True while the pointer is over the button or the button has the keyboard focus.
    bool isHovered() const { return hover; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    void drawEdge(QPainter& painter, const QRect& item, bool pressed) const;
    void drawCaption(QPainter& painter, const QRect& item) const;

    // Light and dark edge colours, taken from the palette when the button is made.
    QPen highlightPen;
    QPen shadowPen;
    bool hover = false;
};
