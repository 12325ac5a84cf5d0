#pragma once
// The site's header values and the state every part of the program shares
// about the site being edited.
#include <array>
#include <cstdint>
#include <string>

extern std::string SiteName;
extern int32_t SiteNameX, SiteNameY; // twips
extern bool ShowSiteName;
extern bool BorderSiteName;
extern bool Locked;
extern int16_t LoopCount;
extern int16_t LoopProtocol;   // 1 Apollo XP95, 2 Ziton ZP/ZP3, 3 GE 2010
extern int16_t MaxLoopAddress; // 126 for protocol 1, else 127
extern bool IsLoopInterface;   // node 0 is a radio loop module, not a hub
extern int16_t DisplayMode;    // -2 marks a file that is not a valid site file

extern bool FileChanged;
extern bool FileLoaded;
extern std::string SiteFileName; // "untitled.qvs" for a site never saved

// The node the user works on: -1 none, 0 the hub, 1..31 an RCC.
extern int16_t ActiveNode;

// Owner codes (node x 100 + slot, -1 free) by loop 0..4 and address 0..128.
constexpr int kOwnerLoops = 5;
constexpr int kOwnerAddresses = 129;
using OwnerTable = std::array<std::array<int16_t, kOwnerAddresses>, kOwnerLoops>;
extern OwnerTable LoopAddressOwner;
extern OwnerTable HubLoopAddressOwner;

// Sets an owner cell; a loop or address outside the table is skipped.
void SetOwner(OwnerTable& table, int loop, int address, int16_t owner);
// The owner of a cell, -1 for a cell outside the table.
int16_t GetOwner(const OwnerTable& table, int loop, int address);

// Puts every value above back to what it is before any site is loaded.
void ResetSiteState();
