#pragma once

class frmCorvanel;

// The keys people expect of a desktop program, beside the function keys of the menus:
// Ctrl+Q quits (Estimate → Quit, with the questions of the close box), Ctrl+W closes what is
// open (a second key of Estimate → Close open estimate), Ctrl+P prints and Ctrl+F searches the
// document in view on the Output tab.
namespace DesktopKeys {

// Adds the actions mnuEstQuit, actPrintDocument and actFindDocument to the main window.
void install(frmCorvanel& w);

} // namespace DesktopKeys
