#pragma once

#include "host_driver.h"

// Runtime scenarios written against a HostDriver, so that they run the same
// on the scripted host and on a real host. Each installs its template in the
// driver's resources, makes the driver's host the window system for its
// duration, and reports through GoogleTest expectations.
namespace quorvane::dialog::scenarios {

// Typing reaches the field's Changed handler; the handler's sets show once it
// returns; Exit returns 8 and the form keeps the text the window showed.
void TypingUpdatesTheFormAndExitKeepsTheShownText(HostDriver& driver);
// Escape, Enter and the close box do nothing on a form without controls 1 and 2.
void EscapeEnterAndCloseBoxLeaveTheFormOpen(HostDriver& driver);
// A click checks a radio button, clears its group and calls its Clicked handler.
void RadioClicksCheckOneButtonPerGroup(HostDriver& driver);
// Spinner steps rewrite the buddy field within the range 2..8.
void SpinnerStepsStayWithinTheRange(HostDriver& driver);
// A digits-only field refuses a minus sign and a decimal point.
void DigitsOnlyFieldRefusesOtherCharacters(HostDriver& driver);
// Greying and checking set by a handler reach the window when it returns.
void HandlerSetsReachTheWindowWhenItReturns(HostDriver& driver);

}  // namespace quorvane::dialog::scenarios
