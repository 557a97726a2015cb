#include "program/Display.h"

#include "program/ExitStatus.h"
#include "program/Language.h"

#include <QByteArray>
#include <QLocale>
#include <QThread>
#include <QTranslator>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <unistd.h>
#include <utility>

namespace {

constexpr const char* NoDisplay =
    QT_TRANSLATE_NOOP("Wirtola", "wirtola: nie można połączyć się z ekranem (DISPLAY, WAYLAND_DISPLAY)");
constexpr const char* DisplayLost = QT_TRANSLATE_NOOP("Wirtola", "wirtola: połączenie z ekranem zostało przerwane");

// The platform plugins' own words for a display that went away; each ends the process after it.
constexpr const char* LossMessages[] = {"The X11 connection broke", "The Wayland connection broke",
                                        "The Wayland connection experienced a fatal error"};

// Made before the application exists, in the player's language: the failure that needs them
// comes while the application is still being made, or while the process is going down.
QByteArray noDisplayLine;
QByteArray lostLine;
void (*lostHook)() = nullptr;
std::atomic<bool> ending = false;
QtMessageHandler qtHandler = nullptr;
bool opening = false;
int heldStderr = -1; // the real standard error while the platform's output is held back

void WriteLine(int fd, const QByteArray& line)
{
    const QByteArray whole = line + '\n';
    [[maybe_unused]] const ssize_t written = ::write(fd, whole.constData(), static_cast<size_t>(whole.size()));
}

void Handler(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (opening && type == QtFatalMsg) {
        // No platform could be made: nothing to run the game on.
        WriteLine(heldStderr >= 0 ? heldStderr : STDERR_FILENO, noDisplayLine);
        std::_Exit(program::exit_status::NoDisplay);
    }
    if (!opening) {
        for (const char* loss : LossMessages)
            if (message.startsWith(QLatin1String(loss))) {
                program::EndForLostDisplay();
                return;
            }
    }
    if (qtHandler)
        qtHandler(type, context, message);
}

// Standard error into a file of its own, so that what the platform writes there (libwayland and
// libxcb write directly) can be shown or dropped once it is known whether a display opened.
class HeldStderr {
public:
    HeldStderr()
    {
        std::fflush(stderr);
        file_ = std::tmpfile();
        if (file_ == nullptr)
            return;
        heldStderr = ::dup(STDERR_FILENO);
        if (heldStderr < 0 || ::dup2(::fileno(file_), STDERR_FILENO) < 0) {
            Release();
            return;
        }
    }
    ~HeldStderr()
    {
        if (heldStderr < 0)
            return;
        std::fflush(stderr);
        ::dup2(heldStderr, STDERR_FILENO);
        std::rewind(file_);
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file_)) > 0;)
            if (::write(STDERR_FILENO, buffer, n) < 0)
                break;
        Release();
    }
    HeldStderr(const HeldStderr&) = delete;
    HeldStderr& operator=(const HeldStderr&) = delete;

private:
    void Release()
    {
        if (heldStderr >= 0)
            ::close(heldStderr);
        heldStderr = -1;
        if (file_)
            std::fclose(file_);
        file_ = nullptr;
    }
    std::FILE* file_ = nullptr;
};

QByteArray Translated(const QTranslator& translator, const char* text)
{
    const QString translated = translator.translate("Wirtola", text);
    return (translated.isEmpty() ? QString::fromUtf8(text) : translated).toLocal8Bit();
}

} // namespace

namespace program {

std::unique_ptr<QApplication> OpenDisplay(int& argc, char** argv)
{
    QTranslator translator;
    (void)LoadTranslation(translator, QLocale::system().uiLanguages());
    noDisplayLine = Translated(translator, NoDisplay);
    lostLine = Translated(translator, DisplayLost);
    qtHandler = qInstallMessageHandler(Handler);
    std::unique_ptr<QApplication> app;
    {
        const HeldStderr held;
        opening = true;
        app = std::make_unique<QApplication>(argc, argv);
        opening = false;
    }
    return app;
}

void SetDisplayLostHook(void (*hook)())
{
    lostHook = hook;
}

void EndForLostDisplay()
{
    // Only the user-interface thread may save. The platforms report the loss there, but a
    // thread of theirs may report it too: it waits while the user-interface thread saves and ends.
    const bool mainThread =
        QCoreApplication::instance() != nullptr && QThread::currentThread() == QCoreApplication::instance()->thread();
    if (!mainThread) {
        for (int i = 0; i < 50; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
    } else if (ending.exchange(true)) {
        return; // a report from within the save itself: the save goes on, and then the end
    } else if (void (*hook)() = std::exchange(lostHook, nullptr)) {
        hook();
    }
    WriteLine(STDERR_FILENO, lostLine.isEmpty() ? QByteArray(DisplayLost) : lostLine);
    std::_Exit(exit_status::NoDisplay);
}

} // namespace program
