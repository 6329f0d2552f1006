#include "DocumentFixture.h"

namespace mirado::test {
namespace {

int Marker(CMiradoDoc& doc, MovableMarker marker) {
    int s = 0, m = 0, d = 0;
    doc.GetMarkers(s, m, d);
    return marker == MovableMarker::S ? s : m;
}

TEST_F(DocumentTest, MarkerMovesStoreMarkModifiedRedrawAndGiveThePlacementBefore) {
    Pick(1);
    ASSERT_TRUE(Doc().OpenFileAt(0));
    for (bool analysis : {false, true}) {
        if (Doc().IsModified()) {
            ASSERT_TRUE(Doc().SaveCurrentFile());
        }
        if (analysis)
            Doc().ShowAnalysis(true);
        const int shownS = Marker(Doc(), MovableMarker::S);
        view.Clear();

        const MarkerPlacement before = Doc().MoveMarker({MovableMarker::S, 1200});
        EXPECT_EQ(before.marker, MovableMarker::S);
        EXPECT_EQ(before.sample, shownS) << analysis;
        EXPECT_EQ(Marker(Doc(), MovableMarker::S), 1200);
        EXPECT_TRUE(Doc().IsModified());
        EXPECT_FALSE(view.Updates().empty());

        Doc().MoveMarker(before);
        EXPECT_EQ(Marker(Doc(), MovableMarker::S), shownS) << analysis;

        // A sample beyond the channel is stored as its last sample.
        Doc().MoveMarker({MovableMarker::M, kSampleCount + 50});
        EXPECT_EQ(Marker(Doc(), MovableMarker::M), kSampleCount - 1) << analysis;
        Doc().MoveMarker({MovableMarker::M, -3});
        EXPECT_EQ(Marker(Doc(), MovableMarker::M), 0) << analysis;
    }
}

TEST_F(DocumentTest, EditsNeedARecordThatWasReadCorrectly) {
    Doc().MoveMarker({MovableMarker::S, 1200});
    Doc().SetIdTexts({"A-9", "", "", "", ""});
    EXPECT_FALSE(Doc().IsModified());
    EXPECT_TRUE(view.Updates().empty());

    const std::string damaged = folder.File("b.01");
    std::vector<uint8_t> bytes = BuildRecord(RecordSpec{});
    bytes.resize(kOffsetChannels + kPackedHeadSize); // channel 1 without its codes
    WriteBytes(damaged, bytes);
    Doc().SetFileList({damaged});
    EXPECT_FALSE(Doc().OpenFileAt(0));
    const int shownS = Marker(Doc(), MovableMarker::S);
    view.Clear();
    EXPECT_EQ(Doc().MoveMarker({MovableMarker::S, 1200}).sample, shownS);
    EXPECT_EQ(Marker(Doc(), MovableMarker::S), shownS);
    EXPECT_FALSE(Doc().IsModified());
    EXPECT_TRUE(view.Updates().empty());
}

TEST_F(DocumentTest, IdTextEditsStoreMarkModifiedRedrawAndCanBePutBack) {
    Pick(1);
    ASSERT_TRUE(Doc().OpenFileAt(0));
    const IdTexts before = Doc().GetIdTexts();
    EXPECT_EQ(before.animalNo, "A-001");
    EXPECT_EQ(before.exNo, "EX1");
    view.Clear();

    IdTexts edited = before;
    edited.weight = "30g";
    edited.comment = "after dosing";
    Doc().SetIdTexts(edited);
    EXPECT_EQ(Doc().GetWeight(), "30g");
    EXPECT_EQ(Doc().GetComment(), "after dosing");
    EXPECT_EQ(Doc().GetAnimalNo(), "A-001");
    EXPECT_TRUE(Doc().IsModified());
    EXPECT_FALSE(view.Updates().empty());

    Doc().SetIdTexts(before);
    EXPECT_EQ(Doc().GetWeight(), before.weight);
    EXPECT_EQ(Doc().GetComment(), before.comment);
}

} // namespace
} // namespace mirado::test
