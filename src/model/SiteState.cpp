#include "model/SiteState.h"

std::string SiteName;
int32_t SiteNameX, SiteNameY;
bool ShowSiteName;
bool BorderSiteName;
bool Locked;
int16_t LoopCount;
int16_t LoopProtocol;
int16_t MaxLoopAddress;
bool IsLoopInterface;
int16_t DisplayMode;
bool FileChanged;
bool FileLoaded;
std::string SiteFileName;
int16_t ActiveNode;
OwnerTable LoopAddressOwner;
OwnerTable HubLoopAddressOwner;

namespace {
struct DefaultsOnStart
{
    DefaultsOnStart() { ResetSiteState(); }
} g_defaultsOnStart;
} // namespace

void SetOwner(OwnerTable& table, int loop, int address, int16_t owner)
{
    if (loop < 0 || loop >= kOwnerLoops || address < 0 || address >= kOwnerAddresses)
        return;
    table[static_cast<std::size_t>(loop)][static_cast<std::size_t>(address)] = owner;
}

int16_t GetOwner(const OwnerTable& table, int loop, int address)
{
    if (loop < 0 || loop >= kOwnerLoops || address < 0 || address >= kOwnerAddresses)
        return -1;
    return table[static_cast<std::size_t>(loop)][static_cast<std::size_t>(address)];
}

void ResetSiteState()
{
    SiteName = " Site Name ";
    SiteNameX = SiteNameY = 100;
    ShowSiteName = true;
    BorderSiteName = true;
    Locked = false;
    LoopCount = 4;
    LoopProtocol = 1;
    MaxLoopAddress = 126;
    IsLoopInterface = false;
    DisplayMode = -2;
    FileChanged = false;
    FileLoaded = false;
    SiteFileName = "untitled.qvs";
    ActiveNode = -1;
    for (auto& row : LoopAddressOwner)
        row.fill(-1);
    for (auto& row : HubLoopAddressOwner)
        row.fill(-1);
}
