// Joining AIS fragments, and what happens to sentences that cannot be joined or read.
#include <gtest/gtest.h>

#include <fstream>

#include "parse/loader.h"

#include "aispayload.h"
#include "support/fakeplatform.h"
#include "support/tempdir.h"

namespace brenvik {
namespace {

const std::string X = test::PositionReport(211000001, 0, 0, 100, 54.5, 10.25, 900, 90, 10).Armour();
const std::string Y = test::PositionReport(244000002, 5, 0, 0, 52.1, 4.3, 0, 0, 20).Armour();

std::string Frag(int count, int number, std::string_view id, std::string_view channel, std::string_view text,
                 std::string_view tag = "!AIVDM") {
    return std::string(tag) + "," + std::to_string(count) + "," + std::to_string(number) + "," + std::string(id) +
           "," + std::string(channel) + "," + std::string(text) + ",0";
}
std::string Head(const std::string& p) { return p.substr(0, 14); }
std::string Tail(const std::string& p) { return p.substr(14); }

struct Case {
    const char* name;
    std::vector<std::string> sentences;
    std::vector<std::int32_t> mmsis;    // reports, in order
    std::vector<std::int32_t> sources;  // their line numbers
    std::int32_t corrupt;
    std::int32_t unproc;  // unprocessed besides the corrupt ones, which are all unprocessed too
};

TEST(AisAssembly, FragmentSequences) {
    const Case cases[] = {
        {"single sentence", {test::Vdm(X, "")}, {211000001}, {1}, 0, 0},
        {"two fragments on channel B",
         {Frag(2, 1, "3", "B", Head(X)), Frag(2, 2, "3", "B", Tail(X))}, {211000001}, {2}, 0, 0},
        {"same identifier on A and B interleaved",
         {Frag(2, 1, "3", "A", Head(X)), Frag(2, 1, "3", "B", Head(Y)), Frag(2, 2, "3", "A", Tail(X)),
          Frag(2, 2, "3", "B", Tail(Y))},
         {211000001, 244000002}, {3, 4}, 0, 0},
        // Channels "1" and "2" share the channel-A slot: the second message's start replaces
        // the first one's, whose end then completes it; the other end finds nothing expected.
        {"channels 1 and 2 share a slot",
         {Frag(2, 1, "3", "1", Head(X)), Frag(2, 1, "3", "2", Head(Y)), Frag(2, 2, "3", "1", Tail(X)),
          Frag(2, 2, "3", "2", Tail(Y))},
         {244000002}, {3}, 1, 0},
        {"a second fragment 1 replaces the first",
         {Frag(2, 1, "", "A", Head(X)), Frag(2, 1, "", "A", Head(Y)), Frag(2, 2, "", "A", Tail(Y))},
         {244000002}, {3}, 0, 0},
        {"fragment 2 without fragment 1", {Frag(2, 2, "5", "A", Tail(X))}, {}, {}, 1, 0},
        {"fragment 2 of 2 after fragment 1 of 3",
         {Frag(3, 1, "5", "A", Head(X)), Frag(2, 2, "5", "A", Tail(X)), Frag(3, 2, "5", "A", Tail(X))}, {}, {}, 2, 0},
        {"three fragments",
         {Frag(3, 1, "7", "A", X.substr(0, 10)), Frag(3, 2, "7", "A", X.substr(10, 10)),
          Frag(3, 3, "7", "A", X.substr(20))},
         {211000001}, {3}, 0, 0},
        {"fragment 3 of 2 is not the expected one",
         {Frag(2, 1, "1", "A", Head(X)), Frag(2, 3, "1", "A", Tail(X)), Frag(2, 2, "1", "A", Tail(X))}, {}, {}, 2, 0},
        {"fragments out of order",
         {Frag(3, 1, "1", "A", X.substr(0, 10)), Frag(3, 3, "1", "A", X.substr(20)),
          Frag(3, 2, "1", "A", X.substr(10, 10))},
         {}, {}, 2, 0},
        {"other talkers", {Frag(1, 1, "", "A", X, "!ABVDM"), Frag(1, 1, "", "B", Y, "!BSVDO")},
         {211000001, 244000002}, {1, 2}, 0, 0},
        {"identifier outside 0 to 9, single sentence", {Frag(1, 1, "10", "A", X)}, {211000001}, {1}, 0, 0},
        {"identifier outside 0 to 9, fragments",
         {Frag(2, 1, "10", "A", Head(X)), Frag(2, 2, "10", "A", Tail(X)), Frag(2, 1, "-1", "B", Head(X))}, {}, {},
         3, 0},
        {"other sentence type", {Frag(2, 1, "2", "A", Head(X), "!AIABM"), Frag(2, 2, "2", "A", Tail(X), "!AIABM")},
         {}, {}, 0, 1},
        {"count 0 is a single sentence", {"!AIVDM,,1,,A," + X + ",0"}, {211000001}, {1}, 0, 0},
        {"fragment number 0", {Frag(2, 0, "2", "A", Head(X))}, {}, {}, 1, 0},
        // An empty slot expects nothing, not a fragment 0: "0 of 0" is no message.
        {"fragment 0 of 0", {Frag(0, 0, "", "A", X), "!AIVDM,,0,,B," + X + ",0"}, {}, {}, 2, 0},
        {"fragment 0 of 0 ends a started message",
         {Frag(2, 1, "4", "A", Head(X)), Frag(0, 0, "4", "A", X), Frag(2, 2, "4", "A", Tail(X))}, {}, {}, 2, 0},
        {"not integers",
         {"!AIVDM,x,1,,A," + X + ",0", "!AIVDM,1,1.5,,A," + X + ",0", "!AIVDM,1,1,a,A," + X + ",0",
          "!AIVDM,1,,,A," + X + ",0", "!AIVDM,1,1,,A"},
         {}, {}, 5, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::FakePlatform p;
        Session s(p);
        std::int32_t line = 0;
        for (const auto& sentence : c.sentences) test::Feed(s, sentence, ++line);
        ASSERT_EQ(s.aisevents.count(), static_cast<std::int32_t>(c.mmsis.size()));
        for (std::size_t i = 0; i < c.mmsis.size(); ++i) {
            EXPECT_EQ(s.aisevents[static_cast<std::int32_t>(i)].id, c.mmsis[i]);
            EXPECT_EQ(s.aisevents[static_cast<std::int32_t>(i)].srcnumb, c.sources[i]);
        }
        EXPECT_EQ(s.totlines, line);
        EXPECT_EQ(s.corruptcount, c.corrupt);
        EXPECT_EQ(static_cast<std::int32_t>(s.corruptrecs.size()), c.corrupt);
        EXPECT_EQ(s.unproclines, c.corrupt + c.unproc);
        EXPECT_TRUE(p.messages.empty());
        // Every sequence ends complete or rejected: nothing waits in the store.
        for (const auto& slot : s.fragments) EXPECT_TRUE(slot.next == 0 && slot.text.empty());
    }
}

TEST(AisAssembly, SingleSentenceLeavesAnUnfinishedSlotAlone) {
    test::FakePlatform p;
    Session s(p);
    test::Feed(s, Frag(2, 1, "", "A", Head(X)), 1);
    EXPECT_EQ(s.aisevents.count(), 0);
    EXPECT_EQ(s.curevent.lasttag, "!AIVDM");
    test::Feed(s, test::Vdm(Y), 2);
    EXPECT_EQ(s.fragments[0].text, Head(X));
    test::Feed(s, Frag(2, 2, "", "A", Tail(X)), 3);
    ASSERT_EQ(s.aisevents.count(), 2);
    EXPECT_EQ(s.aisevents[1].id, 211000001);
    EXPECT_TRUE(s.fragments[0].text.empty());
}

TEST(AisAssembly, ShortPayloadsAreCorrupt) {
    test::FakePlatform p;
    Session s(p);
    test::Feed(s, test::Vdm("1wwW"), 123);
    ASSERT_EQ(s.corruptrecs.size(), 1u);
    EXPECT_EQ(s.corruptrecs[0], "0000123|!AIVDM,1,1,,A,1wwW,0");
    EXPECT_EQ(s.aisevents.count(), 0);
    // Five characters are decoded: the missing bits read as zero.
    test::Feed(s, test::Vdm("1wwWw"), 124);
    ASSERT_EQ(s.aisevents.count(), 1);
    EXPECT_EQ(s.aisevents[0].msgtype, 1);
    EXPECT_EQ(s.corruptcount, 1);
    // Two fragments that join to fewer than five characters.
    test::Feed(s, Frag(2, 1, "4", "A", "1w"), 125);
    test::Feed(s, Frag(2, 2, "4", "A", "ww"), 126);
    ASSERT_EQ(s.corruptrecs.size(), 2u);
    EXPECT_EQ(s.corruptrecs[1], "0000126|!AIVDM,2,2,4,A,ww,0");
}

TEST(AisAssembly, UnreadableSentenceIsFiledWithItsFields) {
    test::FakePlatform p;
    Session s(p);
    test::Feed(s, "!AIVDM,1,x,,A,\"a b\"", 7);
    ASSERT_EQ(s.corruptrecs.size(), 1u);
    EXPECT_EQ(s.corruptrecs[0], "0000007|!AIVDM,1,x,,A,\"a b\"");
}

// Through the loader: checksummed lines, and a message whose end comes in the next file.
TEST(AisAssembly, FragmentStoreOutlivesALoad) {
    const test::TempDir dir;
    auto write = [&](const char* name, const std::vector<std::string>& sentences) {
        std::ofstream out(dir.File(name), std::ios::binary);
        for (const auto& body : sentences) {
            unsigned sum = 0;
            for (char c : body.substr(1)) sum ^= static_cast<unsigned char>(c);
            out << body << Fmt("*%02X", sum) << "\r\n";
        }
    };
    write("a.log", {test::Vdm(Y), Frag(2, 1, "9", "B", Head(X))});
    write("b.log", {Frag(2, 2, "9", "B", Tail(X))});
    test::FakePlatform p;
    Session s(p);
    ASSERT_EQ(LoadLogFile(s, dir.File("a.log")), LoadOutcome::Complete);
    ASSERT_EQ(s.aisevents.count(), 1);
    EXPECT_EQ(s.totlines, 2);
    s.aisselection = {0};
    ASSERT_EQ(LoadLogFile(s, dir.File("b.log")), LoadOutcome::Complete);
    ASSERT_EQ(s.aisevents.count(), 1);
    EXPECT_EQ(s.aisevents[0].id, 211000001);
    EXPECT_EQ(s.aisevents[0].srcnumb, 1);
    EXPECT_EQ(s.vehicles.count(), 1);
    EXPECT_TRUE(s.aisselection.empty());
    EXPECT_TRUE(p.messages.empty());
}

}  // namespace
}  // namespace brenvik
