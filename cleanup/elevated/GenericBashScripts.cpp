#include "cleanup/elevated/GenericBashScripts.h"

#include <sstream>

namespace korvex {

std::shared_ptr<CustomBashScript> CustomBashScript::waitSeconds(double seconds) {
    std::ostringstream text;
    text << "sleep " << seconds;
    return std::make_shared<CustomBashScript>(text.str(), false);
}

std::string CompoundBashScript::buildScript() const {
    std::string text;
    int number = 1;
    for (const BashScriptRef& script : mScripts) {
        text += "# script " + std::to_string(number++) + " \n";
        text += script->buildScript();
    }
    return text;
}

}  // namespace korvex
