#pragma once

#include "platform/settings/SettingsStore.h"

#include <optional>
#include <string>

namespace korvex {

// The settings the core reads, each cached once per process, and the generic
// typed accessors for everything else in the store.
namespace Settings {

inline constexpr const char* kAllowRemovingHiddenFilesChanged = "allowRemovingHiddenFilesChanged";

bool showHintForSelectedItem();
void setShowHintForSelectedItem(bool on);
bool suppressSomeFoldersNotScannedAlert();
void setSuppressSomeFoldersNotScannedAlert(bool on);
bool showCleanPergeableSpaceAlert();
void setShowCleanPergeableSpaceAlert(bool on);
bool allowRemovingHiddenFiles();
// Also posts "allowRemovingHiddenFilesChanged".
void setAllowRemovingHiddenFiles(bool on);
// Whether every finished scan is also kept in the scan history, for a
// comparison with the previous one ("KeepScanHistory"; off by default).
bool keepScanHistory();
void setKeepScanHistory(bool on);
// 0 follows the system, 1 light, 2 dark.
unsigned long long appAppearanceTypeValue();
void setAppAppearanceTypeValue(unsigned long long value);

// Forgets the cached values, so the next read goes to the store again (as in a new process).
void resetCache();

unsigned long long getUnsignedLongLongValueForKey(const std::string& key,
                                                  unsigned long long defaultValue);
bool getBoolValueForKey(const std::string& key, bool defaultValue);
// A text value; absent when missing or of another kind.
std::optional<std::string> getStringValueForKey(const std::string& key);
nlohmann::json getArrayValueForKey(const std::string& key, const nlohmann::json& defaultValue);
nlohmann::json getDictionaryValueForKey(const std::string& key, const nlohmann::json& defaultValue);
void saveUnsignedLongLongValue(unsigned long long value, const std::string& key);
void saveBoolValue(bool value, const std::string& key);
void saveArrayValue(const nlohmann::json& value, const std::string& key);
void saveDictionaryValue(const nlohmann::json& value, const std::string& key);
void saveStringValue(const std::string& value, const std::string& key);
void removeValueForKey(const std::string& key);

}  // namespace Settings
}  // namespace korvex
