#include "session/CommandLine.h"

#include "engine/Advisor.h"
#include "scores/History.h"
#include "scores/Statistics.h"
#include "session/Language.h"
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
    bool hint = false;
    QString hintCards;
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
    const QCommandLineOption hint(QStringLiteral("hint"), Text(HintOption), Text(HintValue));
    parser.addOption(hint);
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
    parsed.hint = parser.isSet(hint);
    parsed.hintCards = parser.value(hint);
    parsed.helpText = parser.helpText();
    return parsed;
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
        return 2;
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
    return std::fflush(stdout) == 0 ? 0 : 1;
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
    if (parsed.ok && !parsed.help && !parsed.version && !parsed.history && !parsed.hint)
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
    if (parsed.hint)
        return PrintHint(parsed.hintCards);
    return PrintHistory();
}

} // namespace session
