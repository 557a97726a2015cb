#include "program/CommandLine.h"

#include "engine/Advisor.h"
#include "program/ExitStatus.h"
#include "program/Language.h"
#include "scores/History.h"
#include "scores/Statistics.h"
#include "windows/RoundLog.h"
#include "windows/Text.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QLocale>
#include <QRegularExpression>

#include <algorithm>
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
constexpr const char* HintOption = QT_TRANSLATE_NOOP(
    "Wirtola",
    "Wypisuje jako CSV szanse każdej z 32 wymian dla pięciu kart (np. \"2h 2d 7c 9s Kd\"), najlepszą najpierw.");
constexpr const char* HintValue = QT_TRANSLATE_NOOP("Wirtola", "karty");
// %1 the number of cards given.
constexpr const char* HintCount = QT_TRANSLATE_NOOP("Wirtola", "--hint: potrzeba pięciu kart, podano %1");
// %1 the card as given.
constexpr const char* HintUnknown =
    QT_TRANSLATE_NOOP("Wirtola", "--hint: nieznana karta \"%1\" (karty jak 2c, Td, Qh, As)");
constexpr const char* HintTwice = QT_TRANSLATE_NOOP("Wirtola", "--hint: karta \"%1\" podana dwa razy");
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
    bool hint = false;
    QString hintCards;
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
        if (name == QLatin1String("hint")) {
            // The cards after '=' or as the next argument: "--hint '2h 2d 7c 9s Kd'".
            if (equals < 0 && ++i >= arguments.size())
                return fail(Fault::ValueNeeded, typed);
            parsed.hint = true;
            parsed.hintCards = equals < 0 ? arguments.at(i) : argument.mid(equals + 1);
            continue;
        }
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
    parser.addOption({QStringLiteral("hint"), Text(HintOption), Text(HintValue)});
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
    return printed >= 0 && std::fflush(stdout) == 0 && !std::ferror(stdout) ? program::exit_status::Done
                                                                            : program::exit_status::OutputFailed;
}

// The cards as --history writes them ("Qh", "Td"), in either case, "10" for a ten as well.
std::optional<engine::Card> CardFromText(const QString& word)
{
    static const QString ranks = QStringLiteral("23456789TJQKA");
    static const QString suits = QStringLiteral("CDHS");
    const QString w = word.toUpper();
    const QString rank = w.left(w.size() - 1) == QStringLiteral("10") ? QStringLiteral("T") : w.left(w.size() - 1);
    if (rank.size() != 1 || w.size() < 2 || ranks.indexOf(rank) < 0 || suits.indexOf(w.back()) < 0)
        return std::nullopt;
    return engine::Card{static_cast<std::int32_t>(ranks.indexOf(rank)) + 1,
                        static_cast<std::int32_t>(suits.indexOf(w.back()))};
}

std::string CardWords(const engine::HandCards& hand, engine::KeepMask keep)
{
    std::string text;
    for (int slot = 0; slot < engine::HandSize; ++slot) {
        if (!(keep & (1U << slot)))
            continue;
        if (!text.empty())
            text += ' ';
        text += "23456789TJQKA"[hand[slot].rank - 1];
        text += "cdhs"[hand[slot].suit];
    }
    return text;
}

// --hint: every keep choice for the five cards, best first, as CSV; status 2 for cards that are
// not five different ones.
int PrintHint(const QString& cards)
{
    const QStringList words = cards.split(QRegularExpression(QStringLiteral("[\\s,]+")), Qt::SkipEmptyParts);
    const auto refuse = [](const QString& line) {
        std::fprintf(stderr, "wirtola: %s\n", qPrintable(line));
        return program::exit_status::BadUsage;
    };
    if (words.size() != engine::HandSize)
        return refuse(Text(HintCount).arg(words.size()));
    engine::HandCards hand{};
    for (int slot = 0; slot < engine::HandSize; ++slot) {
        const std::optional<engine::Card> card = CardFromText(words[slot]);
        if (!card)
            return refuse(Text(HintUnknown).arg(words[slot]));
        if (std::find(hand.begin(), hand.begin() + slot, *card) != hand.begin() + slot)
            return refuse(Text(HintTwice).arg(words[slot]));
        hand[slot] = *card;
    }
    const engine::Advice advice = *engine::Advise(hand);
    std::printf("kept,win,tie,loss,expected,high_card,pair,two_pair,three,straight,flush,full_house,four,"
                "straight_flush,royal_flush\n");
    for (const engine::KeepMask keep : advice.ranking) {
        const engine::ChoiceOdds& odds = advice.For(keep);
        std::printf("%s,%.4f,%.4f,%.4f,%.4f", CardWords(hand, keep).c_str(), odds.win, odds.tie, odds.loss,
                    odds.Expected());
        for (int category = engine::HighCard; category <= engine::RoyalFlush; ++category)
            std::printf(",%.6f", odds.classes.Chance(category));
        std::printf("\n");
    }
    return Written(0);
}

constexpr const char* HistoryUnreadable =
    QT_TRANSLATE_NOOP("Wirtola", "wirtola: nie można odczytać całej historii rozdań %1: %2");
constexpr const char* OutputFailed = QT_TRANSLATE_NOOP("Wirtola", "wirtola: nie można wypisać historii rozdań: %1");

// The record as CSV on standard output, row by row as it is read, so memory stays the same
// whatever its length. A record that cannot be read whole is said on standard error, and by the
// status, even when some rows were printed.
int PrintHistory()
{
    using scores::history::ReadEnd;
    // Read where and as the game writes it.
    const scores::history::RecordPlace place = scores::history::CurrentRecordPlace(false);
    static std::array<char, 1 << 16> buffer{};
    std::setvbuf(stdout, buffer.data(), _IOFBF, buffer.size());
    scores::history::WriteCsvHeader(stdout);
    const ReadEnd end = place.refusal != scores::profile::WriteFailure::None ? ReadEnd::Refused
        : place.path.empty()                                                 ? ReadEnd::Whole
                             : scores::history::ReadHistory(place.path, [](const scores::history::Entry& e) {
                                   scores::history::WriteCsvRow(stdout, e);
                               });
    const bool written = std::fflush(stdout) == 0 && !std::ferror(stdout);
    const int writeError = errno;
    if (end != ReadEnd::Whole) {
        const QString path = QString::fromStdString(place.path);
        std::fprintf(stderr, "%s\n", qPrintable(Text(HistoryUnreadable).arg(path, Text(ReadEndCause(end)))));
        return program::exit_status::HistoryUnreadable;
    }
    if (!written) {
        std::fprintf(stderr, "%s\n",
                     qPrintable(Text(OutputFailed).arg(QString::fromLocal8Bit(std::strerror(writeError)))));
        return program::exit_status::OutputFailed;
    }
    return program::exit_status::Done;
}

} // namespace

namespace program {

std::optional<int> RunCommandLine(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const Parsed parsed = Parse(arguments);
    if (parsed.fault == Fault::None && !parsed.help && !parsed.version && !parsed.history && !parsed.hint)
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
        return Written(std::printf("wirtola %s\n%s\n", WIRTOLA_VERSION, Text(Licence).toLocal8Bit().constData()));
    if (parsed.hint)
        return PrintHint(parsed.hintCards);
    return PrintHistory();
}

} // namespace program
