#include "CliCommands.h"
#include "CliText.h"

#include "scan/format/SizeFormatter.h"
#include "scan/model/CModel.h"
#include "scan/targets/VolumeGrouping.h"

#include <nlohmann/json.hpp>

#include <cstdio>
#include <iostream>
#include <map>

namespace korvex::cli {

int runVolumes(bool json) {
    CModel model;
    model.enumerateVolumes();
    std::map<std::string, std::vector<std::shared_ptr<VolumeItem>>> groups;
    for (const auto& volume : model.getVolumesInfo()) {
        groups[getGroupNameForItem(*volume)].push_back(volume);
    }
    if (json) {
        nlohmann::json out = nlohmann::json::array();
        for (const auto& [group, volumes] : groups) {
            for (const auto& v : volumes) {
                out.push_back({{"group", group},
                               {"path", v->getPath()},
                               {"name", v->getName()},
                               {"capacity", v->getsize()},
                               {"used", v->getOccSize()},
                               {"free", v->getfsize()},
                               {"reserved", v->getReservedSize()},
                               {"nodes", v->getnodescount()},
                               {"kind", v->DAVolumeKind},
                               {"protocol", v->DADeviceProtocol},
                               {"device", v->mpBSDName},
                               {"writable", v->writeble},
                               {"removable", v->removable}});
            }
        }
        std::cout << out.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << "\n";
        return 0;
    }
    for (const auto& [group, volumes] : groups) {
        std::printf("%s\n", group.c_str());
        for (const auto& v : volumes) {
            std::printf("  %-24s %10s of %-10s free %-10s %s %s\n", printable(v->getName()).c_str(),
                        formatMemoryStringDot1(static_cast<std::uint64_t>(v->getOccSize())).c_str(),
                        formatMemoryStringDot1(static_cast<std::uint64_t>(v->getsize())).c_str(),
                        formatMemoryStringDot1(static_cast<std::uint64_t>(v->getfsize())).c_str(),
                        v->DAVolumeKind.c_str(), printable(v->getPath()).c_str());
        }
    }
    return 0;
}

}  // namespace korvex::cli
