#pragma once

#include <QString>

struct AppContext;
class QWidget;
class QLineEdit;

// Behaviour shared by every input box of the program.
namespace InputHelpers {

// Light yellow (#FFFFC0) with dark text and the whole text selected while the box has the
// focus, the palette's own base and text colours when it loses it. Works for line edits, combo
// boxes (editable or not) and text edits.
void focusColour(QWidget* box);
// Gives the box the palette's own base and text colours again (a box that is not to look
// focused).
void plainColours(QWidget* box);

// A read-only box that looks it: the window's colour behind its text, in any palette.
void readOnlyLook(QLineEdit* box);

// A number box: leaving it with text that is not a number shows "This field must be a number.",
// resets the text to "0" and keeps the focus in the box. Also colours the focus.
void numberBox(QLineEdit* box, AppContext& ctx);

// For Okay handlers: when the box does not hold a number, shows the same message, resets the
// box, puts the focus there and returns false.
bool requireNumber(QLineEdit* box, AppContext& ctx);

// A number box checked before anything is figured or stored: it must hold a number (the
// message of requireNumber) no larger than a billion, so that no amount figured from it can
// overflow; a larger one shows TooLarge, resets the box to "0" and puts the focus there.
bool requireBoundedNumber(QLineEdit* box, AppContext& ctx);

// A text box holding at most `limit` characters (code points, as the schema counts them): what
// is typed, pasted or set beyond them is cut off, never inside a character such as an emoji.
void characterLimit(QLineEdit* box, int limit);

// A combo box or line edit whose text may not exceed `limit` characters: leaving it with a
// longer text shows `message`, empties the box and keeps the focus there.
void lengthLimit(QWidget* box, AppContext& ctx, int limit, const QString& message);
// The same check for Save handlers; returns false after showing the message.
bool withinLimit(QWidget* box, AppContext& ctx, int limit, const QString& message);

// Twips (1440 to the inch) as screen pixels at the screen's logical resolution.
int twips(int tw);

inline const char* NotANumber = "This field must be a number.";
inline const char* TooLarge = "This number is too large.";

} // namespace InputHelpers
