// The player window tests need one QApplication and GStreamer for the whole run.
#include <QApplication>

#include <gtest/gtest.h>

#include "app/gst/gst_init.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ensureGstInitialised();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
