#include "chart/gshhg.h"

#include <netcdf.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <string_view>

namespace brenvik::chart {
namespace {

constexpr long long kPerimeter = 4LL * kBinFull;

// Where a point on a side lies along the bin's outline, counter-clockwise from the south-west
// corner.
long long OutlinePos(int side, TBinPoint p) {
    switch (side) {
        case kSouth: return p.x;
        case kEast: return kBinFull + p.y;
        case kNorth: return 2LL * kBinFull + (kBinFull - p.x);
        default: return 3LL * kBinFull + (kBinFull - p.y);
    }
}

// Corner k (1 south-east, 2 north-east, 3 north-west, 0 or 4 south-west).
TBinPoint Corner(long long k) {
    switch (k % 4) {
        case 1: return {kBinFull, 0};
        case 2: return {kBinFull, kBinFull};
        case 3: return {0, kBinFull};
        default: return {0, 0};
    }
}

bool Crosses(const TBinSegment& s) {
    return s.entry >= kSouth && s.entry <= kWest && s.exit >= kSouth && s.exit <= kWest && !s.pts.empty();
}

std::vector<TBinPoint> WholeBin() { return {{0, 0}, {kBinFull, 0}, {kBinFull, kBinFull}, {0, kBinFull}}; }

// Rings of one level from the segments that cross the sides. The files keep land on the left
// of every outline: a land or island piece (odd level) is followed counter-clockwise along
// the sides by the nearest entry of the same level, a lake or pond piece (even level, water
// on its right) clockwise.
void WalkLevel(const std::vector<const TBinSegment*>& segs, int level, std::vector<TBinRing>& out) {
    const bool ccw = level % 2 == 1;
    const std::size_t n = segs.size();
    std::vector<long long> entrypos(n);
    for (std::size_t i = 0; i < n; ++i) entrypos[i] = OutlinePos(segs[i]->entry, segs[i]->pts.front());
    std::vector<bool> used(n, false);
    for (std::size_t start = 0; start < n; ++start) {
        if (used[start]) continue;
        TBinRing ring;
        ring.level = level;
        std::size_t cur = start;
        // Every segment joins one ring at most once: n steps close any ring.
        for (std::size_t step = 0; step <= n; ++step) {
            used[cur] = true;
            const TBinSegment& s = *segs[cur];
            ring.pts.insert(ring.pts.end(), s.pts.begin(), s.pts.end());
            const long long e = OutlinePos(s.exit, s.pts.back());
            std::size_t next = start;
            long long best = kPerimeter + 1;
            for (std::size_t j = 0; j < n; ++j) {
                if (used[j] && j != start) continue;
                const long long diff = ccw ? entrypos[j] - e : e - entrypos[j];
                const long long d = (diff % kPerimeter + kPerimeter) % kPerimeter;
                if (best > d) {
                    best = d;
                    next = j;
                }
            }
            // The corners passed on the way from this exit to the next entry.
            if (ccw) {
                for (long long k = e / kBinFull + 1; k * kBinFull < e + best; ++k) ring.pts.push_back(Corner(k));
            } else {
                const long long top = (e + kBinFull - 1) / kBinFull - 1;
                for (long long k = top; k * kBinFull > e - best; --k) ring.pts.push_back(Corner(((k % 4) + 4) % 4));
            }
            if (next == start) break;
            cur = next;
        }
        if (ring.pts.size() >= 3) out.push_back(std::move(ring));
    }
}

}  // namespace

std::vector<TBinRing> CloseRings(const std::vector<TBinSegment>& segs, int nodelevel) {
    std::vector<TBinRing> out;
    for (int level = 1; level <= 4; ++level) {
        std::vector<const TBinSegment*> crossing;
        for (const TBinSegment& s : segs) {
            if (s.level != level || s.pts.empty()) continue;
            if (Crosses(s)) crossing.push_back(&s);
            else if (s.pts.size() >= 3) out.push_back(TBinRing{level, s.pts});
        }
        if (crossing.empty()) {
            // No outline of this level touches the sides: the sides lie all inside or all
            // outside it, as the corners tell. Filled first, below the closed rings.
            if (nodelevel >= level) {
                const auto at = std::find_if(out.begin(), out.end(), [level](const TBinRing& r) { return r.level == level; });
                out.insert(at, TBinRing{level, WholeBin()});
            }
            continue;
        }
        std::vector<TBinRing> walked;
        WalkLevel(crossing, level, walked);
        const auto at = std::find_if(out.begin(), out.end(), [level](const TBinRing& r) { return r.level == level; });
        out.insert(at, walked.begin(), walked.end());
    }
    return out;
}

std::vector<int> BinsInBox(const TGeoBox& box, double binsize) {
    std::vector<int> out;
    if (!(binsize > 0) || box.Empty()) return out;
    const int ncols = static_cast<int>(std::lround(360 / binsize));
    const int nrows = static_cast<int>(std::lround(180 / binsize));
    const double north = std::clamp(box.north, -90.0, 90.0), south = std::clamp(box.south, -90.0, 90.0);
    const int r0 = std::clamp(static_cast<int>(std::floor((90 - north) / binsize)), 0, nrows - 1);
    const int r1 = std::clamp(static_cast<int>(std::ceil((90 - south) / binsize)) - 1, 0, nrows - 1);
    long long c0 = static_cast<long long>(std::floor(box.west / binsize));
    long long c1 = static_cast<long long>(std::ceil(box.east / binsize)) - 1;
    if (c1 < c0) c1 = c0;
    if (c1 - c0 >= ncols) c1 = c0 + ncols - 1;
    std::set<int> cols;
    for (long long c = c0; c <= c1; ++c) cols.insert(static_cast<int>(((c % ncols) + ncols) % ncols));
    for (int r = r0; r <= r1; ++r)
        for (const int c : cols) out.push_back(r * ncols + c);
    return out;
}

TShoreFile::~TShoreFile() {
    if (nc_ >= 0) nc_close(nc_);
}

int TShoreFile::Var(const char* name) {
    int id = -1;
    if (nc_inq_varid(nc_, name, &id) != NC_NOERR) {
        if (error_.empty()) error_ = std::string("no variable ") + name;
        return -1;
    }
    return id;
}

bool TShoreFile::Open(const std::string& path) {
    error_.clear();
    int nc = -1;
    if (nc_open(path.c_str(), NC_NOWRITE, &nc) != NC_NOERR) {
        error_ = "cannot open " + path;
        return false;
    }
    nc_ = nc;
    auto scalar = [this](const char* name, int& v) {
        const int id = Var(name);
        return id >= 0 && nc_get_var_int(nc_, id, &v) == NC_NOERR;
    };
    int minutes = 0, nlon = 0, nbins = 0, nsegs = 0, npts = 0;
    bool ok = scalar("Bin_size_in_minutes", minutes) && scalar("N_bins_in_360_longitude_range", nlon) &&
              scalar("N_bins_in_file", nbins) && scalar("N_segments_in_file", nsegs) && scalar("N_points_in_file", npts);
    ok = ok && minutes > 0 && nlon > 0 && nbins > 0 && nbins <= 10000000 && nsegs >= 0 && npts >= 0;
    if (ok) {
        binsize_ = minutes / 60.0;
        nlon_ = nlon;
        nsegments_ = nsegs;
        npoints_ = npts;
        firstseg_.resize(static_cast<std::size_t>(nbins));
        nseg_.resize(static_cast<std::size_t>(nbins));
        nodelev_.resize(static_cast<std::size_t>(nbins));
        const int vfirst = Var("Id_of_first_segment_in_a_bin"), vn = Var("N_segments_in_a_bin");
        const int vnode = Var("Embedded_node_levels_in_a_bin");
        vinfo_ = Var("Embedded_npts_levels_exit_entry_for_a_segment");
        vfirstpt_ = Var("Id_of_first_point_in_a_segment");
        vlng_ = Var("Relative_longitude_from_SW_corner_of_bin");
        vlat_ = Var("Relative_latitude_from_SW_corner_of_bin");
        ok = vfirst >= 0 && vn >= 0 && vnode >= 0 && vinfo_ >= 0 && vfirstpt_ >= 0 && vlng_ >= 0 && vlat_ >= 0 &&
             nc_get_var_int(nc_, vfirst, firstseg_.data()) == NC_NOERR &&
             nc_get_var_short(nc_, vn, nseg_.data()) == NC_NOERR &&
             nc_get_var_short(nc_, vnode, nodelev_.data()) == NC_NOERR;
    }
    if (!ok) {
        if (error_.empty()) error_ = path + " is not a binned shoreline file";
        nc_close(nc_);
        nc_ = -1;
        firstseg_.clear();
        return false;
    }
    return true;
}

std::vector<TBinSegment> TShoreFile::ReadSegments(int b, int& nodelevel) {
    std::vector<TBinSegment> segs;
    nodelevel = 0;
    if (nc_ < 0 || b < 0 || b >= BinCount()) return segs;
    const std::size_t bi = static_cast<std::size_t>(b);
    // The corners' levels, three bits each; they agree wherever no outline crosses a side.
    const unsigned node = static_cast<std::uint16_t>(nodelev_[bi]);
    nodelevel = static_cast<int>(std::max({(node >> 9) & 7u, (node >> 6) & 7u, (node >> 3) & 7u, node & 7u}));
    const std::int64_t first = firstseg_[bi], n = nseg_[bi];
    if (n <= 0 || first < 0 || first + n > nsegments_) return segs;
    std::vector<int> info(static_cast<std::size_t>(n)), firstpt(static_cast<std::size_t>(n));
    std::size_t start = static_cast<std::size_t>(first), count = static_cast<std::size_t>(n);
    if (nc_get_vara_int(nc_, vinfo_, &start, &count, info.data()) != NC_NOERR ||
        nc_get_vara_int(nc_, vfirstpt_, &start, &count, firstpt.data()) != NC_NOERR)
        return segs;
    std::int64_t p0 = npoints_, p1 = 0;
    for (std::size_t i = 0; i < info.size(); ++i) {
        const std::int64_t np = static_cast<std::uint32_t>(info[i]) >> 9;
        p0 = std::min<std::int64_t>(p0, firstpt[i]);
        p1 = std::max<std::int64_t>(p1, firstpt[i] + np);
    }
    if (p0 < 0 || p1 > npoints_ || p1 <= p0) return segs;
    std::vector<short> lng(static_cast<std::size_t>(p1 - p0)), lat(lng.size());
    std::size_t pstart = static_cast<std::size_t>(p0), pcount = lng.size();
    if (nc_get_vara_short(nc_, vlng_, &pstart, &pcount, lng.data()) != NC_NOERR ||
        nc_get_vara_short(nc_, vlat_, &pstart, &pcount, lat.data()) != NC_NOERR)
        return segs;
    segs.reserve(info.size());
    for (std::size_t i = 0; i < info.size(); ++i) {
        const std::uint32_t v = static_cast<std::uint32_t>(info[i]);
        TBinSegment s;
        s.level = static_cast<int>((v >> 6) & 7);
        s.exit = static_cast<int>(v & 7);
        s.entry = static_cast<int>((v >> 3) & 7);
        const std::size_t np = v >> 9, off = static_cast<std::size_t>(firstpt[i] - p0);
        s.pts.resize(np);
        for (std::size_t k = 0; k < np; ++k)
            s.pts[k] = {static_cast<std::uint16_t>(lng[off + k]), static_cast<std::uint16_t>(lat[off + k])};
        segs.push_back(std::move(s));
    }
    return segs;
}

std::shared_ptr<const TCoastBin> TShoreFile::Bin(int b) {
    if (nc_ < 0 || b < 0 || b >= BinCount()) return nullptr;
    if (auto it = cache_.find(b); it != cache_.end()) return it->second;
    int nodelevel = 0;
    const std::vector<TBinSegment> segs = ReadSegments(b, nodelevel);
    auto bin = std::make_shared<TCoastBin>();
    bin->index = b;
    bin->size = binsize_;
    bin->west = (b % nlon_) * binsize_;
    bin->south = 90 - (b / nlon_ + 1) * binsize_;
    const double unit = binsize_ / kBinFull;
    for (const TBinRing& r : CloseRings(segs, nodelevel)) {
        TCoastBin::Ring ring;
        ring.level = r.level;
        ring.lng.reserve(r.pts.size());
        ring.lat.reserve(r.pts.size());
        for (const TBinPoint& p : r.pts) {
            ring.lng.push_back(bin->west + p.x * unit);
            ring.lat.push_back(bin->south + p.y * unit);
        }
        bin->rings.push_back(std::move(ring));
    }
    cache_[b] = bin;
    return bin;
}

TShoreFile* TCoastline::File(char resolution) {
    if (auto it = files_.find(resolution); it != files_.end()) return it->second.get();
    if (failed_[resolution]) return nullptr;
    auto f = std::make_unique<TShoreFile>();
    if (!f->Open(folder_ + "/binned_GSHHS_" + resolution + ".nc")) {
        failed_[resolution] = true;
        return nullptr;
    }
    return (files_[resolution] = std::move(f)).get();
}

bool TCoastline::Available() {
    for (const char r : {'c', 'l', 'i', 'h', 'f'})
        if (File(r) != nullptr) return true;
    return false;
}

std::vector<std::shared_ptr<const TCoastBin>> TCoastline::BinsFor(const TGeoBox& box, char resolution) {
    std::vector<std::shared_ptr<const TCoastBin>> out;
    // A missing file: the nearest coarser one stands in, else the nearest finer one.
    static constexpr std::string_view order = "flihc";
    const std::size_t at = std::min(order.find(resolution), order.size() - 1);
    TShoreFile* f = File(order[at]);
    for (std::size_t i = at + 1; f == nullptr && i < order.size(); ++i) f = File(order[i]);
    for (std::size_t i = at; f == nullptr && i-- > 0;) f = File(order[i]);
    if (f == nullptr) return out;
    for (const int b : BinsInBox(box, f->BinSize()))
        if (auto bin = f->Bin(b)) out.push_back(std::move(bin));
    return out;
}

}  // namespace brenvik::chart
