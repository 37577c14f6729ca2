// Message.h: the show's message box for load and allocation failures.
//
// showMessage() puts up a modal box with no owner window, the given text and
// caption, an OK button and the information icon. It goes through the
// current platform, so the headless backend prints instead of blocking, and
// with no platform installed (tests of pure code) the text goes to standard
// error. Needs: platform/Platform.h.
#pragma once

#include <string>

// Button code returned by showMessage: the box has only OK.
constexpr int MESSAGE_OK = 1;

// Shows the message box and returns the button pressed (always MESSAGE_OK).
int showMessage(const std::string& text, const std::string& caption);
