#pragma once

namespace korvex::SuppressedAlerts {

// Whether the user silenced any alert with its "Do not show this message
// again" box.
bool anySuppressed();
// Every silenced alert is shown again when its occasion comes.
void showAllAgain();

}  // namespace korvex::SuppressedAlerts
