#pragma once

namespace platform {
class AlertPresenter;
class JsonFileUserDefaults;
} // namespace platform

namespace zentaris {

// Tells the user in an alert, with the system's reason, when a settings change could not be saved.
// While the alert is open further failures go to standard error only; once it is dismissed, the
// next failure is told again.
void alertWhenSettingsAreNotSaved(platform::JsonFileUserDefaults& defaults, platform::AlertPresenter& alerts);

} // namespace zentaris
