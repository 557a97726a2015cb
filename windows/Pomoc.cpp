#include "windows/Pomoc.h"

#include "windows/Colours.h"
#include "windows/Desktop.h"
#include "windows/LanguageFiles.h"
#include "windows/Text.h"

#include <QCloseEvent>
#include <QFile>
#include <QKeyEvent>
#include <QMargins>
#include <QPlainTextEdit>
#include <QRegularExpression>

namespace {

constexpr const char* Caption = QT_TRANSLATE_NOOP("Wirtola", "Pomoc");
constexpr const char* Hint = QT_TRANSLATE_NOOP("Wirtola", "<Esc> zamyka to okno");
constexpr const char* MemoName = QT_TRANSLATE_NOOP("Wirtola", "Tekst pomocy");
// Each language may have its own help text; one without shows the Polish.
constexpr char PolishHelp[] = ":/help/pomoc.txt";
constexpr char TranslatedHelp[] = ":/help/help_%1.txt";
const int PointSize = 10;
// Where the help text says where the statistics file is.
constexpr const char* FilePlace = "{plik}";
constexpr const char* FileBesideTheProgram = QT_TRANSLATE_NOOP(
    "Wirtola", "Plik nazywa się tak jak program, tylko ma rozszerzenie „.ini”, i leży tuż obok niego: %1.");
constexpr const char* FilePerUser =
    QT_TRANSLATE_NOOP("Wirtola", "Każdy z Was ma własny plik wyników w swoim folderze danych, ten tutaj: %1.");
constexpr const char* FileLeftBehind =
    QT_TRANSLATE_NOOP("Wirtola",
                      "Dawny plik wyników obok programu, %1, zostaje bez zmian; wyniki tej gry trafiają do "
                      "pliku podanego wyżej.");
constexpr const char* FileUnknown =
    QT_TRANSLATE_NOOP("Wirtola",
                      "Tym razem nie wiadomo, gdzie miałby leżeć, bo system nie zna Waszego "
                      "folderu domowego.");

QString LoadHelpText()
{
    QFile file(LanguageFile(QString::fromLatin1(PolishHelp), QString::fromLatin1(TranslatedHelp)));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

} // namespace

QString HelpText(const QString& statisticsFile, bool perUser, const QString& leftBehind)
{
    QString place = statisticsFile.isEmpty() ? Text(FileUnknown)
                                             : Text(perUser ? FilePerUser : FileBesideTheProgram).arg(statisticsFile);
    if (!leftBehind.isEmpty())
        place += QLatin1Char(' ') + Text(FileLeftBehind).arg(leftBehind);
    QString text = LoadHelpText();
    text.replace(QString::fromUtf8(FilePlace), place);
    // A line ending in a space goes on in the next one, unless that starts a paragraph: joined,
    // each paragraph flows to the memo's width at any font size, with no ragged line ends.
    static const QRegularExpression goesOn(QStringLiteral(" \n(?=[^ \n])"));
    text.replace(goesOn, QStringLiteral(" "));
    return text;
}

TFPomoc::TFPomoc(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setWindowTitle(Text(Caption));
    // Closing the main window ends the program even while this one is open.
    setAttribute(Qt::WA_QuitOnClose, false);
    setToolTip(Text(Hint));
    QFont formFont("Arial");
    formFont.setBold(true);
    formFont.setPointSize(PointSize);
    setFont(formFont);
    QPalette formPalette = palette();
    formPalette.setColor(QPalette::Window, colours::Olive);
    setPalette(formPalette);

    Memo1 = new QPlainTextEdit(this);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    // At word boundaries, and anywhere in a word too long for a line: the statistics file's path.
    Memo1->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    Memo1->setPlainText(HelpText({}, false));
    Memo1->setAccessibleName(Text(MemoName));
    Memo1->installEventFilter(this);

    // Laid-out size and position; the memo fills the client area.
    move(177, 94);
    resize(583, 373);
}

void TFPomoc::Show()
{
    // Asked for again while minimised, the help comes back where it was rather than staying an icon.
    if (isMinimized())
        setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

void TFPomoc::SetStatisticsFile(const QString& path, bool perUser, const QString& leftBehind)
{
    Memo1->setPlainText(HelpText(path, perUser, leftBehind));
}

bool TFPomoc::FormKeyDown(int key)
{
    if (key != Qt::Key_Escape)
        return false;
    close();
    return true;
}

void TFPomoc::FormActivate()
{
    adjusted_ = true;
    // The font keeps its 10 points at every resolution: the help grows with the desktop's scale
    // as the other windows do.
    // The left edge comes from the width before widening, so the right edge ends 10 px in
    // from the desktop's width.
    PlaceAtTopRight(0);
    resize(width() + 10, height());
    Memo1->viewport()->update();
    placeAgain_ = !desktop::ReportedFrame(*this);
}

void TFPomoc::PlaceAtTopRight(int widened)
{
    const desktop::Metrics screen = desktop::Current();
    if (const std::optional<QMargins> frame = desktop::ReportedFrame(*this)) {
        // The client's own position: Qt's idea of the frame may still be stale here.
        const int outerWidth = width() - widened + frame->left() + frame->right();
        setGeometry(screen.width - outerWidth - 20 + frame->left(), screen.top + frame->top(), width(), height());
        return;
    }
    move(screen.width - (desktop::OuterWidth(*this) - widened) - 20, screen.top);
}

void TFPomoc::FormClose()
{
    QFont closed = font();
    closed.setPointSize(PointSize);
    setFont(closed);
    resize(width() - 10, height());
    adjusted_ = false;
    placeAgain_ = false;
}

bool TFPomoc::event(QEvent* event)
{
    // A showing is placed before the window manager has framed the window, with the classic
    // frame as a guess; a real frame of another size would leave the title bar above the
    // screen. By the activation the manager has announced the real frame (earlier, while it
    // reparents the window, the frame Qt reports is not yet to be trusted).
    if (placeAgain_ && event->type() == QEvent::WindowActivate && desktop::ReportedFrame(*this)) {
        placeAgain_ = false;
        PlaceAtTopRight(10);
    }
    return QWidget::event(event);
}

bool TFPomoc::eventFilter(QObject* watched, QEvent* event)
{
    // The window sees the memo's keys first.
    if (watched == Memo1 && event->type() == QEvent::KeyPress && FormKeyDown(static_cast<QKeyEvent*>(event)->key()))
        return true;
    return QWidget::eventFilter(watched, event);
}

void TFPomoc::keyPressEvent(QKeyEvent* event)
{
    if (!FormKeyDown(event->key()))
        QWidget::keyPressEvent(event);
}

void TFPomoc::showEvent(QShowEvent* event)
{
    // Qt shows a window before activating it. Adjusting here, once per showing, places it
    // before it maps instead of letting it jump after the window manager activates it.
    if (!adjusted_)
        FormActivate();
    QWidget::showEvent(event);
}

void TFPomoc::closeEvent(QCloseEvent* event)
{
    if (adjusted_)
        FormClose();
    event->accept();
}

void TFPomoc::resizeEvent(QResizeEvent* event)
{
    Memo1->setGeometry(rect());
    QWidget::resizeEvent(event);
}
