#include "editor/rich_text_box.h"
#include "layout/editor_layout.h"
#include "editor/background_read.h"
#include "editor/command_failure.h"
#include "editor/copied_notes.h"
#include "editor/document_snapshot.h"
#include "editor/load_progress.h"
#include "editor/file_store.h"
#include "layout/note_marks.h"
#include "layout/printed_pages.h"
#include "editor/print_progress.h"
#include "editor/twips.h"
#include "model/document_parts.h"
#include "model/text_properties.h"
#include "rtf/rtf.h"
#include <QAbstractTextDocumentLayout>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QMimeData>
#include <QPointer>
#include <QScrollBar>
#include <QToolTip>
#include <QTextBlock>
#include <QTextDocument>
#include <QThread>
#include <QUrl>
#include <QUuid>
#include <future>
#include <memory>

namespace {

constexpr int PollMs = 10;

// Line breaks of any platform become paragraph breaks; NULs would corrupt the saved file.
QString normalised(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    text.remove(QChar(0));
    return text;
}

} // namespace

RichTextBox::RichTextBox(QWidget *parent)
    : QTextEdit(parent), files_(&diskFileStore()), progress_(&silentLoadProgress()),
      copiedNotes_(std::make_unique<CopiedNotes>())
{
    setObjectName(QStringLiteral("RichTextBox1"));
    useLayout(*document());
    setFont(defaultEditorFont()); // its own, whatever the window's font
    document()->setDefaultFont(defaultEditorFont());
    connect(document(), &QTextDocument::contentsChanged, this, &RichTextBox::Change);
}

QFont RichTextBox::defaultEditorFont()
{
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(9.75);
    return font;
}

double RichTextBox::pointSizeOf(const QTextCharFormat &format, const QFont &base)
{
    const QFont font = format.font().resolve(base);
    return font.pointSizeF() > 0 ? font.pointSizeF() : font.pixelSize() * 0.75; // 96 CSS pixels an inch
}

int RichTextBox::SelStart() const { return textCursor().selectionStart(); }
int RichTextBox::SelLength() const { return textCursor().selectionEnd() - textCursor().selectionStart(); }

void RichTextBox::SetSelStart(int position)
{
    QTextCursor c = textCursor();
    c.setPosition(qBound(0, position, document()->characterCount() - 1));
    setTextCursor(c);
}

void RichTextBox::SetSelLength(int length)
{
    QTextCursor c = textCursor();
    int start = c.selectionStart();
    c.setPosition(start);
    c.setPosition(qBound(0, start + length, document()->characterCount() - 1), QTextCursor::KeepAnchor);
    setTextCursor(c);
}

QString RichTextBox::SelText() const { return withoutNoteMarks(textCursor()); }

QString RichTextBox::CopySelection() { return copiedNotes_->copy(textCursor()); }

void RichTextBox::SetSelText(const QString &text)
{
    QTextCursor c = textCursor();
    copiedNotes_->paste(c, normalised(text), model::forNewText(c.charFormat()));
    setTextCursor(c);
}

QString RichTextBox::Text() const { return toPlainText(); }

void RichTextBox::SetText(const QString &text)
{
    if (text.isEmpty() && document()->isEmpty())
        return;
    model::DocumentParts::remove(*document()); // a new text has no headers or notes of the old one
    QTextCursor c(document());
    c.beginEditBlock();
    c.select(QTextCursor::Document);
    c.removeSelectedText();
    c.setBlockFormat(QTextBlockFormat());
    c.setCharFormat(QTextCharFormat());
    c.insertText(normalised(text));
    c.endEditBlock();
    c.setPosition(0);
    setTextCursor(c);
}

int RichTextBox::Find(const QString &text, int start)
{
    const QTextCursor found = document()->find(text, qMax(0, start));
    if (found.isNull())
        return -1;
    setTextCursor(found);
    return found.selectionStart();
}

// Printing lays out a copy of its own. The whole document's is rebuilt from a snapshot on another
// thread, as a save writes one, so a long document keeps the window drawn and Cancel within reach.
std::unique_ptr<QTextDocument> RichTextBox::printCopy(PrintProgress &progress) const
{
    auto snapshot = std::make_shared<const DocumentSnapshot>(takeSnapshot(*document()));
    QThread *here = QThread::currentThread();
    std::future<std::unique_ptr<QTextDocument>> rebuilt = std::async(std::launch::async, [snapshot, here] {
        std::unique_ptr<QTextDocument> copy = rebuild(*snapshot);
        copy->moveToThread(here); // only the thread that has it may give it away
        return copy;
    });
    bool cancelled = false;
    while (rebuilt.wait_for(std::chrono::milliseconds(PollMs)) != std::future_status::ready)
        cancelled = !progress.update(0, 0) || cancelled;
    std::unique_ptr<QTextDocument> copy = rebuilt.get();
    if (cancelled)
        throw DialogCancelled();
    copy->setDefaultTextOption(document()->defaultTextOption());
    copy->setIndentWidth(document()->indentWidth());
    return copy;
}

// The copy a selection prints from keeps its first paragraph's format, so it prints with its
// section's page, header and footer.
void RichTextBox::SelPrint(QPagedPaintDevice &device) const
{
    const QTextCursor selection = textCursor();
    PrintProgress progress(window());
    std::unique_ptr<QTextDocument> copy;
    if (!selection.hasSelection()) {
        copy = printCopy(progress);
    } else {
        copy.reset(document()->clone());
        model::DocumentParts::copy(*document(), *copy);
        QTextCursor tail(copy.get());
        tail.setPosition(selection.selectionEnd());
        tail.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
        tail.removeSelectedText();
        QTextCursor head(copy.get());
        head.setPosition(selection.selectionStart(), QTextCursor::KeepAnchor);
        head.removeSelectedText();
        QTextCursor(copy.get()).setBlockFormat(document()->findBlock(selection.selectionStart()).blockFormat());
    }
    const printing::Outcome outcome = printing::printCopy(
        *copy, device, [&progress](int done, int total) { return progress.update(done, total); });
    if (outcome == printing::Outcome::Cancelled)
        throw DialogCancelled();
    if (outcome == printing::Outcome::Failed)
        throw CommandFailure(QStringLiteral("Could not print: the printer could not be started."));
}

// Reads given up by a cancel still use Qt: they end before the editor, and so the program, does.
RichTextBox::~RichTextBox()
{
    waitForAbandonedReads();
}

void RichTextBox::useLayout(QTextDocument &doc)
{
    useEditorLayout(doc, [this](qreal below, qreal by) { keepPlace(below, by); });
}

// Paragraphs above the view, laid out after a jump past them, moved what the view shows: it
// scrolls as much, so what a person is reading stays where it is.
void RichTextBox::keepPlace(qreal below, qreal by)
{
    QScrollBar *bar = verticalScrollBar();
    if (below > bar->value())
        return;
    unscrolled_ += by;
    const int whole = int(unscrolled_);
    unscrolled_ -= whole;
    bar->setValue(bar->value() + whole);
}

void RichTextBox::adoptDocument(QTextDocument *doc)
{
    // The editor deletes its first document itself; later ones are ours.
    QPointer<QTextDocument> old = document();
    doc->setParent(this);
    useLayout(*doc);
    setDocument(doc);
    connect(doc, &QTextDocument::contentsChanged, this, &RichTextBox::Change);
    if (old && old->parent() == this)
        delete old;
    emit Change();
}

// The read, from the disk on, runs elsewhere while the progress seam keeps the window drawn and closed to commands;
// a cancel stops the read, keeps the document as it was and ends the command as a cancelled one.
void RichTextBox::LoadFile(const QString &path)
{
    FileStore *files = files_;
    BackgroundRead read([files, path] { return files->readAll(path); }, path, defaultEditorFont());
    const LoadWatch watch{[&read] { return read.finished(); }, [&read] { return read.fraction(); }};
    if (!progress_->waitFor(path, watch)) {
        read.cancel();
        throw LoadCancelled();
    }
    std::unique_ptr<QTextDocument> loaded = read.take();
    const QStringList warnings = read.warnings();
    adoptDocument(loaded.release());
    if (!warnings.isEmpty())
        emit readWarnings(warnings);
}

// The RTF is written from a snapshot on a thread of its own: a long document keeps the window
// drawn meanwhile, and nothing a person does reaches it until the file is written.
void RichTextBox::SaveFile(const QString &path) const
{
    auto snapshot = std::make_shared<const DocumentSnapshot>(takeSnapshot(*document()));
    std::future<QByteArray> bytes = std::async(std::launch::async, [snapshot] { return writeSnapshot(*snapshot); });
    while (bytes.wait_for(std::chrono::milliseconds(PollMs)) != std::future_status::ready)
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, PollMs);
    files_->writeAll(path, bytes.get());
}

void RichTextBox::Paste() { paste(); }
void RichTextBox::SetFocus() { setFocus(Qt::OtherFocusReason); }

void RichTextBox::SetOLEDropMode(int mode)
{
    dropMode_ = mode;
    setAcceptDrops(true);
}

void RichTextBox::SetWidth(double width)
{
    if (width < 0)
        throw CommandFailure(QStringLiteral("Invalid property value"));
    resize(twips::toPixelsX(width, this), height());
}

void RichTextBox::SetHeight(double height)
{
    if (height < 0)
        throw CommandFailure(QStringLiteral("Invalid property value"));
    resize(width(), twips::toPixelsY(height, this));
}

void RichTextBox::insertPicture(const QImage &picture)
{
    const QString name = QStringLiteral("velmo-picture:%1").arg(QUuid::createUuid().toString(QUuid::Id128));
    document()->addResource(QTextDocument::ImageResource, QUrl(name), picture);
    QTextImageFormat format;
    format.setName(name);
    format.setWidth(picture.width());
    format.setHeight(picture.height());
    QTextCursor c = textCursor();
    c.insertImage(format);
    setTextCursor(c);
}

bool RichTextBox::canInsertFromMimeData(const QMimeData *source) const
{
    return source->hasImage() || QTextEdit::canInsertFromMimeData(source);
}

void RichTextBox::insertFromMimeData(const QMimeData *source)
{
    if (source->hasImage() && !source->hasHtml() && !source->hasText()) {
        insertPicture(qvariant_cast<QImage>(source->imageData()));
        return;
    }
    if (!source->hasHtml() && source->hasText()) {
        SetSelText(source->text());
        return;
    }
    QTextEdit::insertFromMimeData(source);
}

bool RichTextBox::event(QEvent *e)
{
    if (e->type() == QEvent::ShortcutOverride) {
        const auto *key = static_cast<QKeyEvent *>(e);
        if (reserved_.contains(QKeySequence(key->keyCombination()))) {
            e->ignore();
            return true;
        }
    }
    return QTextEdit::event(e);
}

void RichTextBox::undo() { keepingViewStill([this] { QTextEdit::undo(); }); }
void RichTextBox::redo() { keepingViewStill([this] { QTextEdit::redo(); }); }

void RichTextBox::keepingViewStill(const std::function<void()> &step)
{
    const int cursor = textCursor().position();
    const int down = verticalScrollBar()->value(), across = horizontalScrollBar()->value();
    step();
    if (textCursor().position() != cursor)
        return;
    verticalScrollBar()->setValue(down);
    horizontalScrollBar()->setValue(across);
}

void RichTextBox::keyPressEvent(QKeyEvent *e)
{
    if (!isReadOnly() && (e->matches(QKeySequence::Undo) || e->matches(QKeySequence::Redo))) {
        e->matches(QKeySequence::Undo) ? undo() : redo();
        e->accept();
        return;
    }
    if (!e->text().isEmpty())
        typeAsNewText();
    QTextEdit::keyPressEvent(e);
}

void RichTextBox::inputMethodEvent(QInputMethodEvent *e)
{
    if (!e->commitString().isEmpty())
        typeAsNewText();
    QTextEdit::inputMethodEvent(e);
}

// Typing after a note's mark, a list's label or a field's result makes text of its own.
void RichTextBox::typeAsNewText()
{
    const QTextCharFormat format = textCursor().charFormat();
    const QTextCharFormat typed = model::forNewText(format);
    if (typed != format && !textCursor().hasSelection())
        setCurrentCharFormat(typed);
}

// Resting the pointer on a note's or comment's mark shows what the note says.
bool RichTextBox::viewportEvent(QEvent *e)
{
    if (e->type() != QEvent::ToolTip)
        return QTextEdit::viewportEvent(e);
    const auto *help = static_cast<QHelpEvent *>(e);
    const QPointF at(help->pos().x() + horizontalScrollBar()->value(), help->pos().y() + verticalScrollBar()->value());
    const int position = document()->documentLayout()->hitTest(at, Qt::FuzzyHit);
    QString tip;
    for (int candidate : {position, position - 1}) {
        if (candidate >= 0 && tip.isEmpty())
            tip = NoteMarks::noteText(*document(), candidate);
    }
    if (tip.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(help->globalPos(), tip, viewport());
    return true;
}

void RichTextBox::dragEnterEvent(QDragEnterEvent *e)
{
    if (dropMode_ != 1 || !dropTarget_)
        return QTextEdit::dragEnterEvent(e);
    dragMoveEvent(e);
}

void RichTextBox::dragMoveEvent(QDragMoveEvent *e)
{
    if (dropMode_ != 1 || !dropTarget_)
        return QTextEdit::dragMoveEvent(e);
    const Qt::DropAction effect = dropTarget_->dragOver(*e->mimeData(), e->possibleActions());
    if (effect == Qt::IgnoreAction) {
        e->ignore();
        return;
    }
    e->setDropAction(effect);
    e->accept();
}

void RichTextBox::dropEvent(QDropEvent *e)
{
    if (dropMode_ != 1 || !dropTarget_)
        return QTextEdit::dropEvent(e);
    dropTarget_->drop(*e->mimeData());
    e->setDropAction(Qt::CopyAction);
    e->accept();
}
