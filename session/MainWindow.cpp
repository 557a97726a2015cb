// The main window's construction: its controls, where they stand, and how keys reach them.

#include "session/Unit1.h"

#include "scores/Statistics.h"
#include "session/FocusMark.h"
#include "session/MainWindowAccessibility.h"
#include "session/MainWindowLayout.h"
#include "session/MainWindowTexts.h"
#include "session/UpDown.h"
#include "sound/KwOdeum.h"
#include "windows/Boxes.h"
#include "windows/Colours.h"
#include "windows/Text.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProxyStyle>
#include <QPushButton>
#include <QStatusBar>
#include <QToolButton>

#include <algorithm>

using namespace layout;

engine::SessionValues Session;
std::uint8_t DeckType = 0;
TForm1* Form1 = nullptr;

namespace {

QLabel* StaticText(QWidget* parent, const QString& text, const QRect& place)
{
    auto* label = new QLabel(text, parent);
    label->setGeometry(place);
    return label;
}

// A mnemonic whose button is disabled reaches the focused field as a plain key, and a line
// field would type its letter over the stake. No Alt combination types into the stake field.
// (Ctrl+Alt is left alone: it is how AltGr arrives on some systems.)
class AltKeysDoNotType : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            const Qt::KeyboardModifiers mods = key->modifiers();
            if ((mods & Qt::AltModifier) && !(mods & Qt::ControlModifier) && !key->text().isEmpty())
                return true;
        }
        return QObject::eventFilter(watched, event);
    }
};

// Enter and keypad Enter turn a keep box over as Space does; a check box of its own takes
// neither. An auto-repeated key turns it once.
class EnterTurnsTheBox : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
            if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && mods == Qt::NoModifier) {
                if (!key->isAutoRepeat())
                    static_cast<QCheckBox*>(watched)->click();
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }
};

// The keep boxes are 13 pixels high; the system style's tick box is often taller, and its
// bottom edge would fall outside. The tick box is made to fit instead of the box growing.
class KeepBoxStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override
    {
        if (metric == PM_IndicatorHeight || metric == PM_IndicatorWidth)
            return std::min(KeepHeight, QProxyStyle::pixelMetric(metric, option, widget));
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

// A disabled menu item can be reached with the arrows, as desktop menus let it be, so a screen
// reader tells that it exists and is unavailable rather than skipping it.
class DisabledItemsReachable : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returned) const override
    {
        if (hint == SH_Menu_AllowActiveAndDisabled)
            return 1;
        return QProxyStyle::styleHint(hint, option, widget, returned);
    }
};

// Overrides the olive that a child would inherit from the window with the system's colours.
void KeepSystemColours(QWidget* w)
{
    QPalette system = QApplication::palette();
    for (QPalette::ColorRole role : {QPalette::Window, QPalette::Button, QPalette::WindowText})
        system.setColor(role, system.color(role)); // marks the role as set, so it is not inherited
    w->setPalette(system);
    w->setAutoFillBackground(true);
}

} // namespace

template <typename Sender, typename Signal, typename Handler>
void TForm1::On(Sender* sender, Signal signal, Handler handler)
{
    connect(sender, signal, this, [this, handler] { boxes::Guarded([this, handler] { (this->*handler)(); }); });
}

TForm1::TForm1()
{
    Form1 = this;
    // The caption names the version by its major and minor ("1.1" of "1.1.0").
    setWindowTitle(Text(texts::Caption).arg(QString::fromLatin1(WIRTOLA_VERSION).section(QLatin1Char('.'), 0, 1)));
    setAttribute(Qt::WA_QuitOnClose, false); // the program ends through FormClose alone

    QPalette olive = palette();
    olive.setColor(QPalette::Window, colours::Olive);
    setPalette(olive);
    setAutoFillBackground(true);

    client_ = new QWidget(this);
    client_->setFixedSize(691, 405);
    setCentralWidget(client_);

    Panel1 = new QFrame(client_);
    Panel1->setGeometry(0, 0, 691, 46);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel1->setLineWidth(2);

    btnRozdanie = new QPushButton(Text(texts::DealButton), Panel1);
    btnRozdanie->setGeometry(DealButtonRect);
    btnKupno = new QPushButton(Text(texts::DrawButton), Panel1);
    btnKupno->setGeometry(DrawButtonRect);
    Edit1 = new QLineEdit(QStringLiteral("10"), Panel1);
    Edit1->setGeometry(StakeFieldRect);
    UpDown1 = new TUpDown(Panel1, 10, LargestStake, 10, 10);
    UpDown1->setGeometry(SpinnerRect);
    StaticText1 = StaticText(Panel1, Text(texts::StakeLabel), StakeLabelRect);
    StaticText2 = StaticText(Panel1, Text(texts::FundLabel), FundLabelRect);
    Edit2 = new QLineEdit(QStringLiteral("0000"), Panel1);
    Edit2->setGeometry(FundFieldRect);
    Edit2->setReadOnly(true);
    // Screen readers name the fields after their labels, without the labels' colons.
    StaticText1->setBuddy(Edit1);
    StaticText2->setBuddy(Edit2);
    Edit1->setAccessibleName(Text(texts::StakeName));
    Edit2->setAccessibleName(Text(texts::FundName));
    UpDown1->UpButton()->setAccessibleName(Text(texts::StakeUpName));
    UpDown1->DownButton()->setAccessibleName(Text(texts::StakeDownName));
    Edit1->installEventFilter(new AltKeysDoNotType(Edit1));
    spoken::ReadAsPanel(Panel1);
    spoken::ReadAsNumber(Edit1);
    spoken::ReadAsNumber(Edit2);
    // Enter presses the focused button, as Space does, outside dialogs too.
    btnRozdanie->setAutoDefault(true);
    btnKupno->setAutoDefault(true);

    auto* keepStyle = new KeepBoxStyle(QApplication::style()->name());
    keepStyle->setParent(this);
    auto* enterTurns = new EnterTurnsTheBox(this);
    for (int i = 0; i < 5; ++i) {
        auto* box = new QCheckBox(Text(texts::KeepBox).arg(i + 1), client_);
        box->setObjectName(QStringLiteral("CheckBox%1").arg(i + 1));
        box->setStyle(keepStyle);
        box->setGeometry(KeepLefts[i], KeepTop, KeepWidths[i], KeepHeight);
        box->installEventFilter(enterTurns);
        CheckBoxes[i] = box;
    }

    StatusBar1 = new QStatusBar(client_);
    StatusBar1->setGeometry(0, 383, 691, 22);
    StatusBar1->setSizeGripEnabled(false);
    // The menu bar and the status bar keep the system's colours; only the window is olive.
    KeepSystemColours(StatusBar1);

    MarkFocus(this, {btnRozdanie, btnKupno, CheckBoxes[0], CheckBoxes[1], CheckBoxes[2], CheckBoxes[3], CheckBoxes[4]});

    setTabOrder(btnRozdanie, btnKupno);
    setTabOrder(btnKupno, Edit1);
    setTabOrder(Edit1, Edit2);
    setTabOrder(Edit2, CheckBoxes[0]);
    for (int i = 0; i < 4; ++i)
        setTabOrder(CheckBoxes[i], CheckBoxes[i + 1]);

    KeepSystemColours(menuBar());
    Ustawienia1 = menuBar()->addMenu(Text(texts::SettingsMenu));
    // Named as the menu bar shows it, for a screen reader's review (the bar's item has the blanks).
    Ustawienia1->setAccessibleName(Text(texts::SettingsMenu).remove(QLatin1Char('&')).trimmed());
    auto* menuStyle = new DisabledItemsReachable(QApplication::style()->name());
    menuStyle->setParent(Ustawienia1);
    Ustawienia1->setStyle(menuStyle);
    MuzykaZal1 = Ustawienia1->addAction(Text(texts::SoundSwitch));
    MuzykaZal1->setCheckable(true);
    MuzykaZal1->setChecked(true);
    Ustawienia1->addSeparator();
    Bank1 = Ustawienia1->addAction(Text(texts::LoanItem));
    Statystyka1 = Ustawienia1->addAction(Text(texts::StatisticsItem));
    Statystyka1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
    Podpowiedz1 = Ustawienia1->addAction(Text(texts::HintItem));
    Podpowiedz1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_H));
    Podpowiedz1->setEnabled(false); // there is a hand to advise on between the deal and the draw
    Pomoc1 = menuBar()->addAction(Text(texts::HelpItem));
    Koniec1 = menuBar()->addAction(Text(texts::EndItem));

    Beeper = new TKwBeeper(this);
    Beeper->SetDefaultSound(psOfficial);

    On(btnRozdanie, &QPushButton::clicked, &TForm1::btnRozdanieClick);
    On(btnKupno, &QPushButton::clicked, &TForm1::btnKupnoClick);
    On(Edit1, &QLineEdit::textChanged, &TForm1::Edit1Change);
    On(Bank1, &QAction::triggered, &TForm1::Bank1Click);
    On(Pomoc1, &QAction::triggered, &TForm1::Pomoc1Click);
    On(Statystyka1, &QAction::triggered, &TForm1::Statystyka1Click);
    On(Podpowiedz1, &QAction::triggered, &TForm1::Podpowiedz1Click);
    On(Koniec1, &QAction::triggered, &TForm1::Koniec1Click);
    On(MuzykaZal1, &QAction::triggered, &TForm1::MuzykaZal1Click);

    boxes::Guarded([this] { FormCreate(); });
    TellWhereTheScoresAre();
}

TForm1::~TForm1()
{
    if (Form1 == this)
        Form1 = nullptr;
}

void TForm1::ArrangeMainWindow()
{
    QFont f(QStringLiteral("Arial"));
    f.setBold(true);
    f.setPointSize(10);
    setFont(f);
    btnRozdanie->setGeometry(DealButtonRect.x(), btnRozdanie->y(), DealButtonRect.width(), btnRozdanie->height());
    btnKupno->setGeometry(DrawButtonRect.x(), btnKupno->y(), DrawButtonRect.width(), btnKupno->height());
    StaticText1->move(StakeLabelRect.x(), StaticText1->y());
    StaticText2->move(FundLabelRect.x(), StaticText2->y());
    Edit1->move(StakeFieldRect.x(), Edit1->y());
    UpDown1->Associate(Edit1);
    Edit2->move(FundFieldRect.x(), Edit2->y());
    for (int i = 0; i < 5; ++i)
        CheckBoxes[i]->move(KeepLefts[i], CheckBoxes[i]->y());
    adjustSize();
    setFixedSize(size());
}
