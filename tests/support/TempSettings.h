#pragma once

#include "app/settings/Settings.h"
#include "platform/settings/SettingsStore.h"
#include "support/TempTree.h"

namespace korvex::test {

// Points the application's settings store at a fresh file in a temporary
// folder for the life of the object, with nothing cached from before.
class TempSettings {
  public:
    TempSettings() : mFile(mTree.path("config/korvex/settings.json")) {
        platform::SettingsStore::useStandardFile(mFile);
        forgetAll();
    }
    ~TempSettings() {
        forgetAll();
        platform::SettingsStore::useStandardFile({});
    }
    TempSettings(const TempSettings&) = delete;
    TempSettings& operator=(const TempSettings&) = delete;

    const std::string& file() const { return mFile; }
    // As a new process would start: nothing in memory, everything from the file.
    static void forgetAll() {
        platform::SettingsStore::discardStandard();
        Settings::resetCache();
    }

  private:
    TempTree mTree;
    std::string mFile;
};

}  // namespace korvex::test
