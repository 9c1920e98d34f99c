#pragma once

#include <QPushButton>

#include <optional>

// A push button whose caption wraps at word boundaries inside the button when
// it does not fit on one line. Where even the wrapped caption is too big for
// the button at the system font, the font is made smaller until it fits.
// text() stays the caption, so the accessible name is the caption too.
class WrappingButton : public QPushButton {
    Q_OBJECT

public:
    explicit WrappingButton(const QString& caption, QWidget* parent = nullptr);

    // Where the caption is drawn, and the font it is drawn with.
    QRect captionArea() const;
    QFont captionFont() const;

    static constexpr int captionFlags = Qt::AlignCenter | Qt::TextWordWrap;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // The fitted font for the size, font and caption it was worked out for:
    // fitting lays the caption out several times, too often for every paint.
    struct FittedFont {
        QSize size;
        QFont font;
        QString caption;
        QFont fitted;
    };
    mutable std::optional<FittedFont> fitted_;
};
