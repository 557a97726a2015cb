#include "windows/Unit2.h"

#include "sound/KwOdeum.h"
#include "windows/Boxes.h"
#include "windows/LanguageFiles.h"
#include "windows/RewardPicture.h"
#include "windows/Text.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include <utility>

namespace {

constexpr const char* Caption = QT_TRANSLATE_NOOP("Wirtola", "Gloria !!!");
constexpr const char* Hint = QT_TRANSLATE_NOOP("Wirtola", "Dowolny klawisz kończy i zamyka to okno");
constexpr const char* Amen = QT_TRANSLATE_NOOP("Wirtola", "&Amen");
// The picture has words on it, so each language has its own, drawn when the game is built.
constexpr char TranslatedPictures[] = ":/reward/reward_%1.jpg";
// The words on the picture, for a screen reader, and what any key does to the game.
constexpr const char* PictureWords = QT_TRANSLATE_NOOP(
    "Wirtola", "Gratulacje! Fundusz podwojony: 6000 zł! Mistrzowska gra! Z 3000 zł wyrosło 6000 zł. Bank chyli czoła!");
constexpr const char* ClosingWords =
    QT_TRANSLATE_NOOP("Wirtola", "Dowolny klawisz zamyka to okno i kończy grę; następna zacznie się od 3000 zł.");
const QString PlayFlag = QStringLiteral("Gra");
const QString SilentFlag = QStringLiteral("NieGra");
constexpr int FirstFanfareDelay = 1000;
constexpr int FanfareGap = 300;

} // namespace

TForm2::TForm2(RewardLinks links, const QString& picturePath)
    : links_(std::move(links))
    , picturePath_(picturePath)
{
    setWindowTitle(Text(Caption));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    QFont f(QStringLiteral("MS Sans Serif"));
    f.setPixelSize(10);
    f.setBold(true);
    setFont(f);
    setToolTip(Text(Hint)); // the controls have no hints of their own, so this shows everywhere
    // Said when the window opens, before a key can close it: the hint alone would not say that
    // the game ends with it.
    setAccessibleDescription(Text(PictureWords) + QLatin1Char(' ') + Text(ClosingWords));

    Panel1 = new QFrame(this);
    Panel1->setGeometry(0, 0, 467, 284);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel1->setLineWidth(1);

    Image1 = new QLabel(Panel1);
    Image1->setGeometry(1, 1, 465, 282);
    Image1->setAccessibleName(Text(PictureWords));

    // Off the window: a hidden control is still in a screen reader's tree, and the flag is no
    // word for the player.
    Label21 = new QLabel(QStringLiteral("nic"));
    Label21->setGeometry(77, 116, 18, 13);
    Label21->hide();

    btnOk = new QPushButton(Text(Amen), Panel1);
    btnOk->setGeometry(158, 62, 64, 23);
    btnOk->installEventFilter(this);

    Timer1 = new QTimer(this);
    Timer1->setTimerType(Qt::PreciseTimer); // a coarse timer may fire a few per cent early
    Timer1->setInterval(FirstFanfareDelay);

    connect(btnOk, &QPushButton::clicked, this, [this] {
        boxes::Guarded([this] { btnOkClick(); });
        done(1);
    });
    connect(Timer1, &QTimer::timeout, this, [this] { boxes::Guarded([this] { Timer1Timer(); }); });

    setFixedSize(467, 284);
}

// Decoded when the window is first shown: most games never reach it, and the start is not kept
// waiting for it.
void TForm2::LoadPicture()
{
    if (pictureLoaded_)
        return;
    pictureLoaded_ = true;
    const QImage picture =
        LoadRewardPicture(picturePath_.isEmpty() ? LanguageFile(QString::fromLatin1(RewardPictureResource),
                                                                QString::fromLatin1(TranslatedPictures))
                                                 : picturePath_);
    if (!picture.isNull()) {
        Image1->setPixmap(QPixmap::fromImage(picture));
        Image1->resize(picture.size());
    }
}

TForm2::~TForm2()
{
    delete Label21;
}

void TForm2::showEvent(QShowEvent* event)
{
    LoadPicture();
    QDialog::showEvent(event);
    boxes::Guarded([this] { FormActivate(); });
}

void TForm2::FormActivate()
{
    btnOk->move(Image1->width() / 2 - btnOk->width() / 2, btnOk->y());
    if (links_.soundsOn && links_.soundsOn()) {
        Label21->setText(PlayFlag);
        Timer1->start();
    } else {
        Label21->setText(SilentFlag);
    }
}

void TForm2::Timer1Timer()
{
    Timer1->stop();
    Timer1->setInterval(FanfareGap);
    if (Label21->text() == PlayFlag)
        PlayFanfare();
}

void TForm2::PlayFanfare()
{
    if (links_.beeper)
        links_.beeper->PlayDefault();
    // A dismissal during the fanfare lets it finish, but no further one starts.
    if (isVisible() && !(links_.programEnded && links_.programEnded()))
        Timer1->start();
}

void TForm2::btnOkClick()
{
    if (links_.resetAfterReward)
        links_.resetAfterReward();
}

void TForm2::FormClose()
{
    Timer1->stop();
    Label21->setText(SilentFlag);
    btnOkClick();
}

void TForm2::FormKeyPress()
{
    btnOkClick();
}

void TForm2::done(int result)
{
    // Every way of closing (the button, the close box, Esc) passes through here.
    QDialog::done(result);
    boxes::Guarded([this] { FormClose(); });
}

bool TForm2::KeyTypesCharacter(QEvent* event) const
{
    if (event->type() != QEvent::KeyPress)
        return false;
    return !static_cast<QKeyEvent*>(event)->text().isEmpty();
}

bool TForm2::eventFilter(QObject* watched, QEvent* event)
{
    // The window sees every key before its button does.
    if (KeyTypesCharacter(event)) {
        boxes::Guarded([this] { FormKeyPress(); });
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TForm2::keyPressEvent(QKeyEvent* event)
{
    if (KeyTypesCharacter(event)) {
        boxes::Guarded([this] { FormKeyPress(); });
        return;
    }
    QDialog::keyPressEvent(event);
}
