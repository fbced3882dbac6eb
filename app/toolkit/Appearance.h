#pragma once

namespace korvex::Appearance {

// The user's choice under "AppAppearanceTypeValueKey": 0 follows the
// desktop, 1 light, 2 dark.
unsigned long long storedType();
// Stores the choice and applies it at once.
void setStoredType(unsigned long long type);

// Gives the application the palette of the stored choice and, for the
// system choice, follows the desktop's preference as it changes. Call once
// the application object exists.
void applyToApplication();

// Whether the palette now in use is the dark one.
bool isDark();

}  // namespace korvex::Appearance
