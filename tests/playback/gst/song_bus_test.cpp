// The bus's count of announced messages when the owner empties the bus in between.
#include "playback/gst/song_bus.h"
#include "media_graph_fixture.h"

// The notification runs after the count rose and before the queue holds the message.
TEST_F(MediaGraphTest, BusEmptiedWhileAMessageIsOnItsWayKeepsItsCount) {
    for (void (SongBus::*empty)() : {&SongBus::clear, &SongBus::restart}) {
        GstBusPtr raw(gst_bus_new());
        SongBus bus(raw.get());
        bus.setNotify([&] { (bus.*empty)(); });
        gst_bus_post(raw.get(), gst_message_new_application(nullptr, gst_structure_new_empty("m")));
        EXPECT_NE(bus.pop(), nullptr);
        Clock::time_point start = Clock::now();
        EXPECT_EQ(bus.pop(), nullptr);
        EXPECT_LT(secondsSince(start), 0.4);
        EXPECT_EQ(bus.pending(), 0u);
    }
}
