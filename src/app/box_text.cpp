#include "app/box_text.h"

std::string toCoreText(const QString& widgetText)
{
    QString text = widgetText;
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QLatin1String("\n"), QLatin1String("\r\n"));
    return text.toStdString();
}

QString toWidgetText(const std::string& coreText)
{
    QString text = QString::fromStdString(coreText);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}
