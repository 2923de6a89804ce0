#include "MessageBoxMessages.h"

#include "WindowsText.h"

void MessageBoxMessages::show(const UserMessage& message)
{
    const std::string text =
        message.detail.empty() ? message.text : message.text + "\n\n" + message.detail;
    const UINT icon = message.icon == UserMessage::Icon::Error     ? MB_ICONERROR
                      : message.icon == UserMessage::Icon::Warning ? MB_ICONWARNING
                                                                   : MB_ICONINFORMATION;
    MessageBoxW(owner_, WindowsText::wide(text).c_str(), WindowsText::wide(message.title).c_str(),
                MB_OK | icon);
}
