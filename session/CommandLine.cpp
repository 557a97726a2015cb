#include "session/CommandLine.h"

#include "scores/History.h"
#include "scores/Statistics.h"
#include "session/Language.h"
#include "windows/Text.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QLocale>

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

constexpr const char* Description =
    QT_TRANSLATE_NOOP("Wirtola", "Poker pięciokartowy z wymianą: Ty przeciw komputerowi.");
constexpr const char* HistoryOption =
    QT_TRANSLATE_NOOP("Wirtola",
                      "Wypisuje historię rozdań jako CSV: wiersz nagłówka, potem wiersz na rozdanie i na zdarzenie "
                      "(pożyczkę, nagrodę, nową grę).");
constexpr const char* HelpOption = QT_TRANSLATE_NOOP("Wirtola", "Wypisuje ten opis.");
constexpr const char* VersionOption = QT_TRANSLATE_NOOP("Wirtola", "Wypisuje wersję programu.");

// Qt's own options, which QApplication takes from the command line itself.
const QStringList QtValueOptions{QStringLiteral("platform"),
                                 QStringLiteral("platformpluginpath"),
                                 QStringLiteral("platformtheme"),
                                 QStringLiteral("plugin"),
                                 QStringLiteral("display"),
                                 QStringLiteral("style"),
                                 QStringLiteral("stylesheet"),
                                 QStringLiteral("geometry"),
                                 QStringLiteral("qwindowgeometry"),
                                 QStringLiteral("title"),
                                 QStringLiteral("qwindowtitle"),
                                 QStringLiteral("qwindowicon"),
                                 QStringLiteral("icon"),
                                 QStringLiteral("session"),
                                 QStringLiteral("name"),
                                 QStringLiteral("qmljsdebugger")};
const QStringList QtFlagOptions{QStringLiteral("reverse"), QStringLiteral("widgetcount"), QStringLiteral("nograb"),
                                QStringLiteral("dograb"), QStringLiteral("sync")};

struct Parsed {
    bool ok = false;
    bool help = false;
    bool version = false;
    bool history = false;
    QString error;
    QString helpText;
};

Parsed Parse(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(Text(Description));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, Text(HelpOption));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")}, Text(VersionOption));
    const QCommandLineOption history(QStringLiteral("history"), Text(HistoryOption));
    parser.addOption(help);
    parser.addOption(version);
    parser.addOption(history);
    for (const QString& name : QtValueOptions) {
        QCommandLineOption option(name, QString(), QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    for (const QString& name : QtFlagOptions) {
        QCommandLineOption option(name);
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    Parsed parsed;
    parsed.ok = parser.parse(arguments) && parser.positionalArguments().isEmpty();
    parsed.error = parser.errorText();
    if (parsed.ok && !parser.positionalArguments().isEmpty())
        parsed.error = parser.positionalArguments().join(QLatin1Char(' '));
    parsed.help = parser.isSet(help);
    parsed.version = parser.isSet(version);
    parsed.history = parser.isSet(history);
    parsed.helpText = parser.helpText();
    return parsed;
}

constexpr const char* HistoryUnreadable =
    QT_TRANSLATE_NOOP("Wirtola", "wirtola: nie można odczytać całej historii rozdań %1: %2");
constexpr const char* CauseDamaged = QT_TRANSLATE_NOOP("Wirtola", "plik jest uszkodzony");
constexpr const char* CauseNotOurs = QT_TRANSLATE_NOOP("Wirtola", "to nie jest historia rozdań Wirtoli");
constexpr const char* CauseNewer = QT_TRANSLATE_NOOP("Wirtola", "zapisała ją nowsza wersja gry");
constexpr const char* CauseRefused =
    QT_TRANSLATE_NOOP("Wirtola", "to dowiązanie, plik innego użytkownika albo nie plik");
constexpr const char* CauseUnopened = QT_TRANSLATE_NOOP("Wirtola", "nie można jej otworzyć");
constexpr const char* OutputFailed = QT_TRANSLATE_NOOP("Wirtola", "wirtola: nie można wypisać historii rozdań: %1");

// The exit statuses of --history besides 0.
constexpr int ExitRecordUnreadable = 5;
constexpr int ExitOutputFailed = 6;

// The record as CSV on standard output, row by row as it is read, so memory stays the same
// whatever its length. A record that cannot be read whole is said on standard error, and by the
// status, even when some rows were printed.
int PrintHistory()
{
    using session::history::ReadEnd;
    // Read where and as the game writes it.
    const session::history::RecordPlace place = session::history::CurrentRecordPlace(false);
    static std::array<char, 1 << 16> buffer{};
    std::setvbuf(stdout, buffer.data(), _IOFBF, buffer.size());
    session::history::WriteCsvHeader(stdout);
    const ReadEnd end = place.refusal != session::profile::WriteFailure::None ? ReadEnd::Refused
        : place.path.empty()                                                  ? ReadEnd::Whole
                             : session::history::ReadHistory(place.path, [](const session::history::Entry& e) {
                                   session::history::WriteCsvRow(stdout, e);
                               });
    const bool written = std::fflush(stdout) == 0 && !std::ferror(stdout);
    const int writeError = errno;
    if (end != ReadEnd::Whole) {
        const char* cause = end == ReadEnd::Damaged ? CauseDamaged
            : end == ReadEnd::NotOurs               ? CauseNotOurs
            : end == ReadEnd::Newer                 ? CauseNewer
            : end == ReadEnd::Refused               ? CauseRefused
                                                    : CauseUnopened;
        const QString path = QString::fromStdString(place.path);
        std::fprintf(stderr, "%s\n", qPrintable(Text(HistoryUnreadable).arg(path, Text(cause))));
        return ExitRecordUnreadable;
    }
    if (!written) {
        std::fprintf(stderr, "%s\n",
                     qPrintable(Text(OutputFailed).arg(QString::fromLocal8Bit(std::strerror(writeError)))));
        return ExitOutputFailed;
    }
    return 0;
}

} // namespace

namespace session {

std::optional<int> RunCommandLine(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    Parsed parsed = Parse(arguments);
    if (parsed.ok && !parsed.help && !parsed.version && !parsed.history)
        return std::nullopt;

    // An answer to print: a core application only, for the translation; no display is needed.
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("wirtola"));
    const Translations translations(QLocale::system().uiLanguages()); // Qt's own texts too
    parsed = Parse(arguments);
    if (!parsed.ok) {
        std::fprintf(stderr, "wirtola: %s\n\n%s", qPrintable(parsed.error), qPrintable(parsed.helpText));
        return 2;
    }
    if (parsed.help) {
        std::fputs(qPrintable(parsed.helpText), stdout);
        return 0;
    }
    if (parsed.version) {
        std::printf("wirtola %s\n", WIRTOLA_VERSION);
        return 0;
    }
    return PrintHistory();
}

} // namespace session
