#pragma once

#include "scan/targets/TopLevelItem.h"

namespace korvex {

// A mounted volume offered for scanning, with the device facts used for its
// icon, its group in the list and change detection.
class VolumeItem : public TopLevelItem {
  public:
    VolumeItem(std::string path, std::string name, std::int64_t size, std::int64_t nfreesize,
               std::int64_t nodes);

    bool isVol() const override { return true; }
    bool isNotScannedVolume() const override { return true; }
    bool getUseFreeSector() const override { return bUseFreeSector; }
    void setUseFreeSector(bool on) override { bUseFreeSector = on; }
    // By file-system type: a local disk whose device facts are unknown stays local.
    bool isNetworkVol() const;

    bool ifHavetheSameChars(const VolumeItem& other) const;
    bool isEqual(const TopLevelItem& other) const override;
    void setPropsFrom(const TopLevelItem& other) override;

    bool removable = false;
    bool writeble = false;
    bool unmountable = false;
    bool bEjectable = false;
    bool bAutomounted = false;
    std::int64_t nFiles = 0;
    std::int64_t nFolders = 0;
    bool bootable = false;
    std::int64_t bInternal = -1;
    std::int32_t mMediaClass = 0;
    std::string mpBSDName;
    std::string DADeviceProtocol;
    std::string DADeviceModel;
    std::string DAMediaWritable;
    std::string DAVolumeKind;

  private:
    void getDeepInfo();

    bool bUseFreeSector = false;
};

}  // namespace korvex
