// Message.cpp: the message box of the show, on top of the platform layer.
#include "image/Message.h"

#include "platform/Platform.h"

int showMessage(const std::string& text, const std::string& caption)
{
    platform::showMessage(text, caption, platform::MessageIcon::Information);
    return MESSAGE_OK;
}
