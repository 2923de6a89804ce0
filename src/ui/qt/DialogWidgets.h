#pragma once

#include <QPushButton>
#include <QString>

#include <string_view>

// What the window and its dialogs build alike on Qt.

// The core's UTF-8 text, as Qt shows it.
inline QString qText(std::string_view text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

// A named push button that Enter presses only while it has the focus.
inline QPushButton* dialogButton(const char* caption, const char* name, QWidget* parent)
{
    auto* made = new QPushButton(QString::fromUtf8(caption), parent);
    made->setObjectName(QLatin1String(name));
    made->setAutoDefault(false);
    return made;
}
