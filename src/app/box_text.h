#pragma once

#include <QString>

#include <string>

// The core keeps the box text as UTF-8 with CR LF line breaks; the widget
// keeps one paragraph per line. These convert at that boundary.
std::string toCoreText(const QString& widgetText);
QString toWidgetText(const std::string& coreText);
