#pragma once
// A push button drawn as a web link: its text with a light shadow, in colours that change
// under the pointer and while pressed. Clicking it opens its address with the desktop's
// default handler; the click returns at once and the opening happens afterwards, so a
// slow browser start never holds up the click.
#include <QPushButton>
#include <QUrl>

#include <functional>

class LinkLabel : public QPushButton {
    Q_OBJECT

  public:
    // Opens an address; false when the desktop could not open it.
    using UrlOpener = std::function<bool(const QUrl&)>;

    explicit LinkLabel(QWidget* parent = nullptr);
    explicit LinkLabel(const QString& text, QWidget* parent = nullptr);

    // The address a click opens. Without one, the label's text is the address.
    void setAddress(const QUrl& address) { address_ = address; }
    QUrl address() const;

    // Replaces the desktop's opener (QDesktopServices::openUrl).
    void setOpener(UrlOpener opener);

    // True while the pointer is over the label.
    bool isHovered() const { return hover; }

    // Shadow and text colours of the three looks.
    static constexpr QRgb restShadow = 0xFAFAFA;
    static constexpr QRgb restText = 0x50640A;
    static constexpr QRgb hoverShadow = 0x964B96;
    static constexpr QRgb hoverText = 0xFAFAFA;
    static constexpr QRgb pressedShadow = 0xFAFAFA;
    static constexpr QRgb pressedText = 0x964B96;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

  private:
    void openAddress();

    QUrl address_;
    UrlOpener opener_;
    bool hover = false;
};
