#include "app/settings/CachedDefaultsValue.h"

namespace korvex {

CachedDefaultsValue::CachedDefaultsValue(std::optional<std::string> settingKey, Value fallback,
                                         platform::SettingsStore& store)
    : key(std::move(settingKey)), defaultValue(std::move(fallback)), mStore(store) {
    if (key) {
        value = mStore.objectForKey(*key);
        if (!value) {
            value = defaultValue;
        }
    }
}

const nlohmann::json* CachedDefaultsValue::firstOfKind(bool (nlohmann::json::*isKind)()
                                                           const noexcept) const {
    if (value && ((*value).*isKind)()) {
        return &*value;
    }
    if (defaultValue && ((*defaultValue).*isKind)()) {
        return &*defaultValue;
    }
    return nullptr;
}

namespace {

// Booleans and numbers are both numbers to the store's readers.
bool isNumberLike(const CachedDefaultsValue::Value& v) {
    return v && (v->is_boolean() || v->is_number());
}

}  // namespace

const CachedDefaultsValue::Value* CachedDefaultsValue::numberSource() const {
    if (isNumberLike(value)) {
        return &value;
    }
    return isNumberLike(defaultValue) ? &defaultValue : nullptr;
}

bool CachedDefaultsValue::getBoolValue() const {
    const Value* number = numberSource();
    if (number == nullptr) {
        return false;
    }
    return (*number)->is_boolean() ? (*number)->get<bool>() : (*number)->get<double>() != 0;
}

unsigned long long CachedDefaultsValue::getUnsignedLongLongValue() const {
    const Value* number = numberSource();
    if (number == nullptr) {
        return 0;
    }
    const nlohmann::json& n = **number;
    if (n.is_boolean()) {
        return n.get<bool>() ? 1 : 0;
    }
    if (n.is_number_unsigned()) {
        return n.get<unsigned long long>();
    }
    return static_cast<unsigned long long>(std::max<double>(n.get<double>(), 0));
}

CachedDefaultsValue::Value CachedDefaultsValue::getArrayValue() const {
    const nlohmann::json* array = firstOfKind(&nlohmann::json::is_array);
    return array != nullptr ? Value(*array) : std::nullopt;
}

CachedDefaultsValue::Value CachedDefaultsValue::getDictionaryValue() const {
    const nlohmann::json* object = firstOfKind(&nlohmann::json::is_object);
    return object != nullptr ? Value(*object) : std::nullopt;
}

void CachedDefaultsValue::saveBoolValue(bool flag) {
    value = flag;
    saveValue();
}

void CachedDefaultsValue::saveUnsignedLongLongValue(unsigned long long number) {
    value = number;
    saveValue();
}

void CachedDefaultsValue::saveArrayValue(Value array) {
    value = std::move(array);
    saveValue();
}

void CachedDefaultsValue::saveDictionaryValue(Value dictionary) {
    value = std::move(dictionary);
    saveValue();
}

void CachedDefaultsValue::saveValue() {
    if (!key) {
        return;
    }
    if (value) {
        mStore.setObject(*key, *value);
    } else {
        mStore.removeObjectForKey(*key);
    }
}

}  // namespace korvex
