#include "app/wrapping_button.h"

#include <QStyleOptionButton>
#include <QStylePainter>

namespace {

bool fits(const QFont& font, const QRect& area, const QString& caption)
{
    const QRect needed =
        QFontMetrics(font).boundingRect(area, WrappingButton::captionFlags, caption);
    return needed.width() <= area.width() && needed.height() <= area.height();
}

} // namespace

WrappingButton::WrappingButton(const QString& caption, QWidget* parent)
    : QPushButton(caption, parent)
{
    setAccessibleName(caption);
}

QRect WrappingButton::captionArea() const
{
    QStyleOptionButton option;
    initStyleOption(&option);
    return style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
}

QFont WrappingButton::captionFont() const
{
    if (fitted_ && fitted_->size == size() && fitted_->font == font() && fitted_->caption == text())
        return fitted_->fitted;
    constexpr qreal smallestPointSize = 5;
    QFont fittedFont = font();
    const QRect area = captionArea();
    while (!fits(fittedFont, area, text()) && fittedFont.pointSizeF() - 0.5 >= smallestPointSize)
        fittedFont.setPointSizeF(fittedFont.pointSizeF() - 0.5);
    fitted_ = FittedFont{size(), font(), text(), fittedFont};
    return fittedFont;
}

void WrappingButton::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);

    // The style draws the frame and focus mark; the caption is drawn here,
    // wrapped, because the style's own label is a single line.
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButton, option);

    QRect area = captionArea();
    if (isDown())
        area.translate(style()->pixelMetric(QStyle::PM_ButtonShiftHorizontal, &option, this),
                       style()->pixelMetric(QStyle::PM_ButtonShiftVertical, &option, this));
    painter.setFont(captionFont());
    painter.drawItemText(area, captionFlags, palette(), isEnabled(), text(), QPalette::ButtonText);
}
