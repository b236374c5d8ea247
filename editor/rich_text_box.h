#pragma once
#include <QTextEdit>
#include <QKeySequence>
#include <QSet>
#include <functional>
#include <memory>
#include <optional>

class CopiedNotes;
class FileStore;
class LoadProgressSeam;
class PrintProgress;
class QPagedPaintDevice;
class QTextDocument;
class QTextFragment;

// Receives drags and drops when the editor's drop mode hands them to the program.
class DropTarget
{
public:
    virtual ~DropTarget() = default;
    // The effect to show for data offered with `proposed` actions; Qt::IgnoreAction refuses it.
    virtual Qt::DropAction dragOver(const QMimeData &data, Qt::DropActions proposed) = 0;
    virtual void drop(const QMimeData &data) = 0;
};

// The document's editor. Selection reads are three-valued: empty when the selection mixes values.
// Colours are 0x00BBGGRR; alignment codes are 0 left, 1 right, 2 centre.
class RichTextBox : public QTextEdit
{
    Q_OBJECT

public:
    explicit RichTextBox(QWidget *parent = nullptr);
    ~RichTextBox() override;

    int SelStart() const;
    void SetSelStart(int position);
    int SelLength() const;
    void SetSelLength(int length);
    // The selected text as other programs are given it: notes' marks left out.
    QString SelText() const;
    // SelText for the clipboard: the marks it leaves out come back with their notes when the same
    // text is pasted here with SetSelText.
    QString CopySelection();
    void SetSelText(const QString &text);

    std::optional<quint32> SelColor() const;
    void SetSelColor(quint32 bgr);
    std::optional<double> SelFontSize() const;
    void SetSelFontSize(double points);
    std::optional<bool> SelBold() const;
    void SetSelBold(bool on);
    std::optional<bool> SelItalic() const;
    void SetSelItalic(bool on);
    std::optional<bool> SelUnderline() const;
    void SetSelUnderline(bool on);
    std::optional<bool> SelStrikeThru() const;
    void SetSelStrikeThru(bool on);
    std::optional<int> SelAlignment() const;
    void SetSelAlignment(int code);

    QString Text() const;
    void SetText(const QString &text);

    // Case-insensitive; the match becomes the selection. Returns its position, or -1.
    int Find(const QString &text, int start);
    // Prints the selection when there is one, else the whole document.
    void SelPrint(QPagedPaintDevice &device) const;
    // Replaces the content with a file: RTF when it starts with "{\rtf", else plain text. Throws
    // LoadCancelled when the person gives up through the progress, leaving the document as it was.
    void LoadFile(const QString &path);
    void SaveFile(const QString &path) const;
    // Pastes the system clipboard's content at the caret, pictures included.
    void Paste();
    void SetFocus();

    int OLEDropMode() const { return dropMode_; }
    void SetOLEDropMode(int mode);
    void setDropTarget(DropTarget *target) { dropTarget_ = target; }

    // Size in twips; a negative size is rejected with CommandFailure.
    void SetWidth(double width);
    void SetHeight(double height);

    void setFileStore(FileStore &store) { files_ = &store; }
    // What shows while LoadFile reads; by default nothing, and it simply waits.
    void setLoadProgress(LoadProgressSeam &progress) { progress_ = &progress; }
    // Window shortcuts that must reach the window even while the editor has the focus.
    void reserveShortcuts(const QSet<QKeySequence> &keys) { reserved_ = keys; }

    // Visits each stretch of the selection in one character format, in order, until `visit` returns false.
    // Stretches with the same fragment.charFormatIndex() have the same format, so a reader can work out
    // a value once per format rather than once per stretch.
    using RunVisitor = std::function<bool(int from, int to, const QTextFragment &fragment)>;
    void forEachSelectedRun(const RunVisitor &visit) const;
    // Merges `format` into the selection, or into the caret's format, as one undo step.
    void mergeFormat(const QTextCharFormat &format);

    static QFont defaultEditorFont();
    // A format's size in points, over the document's own font; pasted web text is sized in CSS pixels.
    static double pointSizeOf(const QTextCharFormat &format, const QFont &base);
    // Inserts `picture` at the caret as part of the document, at its own pixel size.
    void insertPicture(const QImage &picture);

    // Undo and redo show the text they change; one that leaves the cursor where it was (a format
    // over the selection) leaves the view where it was too, as the command itself did.
    void undo();
    void redo();

signals:
    // Fires synchronously inside every call that changes the content.
    void Change();
    // After LoadFile has read a file with losses (pictures past the budget): one line for each.
    void readWarnings(const QStringList &lines);

protected:
    bool event(QEvent *e) override;
    bool viewportEvent(QEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    void inputMethodEvent(QInputMethodEvent *e) override;
    bool canInsertFromMimeData(const QMimeData *source) const override;
    void insertFromMimeData(const QMimeData *source) override;
    void dragEnterEvent(QDragEnterEvent *e) override;
    void dragMoveEvent(QDragMoveEvent *e) override;
    void dropEvent(QDropEvent *e) override;

private:
    std::unique_ptr<QTextDocument> printCopy(PrintProgress &progress) const;
    template <typename Value, typename Read>
    std::optional<Value> uniformFormat(Read read) const;
    void adoptDocument(QTextDocument *document);
    void useLayout(QTextDocument &document);
    void keepPlace(qreal below, qreal by);
    void typeAsNewText();
    void keepingViewStill(const std::function<void()> &step);

    FileStore *files_;
    LoadProgressSeam *progress_;
    DropTarget *dropTarget_ = nullptr;
    int dropMode_ = 0;
    QSet<QKeySequence> reserved_;
    qreal unscrolled_ = 0; // the part of a pixel keepPlace has not scrolled yet
    std::unique_ptr<CopiedNotes> copiedNotes_;
};
