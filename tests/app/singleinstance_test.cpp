// Tests of SingleInstance's protocol inside one process: refused and accepted close requests.
#include "apptestsupport.h"

#include "app/singleinstance.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <gtest/gtest.h>

#include <future>

namespace {

// Runs a new instance's request on another thread while this thread serves it.
SingleInstance::Takeover requestClose(const QString &name) {
    auto result = std::async(std::launch::async, [name] {
        SingleInstance requester(name);
        return requester.closeRunningInstance();
    });
    QElapsedTimer timer;
    timer.start();
    while (result.wait_for(std::chrono::milliseconds(10)) != std::future_status::ready &&
           timer.elapsed() < 10000)
        QCoreApplication::processEvents();
    return result.get();
}

} // namespace

TEST(SingleInstance, RefusedCloseKeepsTheRunningInstanceServingAndAcceptedCloseFreesTheName) {
    TempFolder dir;
    const QString name = dir.file("instance");
    SingleInstance running(name);
    bool closeSucceeds = false;
    int closeRequests = 0;
    running.setCloseHandler([&] {
        ++closeRequests;
        return closeSucceeds;
    });
    ASSERT_TRUE(running.listen());

    EXPECT_EQ(requestClose(name), SingleInstance::Takeover::Refused);
    EXPECT_EQ(closeRequests, 1);
    EXPECT_TRUE(running.isListening());
    SingleInstance intruder(name);
    EXPECT_FALSE(intruder.listen()); // a live instance's socket is never taken over

    closeSucceeds = true;
    EXPECT_EQ(requestClose(name), SingleInstance::Takeover::Closed);
    EXPECT_EQ(closeRequests, 2);
    EXPECT_FALSE(running.isListening());
    SingleInstance next(name);
    EXPECT_TRUE(next.listen());
    EXPECT_EQ(SingleInstance(dir.file("nobody")).closeRunningInstance(),
              SingleInstance::Takeover::NoneRunning);
}
