// Whole-process start-up: the program against a bare Qt window of the same size, started
// alternately, each timed from just before exec to its first paint, with the processor time
// spent and the shared libraries mapped by then, and resident memory once idle. Run under a
// display (xvfb-run) or with QT_QPA_PLATFORM=offscreen.

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

namespace {

long long MonotonicNs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<long long>(ts.tv_sec) * 1000000000LL + ts.tv_nsec;
}

struct Sample {
    double ms;
    long rssKb;
    double cpuMs;
    long libraries;
};

bool RunOnce(const std::string& probe, const char* mode, Sample& out)
{
    int pipefd[2];
    if (pipe(pipefd) != 0)
        return false;
    const long long start = MonotonicNs();
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(pipefd[1], STDOUT_FILENO);
        close(pipefd[0]);
        execl(probe.c_str(), probe.c_str(), mode, static_cast<char*>(nullptr));
        _exit(127);
    }
    close(pipefd[1]);
    char buf[128] = {};
    const ssize_t n = read(pipefd[0], buf, sizeof buf - 1);
    close(pipefd[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    long long painted = 0;
    long rss = 0;
    long long cpuUs = 0;
    long libraries = 0;
    if (n <= 0 || std::sscanf(buf, "%lld %ld %lld %ld", &painted, &rss, &cpuUs, &libraries) != 4)
        return false;
    out = {static_cast<double>(painted - start) / 1e6, rss, static_cast<double>(cpuUs) / 1e3, libraries};
    return true;
}

template <typename T>
T Median(std::vector<T> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    const std::string self = argv[0];
    const std::string probe = self.substr(0, self.rfind('/') + 1) + "startup_probe";
    const int runs = argc > 1 ? std::stoi(argv[1]) : 15;
    std::vector<double> gameMs, bareMs, gameCpu, bareCpu;
    std::vector<long> gameKb, bareKb, gameLibs, bareLibs;
    Sample s{};
    RunOnce(probe, "bare", s); // warm the file cache for both
    RunOnce(probe, "game", s);
    for (int i = 0; i < runs; ++i) {
        if (!RunOnce(probe, "game", s)) {
            std::fprintf(stderr, "the program probe failed\n");
            return 1;
        }
        gameMs.push_back(s.ms);
        gameKb.push_back(s.rssKb);
        gameCpu.push_back(s.cpuMs);
        gameLibs.push_back(s.libraries);
        if (!RunOnce(probe, "bare", s)) {
            std::fprintf(stderr, "the bare probe failed\n");
            return 1;
        }
        bareMs.push_back(s.ms);
        bareKb.push_back(s.rssKb);
        bareCpu.push_back(s.cpuMs);
        bareLibs.push_back(s.libraries);
    }
    const double g = Median(gameMs), b = Median(bareMs);
    const long gk = Median(gameKb), bk = Median(bareKb);
    std::printf("runs %d (medians)\n", runs);
    const double gc = Median(gameCpu), bc = Median(bareCpu);
    std::printf("start-up to first paint: wirtola %.1f ms, bare window %.1f ms, ratio %.2f\n", g, b, g / b);
    std::printf("processor time by then:  wirtola %.1f ms, bare window %.1f ms, ratio %.2f\n", gc, bc, gc / bc);
    std::printf("libraries mapped by then: wirtola %ld, bare window %ld, difference %ld\n", Median(gameLibs),
                Median(bareLibs), Median(gameLibs) - Median(bareLibs));
    std::printf("resident memory idle:    wirtola %.1f MB, bare window %.1f MB, difference %.1f MB\n", gk / 1024.0,
                bk / 1024.0, (gk - bk) / 1024.0);
    return 0;
}
