#include "windows/Pomoc.h"

#include <QFile>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QStringList>

#include <gtest/gtest.h>

namespace {

QString BuiltInHelp()
{
    QFile file(":/help/pomoc.txt");
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return QString::fromUtf8(file.readAll());
}

QStringList Lines(const QString& text)
{
    QStringList lines = text.split('\n');
    if (lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

} // namespace

TEST(HelpText, IsBuiltInAndShownWhole)
{
    const QString text = BuiltInHelp();
    TFPomoc help;
    EXPECT_EQ(help.Memo1->toPlainText(), HelpText({}, false));
    EXPECT_EQ(text.count("{plik}"), 1) << "one place names the statistics file";
    // Shown, each paragraph is one line that the memo wraps to its width.
    EXPECT_FALSE(HelpText({}, false).contains(QRegularExpression(" \n[^ \n]")));
    // Read as UTF-8 end to end: nothing was replaced and the Polish letters survive.
    EXPECT_FALSE(text.contains(QChar::ReplacementCharacter));
    for (const char* letters : {"ą", "ę", "ł", "ó", "ś", "ż", "ź", "ć", "ń", "Ż"}) {
        SCOPED_TRACE(letters);
        EXPECT_TRUE(text.contains(QString::fromUtf8(letters)));
    }
}

TEST(HelpText, HasTheShapeOfTheMemoText)
{
    const QString text = BuiltInHelp();
    const QStringList lines = Lines(text);
    EXPECT_EQ(lines.size(), 109);
    EXPECT_NEAR(text.size(), 7720, 150);

    // Larger sections are parted by runs of exactly five empty lines, and by nothing else.
    QList<int> emptyRuns;
    int run = 0;
    int filled = 0;
    int endingInSpace = 0;
    for (const QString& line : lines) {
        if (line.isEmpty()) {
            ++run;
            continue;
        }
        if (run)
            emptyRuns.append(run);
        run = 0;
        ++filled;
        endingInSpace += line.endsWith(' ');
    }
    EXPECT_EQ(run, 0) << "the text ends in empty lines";
    EXPECT_EQ(emptyRuns, QList<int>({5, 5, 5}));
    EXPECT_GT(endingInSpace * 10, filled * 9) << "most lines end in a space";
    EXPECT_TRUE(lines.first().startsWith("     ")) << "paragraphs begin with spaces";
}

TEST(HelpText, FollowsTheOutlineInOrder)
{
    // One phrase per point of the outline; each must come after the one before it.
    struct Point {
        const char* topic;
        const char* phrase;
    };
    const Point outline[] = {
        {"reward for 6000, twice the fund", "6000 zł"},
        {"a single file from any folder", "dowolnego folderu"},
        {"thanks for the card control", "kontrolki"},
        {"thanks for the demo program", "demonstracyjnego"},
        {"the menu's three items", "Ustawienia, Pomoc i Koniec"},
        {"deal button first", "Na początku czynny jest tylko przycisk „Rozdanie kart”"},
        {"stake from 10 up to 990", "990 zł"},
        {"fund starts at 3000", "3000 zł"},
        {"keep boxes", "„Zostaw”"},
        {"showdown and status bar", "pasku stanu"},
        {"picture and fanfare", "fanfarę"},
        {"bank loan", "„Pożyczka z banku”"},
        {"keyboard and screen reader", "czytnikiem ekranu"},
        {"the statistics window and its key", "„Statystyka” (albo klawisze Ctrl+T)"},
        {"the record on the command line", "wirtola --history"},
        {"statistics file", "/home/ala/wirtola.ini"},
        {"the log, its export and a fresh record", "„Nowa historia…”"},
        {"sounds can be switched off", "można wyłączyć"},
        {"greeting and signature", "Autor Wirtoli"},
    };
    // Line breaks fall anywhere, so read the text as the flowing prose it is.
    const QString text = HelpText(QStringLiteral("/home/ala/wirtola.ini"), false).simplified();
    qsizetype previous = -1;
    for (const Point& point : outline) {
        SCOPED_TRACE(point.topic);
        const qsizetype at = text.indexOf(QString::fromUtf8(point.phrase), previous + 1);
        EXPECT_GT(at, previous);
        if (at >= 0)
            previous = at;
    }
}

// Each player reads where their own scores are: beside the program for a copy run from its
// folder, in their data folder for the installed game, and when they are written.
TEST(HelpText, TellsWhereAndWhenThisRunKeepsTheScores)
{
    struct Row {
        const char* path;
        bool perUser;
        const char* says;
    };
    const Row rows[] = {
        {"/home/ala/gry/wirtola.ini", false,
         "nowego funduszu. Plik nazywa się tak jak program, tylko ma rozszerzenie „.ini”, i leży tuż obok "
         "niego: /home/ala/gry/wirtola.ini."},
        {"/home/ala/.local/share/wirtola/wirtola.ini", true,
         "nowego funduszu. Każdy z Was ma własny plik wyników w swoim folderze danych, ten tutaj: "
         "/home/ala/.local/share/wirtola/wirtola.ini."},
        {"", true, "nie wiadomo, gdzie miałby leżeć"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.path);
        TFPomoc help;
        help.SetStatisticsFile(QString::fromUtf8(row.path), row.perUser);
        const QString text = help.Memo1->toPlainText().simplified();
        EXPECT_TRUE(text.contains(QString::fromUtf8(row.says))) << text.toStdString();
        EXPECT_TRUE(text.contains(QString::fromUtf8("po każdym rozdaniu i przy wyjściu z programu")));
        EXPECT_FALSE(text.contains("{plik}"));
        EXPECT_EQ(text.count("wirtola.ini"), QString::fromUtf8(row.path).isEmpty() ? 0 : 1);
    }
}
