#pragma once

#include "platform/settings/SettingsStore.h"

#include <optional>
#include <string>

namespace korvex {

// One setting, read from the store once and then served from memory; every
// save writes through. A value of the wrong kind reads as absent.
class CachedDefaultsValue {
  public:
    using Value = std::optional<nlohmann::json>;

    CachedDefaultsValue(std::optional<std::string> key, Value defaultValue,
                        platform::SettingsStore& store = platform::SettingsStore::standard());

    bool getBoolValue() const;
    unsigned long long getUnsignedLongLongValue() const;
    Value getArrayValue() const;
    Value getDictionaryValue() const;

    void saveBoolValue(bool value);
    void saveUnsignedLongLongValue(unsigned long long value);
    void saveArrayValue(Value value);
    void saveDictionaryValue(Value value);
    void saveValue();

  private:
    const nlohmann::json* firstOfKind(bool (nlohmann::json::*isKind)() const noexcept) const;
    const Value* numberSource() const;

    std::optional<std::string> key;
    Value value;
    Value defaultValue;
    platform::SettingsStore& mStore;
};

}  // namespace korvex
