#include "run/History.h"

#include "support/Fakes.h"

#include <gtest/gtest.h>

namespace brisko::run {
namespace {

HistoryRow planned(int n) {
    return {"C:\\A\\" + std::to_string(n), "", "", "", "File to be deleted", RowColour::Blue};
}

TEST(History, KeepsTwoThousandRowsThenOneRedRowSaysReportingStopped) {
    test::RecordingDisplay display;
    WindowFeed window{&display};
    const engine::Plan plan;
    History history(display, window, plan);
    for (int n = 1; n <= History::kRowLimit; ++n)
        ASSERT_EQ(history.addRow(planned(n)), n);
    EXPECT_FALSE(history.stopped());

    EXPECT_EQ(history.addRow(planned(2001)), 0);
    EXPECT_EQ(history.addRow(planned(2002)), 0);
    EXPECT_TRUE(history.stopped());
    ASSERT_EQ(history.rows().size(), 2001u);
    const HistoryRow last = history.row(history.rowCount());
    EXPECT_EQ(last.from, "files reporting stopped, lines exceeded 2000");
    EXPECT_EQ(last.colour, RowColour::Red);
    EXPECT_EQ(display.historyRows.size(), 2001u);
    EXPECT_EQ(display.historyRows.back(), last);
}

TEST(History, RestartCutsTheListBackAndNumbersFromOne) {
    test::RecordingDisplay display;
    WindowFeed window{&display};
    const engine::Plan plan;
    History history(display, window, plan);
    history.addRow(planned(1));
    history.addRow(planned(2));
    history.restart();
    EXPECT_TRUE(history.rows().empty());
    EXPECT_TRUE(display.historyRows.empty());
    EXPECT_EQ(history.addRow(planned(3)), 1);
}

} // namespace
} // namespace brisko::run
