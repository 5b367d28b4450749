#pragma once

#include <cstdint>
#include <vector>

class CLibraryDb;

// The rank of each album of the Underplayed Albums view, in the order of `albumIds`: albums
// whose songs are well rated but little played get the highest ranks (up to 1000); an album
// without songs or without any rated song gets 0. Unrated songs count as `unratedAs`.
std::vector<int> ComputeUnderplayedRanks(CLibraryDb& db, const std::vector<std::int32_t>& albumIds, int unratedAs);
