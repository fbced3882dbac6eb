#pragma once

#include <cstdlib>
#include <optional>
#include <string>

namespace korvex::test {

// Sets an environment variable for one scope (unsets it for a null value)
// and restores what was there.
class ScopedVariable {
  public:
    ScopedVariable(const char* name, const char* value) : mName(name) {
        if (const char* old = std::getenv(name)) {
            mOld = old;
        }
        value != nullptr ? ::setenv(name, value, 1) : ::unsetenv(name);
    }
    ScopedVariable(const char* name, const std::string& value)
        : ScopedVariable(name, value.c_str()) {}
    ~ScopedVariable() { mOld ? ::setenv(mName, mOld->c_str(), 1) : ::unsetenv(mName); }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

  private:
    const char* mName;
    std::optional<std::string> mOld;
};

}  // namespace korvex::test
