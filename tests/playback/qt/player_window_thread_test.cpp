// SearchDone from the search thread: the sender waits until the user-interface thread has
// handled it, whether the queued call or the pump of a waiting sequencer serves it.
#include <QTableView>
#include <QTimer>
#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

#include "playback/core/owner_loop.h"
#include "player_window_fixture.h"
#include "songlist/core/song_list.h"
#include "songlist/qt/song_list_view.h"

namespace pwtest {
namespace {

TEST(OwnerLoop, SendersWaitUntilTheOwnerRanTheirJob) {
    std::vector<int> handled;
    std::atomic<int> wakes{0};
    OwnerLoop channel([&] { ++wakes; });
    constexpr int kSenders = 8;
    std::atomic<int> returned{0};
    std::vector<std::thread> senders;
    for (int i = 0; i < kSenders; ++i)
        senders.emplace_back([&, i] {
            channel.send([&handled, i] { handled.push_back(i); });
            ++returned;
        });
    // The receiver pumps as the sequencer does while it waits for the search thread.
    int drained = 0;
    while (drained < kSenders) {
        const int before = returned.load();
        drained += channel.serve();
        EXPECT_LE(before, drained);  // nobody returned before being handled
        std::this_thread::yield();
    }
    for (std::thread& sender : senders)
        sender.join();
    EXPECT_EQ(returned.load(), kSenders);
    EXPECT_EQ(static_cast<int>(handled.size()), kSenders);
    EXPECT_GE(wakes.load(), 1);  // one wake-up serves every job queued before it
    EXPECT_EQ(channel.sentCount(), static_cast<std::size_t>(kSenders));
}

TEST(OwnerLoop, ASendOnTheOwnersThreadRunsAfterWhatWasPostedAtOnce) {
    std::vector<int> handled;
    bool woken = false;
    OwnerLoop channel([&] { woken = true; });
    channel.post([&] { handled.push_back(1); });
    channel.send([&] { handled.push_back(2); });
    EXPECT_EQ(handled, (std::vector<int>{1, 2}));
    EXPECT_TRUE(woken);  // by the post
}

TEST(OwnerLoop, AJobThatPumpsAgainReleasesEverySender) {
    std::vector<int> handled;
    std::mutex lock;
    OwnerLoop channel({});
    const auto job = [&](int result) {
        return [&, result] {
            {
                std::lock_guard guard(lock);
                handled.push_back(result);
            }
            channel.serve();  // nested pump, as a modal loop would
        };
    };
    std::thread a([&] { channel.send(job(1)); });
    std::thread b([&] { channel.send(job(2)); });
    for (;;) {
        channel.serve();
        std::lock_guard guard(lock);
        if (handled.size() >= 2)
            break;
    }
    a.join();
    b.join();
    EXPECT_EQ(handled.size(), 2u);
}

// The search thread's SearchDone arrives while the user-interface thread waits for that
// thread in startSession: the pump serves it, nothing deadlocks and the count is fresh.
TEST_F(PlayerWindowTest, SearchDoneIsServedWhileTheWindowWaitsForTheSearch) {
    const std::string first = songs({"/songs/a.mp3", "/songs/slow.mp3"});
    catalogue.gate("/songs/slow.mp3");
    ASSERT_EQ(window->startSession(first, File), 0);
    catalogue.waitAtGate("/songs/slow.mp3");

    std::thread releaser([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        catalogue.releaseAll();
    });
    // Waits for the first search (pumping) before it starts the second one.
    host.settings_.other.slistAddType = 2;
    const std::string second = songs({"/songs/c.mp3"});
    EXPECT_EQ(window->startSession(second, File), 0);
    releaser.join();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->songList().count() == 3; }, 5000));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return window->songListView().table()->model()->rowCount() == 3; }, 5000));
}

// A search slow to stop never freezes the windows: while the next Play waits for it, the
// event loop goes on (a timer fires, so painting does too).
TEST_F(PlayerWindowTest, TheEventLoopRunsWhileTheNextPlayWaitsForTheSearch) {
    catalogue.gate("/songs/slow.mp3");
    ASSERT_EQ(window->startSession(songs({"/songs/slow.mp3"}), File), 0);
    catalogue.waitAtGate("/songs/slow.mp3");
    bool timerFired = false;
    QTimer::singleShot(10, [&] {
        timerFired = true;
        catalogue.releaseAll();  // the search may end only once the loop has run
    });
    // Should the loop stand still, the wait still ends, and the test fails instead of hanging.
    std::thread fallback([&] {
        std::this_thread::sleep_for(std::chrono::seconds(5));
        catalogue.releaseAll();
    });
    EXPECT_EQ(window->startSession(songs({"/songs/c.mp3"}), File), 0);
    EXPECT_TRUE(timerFired);
    fallback.join();
}

// A search stuck in its probe: the end of the program gives up waiting for it in time.
TEST_F(PlayerWindowTest, ALimitedEndOfTheSearchGivesUpOnAStuckProbe) {
    catalogue.gate("/songs/slow.mp3");
    ASSERT_EQ(window->startSession(songs({"/songs/slow.mp3"}), File), 0);
    catalogue.waitAtGate("/songs/slow.mp3");
    EXPECT_FALSE(window->endSearch(std::chrono::milliseconds(50)));
    catalogue.releaseAll();
    EXPECT_TRUE(window->endSearch(std::chrono::seconds(10)));
}

// Destroying the window while the search thread is about to send SearchDone.
TEST_F(PlayerWindowTest, DestroyingTheWindowDuringASearchDoesNotHang) {
    catalogue.gate("/songs/slow.mp3");
    ASSERT_EQ(window->startSession(songs({"/songs/slow.mp3"}), File), 0);
    catalogue.waitAtGate("/songs/slow.mp3");
    std::thread releaser([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        catalogue.releaseAll();
    });
    window.reset();
    releaser.join();
}

}  // namespace
}  // namespace pwtest
