#pragma once
#include "editor/common_dialog.h"
#include "dialogs/about_box.h"
#include "document/document_state.h"
#include "document/file_commands.h"
#include <QMainWindow>
#include <array>
#include <memory>
#include <vector>

class AutomationRegistry;
class Clipboard;
class DocumentRecovery;
class DroppedFiles;
class FileStore;
class FindBar;
class LoadProgressSeam;
class MessageBoxSeam;
class PictureBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolBar;
class QToolButton;
class RichTextBox;
struct RecoverySettings;

// The outside world as the window meets it; anything left empty is the real thing.
struct Form1Seams
{
    MessageBoxSeam *messages = nullptr;
    FileDialogSeam *dialogs = nullptr;
    Clipboard *clipboard = nullptr;
    AutomationRegistry *automation = nullptr;
    FileStore *files = nullptr;
    // Where crash-recovery copies go; none are kept without it.
    const RecoverySettings *recovery = nullptr;
    LoadProgressSeam *progress = nullptr;
};

// The main window: banner, toolbar with the find bar, the editor, and the symbol pictures.
class Form1 : public QMainWindow
{
    Q_OBJECT

public:
    explicit Form1(Form1Seams seams = {});
    ~Form1() override;

    void Form_Load();
    void Form_Resize();
    void Toolbar1_ButtonClick(int index);
    // At start: offers an unsaved document a crashed run left behind; true when it was recovered.
    bool offerRecovery();
    DocumentRecovery *recovery() const { return recovery_.get(); }

    // The action of a menu item or submenu, by its name.
    QAction *menuItem(const QString &name) const;
    // The picture box f1..f8.
    PictureBox &symbolBox(int number) const { return *f_.at(std::size_t(number - 1)); }
    QToolButton *toolbarButton(int index) const;
    CommonDialog &CommonDialog1() { return *dialog_; }
    DocumentState &state() { return state_; }
    DocumentSession &session() { return *session_; }
    AboutBoxOwner &about() { return *about_; }
    // Whether the program was ended by a command.
    bool ended() const { return ended_; }

    RichTextBox *RichTextBox1 = nullptr;
    QLineEdit *txtFind = nullptr;
    QPushButton *cmdFind = nullptr;
    QLabel *Picture1 = nullptr;
    QToolBar *Toolbar1 = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *lblFileName = nullptr;
    FindBar *findBar = nullptr;

protected:
    void resizeEvent(QResizeEvent *e) override;
    void closeEvent(QCloseEvent *e) override;
    void showEvent(QShowEvent *e) override;
    void moveEvent(QMoveEvent *e) override;

private:
    void setupSeams(const Form1Seams &seams);
    void createControls();
    void createSymbolBoxes(QWidget *client);
    void createFindBar(QWidget *client);
    void createBanner(QWidget *client);
    void createToolbar(QWidget *client);
    void createEditor(QWidget *client);
    void stackAsCreated();
    void setupTabOrder();
    void wireMenus();
    void endProgram();
    void followRecovery();
    void followWidth();
    void setOuterWidth(int width);
    bool adoptFrame();
    void waitUntilPlaced();

    Form1Seams seams_;
    std::unique_ptr<MessageBoxSeam> ownMessages_;
    std::unique_ptr<FileDialogSeam> ownDialogs_;
    std::unique_ptr<Clipboard> ownClipboard_;
    std::unique_ptr<LoadProgressSeam> ownProgress_;
    std::unique_ptr<CommonDialog> dialog_;
    std::unique_ptr<DroppedFiles> dropHandler_;
    std::unique_ptr<DocumentSession> session_;
    std::unique_ptr<AboutBoxOwner> about_;
    std::unique_ptr<DocumentRecovery> recovery_;
    DocumentState state_;
    std::array<PictureBox *, 8> f_{};
    std::vector<QWidget *> creationOrder_;
    // The outer width asked for at load, kept until the user resizes, and the frame it assumed.
    int pendingOuterWidth_ = 0;
    int innerWidthForOuter_ = -1;
    QSize knownFrame_;
    bool ended_ = false;
};
