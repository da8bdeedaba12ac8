// Tests of the single-instance takeover with the real executable in a temporary program folder.
#include "apptestsupport.h"

#include "app/singleinstance.h"
#include "core/settingsfile.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLocalSocket>
#include <QProcess>
#include <QThread>
#include <cstring>
#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// Start-up of the program under the offscreen platform takes well under this.
constexpr int kStartMs = 20000;

// A program folder holding a copy of the executable; the process environment points HOME,
// the XDG folders and the temporary folder (where the instance socket lives) into it.
class ProgramFolder {
public:
    ProgramFolder() {
        const QString built = qEnvironmentVariable("XZ_BUILD_DIR") + "/xingzhou";
        copied_ = QFile::copy(built, exe());
        QDir(dir_.path()).mkpath("home/.config");
        QDir(dir_.path()).mkpath("tmp");
        QDir(dir_.path()).mkpath("runtime");
        QFile::setPermissions(dir_.file("runtime"),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    bool ready() const { return copied_; }
    QString exe() const { return dir_.file("xingzhou"); }
    QString file(const QString &name) const { return dir_.file(name); }
    // Full socket path, as the program resolves its per-user name in its temporary folder.
    QString socketPath() const { return dir_.file("tmp/") + SingleInstance::defaultName(); }

    std::unique_ptr<QProcess> start(const QStringList &args = {}) const {
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("HOME", dir_.file("home"));
        env.insert("XDG_CONFIG_HOME", dir_.file("home/.config"));
        env.insert("XDG_DATA_HOME", dir_.file("home/.local/share"));
        env.insert("XDG_CACHE_HOME", dir_.file("home/.cache"));
        env.insert("XDG_RUNTIME_DIR", dir_.file("runtime"));
        env.insert("TMPDIR", dir_.file("tmp"));
        process->setProcessEnvironment(env);
        process->setWorkingDirectory(dir_.path());
        process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process->start(exe(), args);
        process->waitForStarted(kStartMs);
        return process;
    }

    // Waits until an instance answers on the socket.
    bool waitUntilServing() const {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < kStartMs) {
            QLocalSocket probe;
            probe.connectToServer(socketPath());
            if (probe.waitForConnected(200))
                return true;
            QThread::msleep(50);
        }
        return false;
    }

    std::string settingsPath() const {
        return QFile::encodeName(file("tabfile.kez")).toStdString();
    }

private:
    TempFolder dir_;
    bool copied_ = false;
};

// Closes the instance serving `folder`'s socket as a new instance would, and waits for its end.
void closeInstance(const ProgramFolder &folder, QProcess &process) {
    SingleInstance requester(folder.socketPath());
    EXPECT_EQ(requester.closeRunningInstance(), SingleInstance::Takeover::Closed);
    EXPECT_TRUE(process.waitForFinished(kStartMs));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 0);
}

} // namespace

TEST(Takeover, SecondInstanceClosesFirstAfterItsFilesAreWritten) {
    ProgramFolder folder;
    ASSERT_TRUE(folder.ready());
    auto first = folder.start();
    ASSERT_TRUE(folder.waitUntilServing());
    EXPECT_FALSE(QFile::exists(folder.file("tabfile.kez")));
    // Changed behind the running first instance, which saves its own state (tree hidden)
    // over it when it closes; the second instance must start from that saved state.
    QFile stale(folder.file("tabfile.kez"));
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.write("[设置]\n显示文件夹树=1\n");
    stale.close();

    auto second = folder.start();
    ASSERT_TRUE(first->waitForFinished(kStartMs));
    EXPECT_EQ(first->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(first->exitCode(), 0);
    EXPECT_TRUE(QFile::exists(folder.file("kezmru.kez")));
    EXPECT_FALSE(SettingsFile(folder.settingsPath()).readBool("设置", "显示文件夹树", true));

    // Exactly one instance remains, and it serves the takeover of the next one.
    ASSERT_TRUE(folder.waitUntilServing());
    EXPECT_EQ(second->state(), QProcess::Running);
    closeInstance(folder, *second);
    const SettingsFile written(folder.settingsPath());
    EXPECT_FALSE(written.readBool("设置", "显示文件夹树", true));
    EXPECT_EQ(written.sectionKeys("设置").size(), 5u);
}

TEST(Takeover, StaleSocketOfACrashedInstanceDoesNotBlockStart) {
    ProgramFolder folder;
    ASSERT_TRUE(folder.ready());
    // A socket file nobody listens on, as a killed instance leaves it.
    const QByteArray path = QFile::encodeName(folder.socketPath());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    ASSERT_LT(static_cast<std::size_t>(path.size()), sizeof address.sun_path);
    std::memcpy(address.sun_path, path.constData(), static_cast<std::size_t>(path.size()));
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
    ::close(fd);
    ASSERT_TRUE(QFile::exists(folder.socketPath()));

    auto instance = folder.start();
    ASSERT_TRUE(folder.waitUntilServing());
    EXPECT_EQ(instance->state(), QProcess::Running);
    closeInstance(folder, *instance);
    EXPECT_TRUE(QFile::exists(folder.file("tabfile.kez")));
    EXPECT_TRUE(QFile::exists(folder.file("kezmru.kez")));
}
