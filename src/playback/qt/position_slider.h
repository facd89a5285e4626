#pragma once
// The player window's position slider: a 0..100 track that draws itself (channel line,
// stop mark, song text and time text with their shadows, thumb icon) and reports every
// position the user asks for, by dragging, releasing, keys or clicks on the channel.
#include <QAbstractSlider>
#include <QPen>
#include <QPixmap>

class PositionSlider : public QAbstractSlider {
    Q_OBJECT
  public:
    static constexpr int kControlId = 1008;

    explicit PositionSlider(QWidget* parent = nullptr);

    // The text drawn over the channel (the slider's window text).
    void setSliderText(const QString& text);
    QString sliderText() const { return sliderText_; }
    // Elapsed ("%02d:%02d") and total ("/%02d:%02d") parts of the time text.
    void setTimeTexts(const QString& elapsed, const QString& total);
    void setElapsedText(const QString& elapsed);
    // The time text as drawn: elapsed followed by total ("01:23/04:56").
    QString timeText() const { return elapsedText_ + totalText_; }
    void setStopMark(bool shown);
    bool stopMark() const { return stopMark_; }
    void setThumb(const QPixmap& thumb);
    // The selection range kept with the position (0 .. position while a song plays).
    void setSelection(int start, int end);
    void clearSelection() { setSelection(0, 0); }
    QPair<int, int> selection() const { return {selStart_, selEnd_}; }

    // Where the elapsed part of the time text stands; set by the last paint.
    QRect timeTextRect() const { return timeTextRect_; }
    // Redraws only the elapsed time.
    void repaintTimeText();

    // The channel's ends and the thumb's rectangle for a position, in widget pixels.
    int channelLeft() const;
    int channelRight() const;
    QRect thumbRect(int position) const;

    static inline const QColor kChannelColor{150, 80, 80};
    static inline const QColor kStopMarkColor{150, 100, 200};
    static inline const QColor kShadowColor{250, 250, 250};
    static inline const QColor kTextColor{150, 75, 150};
    static inline const QColor kTimeColor{80, 100, 10};

  signals:
    // The user asked for this position (0..100): each drag step, the release, a key or
    // a click on the channel.
    void seekRequested(int position);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void sliderChange(SliderChange change) override;
    QSize sizeHint() const override;

  private:
    int positionAt(int x) const;
    void onAction(int action);

    QString sliderText_;
    QString elapsedText_;
    QString totalText_;
    bool stopMark_ = false;
    QPixmap thumb_;
    QPen channelPen_{kChannelColor, 1, Qt::SolidLine};
    QPen stopMarkPen_{kStopMarkColor, 1, Qt::SolidLine};
    int selStart_ = 0;
    int selEnd_ = 0;
    int dragOffset_ = 0;
    bool dragging_ = false;
    int paintedPosition_ = 0;
    QRect timeTextRect_;
};
