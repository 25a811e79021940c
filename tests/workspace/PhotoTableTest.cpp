#include "workspace/PhotoTable.h"
#include "workspace/Marks.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using tess::workspace::markAll;
using tess::workspace::PhotoTable;
using tess::workspace::toggleMark;

namespace {

// Records each after-scroll notification as the name current at that moment.
struct ScrollLog {
    explicit ScrollLog(PhotoTable& t) : table(t) {
        table.setAfterScroll(
            [this] { names.push_back(table.isEmpty() ? "<none>" : table.currentName()); });
    }
    PhotoTable& table;
    std::vector<std::string> names;
};

PhotoTable tableOf(std::initializer_list<const char*> names) {
    PhotoTable table;
    table.open();
    for (const char* n : names)
        table.append(n);
    return table;
}

} // namespace

TEST(PhotoTable, AppendNotifiesWhileTheNewRowIsStillEmpty) {
    PhotoTable table;
    table.open();
    ScrollLog log(table);
    table.append("a.jpg");
    table.append("b.jpg");
    EXPECT_EQ(log.names, (std::vector<std::string>{"", ""}));
    EXPECT_EQ(table.currentName(), "b.jpg");
    EXPECT_EQ(table.recNo(), 2);
}

TEST(PhotoTable, MovesNotifyAndTheEndIsReportedOnce) {
    PhotoTable table = tableOf({"a", "b"});
    ScrollLog log(table);
    table.first();
    table.next();
    table.next(); // past the last row: notifies once, stays on the last row
    table.next(); // already at the end: nothing
    EXPECT_EQ(log.names, (std::vector<std::string>{"a", "b", "b"}));
    EXPECT_TRUE(table.eof());
    EXPECT_EQ(table.recNo(), 2);

    table.moveTo(1); // the row already current: no move, no notification
    table.moveTo(0);
    EXPECT_EQ(log.names.size(), 4u);
    EXPECT_FALSE(table.eof());
}

TEST(PhotoTable, EmptyTableFirstNotifiesWithNoCurrentRow) {
    PhotoTable table;
    table.open();
    ScrollLog log(table);
    table.first();
    EXPECT_EQ(log.names, (std::vector<std::string>{"<none>"}));
    EXPECT_TRUE(table.eof());
    EXPECT_EQ(table.currentName(), "");
    EXPECT_EQ(table.currentMark(), 0);
    EXPECT_EQ(table.recNo(), 0);
}

TEST(PhotoTable, OpeningAndMarkingRaiseNothing) {
    PhotoTable table = tableOf({"a"});
    ScrollLog log(table);
    table.setCurrentMark(1);
    table.close();
    table.open();
    EXPECT_TRUE(log.names.empty());
    EXPECT_TRUE(table.isEmpty());
}

TEST(PhotoTable, DeleteAndLocate) {
    PhotoTable table = tableOf({"a", "B", "b", "c"});
    ScrollLog log(table);
    EXPECT_TRUE(table.locate("b")); // exact letter case: the third row, not "B"
    EXPECT_EQ(table.recNo(), 3);
    EXPECT_FALSE(table.locate("x"));
    EXPECT_EQ(table.recNo(), 3);
    table.deleteCurrent();
    EXPECT_EQ(table.currentName(), "c");
    table.deleteCurrent(); // the last row: the new last row becomes current
    EXPECT_EQ(table.currentName(), "B");
    EXPECT_EQ(log.names, (std::vector<std::string>{"b", "c", "B"}));
}

TEST(PhotoTable, LongNamesAreCutAtCharacters) {
    PhotoTable table;
    table.open();
    std::string name;
    for (int i = 0; i < 300; ++i)
        name += "è"; // two bytes each
    table.append(name);
    EXPECT_EQ(table.currentName().size(), 255u * 2);
    table.append(std::string(255, 'x'));
    EXPECT_EQ(table.currentName().size(), 255u);
}

TEST(Marks, ToggleTwiceUnmarksAndAnEmptyListGetsNoRow) {
    PhotoTable table = tableOf({"a", "b"});
    ScrollLog log(table);
    toggleMark(table);
    EXPECT_EQ(table.row(1).selezionato, 1);
    toggleMark(table);
    EXPECT_EQ(table.row(1).selezionato, 0);
    EXPECT_TRUE(log.names.empty()); // the cursor does not move

    PhotoTable empty;
    empty.open();
    toggleMark(empty);
    EXPECT_TRUE(empty.isEmpty());
}

TEST(Marks, MarkAllWalksEveryRowAndEndsOnTheLast) {
    PhotoTable table = tableOf({"a", "b", "c"});
    table.moveTo(0);
    ScrollLog log(table);
    markAll(table, 1);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(table.row(i).selezionato, 1) << i;
    EXPECT_EQ(table.currentName(), "c");
    EXPECT_EQ(log.names, (std::vector<std::string>{"a", "b", "c", "c"}));
    EXPECT_FALSE(table.controlsDisabled());

    markAll(table, 0);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(table.row(i).selezionato, 0) << i;

    PhotoTable empty;
    empty.open();
    markAll(empty, 1);
    EXPECT_TRUE(empty.isEmpty());
    EXPECT_EQ(empty.currentIndex(), -1);
}

TEST(Marks, MarkAllResumesTheGridWhenAHandlerFails) {
    PhotoTable table = tableOf({"a", "b"});
    table.setAfterScroll([&] {
        if (table.currentName() == "b")
            throw std::runtime_error("preview failed");
    });
    EXPECT_THROW(markAll(table, 1), std::runtime_error);
    EXPECT_FALSE(table.controlsDisabled());
}
