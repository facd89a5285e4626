#include "songlist/qt/song_list_view.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QHeaderView>
#include <QScreen>
#include <QScrollBar>
#include <QTableView>
#include <QTest>

#include "songlist/core/song_list.h"

namespace {

QApplication& app() {
    static int argc = 1;
    static char name[] = "song_list_view_test";
    static char* argv[] = {name, nullptr};
    // Never destroyed: tearing Qt down after main() has returned crashes on exit.
    static auto* instance = new QApplication(argc, argv);
    return *instance;
}

class SongListViewTest : public ::testing::Test {
  protected:
    SongListViewTest() : view((app(), nullptr)) {}

    void SetUp() override {
        view.setList(&list);
        view.setNotify([this](int index) { picks.push_back(index); });
        view.resize(400, 200);
    }

    QString cell(int row, int column) {
        return view.table()->model()->index(row, column).data().toString();
    }

    SongList list;
    SongListView view;
    std::vector<int> picks;
};

TEST_F(SongListViewTest, RowsShowAuthorOrPathAndTitle) {
    list.append("/music/a.wav", "Artist", "Title");
    list.append("/music/b.mp3", "", "");
    list.append("/music/c.mp3", "", "Only title");
    view.SetItemCount(list.count());
    EXPECT_EQ(cell(0, 0), "Artist");
    EXPECT_EQ(cell(0, 1), "Title");
    EXPECT_EQ(cell(1, 0), "/music/b.mp3");
    EXPECT_EQ(cell(1, 1), "");
    EXPECT_EQ(cell(2, 0), "/music/c.mp3");
    EXPECT_EQ(cell(2, 1), "Only title");
}

TEST_F(SongListViewTest, RowCountIsWhatWasSetAndRowsPastTheListHaveNoText) {
    list.append("/a", "", "");
    view.SetItemCount(3);  // the list shrank before the count was updated
    EXPECT_EQ(view.table()->model()->rowCount(), 3);
    EXPECT_EQ(cell(0, 0), "/a");
    EXPECT_EQ(cell(2, 0), "");
}

TEST_F(SongListViewTest, EnterAndDoubleClickPickTheSelectedRowEscapePostsNothing) {
    for (int i = 0; i < 5; ++i)
        list.append("/s" + std::to_string(i), "", "");
    view.SetItemCount(list.count());
    view.show();
    view.selectRow(1);
    view.table()->selectRow(3);
    QTest::keyClick(view.table(), Qt::Key_Return);
    EXPECT_FALSE(view.isVisible());

    view.show();
    view.table()->selectRow(4);
    const QRect rect = view.table()->visualRect(view.table()->model()->index(4, 0));
    QTest::mouseClick(view.table()->viewport(), Qt::LeftButton, {}, rect.center());
    QTest::mouseDClick(view.table()->viewport(), Qt::LeftButton, {}, rect.center());

    view.show();
    QTest::keyClick(view.table(), Qt::Key_Escape);
    EXPECT_FALSE(view.isVisible());
    EXPECT_EQ(picks, (std::vector<int>{3, 4}));
}

TEST_F(SongListViewTest, PickOnAnEmptyListPostsTheShownIndex) {
    view.SetItemCount(0);
    view.selectRow(-1);
    view.accept();
    view.selectRow(2);
    view.accept();
    EXPECT_EQ(picks, (std::vector<int>{-1, 2}));
}

TEST_F(SongListViewTest, AppendingKeepsTheScrollPositionAndColumnsShareTheWidth) {
    for (int i = 0; i < 100000; ++i)
        list.append("/song" + std::to_string(i), "", "");
    view.SetItemCount(50000);
    view.show();
    view.table()->verticalScrollBar()->setValue(1234);
    view.SetItemCount(list.count());
    EXPECT_EQ(view.table()->verticalScrollBar()->value(), 1234);
    EXPECT_EQ(view.table()->model()->rowCount(), 100000);

    // The columns fill the viewport (what a shown scroll bar leaves), no dead space.
    for (int width : {600, 451}) {
        view.resize(width, 300);
        QApplication::processEvents();
        const int viewport = view.table()->viewport()->width();
        EXPECT_EQ(view.table()->columnWidth(0), viewport / 2);
        EXPECT_EQ(view.table()->columnWidth(0) + view.table()->columnWidth(1), viewport);
    }
}

TEST_F(SongListViewTest, PlacedItShowsAUsefulNumberOfRowsWithinTheScreen) {
    for (int i = 0; i < 100; ++i)
        list.append("/song" + std::to_string(i), "", "");
    view.SetItemCount(list.count());
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    view.placeAt(QPoint(area.left() + 40, area.top() + 30), 460);
    view.show();
    QApplication::processEvents();
    const int row = view.table()->verticalHeader()->defaultSectionSize();
    EXPECT_EQ(view.width(), 460);
    EXPECT_GE(view.table()->viewport()->height(), SongListView::kVisibleRows * row);
    EXPECT_EQ(view.pos(), QPoint(area.left() + 40, area.top() + 30));
    // Near the bottom it moves up to stay on the screen.
    view.placeAt(QPoint(area.left() + 40, area.bottom() - 10), 460);
    EXPECT_LE(view.geometry().bottom(), area.bottom());
    EXPECT_GE(view.y(), area.top());
}

}  // namespace
