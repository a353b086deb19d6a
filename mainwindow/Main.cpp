#include "mainwindow/Main.h"

#include "artwork/Artwork.h"
#include "audio/AudioPlayer.h"
#include "mainwindow/MainCaptions.h"
#include "mainwindow/MemoriseCommands.h"
#include "mainwindow/MushafViewLink.h"
#include "mainwindow/ReadingAids.h"
#include "mainwindow/ReciterCommands.h"
#include "mainwindow/ShellWindows.h"
#include "model/Utility.h"

#include <QAbstractItemView>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QShowEvent>
#include <QStyledItemDelegate>
#include <exception>

namespace {

const QString FontTahoma = QStringLiteral("Tahoma");
const QString FontTimes = QStringLiteral("Times New Roman");

void SetTextColour(QWidget* widget, const QColor& text) {
    QPalette palette = widget->palette();
    for (auto role : {QPalette::Text, QPalette::WindowText, QPalette::ButtonText})
        palette.setColor(role, text);
    widget->setPalette(palette);
}

// Items of the drop-down lists are 16 pixels high.
class TListItemDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return {QStyledItemDelegate::sizeHint(option, index).width(), 16};
    }
};

// The standard "OK" glyph: a green tick, drawn so that it does not depend on the icon theme.
QIcon CheckMarkGlyph() {
    QPixmap pixmap(12, 12);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath tick;
    tick.moveTo(1.5, 6.5);
    tick.lineTo(4.5, 9.5);
    tick.lineTo(10.5, 2.5);
    painter.setPen(QPen(QColor(0, 128, 0), 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(tick);
    return QIcon(pixmap);
}

// The selection as the window's controls hold it, for the reading controller.
class TFormSelection final : public IReadingSelection {
public:
    explicit TFormSelection(TTntMainForm& form) : Form(form) {}
    int SourehIndex() const override { return Form.TntComboBoxSourehsList->currentIndex(); }
    int SourehCount() const override { return Form.TntComboBoxSourehsList->count(); }
    void SetSourehIndex(int index) override { Form.TntComboBoxSourehsList->setCurrentIndex(index); }
    void SetSourehs(const QStringList& names) override {
        Form.TntComboBoxSourehsList->clear();
        Form.TntComboBoxSourehsList->addItems(names);
    }
    int AyehIndex() const override { return Form.TntComboBoxAyehsList->currentIndex(); }
    int AyehCount() const override { return Form.TntComboBoxAyehsList->count(); }
    void SetAyehIndex(int index) override { Form.TntComboBoxAyehsList->setCurrentIndex(index); }
    void SetAyehs(const QStringList& numbers) override {
        Form.TntComboBoxAyehsList->clear();
        Form.TntComboBoxAyehsList->addItems(numbers);
    }
    int RepeatCount() const override { return Form.SpinEditReadingCount->Value(); }
    void SetRepeatCount(int count) override { Form.SpinEditReadingCount->SetValue(count); }
    void ShowTranslation(const QString& text) override { Form.TntMemo1->setPlainText(text); }

private:
    TTntMainForm& Form;
};

} // namespace

QStringList TTntMainForm::DefaultReciterNames() {
    return {QStringLiteral(u"استاد علی رضایی"), QStringLiteral(u"استاد حسن کریمی"),
            QStringLiteral(u"استاد محمد احمدی"), QStringLiteral(u"استاد مهدی نوری"),
            QStringLiteral(u"استاد رضا صادقی")};
}

QString TTntMainForm::PublisherText() {
    return QStringLiteral(u"نرم افزار قرآنی گلوار، آموزش چند رسانه ای قرآن کریم\n"
                          u"ناشر: ولسورهاست\n"
                          u"قاری، سوره و آیه را برگزینید و دکمه «قرائت آیه» را بزنید،\n"
                          u"یا برای شنیدن هر آیه روی آن در صفحه کلیک کنید.");
}

TTntMainForm::TTntMainForm(std::unique_ptr<AudioPlayer> player, QWidget* parent) : QWidget(parent) {
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);
    setWindowTitle(CaptionMainForm);
    setLayoutDirection(Qt::RightToLeft);
    setFont(UiFont(FontTimes, 11));
    SetColours(this, palette().color(QPalette::WindowText), StoredColour(ColourPeach));
    setAutoFillBackground(true);
    setFixedSize(ClientWidth, ClientHeight);

    MediaPlayer1 = player.release();
    MediaPlayer1->setParent(this);
    CreateControls();
    ReadingSelection = std::make_unique<TFormSelection>(*this);
    Reading = new TReadingController(ReadingSelection.get(), this);
    SetFocusOrder();
    ConnectHandlers();
    FollowReading();
    new TReciterCommands(this);
    RunHandler([this] { TntFormCreate(this); });
    EnableBookCommands();
    new TMemoriseCommands(this, new TReadingAids(this));
    new TMushafViewLink(this);
}

TTntMainForm::~TTntMainForm() {
    // The book draws on this window's controls and reports through its error box.
    if (GlobalQuran && GlobalQuran->Player == MediaPlayer1)
        GlobalQuran.reset();
}

void TTntMainForm::CreateControls() {
    const QColor darkGreen = StoredColour(ColourDarkGreen);
    const QColor peach = StoredColour(ColourPeach);
    const QFont buttonFont = UiFont(FontTahoma, 13);
    const QFont labelFont = UiFont(FontTahoma, 11);
    const QFont listFont = UiFont(FontTahoma, 13);

    Image1 = new QLabel(this);
    Image1->setGeometry(0, 0, ClientWidth, ClientHeight);
    Image1->setPixmap(QPixmap(QString::fromLatin1(BackgroundPicture)));
    Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    auto makeList = [&](const QRect& geometry) {
        auto* list = new QComboBox(this);
        list->setEditable(false);
        list->setGeometry(geometry);
        list->setFont(listFont);
        SetColours(list, darkGreen, peach);
        list->setItemDelegate(new TListItemDelegate(list));
        // A drop-down of eight items below the box rather than a menu over the whole screen.
        list->setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
        list->setMaxVisibleItems(8);
        list->view()->setFont(listFont);
        SetColours(list->view(), darkGreen, peach);
        return list;
    };
    auto makeFlatButton = [&](const QRect& geometry, const QString& caption, bool latching) {
        auto* button = new QToolButton(this);
        button->setGeometry(geometry);
        button->setText(caption);
        button->setAutoRaise(true);
        button->setCheckable(latching);
        button->setToolButtonStyle(Qt::ToolButtonTextOnly);
        button->setFocusPolicy(Qt::NoFocus);
        button->setFont(buttonFont);
        SetTextColour(button, darkGreen);
        return button;
    };
    auto makeLabel = [&](const QPoint& place, const QString& caption) {
        auto* label = new QLabel(caption, this);
        label->setFont(labelFont);
        SetTextColour(label, darkGreen);
        // The text's baseline stays where the design font puts it, whose ascent is its
        // character height; a fallback font with a taller ascent starts higher.
        label->adjustSize();
        label->move(place.x(), place.y() + labelFont.pixelSize() - label->fontMetrics().ascent());
        return label;
    };
    auto makePictureButton = [&](const QRect& geometry, const QString& picture) {
        auto* button = new QPushButton(this);
        button->setGeometry(geometry);
        button->setIcon(QIcon(QPixmap(picture)));
        button->setIconSize(QSize(138, 31));
        button->setCursor(Qt::PointingHandCursor);
        return button;
    };

    TntMemo1 = new QPlainTextEdit(this);
    TntMemo1->setGeometry(151, 40, 376, 105);
    TntMemo1->setFont(UiFont(FontTahoma, 13, true));
    SetColours(TntMemo1, darkGreen, peach);
    TntMemo1->setReadOnly(true);
    TntMemo1->setFrameShape(QFrame::NoFrame);
    TntMemo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    TntMemo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    TntMemo1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    TntMemo1->setTabChangesFocus(true);
    TntMemo1->setFocusPolicy(Qt::StrongFocus);
    TntMemo1->setPlainText(PublisherText());

    TntComboBoxGhariList = makeList(QRect(644, 145, 116, 24));
    TntComboBoxSourehsList = makeList(QRect(644, 174, 116, 24));
    TntComboBoxAyehsList = makeList(QRect(712, 202, 48, 24));
    TntLabel2 = makeLabel(QPoint(761, 207), CaptionAyeh);

    SpinEditReadingCount = new TRepeatSpinBox(this);
    SpinEditReadingCount->setGeometry(645, 202, 40, 26);
    SpinEditReadingCount->setFont(UiFont(FontTahoma, 13));
    SetColours(SpinEditReadingCount, darkGreen, peach);
    TntLabel3 = makeLabel(QPoint(687, 207), CaptionRepeat);
    TntLabel4 = makeLabel(QPoint(42, 187), CaptionClickHint);

    ScrollBox1 = new TPageScrollBox(this);
    ScrollBox1->setGeometry(97, 255, 481, 274);
    TntImage1 = new TPageImage;
    ScrollBox1->setWidget(TntImage1);

    BitBtn1 = makePictureButton(QRect(640, 272, 146, 39), QString::fromLatin1(SupportButtonPicture));
    BitBtn2 = makePictureButton(QRect(640, 312, 146, 39), QString::fromLatin1(AboutButtonPicture));

    TntSpeedButtonPlay = makeFlatButton(QRect(678, 506, 75, 22), CaptionPlay, false);
    TntSpeedButton1 = makeFlatButton(QRect(678, 530, 75, 22), CaptionPause, true);
    TntSpeedButtonClose = makeFlatButton(QRect(678, 554, 75, 22), CaptionClose, true);
    // Latching buttons of one group: at most one is down, and all may be up.
    LatchGroup1 = new QButtonGroup(this);
    LatchGroup1->setExclusive(false);
    LatchGroup1->addButton(TntSpeedButton1, 1);
    LatchGroup1->addButton(TntSpeedButtonClose, 1);
    connect(LatchGroup1, &QButtonGroup::buttonToggled, this, [this](QAbstractButton* pressed, bool down) {
        if (!down)
            return;
        for (QAbstractButton* other : LatchGroup1->buttons())
            if (other != pressed)
                other->setChecked(false);
    });

    TntLabel1 = makeLabel(QPoint(7, 512), CaptionPage);
    txtPageNo = new TPageNoEdit(this);
    txtPageNo->setGeometry(2, 525, 36, 27);
    txtPageNo->setFont(UiFont(FontTahoma, 16));
    SetColours(txtPageNo, darkGreen, peach);
    txtPageNo->setStyleSheet(QStringLiteral("QLineEdit { border: 1px solid #7a7a7a; padding: 0px; }"));
    txtPageNo->setText(QStringLiteral("1"));

    TntBitBtnGoToPage = new QPushButton(CheckMarkGlyph(), CaptionGo, this);
    TntBitBtnGoToPage->setGeometry(3, 553, 36, 25);
    TntBitBtnGoToPage->setFont(UiFont(FontTahoma, 11));
    TntBitBtnGoToPage->setIconSize(QSize(12, 12));
    TntBitBtnGoToPage->setStyleSheet(QStringLiteral("QPushButton { padding: 0px; }"));

    FillReciterList({});
    Image1->lower();
}

void TTntMainForm::FillReciterList(const std::map<int, QString>& named) {
    QStringList names = DefaultReciterNames();
    for (int i = 0; i < names.size(); ++i)
        if (const auto name = named.find(i + 1); name != named.end())
            names[i] = name->second;
    TntComboBoxGhariList->clear();
    TntComboBoxGhariList->addItems(names);
    TntComboBoxGhariList->setCurrentIndex(0);
}

void TTntMainForm::LoadReciterNames() {
    const int current = std::max(TntComboBoxGhariList->currentIndex(), 0);
    FillReciterList(GlobalQuran->GetReciterNames());
    TntComboBoxGhariList->setCurrentIndex(current);
}

void TTntMainForm::SetFocusOrder() {
    const QWidget* order[] = {TntComboBoxGhariList,
                              TntComboBoxSourehsList,
                              TntComboBoxAyehsList,
                              SpinEditReadingCount,
                              TntMemo1,
                              ScrollBox1,
                              BitBtn1,
                              BitBtn2,
                              txtPageNo,
                              TntBitBtnGoToPage};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(const_cast<QWidget*>(order[i - 1]), const_cast<QWidget*>(order[i]));
    for (QWidget* passive : std::initializer_list<QWidget*>{TntSpeedButtonPlay, TntSpeedButton1,
                                                            TntSpeedButtonClose, Image1, TntImage1})
        passive->setFocusPolicy(Qt::NoFocus);
    TntComboBoxGhariList->setFocus();
}

void TTntMainForm::ConnectHandlers() {
    connect(TntComboBoxGhariList, &QComboBox::activated, this,
            [this] { RunHandler([this] { TntComboBoxGhariListChange(TntComboBoxGhariList); }); });
    connect(TntComboBoxSourehsList, &QComboBox::activated, this,
            [this] { RunHandler([this] { TntComboBoxSourehsListChange(TntComboBoxSourehsList); }); });
    connect(TntSpeedButtonPlay, &QToolButton::clicked, this,
            [this] { RunHandler([this] { TntSpeedButtonPlayClick(TntSpeedButtonPlay); }); });
    connect(TntSpeedButton1, &QToolButton::clicked, this,
            [this] { RunHandler([this] { TntSpeedButton1Click(TntSpeedButton1); }); });
    connect(TntSpeedButtonClose, &QToolButton::clicked, this,
            [this] { RunHandler([this] { TntSpeedButtonCloseClick(TntSpeedButtonClose); }); });
    connect(TntImage1, &TPageImage::MouseDown, this,
            [this](Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y) {
                RunHandler([&] { TntImage1MouseDown(TntImage1, button, shift, x, y); });
            });
    connect(TntImage1, &TPageImage::MouseMove, this, [this](Qt::KeyboardModifiers shift, int x, int y) {
        RunHandler([&] { TntImage1MouseMove(TntImage1, shift, x, y); });
    });
    connect(txtPageNo, &TPageNoEdit::KeyPress, this,
            [this](QChar key) { RunHandler([&] { txtPageNoKeyPress(txtPageNo, key); }); });
    connect(TntBitBtnGoToPage, &QPushButton::clicked, this,
            [this] { RunHandler([this] { TntBitBtnGoToPageClick(TntBitBtnGoToPage); }); });
    connect(BitBtn1, &QPushButton::clicked, this, [this] { RunHandler([this] { BitBtn1Click(BitBtn1); }); });
    connect(BitBtn2, &QPushButton::clicked, this, [this] { RunHandler([this] { BitBtn2Click(BitBtn2); }); });
    for (QComboBox* list : {TntComboBoxSourehsList, TntComboBoxAyehsList})
        connect(list, &QComboBox::currentIndexChanged, Reading, &TReadingController::SelectionChanged);
    connect(SpinEditReadingCount, &TRepeatSpinBox::Changed, Reading, &TReadingController::FollowingChanged);
    connect(MediaPlayer1, &AudioPlayer::OnNotify, this,
            [this](QObject* sender, qint64 play) { RunHandler([&] { MediaPlayer1Notify(sender, play); }); });
}

void TTntMainForm::FollowReading() {
    connect(Reading, &TReadingController::PausedChanged, this, [this](bool paused) {
        TntSpeedButton1->setChecked(paused);
        TntSpeedButton1->setText(paused ? CaptionContinue : CaptionPause);
    });
    connect(Reading, &TReadingController::Failed, this,
            [](const QString& message) { ShowStandardError(message); });
}

int TTntMainForm::ChosenGhariID() const {
    return TntComboBoxGhariList->currentIndex() + 1;
}

void TTntMainForm::TntFormCreate(QObject*) {
    GlobalQuran = std::make_unique<TQuran>(txtPageNo, ScrollBox1, TntImage1, MediaPlayer1);
    GlobalQuran->Sounds->ErrorBox = &ErrorBox;
    LoadReciterNames();
    GlobalQuran->GhariID = ChosenGhariID();
    setFixedSize(ClientWidth, ClientHeight);
    ClearSoundCache(GlobalQuran.get());
    RestoreLastPosition();
    SetHintPause(100);
}

void TTntMainForm::TntFormClose(QObject*) {
    // A failure to save must not keep the book alive or break the chain to the farewell
    // window: it is reported once the chain has run.
    std::exception_ptr saveFailure;
    if (GlobalQuran) {
        try {
            SaveLastPosition();
        } catch (...) {
            saveFailure = std::current_exception();
        }
    }
    GlobalQuran.reset();
    if (formSplash)
        formSplash->close();
    if (saveFailure)
        std::rethrow_exception(saveFailure);
}

void TTntMainForm::showEvent(QShowEvent* event) {
    PlaceOnFirstShow(this, event, Placed,
                     [this](const QSize& outer) { return CentredOnScreen(this, outer); });
    QWidget::showEvent(event);
}

void TTntMainForm::closeEvent(QCloseEvent* event) {
    RunHandler([this] { TntFormClose(this); });
    event->accept();
}
