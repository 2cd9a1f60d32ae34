#include "chart/gshhg.h"

#include <gtest/gtest.h>
#include <netcdf.h>

#include <algorithm>

#include "support/tempdir.h"

namespace brenvik::chart {
namespace {

constexpr int F = kBinFull;

// npts, level, exit and entry as the files pack them.
int Pack(int npts, int level, int entry, int exit) { return (npts << 9) | (level << 6) | (entry << 3) | exit; }

std::vector<TBinPoint> Pts(std::initializer_list<TBinPoint> p) { return p; }

TEST(ChartGshhg, BinsInBox) {
    // 90-degree bins: 4 per row, 2 rows from 90N.
    EXPECT_EQ(BinsInBox(TGeoBox{10, 20, 100, 110}, 90), (std::vector<int>{1}));
    std::vector<int> across = BinsInBox(TGeoBox{-5, 5, -10, 10}, 90);
    std::sort(across.begin(), across.end());
    EXPECT_EQ(across, (std::vector<int>{0, 3, 4, 7}));  // both sides of 0E and of the equator
    EXPECT_EQ(BinsInBox(TGeoBox{-90, 90, -180, 540}, 90).size(), 8u);  // more than a turn: each once
    EXPECT_TRUE(BinsInBox(TGeoBox{5, 1, 0, 1}, 90).empty());
}

TEST(ChartGshhg, RingClosing) {
    // Land north-east of a line from the west side to the south side: the walk from its exit
    // takes the south-east, north-east and north-west corners.
    {
        const std::vector<TBinRing> r =
            CloseRings({TBinSegment{1, kWest, kSouth, Pts({{0, 40000}, {20000, 30000}, {30000, 0}})}}, 1);
        ASSERT_EQ(r.size(), 1u);
        EXPECT_EQ(r[0].pts.size(), 6u);
        EXPECT_EQ(r[0].pts[3].x, F);
        EXPECT_EQ(r[0].pts[3].y, 0);
        EXPECT_EQ(r[0].pts[5].x, 0);
        EXPECT_EQ(r[0].pts[5].y, F);
    }
    // Two shores running north-south with water between: each closes on its own side, the next
    // entry being the first met counter-clockwise.
    {
        const std::vector<TBinRing> r =
            CloseRings({TBinSegment{1, kSouth, kNorth, Pts({{10000, 0}, {10000, F}})},
                        TBinSegment{1, kNorth, kSouth, Pts({{50000, F}, {60000, 0}})}},
                       1);
        ASSERT_EQ(r.size(), 2u);
        EXPECT_EQ(r[0].pts.size(), 4u);  // west shore, north-west and south-west corners
        EXPECT_EQ(r[0].pts[2].x, 0);
        EXPECT_EQ(r[0].pts[2].y, F);
        EXPECT_EQ(r[1].pts.size(), 4u);  // east shore, south-east and north-east corners
        EXPECT_EQ(r[1].pts[2].x, F);
        EXPECT_EQ(r[1].pts[2].y, 0);
    }
    // Inside land (corner level 1) a lake reaching the south side: the bin is land, the lake
    // (water on the right of its outline) closes clockwise along the side, taking no corner.
    {
        const std::vector<TBinRing> r =
            CloseRings({TBinSegment{2, kSouth, kSouth, Pts({{20000, 0}, {30000, 20000}, {40000, 0}})},
                        TBinSegment{3, kInside, kInside, Pts({{28000, 5000}, {32000, 5000}, {30000, 8000}})}},
                       1);
        ASSERT_EQ(r.size(), 3u);
        EXPECT_EQ(r[0].level, 1);
        EXPECT_EQ(r[0].pts.size(), 4u);  // the whole bin
        EXPECT_EQ(r[1].level, 2);
        EXPECT_EQ(r[1].pts.size(), 3u);
        EXPECT_EQ(r[2].level, 3);
    }
    // A lake in the south-west corner: clockwise from its exit on the south side past the
    // corner to its entry on the west side.
    {
        const std::vector<TBinRing> r =
            CloseRings({TBinSegment{2, kWest, kSouth, Pts({{0, 20000}, {15000, 15000}, {20000, 0}})}}, 1);
        ASSERT_EQ(r.size(), 2u);
        ASSERT_EQ(r[1].pts.size(), 4u);
        EXPECT_EQ(r[1].pts[3].x, 0);
        EXPECT_EQ(r[1].pts[3].y, 0);
    }
    // No segments: the corners decide.
    EXPECT_EQ(CloseRings({}, 1).size(), 1u);
    EXPECT_TRUE(CloseRings({}, 0).empty());
}

// A file of 90-degree bins: bin 0 all land, bin 1 the land of the first ring test and a closed
// lake, the rest sea.
void WriteShoreFile(const std::string& path) {
    int nc = -1;
    ASSERT_EQ(nc_create(path.c_str(), NC_CLOBBER, &nc), NC_NOERR);
    int dscalar, dbin, dseg, dpt;
    nc_def_dim(nc, "Dimension_of_scalar", 1, &dscalar);
    nc_def_dim(nc, "Dimension_of_bin_arrays", 8, &dbin);
    nc_def_dim(nc, "Dimension_of_segment_arrays", 2, &dseg);
    nc_def_dim(nc, "Dimension_of_point_arrays", 6, &dpt);
    auto def = [&](const char* name, nc_type t, int dim) {
        int v;
        nc_def_var(nc, name, t, 1, &dim, &v);
        return v;
    };
    const int vsize = def("Bin_size_in_minutes", NC_INT, dscalar);
    const int vnlon = def("N_bins_in_360_longitude_range", NC_INT, dscalar);
    const int vnbins = def("N_bins_in_file", NC_INT, dscalar);
    const int vnsegs = def("N_segments_in_file", NC_INT, dscalar);
    const int vnpts = def("N_points_in_file", NC_INT, dscalar);
    const int vfirst = def("Id_of_first_segment_in_a_bin", NC_INT, dbin);
    const int vnode = def("Embedded_node_levels_in_a_bin", NC_SHORT, dbin);
    const int vn = def("N_segments_in_a_bin", NC_SHORT, dbin);
    const int vinfo = def("Embedded_npts_levels_exit_entry_for_a_segment", NC_INT, dseg);
    const int vfirstpt = def("Id_of_first_point_in_a_segment", NC_INT, dseg);
    const int vlng = def("Relative_longitude_from_SW_corner_of_bin", NC_SHORT, dpt);
    const int vlat = def("Relative_latitude_from_SW_corner_of_bin", NC_SHORT, dpt);
    nc_enddef(nc);
    const int size = 5400, nlon = 4, nbins = 8, nsegs = 2, npts = 6;
    nc_put_var_int(nc, vsize, &size);
    nc_put_var_int(nc, vnlon, &nlon);
    nc_put_var_int(nc, vnbins, &nbins);
    nc_put_var_int(nc, vnsegs, &nsegs);
    nc_put_var_int(nc, vnpts, &npts);
    const int first[8] = {0, 0, 2, 2, 2, 2, 2, 2};
    const short nseg[8] = {0, 2, 0, 0, 0, 0, 0, 0};
    // Corner levels SW, SE, NE, NW in three bits each: bin 0 all land, bin 1 land but SW.
    const short node[8] = {01111, 00111, 0, 0, 0, 0, 0, 0};
    nc_put_var_int(nc, vfirst, first);
    nc_put_var_short(nc, vn, nseg);
    nc_put_var_short(nc, vnode, node);
    const int info[2] = {Pack(3, 1, kWest, kSouth), Pack(3, 2, kInside, kInside)};
    const int firstpt[2] = {0, 3};
    nc_put_var_int(nc, vinfo, info);
    nc_put_var_int(nc, vfirstpt, firstpt);
    // Offsets above 32767 are stored as negative shorts.
    const short lng[6] = {0, 20000, 30000, static_cast<short>(40000), static_cast<short>(45000), static_cast<short>(40000)};
    const short lat[6] = {static_cast<short>(40000), 30000, 0, static_cast<short>(50000), static_cast<short>(50000), 10000};
    nc_put_var_short(nc, vlng, lng);
    nc_put_var_short(nc, vlat, lat);
    ASSERT_EQ(nc_close(nc), NC_NOERR);
}

TEST(ChartGshhg, ReadsOnlyTheBinsAsked) {
    test::TempDir dir;
    const std::string path = dir.File("binned_GSHHS_f.nc");
    WriteShoreFile(path);
    TShoreFile f;
    ASSERT_TRUE(f.Open(path)) << f.error();
    EXPECT_EQ(f.BinSize(), 90);
    EXPECT_EQ(f.BinCount(), 8);

    const auto land = f.Bin(0);
    ASSERT_NE(land, nullptr);
    ASSERT_EQ(land->rings.size(), 1u);  // wholly land by its corners
    EXPECT_EQ(land->west, 0);
    EXPECT_EQ(land->south, 0);

    const auto coast = f.Bin(1);
    ASSERT_NE(coast, nullptr);
    EXPECT_EQ(coast->west, 90);
    ASSERT_EQ(coast->rings.size(), 2u);
    EXPECT_EQ(coast->rings[0].level, 1);
    ASSERT_EQ(coast->rings[0].lng.size(), 6u);
    EXPECT_DOUBLE_EQ(coast->rings[0].lng[0], 90);
    EXPECT_NEAR(coast->rings[0].lat[0], 40000 * 90.0 / 65535, 1e-9);  // read as unsigned
    EXPECT_EQ(coast->rings[1].level, 2);
    EXPECT_NEAR(coast->rings[1].lng[1], 90 + 45000 * 90.0 / 65535, 1e-9);

    EXPECT_TRUE(f.Bin(5)->rings.empty());  // sea
    EXPECT_EQ(f.Bin(8), nullptr);
    EXPECT_EQ(f.CachedBins(), 3u);
    EXPECT_EQ(f.Bin(1), coast);  // from the cache

    TCoastline coastline(dir.path().string());
    EXPECT_TRUE(coastline.Available());
    // The coarse file is missing: the full one stands in.
    EXPECT_EQ(coastline.BinsFor(TGeoBox{10, 20, 100, 110}, 'c').size(), 1u);
    TCoastline none(dir.File("nothing"));
    EXPECT_FALSE(none.Available());
    EXPECT_TRUE(none.BinsFor(TGeoBox{10, 20, 100, 110}, 'f').empty());
}

}  // namespace
}  // namespace brenvik::chart
