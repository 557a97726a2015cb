#include "session/CommandLine.h"

#include "scores/History.h"
#include "scores/Statistics.h"
#include "session/ExitStatus.h"
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
// As GNU programs say it: the option or argument as typed, then where to read more.
constexpr const char* UnknownOption = QT_TRANSLATE_NOOP("Wirtola", "wirtola: nieznana opcja '%1'");
constexpr const char* NoValueAllowed = QT_TRANSLATE_NOOP("Wirtola", "wirtola: opcja '%1' nie przyjmuje wartości");
constexpr const char* ValueNeeded = QT_TRANSLATE_NOOP("Wirtola", "wirtola: opcja '%1' wymaga wartości");
constexpr const char* UnexpectedArgument = QT_TRANSLATE_NOOP("Wirtola", "wirtola: nieoczekiwany argument '%1'");
constexpr const char* TryHelp = QT_TRANSLATE_NOOP("Wirtola", "Spróbuj 'wirtola --help'");
constexpr const char* Licence = QT_TRANSLATE_NOOP("Wirtola",
                                                  "Licencja GPL-3.0-or-later: GNU GPL w wersji 3 lub późniejszej "
                                                  "<https://gnu.org/licenses/gpl.html>");

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

enum class Fault { None, UnknownOption, NoValueAllowed, ValueNeeded, UnexpectedArgument };

struct Parsed {
    bool help = false;
    bool version = false;
    bool history = false;
    Fault fault = Fault::None;
    QString culprit; // the first argument at fault, as typed
};

// Our options take one dash or two (-help, --help), as Qt's own do; a value only after '='.
Parsed Parse(const QStringList& arguments)
{
    Parsed parsed;
    const auto fail = [&parsed](Fault fault, const QString& culprit) {
        parsed.fault = fault;
        parsed.culprit = culprit;
        return parsed;
    };
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (argument == QLatin1String("--")) {
            if (i + 1 < arguments.size())
                return fail(Fault::UnexpectedArgument, arguments.at(i + 1));
            break;
        }
        if (!argument.startsWith(QLatin1Char('-')) || argument == QLatin1String("-"))
            return fail(Fault::UnexpectedArgument, argument);
        const qsizetype equals = argument.indexOf(QLatin1Char('='));
        const QString typed = equals < 0 ? argument : argument.left(equals);
        const QString name = typed.mid(typed.startsWith(QLatin1String("--")) ? 2 : 1);
        bool* flag = nullptr;
        if (name == QLatin1String("help") || name == QLatin1String("h"))
            flag = &parsed.help;
        else if (name == QLatin1String("version") || name == QLatin1String("v"))
            flag = &parsed.version;
        else if (name == QLatin1String("history"))
            flag = &parsed.history;
        if (flag || QtFlagOptions.contains(name)) {
            if (equals >= 0)
                return fail(Fault::NoValueAllowed, typed);
            if (flag)
                *flag = true;
        } else if (QtValueOptions.contains(name)) {
            if (equals < 0 && ++i >= arguments.size())
                return fail(Fault::ValueNeeded, typed);
        } else {
            return fail(Fault::UnknownOption, argument);
        }
    }
    return parsed;
}

QString HelpText()
{
    QCommandLineParser parser;
    parser.setApplicationDescription(Text(Description));
    parser.addOption({{QStringLiteral("h"), QStringLiteral("help")}, Text(HelpOption)});
    parser.addOption({{QStringLiteral("v"), QStringLiteral("version")}, Text(VersionOption)});
    parser.addOption({QStringLiteral("history"), Text(HistoryOption)});
    return parser.helpText();
}

const char* FaultText(Fault fault)
{
    switch (fault) {
    case Fault::UnknownOption:
        return UnknownOption;
    case Fault::NoValueAllowed:
        return NoValueAllowed;
    case Fault::ValueNeeded:
        return ValueNeeded;
    case Fault::UnexpectedArgument:
    case Fault::None:
        break;
    }
    return UnexpectedArgument;
}

// What a reader of standard output gets: everything, or the status that says it did not.
int Written(int printed)
{
    return printed >= 0 && std::fflush(stdout) == 0 && !std::ferror(stdout) ? session::exit_status::Done
                                                                            : session::exit_status::OutputFailed;
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
        return session::exit_status::HistoryUnreadable;
    }
    if (!written) {
        std::fprintf(stderr, "%s\n",
                     qPrintable(Text(OutputFailed).arg(QString::fromLocal8Bit(std::strerror(writeError)))));
        return session::exit_status::OutputFailed;
    }
    return session::exit_status::Done;
}

} // namespace

namespace session {

std::optional<int> RunCommandLine(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const Parsed parsed = Parse(arguments);
    if (parsed.fault == Fault::None && !parsed.help && !parsed.version && !parsed.history)
        return std::nullopt;

    // An answer to print: a core application only, for the translation; no display is needed.
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("wirtola"));
    const Translations translations(QLocale::system().uiLanguages()); // Qt's own texts too
    if (parsed.fault != Fault::None) {
        std::fprintf(stderr, "%s\n%s\n", Text(FaultText(parsed.fault)).arg(parsed.culprit).toLocal8Bit().constData(),
                     Text(TryHelp).toLocal8Bit().constData());
        return exit_status::BadUsage;
    }
    if (parsed.help)
        return Written(std::fputs(HelpText().toLocal8Bit().constData(), stdout));
    if (parsed.version)
        return Written(std::printf("wirtola %s\n%s\n", WIRTOLA_FULL_VERSION, Text(Licence).toLocal8Bit().constData()));
    return PrintHistory();
}

} // namespace session
