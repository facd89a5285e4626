// The search on its own thread: start, stop, the synchronous notification and the waits
// that must not deadlock with it.
#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <future>
#include <latch>
#include <memory>
#include <mutex>
#include <semaphore>
#include <thread>

#include "songlist/core/song_list.h"
#include "songlist/core/song_searcher.h"
#include "support/song_catalogue.h"
#include "support/temp_dir.h"

namespace {

// Stands in for the user-interface thread's event queue: another thread sends a job and
// blocks until the owning thread has run it, as a blocking queued call does.
class JobQueue {
  public:
    void sendAndWait(std::function<void()> job) {
        auto done = std::make_shared<std::promise<void>>();
        std::future<void> handled = done->get_future();
        {
            std::lock_guard guard(lock_);
            jobs_.push_back([job = std::move(job), done] {
                job();
                done->set_value();
            });
        }
        handled.wait();
    }
    void pump() {
        std::deque<std::function<void()>> jobs;
        {
            std::lock_guard guard(lock_);
            jobs.swap(jobs_);
        }
        for (auto& job : jobs)
            job();
    }

  private:
    std::mutex lock_;
    std::deque<std::function<void()>> jobs_;
};

class SearchThreadTest : public testing::Test {
  protected:
    void SetUp() override {
        for (const char* name : {"a.wav", "b.wav", "c.wav", "d.wav"})
            tree.write(name);
        searcher.selection = tree.path();
        searcher.setPatterns("*.wav");
    }

    testsupport::TempDir tree;
    SongList list;
    testsupport::SongCatalogue songs{testsupport::SongCatalogue::Unlisted::ByFileName};
    SongSearcher searcher{list, songs.probeFactory()};
};

}  // namespace

TEST_F(SearchThreadTest, NotifyIsHandledOnTheWaitingThreadWithoutDeadlock) {
    JobQueue uiQueue;
    const auto uiThread = std::this_thread::get_id();
    std::thread::id handledOn;
    int handledResult = -100;
    int countSeen = -1;
    searcher.setNotify([&](int result) {
        uiQueue.sendAndWait([&] {
            handledOn = std::this_thread::get_id();
            handledResult = result;
            countSeen = list.count();
        });
    });
    ASSERT_TRUE(searcher.start());
    EXPECT_TRUE(searcher.hasThread());
    searcher.waitForEnd([&] { uiQueue.pump(); });
    EXPECT_FALSE(searcher.hasThread());
    EXPECT_FALSE(searcher.running());
    EXPECT_EQ(handledOn, uiThread);
    EXPECT_EQ(handledResult, 0);
    EXPECT_EQ(countSeen, 4);
    EXPECT_EQ(songs.probesDestroyed(), 1);
}

TEST_F(SearchThreadTest, RunningFromStartAndAStopBeforeTheThreadRunsHolds) {
    std::binary_semaphore factoryGate{0};
    SongSearcher gated(list, [&]() -> std::unique_ptr<SongProbe> {
        factoryGate.acquire();
        return songs.probeFactory()();
    });
    gated.selection = tree.path();
    gated.setPatterns("*.wav");
    int notified = 0;
    gated.setNotify([&](int) { ++notified; });

    ASSERT_TRUE(gated.start());
    EXPECT_TRUE(gated.running());  // at once, before the thread got going
    EXPECT_FALSE(gated.start());   // the running thread has not been waited for
    gated.requestStop();
    factoryGate.release();
    gated.waitForEnd();
    EXPECT_EQ(notified, 1);
    EXPECT_TRUE(songs.openedPaths().empty());
    EXPECT_EQ(list.count(), 0);
}

TEST_F(SearchThreadTest, StopEndsTheSearchAfterTheFileBeingProbed) {
    std::latch secondFileReached{1};
    std::binary_semaphore resume{0};
    songs.onOpen = [&](const std::string&) {
        if (songs.openedPaths().size() != 2)
            return;
        secondFileReached.count_down();
        resume.acquire();
    };
    int notified = 0;
    searcher.setNotify([&](int) { ++notified; });
    ASSERT_TRUE(searcher.start());
    secondFileReached.wait();
    searcher.requestStop();
    resume.release();
    searcher.waitForEnd();
    EXPECT_EQ(songs.openedPaths().size(), 2u);
    EXPECT_EQ(list.count(), 2);  // the file being probed is kept
    EXPECT_EQ(notified, 1);
}

TEST_F(SearchThreadTest, SearcherCanBeStartedAgainAfterTheWait) {
    ASSERT_TRUE(searcher.start());
    searcher.waitForEnd();
    ASSERT_TRUE(searcher.start());
    searcher.waitForEnd();
    EXPECT_EQ(list.count(), 8);
    EXPECT_EQ(songs.probesCreated(), 2);
    EXPECT_EQ(songs.probesDestroyed(), 2);
}

TEST_F(SearchThreadTest, DestructionStopsAndWaitsForTheSearch) {
    std::latch firstFileReached{1};
    {
        SongSearcher doomed(list, songs.probeFactory());
        doomed.selection = tree.path();
        doomed.setPatterns("*.wav");
        // The first probe holds on until the destructor's stop request arrives.
        songs.onOpen = [&](const std::string&) {
            firstFileReached.count_down();
            while (doomed.running())
                std::this_thread::yield();
        };
        ASSERT_TRUE(doomed.start());
        firstFileReached.wait();
    }
    EXPECT_EQ(songs.openedPaths().size(), 1u);
    EXPECT_EQ(songs.probesDestroyed(), 1);
}

// A body stuck where no stop reaches it (a system call on a dead mount): a limited wait
// gives up in time and leaves the thread to be waited for later.
TEST_F(SearchThreadTest, ALimitedWaitGivesUpOnAStuckSearch) {
    std::binary_semaphore resume{0};
    std::latch inProbe{1};
    songs.onOpen = [&](const std::string&) {
        if (songs.openedPaths().size() != 1)
            return;
        inProbe.count_down();
        resume.acquire();
    };
    ASSERT_TRUE(searcher.start());
    inProbe.wait();
    searcher.requestStop();
    int pumps = 0;
    EXPECT_FALSE(searcher.waitForEnd([&] { ++pumps; }, std::chrono::milliseconds(50)));
    EXPECT_GT(pumps, 0);
    EXPECT_FALSE(searcher.waitForEnd({}, std::chrono::milliseconds(10)));
    EXPECT_TRUE(searcher.hasThread());
    resume.release();
    EXPECT_TRUE(searcher.waitForEnd());
    EXPECT_FALSE(searcher.hasThread());
}
