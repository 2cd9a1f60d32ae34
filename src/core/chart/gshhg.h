#pragma once
// The coastline from the binned GSHHG files (binned_GSHHS_{c,l,i,h,f}.nc): the world in square
// bins numbered row by row from 90N, each holding the pieces of shoreline clipped to it. Only
// the bins a view needs are read; a piece that leaves its bin is closed into a ring by walking
// counter-clockwise along the bin's sides to the next piece of the same level.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "chart/projection.h"

namespace brenvik::chart {

// Bin coordinates: 0..65535 across the bin from its south-west corner.
constexpr int kBinFull = 65535;

struct TBinPoint {
    std::int32_t x = 0, y = 0;
};

// Sides, counter-clockwise from the south; kInside: a ring closed within the bin.
enum BinSide : int { kSouth = 0, kEast = 1, kNorth = 2, kWest = 3, kInside = 4 };

// A piece of shoreline as the file stores it. level: 1 land, 2 lake, 3 island in a lake, 4 pond.
struct TBinSegment {
    int level = 1;
    int entry = kInside;
    int exit = kInside;
    std::vector<TBinPoint> pts;
};

// A closed outline to fill in the colour of its level (levels are filled 1 to 4 in order).
struct TBinRing {
    int level = 1;
    std::vector<TBinPoint> pts;
};

// The rings of one bin from its segments. nodelevel: the level at the bin's corners, which
// decides whether a level no segment crosses the sides of covers the whole bin.
std::vector<TBinRing> CloseRings(const std::vector<TBinSegment>& segs, int nodelevel);

// The indices of the bins that overlap the box, for bins of binsize degrees
// (360 / binsize per row). Longitudes may run past 180 or below -180.
std::vector<int> BinsInBox(const TGeoBox& box, double binsize);

// A decoded bin: its rings in degrees (longitude 0..360 from the bin's west side).
struct TCoastBin {
    int index = 0;
    double west = 0, south = 0, size = 0;
    struct Ring {
        int level = 1;
        std::vector<double> lng, lat;
    };
    std::vector<Ring> rings;
};

// One binned file, open for the program's run; reads bins on demand and keeps them.
class TShoreFile {
public:
    // Opens path; false with a reason in error() when it is missing or not a shoreline file.
    bool Open(const std::string& path);
    bool IsOpen() const { return nc_ >= 0; }
    const std::string& error() const { return error_; }
    double BinSize() const { return binsize_; }
    int BinCount() const { return static_cast<int>(firstseg_.size()); }
    ~TShoreFile();
    TShoreFile() = default;
    TShoreFile(const TShoreFile&) = delete;
    TShoreFile& operator=(const TShoreFile&) = delete;

    // The raw segments and corner level of bin b; empty for a bin outside the file.
    std::vector<TBinSegment> ReadSegments(int b, int& nodelevel);
    // The decoded bin, from the cache after the first call; nullptr when b is outside the file.
    std::shared_ptr<const TCoastBin> Bin(int b);
    std::size_t CachedBins() const { return cache_.size(); }

private:
    int Var(const char* name);
    int nc_ = -1;
    double binsize_ = 0;
    int nlon_ = 0;
    std::vector<std::int32_t> firstseg_;
    std::vector<std::int16_t> nseg_;
    std::vector<std::int16_t> nodelev_;
    std::int64_t nsegments_ = 0, npoints_ = 0;
    int vinfo_ = -1, vfirstpt_ = -1, vlng_ = -1, vlat_ = -1;
    std::map<int, std::shared_ptr<const TCoastBin>> cache_;
    std::string error_;
};

// The five resolutions of a folder (default /usr/share/gmt-gshhg), opened on first use.
class TCoastline {
public:
    explicit TCoastline(std::string folder = "/usr/share/gmt-gshhg") : folder_(std::move(folder)) {}
    // The file of resolution letter c, f, h, i or l; nullptr when it cannot be read.
    TShoreFile* File(char resolution);
    // The bins of the box at the resolution, decoded (from the cache where it can).
    std::vector<std::shared_ptr<const TCoastBin>> BinsFor(const TGeoBox& box, char resolution);
    // Whether at least one resolution could be opened.
    bool Available();
    const std::string& folder() const { return folder_; }

private:
    std::string folder_;
    std::map<char, std::unique_ptr<TShoreFile>> files_;
    std::map<char, bool> failed_;
};

}  // namespace brenvik::chart
