#include "tests/session/GameTestSupport.h"

#include "cards/Card.h"
#include "scores/Profile.h"
#include "windows/Pomoc.h"
#include "windows/Unit2.h"
#include "windows/Unit3.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace gametest {

ModalAnswerer::ModalAnswerer()
{
    qApp->installEventFilter(this);
}

ModalAnswerer::~ModalAnswerer()
{
    qApp->removeEventFilter(this);
}

std::vector<QString> ModalAnswerer::Texts(const QString& kind) const
{
    std::vector<QString> texts;
    for (const Seen& s : seen)
        if (s.kind == kind)
            texts.push_back(s.text);
    return texts;
}

bool ModalAnswerer::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Show && watched->isWidgetType()) {
        auto* w = static_cast<QWidget*>(watched);
        if (w->isWindow() && (qobject_cast<QDialog*>(w) != nullptr))
            QTimer::singleShot(0, w, [this, w] { Answer(w); });
    }
    return false;
}

QString ModalAnswerer::NextAnswer(const QString& fallback)
{
    if (answers.empty())
        return fallback;
    QString a = answers.front();
    answers.pop_front();
    return a;
}

void ModalAnswerer::Answer(QWidget* window)
{
    if (!window->isVisible() || QApplication::activeModalWidget() != window)
        return;
    if (onShown)
        onShown(window);
    if (!window->isVisible())
        return; // the program ended while it was shown
    if (auto* box = qobject_cast<QMessageBox*>(window)) {
        QString kind = QStringLiteral("message");
        if (box->icon() == QMessageBox::Question)
            kind = QStringLiteral("question");
        else if (box->icon() == QMessageBox::Critical)
            kind = QStringLiteral("error");
        QString spoken;
        for (QAbstractButton* b : box->buttons())
            spoken += b->accessibleDescription();
        seen.push_back({kind, box->windowTitle(), box->text(), spoken});
        QString want = QStringLiteral("OK");
        if (kind == QLatin1String("question"))
            want = NextAnswer(defaultQuestionAnswer);
        if (want == QLatin1String("Enter")) { // the default button answers
            QTest::keyClick(box, Qt::Key_Return);
            return;
        }
        for (QAbstractButton* b : box->buttons()) {
            if (b->text().remove(QLatin1Char('&')) == want) {
                b->click();
                return;
            }
        }
        ADD_FAILURE() << "no button " << want.toStdString() << " on " << box->text().toStdString();
        box->reject();
        return;
    }
    if (auto* loan = qobject_cast<TForm3*>(window)) {
        seen.push_back({QStringLiteral("loan"), loan->windowTitle(), QString(), QString()});
        if (NextAnswer(QStringLiteral("Amen")) == QLatin1String("Amen"))
            loan->findChild<QPushButton*>()->click();
        else
            loan->close();
        return;
    }
    if (auto* reward = qobject_cast<TForm2*>(window)) {
        seen.push_back({QStringLiteral("reward"), reward->windowTitle(), QString(), QString()});
        const QString how = NextAnswer(QStringLiteral("Amen"));
        if (how == QLatin1String("Amen"))
            reward->btnOk->click();
        else if (how == QLatin1String("key"))
            QTest::keyClick(reward->btnOk, Qt::Key_Q);
        else
            reward->close();
        return;
    }
}

void GameTest::SetUp()
{
    ASSERT_TRUE(dir_.isValid());
    scores::SetStatisticsFilePath(IniPath());
    engine::SetClockSource([]() -> std::uint32_t { return 4242; });
    speaker_.ntFamily = true;
    speaker_.pumpStep = 1000;
    SetSpeakerPlatform(&speaker_);
    answerer_ = std::make_unique<ModalAnswerer>();
    polish_.emplace(QStringList{QStringLiteral("pl")});
}

void GameTest::TearDown()
{
    program_.reset();
    answerer_.reset();
    polish_.reset();
    FailSaves(false);
    SetSpeakerPlatform(nullptr);
    engine::SetClockSource(nullptr);
    scores::SetStatisticsFilePath("");
}

std::string GameTest::IniPath() const
{
    return dir_.filePath(QStringLiteral("wirtola.ini")).toStdString();
}

void GameTest::WriteIni(const std::string& bytes)
{
    std::ofstream(IniPath(), std::ios::binary) << bytes;
}

std::string GameTest::ReadIni() const
{
    std::ifstream in(IniPath(), std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void GameTest::StartProgram()
{
    program_.reset();
    program_ = std::make_unique<Program>();
}

void GameTest::EndProgram()
{
    program_.reset();
}

void GameTest::FailSaves(bool fail)
{
    if (fail) {
        scores::profile::SetBeforeReplaceHook([](const std::string&) { return false; });
    } else {
        scores::profile::SetBeforeReplaceHook(nullptr);
        scores::profile::SetSyncHook(nullptr);
    }
}

std::string Ini(int wins, int losses, int fund)
{
    engine::SessionValues values;
    values.Wins = wins;
    values.Losses = losses;
    values.Fund = fund;
    return scores::WithValues("", values);
}

std::string SessionIni()
{
    return scores::WithValues("", Session);
}

void GameTest::Deal()
{
    QTest::mouseClick(DealButton(), Qt::LeftButton);
}

void GameTest::Draw()
{
    QTest::mouseClick(DrawButton(), Qt::LeftButton);
}

void GameTest::TypeStake(const QString& text)
{
    StakeField()->selectAll();
    if (text.isEmpty())
        QTest::keyClick(StakeField(), Qt::Key_Delete);
    else
        QTest::keyClicks(StakeField(), text);
}

void GameTest::ClickCard(int slot)
{
    QTest::mouseClick(CardAt(engine::PlayerHand, slot), Qt::LeftButton);
}

void GameTest::RigHands(const engine::HandCards& computer, const engine::HandCards& player)
{
    engine::Hands[engine::ComputerHand] = computer;
    engine::Hands[engine::PlayerHand] = player;
}

engine::HandCards RoyalFlush()
{
    return {{{9, 2}, {10, 2}, {11, 2}, {12, 2}, {13, 2}}};
}

engine::HandCards HighCardNine()
{
    return {{{1, 0}, {2, 1}, {3, 2}, {4, 3}, {8, 0}}};
}

} // namespace gametest
