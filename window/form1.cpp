#include "window/form1.h"
#include "editor/clipboard.h"
#include "editor/command_failure.h"
#include "editor/load_progress.h"
#include "editor/message_box.h"
#include "editor/picture_box.h"
#include "editor/rich_text_box.h"
#include "editor/twips.h"
#include "editor/ui_font.h"
#include "window/menu_access_keys.h"
#include "window/menu_tree.h"
#include "assets/asset_paths.h"
#include "document/dropped_files.h"
#include "document/printing.h"
#include "document/recovery.h"
#include "editing/editing_commands.h"
#include "tools/spelling/automation.h"
#include "tools/find_bar.h"
#include "tools/spelling/spell_check.h"
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDeadlineTimer>
#include <QMoveEvent>
#include <QShowEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QShortcut>
#include <QToolBar>
#include <QTimer>
#include <QToolButton>
#include <QWindow>

namespace {

// Design size of the client area, and the toolbar's and banner's heights.
constexpr int ClientWidth = 9075, ClientHeight = 6240;
constexpr int BannerHeight = 495, ToolbarTop = 495, ToolbarHeight = 870;
constexpr int OuterWidthAfterLoad = 7470;

struct SymbolBoxPlacement
{
    int number;
    int left, top, width, height;
};

// In creation order; f1 and f2 come last.
const SymbolBoxPlacement SymbolBoxes[] = {
    {8, 3240, 5400, 375, 375},
    {7, 360, 5400, 495, 495},
    {6, 1440, 5400, 615, 615},
    {5, 2280, 5400, 375, 375},
    {4, 4440, 5520, 375, 375},
    {3, 5040, 5520, 255, 255},
    {1, 5640, 5520, 255, 255},
    {2, 6360, 5520, 375, 255},
};

struct ToolbarButton
{
    const char *caption;
    const char *picture;
};

const ToolbarButton ToolbarButtons[] = {
    {"New", assets::ToolbarNew},
    {"Save", assets::ToolbarSave},
    {"Make Copy", assets::ToolbarCopy},
    {"Settings", assets::ToolbarSettings},
};

void place(QWidget *w, int left, int top, int width, int height)
{
    w->setGeometry(twips::toPixels(left, top, width, height, w));
}

} // namespace

Form1::Form1(Form1Seams seams)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Velmo"));
    QIcon icon;
    for (const char *size : {assets::WindowIcon16, assets::WindowIcon32, assets::WindowIcon48})
        icon.addFile(QLatin1String(size));
    setWindowIcon(icon);

    setupSeams(seams);
    setFont(uiFont(8));
    createControls();
    session_ = std::make_unique<DocumentSession>(
        DocumentSession{*RichTextBox1, *dialog_, state_, *seams_.messages, [this] { endProgram(); }});
    about_ = std::make_unique<AboutBoxOwner>(this);
    if (seams.recovery)
        recovery_ = std::make_unique<DocumentRecovery>(*RichTextBox1, *dialog_, state_, *seams_.messages, *seams.recovery);
    buildMenuBar(*this);
    new MenuAccessKeys(*this);
    wireMenus();
    resize(twips::toPixelsX(ClientWidth, this), twips::toPixelsY(ClientHeight, this) + menuBar()->sizeHint().height());
    Form_Load();
    RichTextBox1->setFocus();
}

Form1::~Form1() = default;

void Form1::setupSeams(const Form1Seams &seams)
{
    seams_ = seams;
    if (!seams_.messages)
        seams_.messages = (ownMessages_ = std::make_unique<QtMessageBox>(this)).get();
    if (!seams_.dialogs)
        seams_.dialogs = (ownDialogs_ = std::make_unique<QtFileDialogs>(this)).get();
    if (!seams_.clipboard)
        seams_.clipboard = (ownClipboard_ = std::make_unique<SystemClipboard>()).get();
    if (!seams_.progress)
        seams_.progress = (ownProgress_ = std::make_unique<QtLoadProgress>(this)).get();
    if (!seams_.automation)
        seams_.automation = &defaultAutomation();
    dialog_ = std::make_unique<CommonDialog>(*seams_.dialogs);
}

void Form1::createControls()
{
    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    setCentralWidget(client);
    createSymbolBoxes(client);
    createFindBar(client);
    createBanner(client);
    createToolbar(client);
    createEditor(client);
    lblFileName = new QLabel(client);
    lblFileName->setObjectName(QStringLiteral("lblFileName"));
    place(lblFileName, 0, 0, 4575, 1335);
    creationOrder_.push_back(lblFileName);
    stackAsCreated();
}

void Form1::createSymbolBoxes(QWidget *client)
{
    for (const SymbolBoxPlacement &s : SymbolBoxes) {
        auto *box = new PictureBox(QStringLiteral("f%1").arg(s.number), QImage(assets::symbolPicture(s.number)), client);
        place(box, s.left, s.top, s.width, s.height);
        f_[std::size_t(s.number - 1)] = box;
        creationOrder_.push_back(box);
    }
}

void Form1::createFindBar(QWidget *client)
{
    cmdFind = new QPushButton(QStringLiteral("Search"), client);
    cmdFind->setObjectName(QStringLiteral("cmdFind"));
    place(cmdFind, 6000, 600, 975, 255);
    txtFind = new QLineEdit(client);
    txtFind->setObjectName(QStringLiteral("txtFind"));
    place(txtFind, 3720, 600, 2175, 315);
    creationOrder_.push_back(cmdFind);
    creationOrder_.push_back(txtFind);
}

void Form1::createBanner(QWidget *client)
{
    Picture1 = new QLabel(client);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setFrameShape(QFrame::Box);
    Picture1->setAutoFillBackground(true);
    Picture1->setBackgroundRole(QPalette::Base);
    Picture1->setForegroundRole(QPalette::Text);
    Picture1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Picture1->setPixmap(QPixmap(QLatin1String(assets::Banner)));
    place(Picture1, 0, 0, ClientWidth, BannerHeight);
    creationOrder_.push_back(Picture1);
}

void Form1::createToolbar(QWidget *client)
{
    Toolbar1 = new QToolBar(client);
    Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    Toolbar1->setMovable(false);
    Toolbar1->setFloatable(false);
    Toolbar1->setIconSize(QSize(32, 32));
    Toolbar1->setContentsMargins(0, 0, 0, 0);
    place(Toolbar1, 0, ToolbarTop, ClientWidth, ToolbarHeight);
    const QFont captions = uiFont(7.5);
    int index = 1;
    for (const ToolbarButton &b : ToolbarButtons) {
        auto *button = new QToolButton(Toolbar1);
        button->setObjectName(QStringLiteral("Toolbar1Button%1").arg(index));
        button->setText(QLatin1String(b.caption));
        button->setIcon(QIcon(QLatin1String(b.picture)));
        button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        button->setAutoRaise(true);
        button->setFont(captions);
        button->setFixedSize(twips::toPixelsX(900, button), twips::toPixelsY(780, button));
        connect(button, &QToolButton::clicked, this, [this, index] { Toolbar1_ButtonClick(index); });
        Toolbar1->addWidget(button);
        ++index;
    }
    Label1 = new QLabel(QStringLiteral("Font size:"), Toolbar1);
    Label1->setObjectName(QStringLiteral("Label1"));
    place(Label1, 5160, 1320, 1095, 255);
    creationOrder_.push_back(Toolbar1);
}

void Form1::createEditor(QWidget *client)
{
    RichTextBox1 = new RichTextBox(client);
    place(RichTextBox1, 0, 1440, 7695, 3855);
    if (seams_.files)
        RichTextBox1->setFileStore(*seams_.files);
    RichTextBox1->setLoadProgress(*seams_.progress);
    connect(RichTextBox1, &RichTextBox::Change, this, [this] {
        RichTextBox1_Change(state_);
        if (recovery_)
            recovery_->documentChanged();
    });
    // Shown once the open command has ended, over the document as it now stands.
    connect(RichTextBox1, &RichTextBox::readWarnings, this, [this](const QStringList &lines) {
        seams_.messages->MsgBox(lines.join(QLatin1Char('\n')), vb::vbOKOnly, QStringLiteral("Velmo"));
    }, Qt::QueuedConnection);
    dropHandler_ = std::make_unique<DroppedFiles>(*RichTextBox1, *seams_.messages);
    RichTextBox1->setDropTarget(dropHandler_.get());
    // Tab moves on to the find bar, as the tab order promises; Ctrl+Tab types a tab.
    RichTextBox1->setTabChangesFocus(true);
    auto *typeTab = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Tab), RichTextBox1);
    typeTab->setContext(Qt::WidgetShortcut);
    connect(typeTab, &QShortcut::activated, RichTextBox1, [this] { RichTextBox1->insertPlainText(QStringLiteral("\t")); });
    // Ctrl+Y redoes everywhere, as Windows users expect, beside the platform's own redo key.
    auto *redo = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Y), RichTextBox1);
    redo->setContext(Qt::WidgetShortcut);
    connect(redo, &QShortcut::activated, RichTextBox1, &RichTextBox::redo);
    findBar = new FindBar(*txtFind, *cmdFind, *RichTextBox1, *seams_.messages);
    findBar->setParent(this);
    creationOrder_.push_back(RichTextBox1);
}

// Where two controls overlap, the one created earlier lies on top.
void Form1::stackAsCreated()
{
    for (auto it = creationOrder_.rbegin(); it != creationOrder_.rend(); ++it)
        (*it)->raise();
}

void Form1::setupTabOrder()
{
    setTabOrder(RichTextBox1, txtFind);
    setTabOrder(txtFind, cmdFind);
    QWidget *previous = cmdFind;
    for (int i = 1; i <= 4; ++i) {
        setTabOrder(previous, toolbarButton(i));
        previous = toolbarButton(i);
    }
}

QToolButton *Form1::toolbarButton(int index) const
{
    return Toolbar1->findChild<QToolButton *>(QStringLiteral("Toolbar1Button%1").arg(index));
}

QAction *Form1::menuItem(const QString &name) const
{
    const auto actions = findChildren<QAction *>(name);
    return actions.isEmpty() ? nullptr : actions.first();
}

void Form1::wireMenus()
{
    RichTextBox &e = *RichTextBox1;
    Clipboard &clip = *seams_.clipboard;
    DocumentSession &s = *session_;
    const std::pair<const char *, std::function<void()>> handlers[] = {
        {"New", [&s] { New_Click(s); }},
        {"Open", [&s] { Open_Click(s); }},
        {"Save", [&s] { Save_Click(s); }},
        {"Print", [&s] { Print_Click(s); }},
        {"Exit", [&s] { Exit_Click(s); }},
        {"Cut", [&e, &clip] { Cut_Click(e, clip); }},
        {"Copy", [&e, &clip] { Copy_Click(e, clip); }},
        {"Paste", [&e, &clip] { Paste_Click(e, clip); }},
        {"LJustifiy", [&e] { LJustifiy_Click(e); }},
        {"Center", [&e] { Center_Click(e); }},
        {"RJustifiy", [&e] { RJustifiy_Click(e); }},
        {"Black", [&e] { Black_Click(e); }},
        {"Red", [&e] { Red_Click(e); }},
        {"Yellow", [&e] { Yellow_Click(e); }},
        {"Green", [&e] { Green_Click(e); }},
        {"Blue", [&e] { Blue_Click(e); }},
        {"Fsize8", [&e] { Fsize8_Click(e); }},
        {"Fsize10", [&e] { Fsize10_Click(e); }},
        {"Fsize15", [&e] { Fsize15_Click(e); }},
        {"Fsize20", [&e] { Fsize20_Click(e); }},
        {"Fsize25", [&e] { Fsize25_Click(e); }},
        {"larger", [&e] { larger_Click(e); }},
        {"smaller", [&e] { smaller_Click(e); }},
        {"Bold", [&e] { Bold_Click(e); }},
        {"Italic", [&e] { Italic_Click(e); }},
        {"Underlined", [&e] { Underlined_Click(e); }},
        {"Striketrough", [&e] { Striketrough_Click(e); }},
        {"Deformat", [&e] { Deformat_Click(e); }},
        {"Smiling", [this] { InsertSymbol(*RichTextBox1, *seams_.clipboard, symbolBox(1), state_.sClipText); }},
        {"Sad", [this] { InsertSymbol(*RichTextBox1, *seams_.clipboard, symbolBox(2), state_.sClipText); }},
        {"Caution", [this] { InsertSymbol(*RichTextBox1, *seams_.clipboard, symbolBox(3), state_.sClipText); }},
        {"List", [this] { InsertSymbol(*RichTextBox1, *seams_.clipboard, symbolBox(4), state_.sClipText); }},
        {"Picture", [this] { InsertSymbol(*RichTextBox1, *seams_.clipboard, symbolBox(5), state_.sClipText); }},
        {"Pencil", [this] { InsertSymbol(*RichTextBox1, *seams_.clipboard, symbolBox(6), state_.sClipText); }},
        {"Paragraph", [this] { InsertSymbol(*RichTextBox1, *seams_.clipboard, symbolBox(7), state_.sClipText); }},
        {"Close", [this] { InsertSymbol(*RichTextBox1, *seams_.clipboard, symbolBox(8), state_.sClipText); }},
        {"SplCheck", [this] { SplCheck_Click(*RichTextBox1, *seams_.messages, *seams_.automation); }},
        {"Find", [this] { findBar->Find_Click(); }},
        {"About", [this] { about_->About_Click(); }},
    };
    QSet<QKeySequence> shortcuts;
    for (const auto &[name, handler] : handlers) {
        QAction *action = menuItem(QLatin1String(name));
        Q_ASSERT(action);
        connect(action, &QAction::triggered, this, [this, handler] {
            handler();
            followRecovery();
        });
        if (!action->shortcut().isEmpty())
            shortcuts.insert(action->shortcut());
    }
    RichTextBox1->reserveShortcuts(shortcuts);
    findBar->reserveShortcuts(shortcuts);
}

void Form1::Form_Load()
{
    state_.HasFileName = 0;
    setOuterWidth(OuterWidthAfterLoad);
    RichTextBox1->SetOLEDropMode(1);
}

void Form1::setOuterWidth(int width)
{
    pendingOuterWidth_ = width;
    const int frame = frameGeometry().width() - this->width();
    innerWidthForOuter_ = twips::toPixelsX(width, this) - frame;
    resize(innerWidthForOuter_, height());
}

// The window system tells the frame's size only some time after the window is mapped. When it
// changes, the outer width asked for at load is applied again (unless the user has resized since)
// and the editor follows the outer height.
bool Form1::adoptFrame()
{
    const QSize frame = frameGeometry().size() - size();
    if (frame == knownFrame_)
        return false;
    knownFrame_ = frame;
    if (pendingOuterWidth_ && width() == innerWidthForOuter_)
        setOuterWidth(pendingOuterWidth_);
    Form_Resize();
    return true;
}

void Form1::showEvent(QShowEvent *e)
{
    QMainWindow::showEvent(e);
    setupTabOrder(); // the toolbar lays its buttons out, and so re-links them, when first shown
    adoptFrame();
}

void Form1::moveEvent(QMoveEvent *e)
{
    QMainWindow::moveEvent(e);
    adoptFrame();
}

void Form1::followWidth()
{
    const int width = centralWidget()->width();
    Picture1->resize(width, Picture1->height());
    Toolbar1->resize(width, Toolbar1->height());
}

void Form1::Form_Resize()
{
    try {
        const QRect outer = frameGeometry();
        RichTextBox1->SetWidth(float(twips::fromPixelsX(outer.width(), this) - 100));
        RichTextBox1->SetHeight(float(twips::fromPixelsY(outer.height(), this) - 2250));
    } catch (const CommandFailure &) {
        // A rejected size leaves the editor as far as it got.
    }
}

void Form1::resizeEvent(QResizeEvent *e)
{
    QMainWindow::resizeEvent(e);
    followWidth();
    if (pendingOuterWidth_ && width() != innerWidthForOuter_)
        pendingOuterWidth_ = 0;
    if (!adoptFrame())
        Form_Resize();
}

void Form1::Toolbar1_ButtonClick(int index)
{
    ::Toolbar1_ButtonClick(*session_, index);
    followRecovery();
}

// Commands change whether anything is unsaved without a signal, so the copy follows after each.
void Form1::followRecovery()
{
    if (recovery_)
        recovery_->followState();
}

bool Form1::offerRecovery()
{
    if (!recovery_)
        return false;
    // The offer centres itself over the window, so the window system must have placed it first:
    // a window manager moves a new window only when it maps it.
    waitUntilPlaced();
    return recovery_->offerLeftOver();
}

void Form1::waitUntilPlaced()
{
    const QDeadlineTimer deadline(std::chrono::seconds(5));
    QTimer tick; // wakes the wait below should the window system stay silent
    tick.start(50);
    while (isVisible() && !(windowHandle() && windowHandle()->isExposed()) && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

void Form1::endProgram()
{
    ended_ = true;
    close();
    QCoreApplication::exit(0);
}

void Form1::closeEvent(QCloseEvent *e)
{
    if (ended_ || Form_QueryUnload(*session_))
        e->accept();
    else
        e->ignore();
}
