// xingzhou-find: the search engine on the command line, one hit per line.
#include "search/findcommandline.h"
#include "search/findfile.h"
#include "search/postqueue.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

namespace {

TFindFile *gEngine = nullptr;

extern "C" void AbortOnSignal(int) {
    // Abort only stores into lock-free atomics, which is safe in a signal handler.
    if (gEngine)
        gEngine->Abort();
}

// Output buffer for the hits: large writes instead of one per line.
constexpr size_t kOutputBuffer = 1 << 16;

} // namespace

int main(int argc, char **argv) {
    TFindFile engine;
    TFindCommandLine commandLine;
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (!commandLine.Parse(arguments, engine)) {
        std::fprintf(stderr, "xingzhou-find: %s\nTry 'xingzhou-find --help'.\n",
                     commandLine.Error().c_str());
        return 2;
    }
    if (commandLine.HelpRequested()) {
        std::fputs(TFindCommandLine::HelpText().c_str(), stdout);
        return 0;
    }
    static char outputBuffer[kOutputBuffer];
    std::setvbuf(stdout, outputBuffer, _IOFBF, sizeof outputBuffer);
    const char terminator = commandLine.NullTerminated() ? '\0' : '\n';
    long long folders = 0;
    long long hits = 0;
    engine.SetHitDetails(false);
    engine.SetOnFolderChange([&](TFindFile &, const std::string &, TFolderIgnore &) { ++folders; });
    engine.SetOnFileMatch([&](TFindFile &, const TFileDetails &hit) {
        ++hits;
        fwrite_unlocked(hit.Location.data(), 1, hit.Location.size(), stdout);
        fwrite_unlocked(hit.Name.data(), 1, hit.Name.size(), stdout);
        fputc_unlocked(terminator, stdout);
    });
    TPostQueue ownerQueue;
    engine.SetPostToOwner(
        [&ownerQueue](std::function<void()> work) { ownerQueue.Post(std::move(work)); });
    engine.SetErrorDisplay([](const std::string &message) {
        std::fprintf(stderr, "xingzhou-find: %s\n", message.c_str());
    });
    gEngine = &engine;
    std::signal(SIGINT, AbortOnSignal);
    std::signal(SIGTERM, AbortOnSignal);

    const auto start = std::chrono::steady_clock::now();
    try {
        engine.Execute();
        while (engine.Busy())
            ownerQueue.WaitAndRun(std::chrono::milliseconds(100));
    } catch (const std::exception &error) {
        std::fflush(stdout);
        std::fprintf(stderr, "xingzhou-find: %s\n", error.what());
        return 2;
    }
    std::fflush(stdout);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::fprintf(stderr, "%s共搜索%lld个文件夹，共找到%lld个文件，用时%.3f秒。\n",
                 engine.Aborted() ? "查找被终止！ - " : "", folders, hits, seconds);
    gEngine = nullptr;
    return hits > 0 ? 0 : 1;
}
