#include "platform/SingleInstance.h"
#include "support/fixtures/TestApplication.h"
#include "support/harness/Polling.h"

#include <QLocalSocket>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// Callers that say nothing, or too much without a line's end, are cut off, so that their
// descriptors and buffers are given back.
TEST(SingleInstance, CallersThatSayTooMuchOrNothingAreCutOff) {
    testApplication();
    QTemporaryDir settings;
    SingleInstance first(settings.filePath("user.reg"));
    ASSERT_EQ(first.claim(), SingleInstance::Outcome::First) << first.problem().toStdString();
    EXPECT_EQ(first.lockPath(), settings.filePath("user.reg.lock"));
    for (const QByteArray& said : {QByteArray(), QByteArray(1 << 20, 'x')}) {
        QLocalSocket caller;
        caller.connectToServer(first.socketPath());
        ASSERT_TRUE(caller.waitForConnected(5000));
        caller.write(said);
        EXPECT_TRUE(eventually([&] { return caller.state() == QLocalSocket::UnconnectedState; }))
            << said.size() << " bytes";
    }
}
