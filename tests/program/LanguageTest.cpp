#include "tests/session/GameTestSupport.h"

#include "cards/Card.h"
#include "cards/CardNames.h"
#include "program/Language.h"
#include "windows/Pomoc.h"
#include "windows/RewardPicture.h"
#include "windows/StatisticsWindow.h"
#include "windows/Unit2.h"

#include "session/MainWindowTexts.h"
#include "windows/LanguageFiles.h"
#include "windows/Text.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAction>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTabBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

#include <optional>
#include <set>
#include <utility>

using namespace gametest;

namespace {

const QString TsFolder = QStringLiteral(WIRTOLA_SOURCE_DIR "/translations");
const QString TsFile = TsFolder + QStringLiteral("/wirtola_en.ts");

struct TsEntry {
    QString context;
    QString source;
    QString translation;
    bool finished = false;
    QStringList forms; // a count's plural forms, each a whole text
};

// A <source> or <translation>, with the carriage returns lupdate writes as <byte value="xd"/>.
QString ReadTsText(QXmlStreamReader& xml)
{
    QString text;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isCharacters())
            text += xml.text();
        else if (xml.isStartElement() && xml.name() == QLatin1String("byte"))
            text += QChar(xml.attributes().value(QLatin1String("value")).mid(1).toInt(nullptr, 16));
        else if (xml.isEndElement() && xml.name() != QLatin1String("byte"))
            break;
    }
    return text;
}

std::vector<TsEntry> ReadTs(const QString& path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    QXmlStreamReader xml(&file);
    std::vector<TsEntry> entries;
    QString context;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("name"))
            context = xml.readElementText();
        else if (xml.name() == QLatin1String("message"))
            entries.push_back({context, {}, {}, false, {}});
        else if (xml.name() == QLatin1String("source"))
            entries.back().source = ReadTsText(xml);
        else if (xml.name() == QLatin1String("translation")) {
            const QString type = xml.attributes().value(QLatin1String("type")).toString();
            entries.back().translation = ReadTsText(xml);
            entries.back().finished = type.isEmpty() && !entries.back().translation.isEmpty();
        } else if (xml.name() == QLatin1String("numerusform")) {
            entries.back().forms << ReadTsText(xml);
            entries.back().translation = entries.back().forms.front();
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return entries;
}

// Every language the build found, each from its .ts file.
QStringList Languages()
{
    QStringList languages = QStringLiteral(WIRTOLA_LANGUAGES).split(QLatin1Char(' '));
    languages.sort();
    return languages;
}

QString Mnemonic(const QString& text)
{
    return QKeySequence::mnemonic(text).toString();
}

// The source texts that are English, Latin or a name already, and stay as they are.
const QStringList SameInEnglish{"OK", "&Amen", "A&men", "Gloria !!!", "Wirtola", "'%1' is not a valid integer value"};

// The words a player would recognise as Polish (the source texts) or as English (their
// translations): every text in its pieces between the filled-in places, and every line of that
// language's help.
QStringList Fragments(bool english)
{
    QStringList fragments;
    for (const TsEntry& e : ReadTs(TsFile)) {
        if (SameInEnglish.contains(e.source) || e.source.startsWith(QLatin1String(":/")))
            continue;
        QString text = english ? e.translation : e.source;
        text.remove(QLatin1Char('&'));
        for (const QString& piece : text.split(QRegularExpression(QStringLiteral("%\\d|\\r"))))
            if (piece.trimmed().size() >= 6)
                fragments << piece.trimmed();
    }
    QFile help(english ? QStringLiteral(":/help/help_en.txt") : QStringLiteral(":/help/pomoc.txt"));
    EXPECT_TRUE(help.open(QIODevice::ReadOnly));
    for (const QString& line : QString::fromUtf8(help.readAll()).split(QLatin1Char('\n')))
        if (line.trimmed().size() >= 20)
            fragments << line.trimmed();
    return fragments;
}

} // namespace

TEST(Language, FirstOfThePlayersLanguagesWithATranslation)
{
    const QString english = QStringLiteral(":/i18n/wirtola_en.qm");
    const QString polish = QStringLiteral(":/i18n/wirtola_pl.qm"); // its plural forms only
    const struct {
        const char* name;
        QStringList languages;
        QString want;
    } cases[] = {
        {"English", {"en"}, english},
        {"English of a country", {"en-GB", "en"}, english},
        {"underscore form", {"en_US"}, english},
        {"none without one first", {"qaa-QM", "qab", "en-US"}, english},
        {"Polish first", {"pl-PL", "en"}, polish},
        {"C locale", {"C"}, polish},
        {"POSIX locale", {"POSIX"}, polish},
        {"no translation", {"qaa", "qab"}, polish},
        {"nothing", {}, polish},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(program::TranslationFile(c.languages), c.want);
    }
}

// A language's own help where it has one (a country's language taking its language's), the
// Polish otherwise, and the Polish again once that language's translation is gone.
TEST(Language, EachLanguagesFilesOrThePolish)
{
    const auto help = [] {
        return LanguageFile(QStringLiteral(":/help/pomoc.txt"), QStringLiteral(":/help/help_%1.txt"));
    };
    for (const auto& [spoken, want] :
         {std::pair{"en_GB", ":/help/help_en.txt"}, std::pair{"qaa", ":/help/pomoc.txt"}}) {
        SpokenLanguage() = QString::fromLatin1(spoken);
        EXPECT_EQ(help(), QString::fromLatin1(want)) << spoken;
    }
    SpokenLanguage().clear();
    {
        const program::Translations english(QStringList{QStringLiteral("en")});
    }
    EXPECT_EQ(help(), QStringLiteral(":/help/pomoc.txt"));
}

// The window's result text, picked by the outcome, is the engine's message word for word.
TEST(Language, PolishResultTextIsTheEnginesMessage)
{
    const struct {
        std::uint8_t computerCategory, playerCategory;
        std::int32_t computerValue, playerValue;
    } hands[] = {{5, 2, 0, 0}, {2, 5, 0, 0}, {3, 3, 10, 20}, {3, 3, 20, 10}, {3, 3, 10, 10}};
    for (const auto& h : hands) {
        for (const bool betting : {true, false}) {
            SCOPED_TRACE(std::to_string(h.computerCategory) + "/" + std::to_string(h.computerValue)
                         + (betting ? " betting" : ""));
            engine::SessionValues session;
            session.BettingOpen = betting;
            session.Stake = 990;
            engine::HandCategory = {h.computerCategory, h.playerCategory};
            engine::HandValue = {h.computerValue, h.playerValue};
            const engine::Outcome outcome = engine::Decision(session);
            EXPECT_EQ(ResultText(outcome, betting, 990), QString::fromStdString(engine::ResultMessage));
        }
    }
}

// In every language every text is translated, lupdate finds none new or gone in the sources, and
// a mnemonic stays a mnemonic.
TEST(Language, EveryTranslationIsCompleteAndCurrent)
{
    const QStringList files = QDir(TsFolder).entryList({QStringLiteral("wirtola_*.ts")}, QDir::Files);
    QStringList built;
    for (const QString& language : Languages())
        built << QStringLiteral("wirtola_%1.ts").arg(language);
    EXPECT_EQ(files, built) << "configure again: the build knows other languages";
    for (const QString& name : files) {
        SCOPED_TRACE(name.toStdString());
        const QString file = TsFolder + QLatin1Char('/') + name;
        // The source language's file holds only the plural forms of its texts.
        const bool source = name == QLatin1String("wirtola_pl.ts");
        const std::vector<TsEntry> entries = ReadTs(file);
        EXPECT_GE(entries.size(), source ? 1U : 100U);
        for (const TsEntry& e : entries) {
            SCOPED_TRACE(e.source.toStdString());
            EXPECT_TRUE(e.finished);
            EXPECT_TRUE(!source || !e.forms.isEmpty());
            for (const QString& form : e.forms.isEmpty() ? QStringList{e.translation} : e.forms) {
                EXPECT_FALSE(form.trimmed().isEmpty());
                EXPECT_EQ(form.count(QLatin1Char('&')) > 0, e.source.count(QLatin1Char('&')) > 0);
                for (const char* place : {"%1", "%2", "%3", "%n"})
                    EXPECT_EQ(form.count(QLatin1String(place)), e.source.count(QLatin1String(place)));
            }
        }

        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        const QString copy = dir.filePath(name);
        ASSERT_TRUE(QFile::copy(file, copy));
        QProcess lupdate;
        lupdate.setWorkingDirectory(QStringLiteral(WIRTOLA_SOURCE_DIR));
        const QStringList folders = QStringLiteral(WIRTOLA_LUPDATE_FOLDERS).split(QLatin1Char(' '));
        lupdate.start(QStringLiteral(WIRTOLA_LUPDATE),
                      QStringList{"-locations", "none", "-no-obsolete"}
                          + (source ? QStringList{"-pluralonly"} : QStringList{}) + folders + QStringList{"-ts", copy});
        ASSERT_TRUE(lupdate.waitForFinished(60000));
        ASSERT_EQ(lupdate.exitCode(), 0) << lupdate.readAllStandardError().toStdString();
        QFile committed(file);
        QFile updated(copy);
        ASSERT_TRUE(committed.open(QIODevice::ReadOnly) && updated.open(QIODevice::ReadOnly));
        EXPECT_EQ(updated.readAll(), committed.readAll()) << "run the wirtola_lupdate target and translate";
    }
}

// A count in a sentence takes its language's plural form, as the program installs the languages:
// Polish has three (and its status bar keeps the words it always had), English two.
TEST(Language, CountsTakeTheLanguagesPluralForms)
{
    const struct {
        int count;
        const char* polish;
        const char* english;
    } rows[] = {
        {1, "1 rozdanie", "1 round"},     {2, "2 rozdania", "2 rounds"},       {4, "4 rozdania", "4 rounds"},
        {5, "5 rozdań", "5 rounds"},      {12, "12 rozdań", "12 rounds"},      {14, "14 rozdań", "14 rounds"},
        {22, "22 rozdania", "22 rounds"}, {104, "104 rozdania", "104 rounds"}, {112, "112 rozdań", "112 rounds"},
    };
    const char* rounds = "%n rozdań";
    for (const auto& row : rows) {
        SCOPED_TRACE(row.count);
        const QString count = QString::number(row.count);
        {
            const program::Translations polish(QStringList{QStringLiteral("pl")});
            EXPECT_EQ(Text(rounds, row.count), QString::fromUtf8(row.polish));
            EXPECT_EQ(
                Text(texts::StatusLine, row.count).arg(count).arg(1).arg(2),
                QStringLiteral("Ewidencja rozdań: aktualne rozdanie %1  w tym wygrane / przegrane 1 / 2").arg(count));
        }
        const program::Translations english(QStringList{QStringLiteral("en")});
        EXPECT_EQ(Text(rounds, row.count), QString::fromUtf8(row.english));
        EXPECT_EQ(Text(texts::StatusLine, row.count).arg(count).arg(1).arg(2),
                  QStringLiteral("%1 %2 won or lost (1 won, 2 lost)")
                      .arg(count, row.count == 1 ? QStringLiteral("round") : QStringLiteral("rounds")));
    }
}

// A game in the language the player's environment asks for, with the game's translation and
// Qt's own installed as the program installs them.
class LanguageGame : public GameTest {
protected:
    void Speak(const QString& language)
    {
        polish_.reset(); // the program installs one language's translations, not two
        translations_.emplace(QStringList{language});
        answerer_->defaultQuestionAnswer = Yes();
        answerer_->onShown = [this](QWidget* window) { Collect(window); };
    }
    void TearDown() override
    {
        GameTest::TearDown();
        translations_.reset();
    }
    static QString Yes() { return Text("&Tak").remove(QLatin1Char('&')); }
    static QString No() { return Text("&Nie").remove(QLatin1Char('&')); }

    // Everything a player can read or hear of a window.
    void Collect(QWidget* window)
    {
        if (auto* reward = qobject_cast<TForm2*>(window))
            rewardPicture_ = reward->Image1->pixmap().toImage();
        QList<QWidget*> widgets = window->findChildren<QWidget*>();
        widgets.prepend(window);
        for (QWidget* w : widgets) {
            shown_ << w->windowTitle() << w->toolTip();
            // What a screen reader hears, through the widget's accessible object (a card has its own).
            if (QAccessibleInterface* heard = QAccessible::queryAccessibleInterface(w))
                shown_ << heard->text(QAccessible::Name) << heard->text(QAccessible::Description);
            for (QAction* a : w->actions())
                shown_ << a->text();
            if (auto* label = qobject_cast<QLabel*>(w))
                shown_ << label->text();
            if (auto* button = qobject_cast<QAbstractButton*>(w))
                shown_ << button->text();
            if (auto* box = qobject_cast<QMessageBox*>(w))
                shown_ << box->text();
            if (auto* memo = qobject_cast<QPlainTextEdit*>(w))
                shown_ << memo->toPlainText();
            if (auto* bar = qobject_cast<QStatusBar*>(w))
                shown_ << bar->currentMessage();
            if (auto* tabs = qobject_cast<QTabBar*>(w))
                for (int i = 0; i < tabs->count(); ++i)
                    shown_ << tabs->tabText(i);
            // A table's headers and cells, as shown and as heard.
            if (auto* view = qobject_cast<QAbstractItemView*>(w); view && view->model()) {
                const QAbstractItemModel& model = *view->model();
                for (int c = 0; c < model.columnCount(); ++c)
                    shown_ << model.headerData(c, Qt::Horizontal).toString();
                for (int r = 0; r < model.rowCount(); ++r) {
                    shown_ << model.headerData(r, Qt::Vertical).toString();
                    for (int c = 0; c < model.columnCount(); ++c)
                        for (const int role :
                             {int{Qt::DisplayRole}, int{Qt::AccessibleTextRole}, int{Qt::AccessibleDescriptionRole}})
                            shown_ << model.index(r, c).data(role).toString();
                }
            }
        }
    }

    // The stake field's own right-click menu, opened as a player opens it: Qt's texts.
    static QStringList StakeMenuItems()
    {
        const QPoint at = StakeField()->rect().center();
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, StakeField()->mapToGlobal(at));
        QApplication::sendEvent(StakeField(), &event);
        QStringList items;
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            for (QAction* a : menu->actions())
                items << a->text().remove(QLatin1Char('&')).section(QLatin1Char('\t'), 0, 0);
            menu->close();
        }
        items.removeAll(QString()); // the separators
        return items;
    }

    // Fails on every text shown that holds a piece of the other language.
    void ExpectNoneForeign(bool english) const
    {
        for (const QString& fragment : Fragments(!english))
            for (QString text : shown_)
                EXPECT_FALSE(text.remove(QLatin1Char('&')).contains(fragment))
                    << fragment.toStdString() << " in " << text.toStdString();
    }

    std::optional<program::Translations> translations_;
    QStringList shown_;
    QImage rewardPicture_;
};

class EnglishGame : public LanguageGame {
protected:
    void SetUp() override
    {
        LanguageGame::SetUp();
        Speak(QStringLiteral("en-GB"));
    }
};

// In both languages: Qt's own stake-field menu in the game's language, and a save that fails
// after a round of four-digit tallies and again at the end, its status line within the bar with
// the cause at its end and whole in the tooltip and for a screen reader, and every box.
TEST_F(LanguageGame, QtsMenuAndAFailedSaveInEitherLanguage)
{
    const QStringList qtEnglish{"Undo", "Redo", "Cut", "Copy", "Paste", "Delete", "Select All"};
    for (const bool english : {false, true}) {
        SCOPED_TRACE(english ? "en" : "pl");
        Speak(QLatin1String(english ? "en" : "pl"));
        WriteIni(Ini(1234, 1322, 3000));
        StartProgram();
        const QStringList items = StakeMenuItems();
        EXPECT_GE(items.size(), 5);
        for (const QString& item : items)
            EXPECT_EQ(qtEnglish.contains(item), english) << item.toStdString();
        FailSaves(true);
        Deal();
        RigHands(RoyalFlush(), HighCardNine());
        QStringList status; // shown, tooltip, heard: at the result
        answerer_->onShown = [&](QWidget* window) {
            Collect(window);
            if (status.isEmpty())
                status << StatusBar()->currentMessage() << StatusBar()->toolTip()
                       << StatusBar()->accessibleDescription();
        };
        answerer_->answers = {No(), Yes()}; // leave; then leave without the scores
        Draw();
        EXPECT_EQ(answerer_->Texts("question").size(), 2U);
        ASSERT_EQ(answerer_->Texts("error").size(), 1U);
        for (const Seen& box : answerer_->seen)
            shown_ << box.title << box.text;
        shown_.removeAll(answerer_->Texts("error")[0]); // "Unable to write to ...", in both languages
        ExpectNoneForeign(english);

        const QString whole = Text(texts::StatusLine, 2557).arg(2557).arg(1234).arg(1323)
            + Text(texts::SaveFailedWarning).arg(Text("błąd zapisu na dysk"));
        EXPECT_TRUE(status[0].endsWith(Text("błąd zapisu na dysk"))) << status[0].toStdString();
        EXPECT_LE(StatusBar()->fontMetrics().horizontalAdvance(status[0]), StatusBar()->width() - 18);
        EXPECT_EQ(status[1], status[0] == whole ? QString() : whole);
        EXPECT_EQ(status[2], whole);
        EndProgram();
        FailSaves(false);
        answerer_->Clear();
        shown_.clear();
    }
}

TEST_F(EnglishGame, NoPolishLeftInAnyWindow)
{
    // A round won into the reward: the main window before and after the deal, the result box,
    // the question and the reward window.
    WriteIni(Ini(40, 12, 5995));
    StartProgram();
    Collect(Form1);
    Deal();
    Collect(Form1);
    RigHands(HighCardNine(), RoyalFlush());
    answerer_->answers = {QStringLiteral("Yes"), QStringLiteral("Amen")};
    Draw();
    EXPECT_EQ(answerer_->Texts("reward").size(), 1U);
    EXPECT_EQ(rewardPicture_,
              QPixmap::fromImage(LoadRewardPicture(QStringLiteral(":/reward/reward_en.jpg"))).toImage());
    EndProgram();

    // A round lost to an empty fund: a refused stake, the main window after the round, the
    // petition, the loan's box and the help.
    WriteIni(Ini(5, 6, 100));
    StartProgram();
    TypeStake(QStringLiteral("900"));
    Deal();
    TypeStake(QStringLiteral("100"));
    Deal();
    RigHands(RoyalFlush(), HighCardNine());
    answerer_->answers = {QStringLiteral("Yes")};
    Draw();
    Collect(Form1);
    ASSERT_TRUE(LoanItem()->isEnabled());
    answerer_->answers = {QStringLiteral("Amen")};
    LoanItem()->trigger();
    EXPECT_EQ(answerer_->Texts("loan").size(), 1U);
    Form1->Pomoc1->trigger();
    Collect(Form1->Windows().FPomoc);
    // The statistics window, its numbers, its plot's words and its log of the rounds above.
    Form1->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form1));
    QTest::keyClick(Form1, Qt::Key_T, Qt::ControlModifier);
    StatisticsWindow* statistics = Form1->Windows().Statistics;
    ASSERT_TRUE(statistics->isVisible());
    EXPECT_EQ(statistics->Summary->item(4, 1)->text(), QStringLiteral("50.0 %")) << "the English decimal point";
    EXPECT_EQ(statistics->Summary->item(8, 1)->text(), QStringLiteral("1 round"));
    statistics->Pages->setCurrentIndex(1);
    Collect(statistics);

    const std::vector<QString> messages = answerer_->Texts("message");
    EXPECT_GE(messages.size(), 4U); // refused stake, two results, the loan
    EXPECT_TRUE(Form1->Windows().FPomoc->Memo1->toPlainText().contains(QStringLiteral("lies right beside it")));
    ExpectNoneForeign(true);
}

// In every language, and in one the game has no translation for ("qaa" is reserved never to be
// one): Alt and a letter reach one control among the main window's buttons and menus and in each
// menu; the help is the language's own, or the Polish; so is the reward picture, the one the
// build drew in that language.
TEST_F(LanguageGame, EveryLanguageHasUniqueMnemonicsItsHelpAndItsPicture)
{
    for (const QString& language : Languages() + QStringList{QStringLiteral("qaa")}) {
        SCOPED_TRACE(language.toStdString());
        Speak(language);
        WriteIni(Ini(40, 12, 5995));
        StartProgram();
        std::vector<QStringList> groups{{Mnemonic(DealButton()->text()), Mnemonic(DrawButton()->text())}};
        for (QAction* a : Form1->menuBar()->actions())
            groups[0] << Mnemonic(a->text());
        for (QMenu* menu : Form1->findChildren<QMenu*>()) {
            groups.emplace_back();
            for (QAction* a : menu->actions())
                if (!a->isSeparator())
                    groups.back() << Mnemonic(a->text());
        }
        for (const QStringList& group : groups) {
            SCOPED_TRACE(group.join(QLatin1Char(' ')).toStdString());
            const std::set<QString> distinct(group.begin(), group.end());
            EXPECT_EQ(distinct.size(), static_cast<std::size_t>(group.size()));
            EXPECT_FALSE(distinct.count(QString())) << "a control without a mnemonic";
        }

        const bool polish = language == QLatin1String("pl") || language == QLatin1String("qaa");
        const QString ownHelp = QStringLiteral(":/help/help_%1.txt").arg(language);
        QFile help(!polish && QFile::exists(ownHelp) ? ownHelp : QStringLiteral(":/help/pomoc.txt"));
        ASSERT_TRUE(help.open(QIODevice::ReadOnly));
        const QString helpText = QString::fromUtf8(help.readAll());
        EXPECT_EQ(helpText.count(QStringLiteral("{plik}")), 1) << "one place names the statistics file";
        Form1->Pomoc1->trigger();
        EXPECT_TRUE(
            Form1->Windows().FPomoc->Memo1->toPlainText().simplified().startsWith(helpText.simplified().left(60)));

        Deal();
        RigHands(HighCardNine(), RoyalFlush());
        answerer_->answers = {Yes(), Text("&Amen").remove(QLatin1Char('&'))};
        Draw();
        EXPECT_EQ(answerer_->Texts("reward").size(), 1U);
        const QImage picture = LoadRewardPicture(polish ? QStringLiteral(":/reward/reward.jpg")
                                                        : QStringLiteral(":/reward/reward_%1.jpg").arg(language));
        ASSERT_FALSE(picture.isNull()) << "the build draws a picture for every language";
        EXPECT_EQ(rewardPicture_, QPixmap::fromImage(picture).toImage());
        EndProgram();
        answerer_->Clear();
        shown_.clear();
        rewardPicture_ = QImage();
    }
}

// The English bar says what it counts: rounds won or lost, the count picking "round" or "rounds".
TEST_F(EnglishGame, TheStatusBarCountsTheRoundsWonOrLost)
{
    WriteIni(Ini(0, 0, 3000));
    StartProgram();
    Deal();
    RigHands(RoyalFlush(), HighCardNine());
    Draw();
    EXPECT_EQ(StatusBar()->currentMessage(), QStringLiteral("1 round won or lost (0 won, 1 lost)"));
    Deal();
    RigHands(HighCardNine(), RoyalFlush());
    Draw();
    EXPECT_EQ(StatusBar()->currentMessage(), QStringLiteral("2 rounds won or lost (1 won, 1 lost)"));
}

// A card in a text as each language names it: the figure for ten, the language's letters above.
TEST(Language, CardsAreWrittenAsTheLanguageNamesThem)
{
    const struct {
        int rank;
        TCardSuit suit;
        const char* polish;
        const char* english;
    } rows[] = {
        {1, TCardSuit::Clubs, "2♣", "2♣"},   {9, TCardSuit::Hearts, "10♥", "10♥"},
        {10, TCardSuit::Spades, "W♠", "J♠"}, {11, TCardSuit::Diamonds, "D♦", "Q♦"},
        {12, TCardSuit::Clubs, "K♣", "K♣"},  {13, TCardSuit::Hearts, "A♥", "A♥"},
        {14, TCardSuit::Hearts, "", ""},     {0, TCardSuit::Spades, "", ""},
    };
    for (const bool english : {false, true}) {
        const program::Translations language(QStringList{QLatin1String(english ? "en" : "pl")});
        for (const auto& row : rows) {
            SCOPED_TRACE(row.rank);
            EXPECT_EQ(CardShortName(row.rank, row.suit), QString::fromUtf8(english ? row.english : row.polish));
        }
    }
}
