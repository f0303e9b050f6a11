// Program start to the first painted main window.
//
// BM_ProcessStartToFirstPaint starts a fresh process (this program in its child role) that
// does what main() does: QApplication, the profile, CMrvApp::InitInstance with the window
// shown. The child reports through a pipe as soon as the main frame has been painted; the
// time from spawn to that report is the start-up a user waits for, with the loading of the
// Qt libraries and the platform plugin included.
//
// BM_WindowToFirstPaint does the program's own part only, in this process: document, frame,
// view, settings, show and paint, with Qt already up.
//
// The platform is "offscreen" unless QT_QPA_PLATFORM says otherwise; the profile is an INI
// file in a temporary folder, so the user's own settings are never read or written (the
// first start finds none, the later ones the profile the first one saved).
#include "WidgetBench.h"
#include "doc/QtSettingsStore.h"
#include "ui/app/CMainFrame.h"
#include "ui/app/CMrvApp.h"
#include "ui/app/ProgramIcon.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QString>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

extern char** environ;

namespace {

constexpr const char* kChildFlag = "--startup-child";

// Notes the first paint of any widget of the main window.
class PaintWatch final : public QObject {
public:
    bool painted = false;
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !painted) {
            auto* w = qobject_cast<QWidget*>(watched);
            if (w && qobject_cast<mrv::CMainFrame*>(w->window()))
                painted = true;
        }
        return false;
    }
};

// Starts the application, shows it and returns once its window has been painted; false
// when start-up failed or nothing was painted within 20 s.
bool StartAndPaint(mrv::CMrvApp& app, PaintWatch& watch)
{
    if (!app.InitInstance(true))
        return false;
    QElapsedTimer limit;
    limit.start();
    while (!watch.painted && limit.elapsed() < 20000)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    return watch.painted;
}

std::filesystem::path MakeTempDir()
{
    std::string tmpl = (std::filesystem::temp_directory_path() / "mrvstartup-XXXXXX").string();
    if (!mkdtemp(tmpl.data())) {
        std::perror("mkdtemp");
        std::exit(1);
    }
    return tmpl;
}

// The child: main() of the program with a given profile file; writes one byte to `fd`
// after the first paint, then shuts down as the program does.
int ChildMain(int argc, char** argv)
{
    if (argc < 4)
        return 2;
    const int fd = std::atoi(argv[2]);
    const QString profile = QString::fromLocal8Bit(argv[3]);
    int qargc = 1;
    QApplication qapp(qargc, argv);
    QApplication::setOrganizationName("halvane");
    QApplication::setApplicationName("mrv003e");
    QApplication::setWindowIcon(mrv::ProgramIcon());
    PaintWatch watch;
    qapp.installEventFilter(&watch);

    mrv::QtSettingsStore store(profile);
    mrv::CMrvApp app(store, nullptr, QApplication::applicationFilePath().toStdString());
    if (!StartAndPaint(app, watch))
        return 1;
    const char done = 'p';
    if (::write(fd, &done, 1) != 1)
        return 1;
    ::close(fd);
    app.ExitInstance();
    store.Sync();
    return 0;
}

void BM_ProcessStartToFirstPaint(benchmark::State& state)
{
    const std::filesystem::path dir = MakeTempDir();
    const std::string profile = (dir / "mrv003e.conf").string();
    const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();

    for (auto _ : state) {
        int fds[2];
        if (::pipe(fds) != 0) {
            state.SkipWithError("pipe failed");
            break;
        }
        const std::string fdText = std::to_string(fds[1]);
        char* args[] = {const_cast<char*>(self.c_str()), const_cast<char*>(kChildFlag),
                        const_cast<char*>(fdText.c_str()), const_cast<char*>(profile.c_str()),
                        nullptr};
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addclose(&actions, fds[0]);

        const auto start = std::chrono::steady_clock::now();
        pid_t pid = 0;
        const int spawned = posix_spawn(&pid, self.c_str(), &actions, nullptr, args, environ);
        posix_spawn_file_actions_destroy(&actions);
        ::close(fds[1]);
        if (spawned != 0) {
            ::close(fds[0]);
            state.SkipWithError("cannot start the child");
            break;
        }
        pollfd p{fds[0], POLLIN, 0};
        char byte = 0;
        const bool reported = ::poll(&p, 1, 30000) == 1 && ::read(fds[0], &byte, 1) == 1;
        const auto end = std::chrono::steady_clock::now();
        ::close(fds[0]);
        int status = 0;
        if (!reported)
            ::kill(pid, SIGKILL);
        ::waitpid(pid, &status, 0);
        if (!reported || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("the child did not paint its window or failed");
            break;
        }
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_ProcessStartToFirstPaint)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(20);

void BM_WindowToFirstPaint(benchmark::State& state)
{
    const std::filesystem::path dir = MakeTempDir();
    const QString profile = QString::fromStdString((dir / "mrv003e.conf").string());
    PaintWatch watch;
    qApp->installEventFilter(&watch);

    for (auto _ : state) {
        mrv::QtSettingsStore store(profile);
        mrv::CMrvApp app(store, nullptr, QApplication::applicationFilePath().toStdString());
        watch.painted = false;
        const auto start = std::chrono::steady_clock::now();
        const bool ok = StartAndPaint(app, watch);
        const auto end = std::chrono::steady_clock::now();
        if (!ok) {
            state.SkipWithError("the window was not painted");
            break;
        }
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
        app.ExitInstance();
        QApplication::processEvents();
    }
    qApp->removeEventFilter(&watch);
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_WindowToFirstPaint)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(30);

} // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    if (argc > 1 && std::strcmp(argv[1], kChildFlag) == 0)
        return ChildMain(argc, argv);
    // Without a session Qt wants a private runtime folder; the children share this one.
    std::filesystem::path runtime;
    if (!std::getenv("XDG_RUNTIME_DIR")) {
        runtime = MakeTempDir();
        setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    }
    const int rc = mrv::bench::RunWidgetBenchmarks(argc, argv);
    if (!runtime.empty())
        std::filesystem::remove_all(runtime);
    return rc;
}
