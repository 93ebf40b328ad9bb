#pragma once

class SettingsStore;

// The settings every installation starts with, and the greeting switch.
namespace modMain {

// Writes the first-start values in their fixed order (readers take some by position).
void WriteDefaultSettings(SettingsStore& settings);
// Writes the first-start values that are missing (a first start cut short leaves some out), each
// in its place in the order, never over a value that is there. Returns how many were written, or
// -1 when the settings file could not be written.
int RepairDefaultSettings(SettingsStore& settings);
// True when "Op"/"Greet" reads as exactly 1; a missing or non-numeric value counts as 1.
bool ShowGreeting(const SettingsStore& settings);

} // namespace modMain
