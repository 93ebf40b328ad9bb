#pragma once

class SettingsStore;

// The settings every installation starts with, and the greeting switch.
namespace modMain {

// Writes the first-start values in their fixed order (readers take some by position).
void WriteDefaultSettings(SettingsStore& settings);
// True when "Op"/"Greet" reads as exactly 1; a missing or non-numeric value counts as 1.
bool ShowGreeting(const SettingsStore& settings);

} // namespace modMain
