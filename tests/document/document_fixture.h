#pragma once
#include "editor/command_failure.h"
#include "editor/common_dialog.h"
#include "editor/rich_text_box.h"
#include "window/form1.h"
#include "document/document_state.h"
#include "document/file_commands.h"
#include "tests/support/scripted_seams.h"
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <cctype>
#include <string>

inline void PrintTo(const QString &text, std::ostream *os) { *os << '"' << text.toStdString() << '"'; }

// "a row's name" -> "a_rows_name", for naming data-driven rows.
inline std::string rowName(const char *sentence)
{
    std::string name;
    for (const char *c = sentence; *c; ++c)
        if (std::isalnum(static_cast<unsigned char>(*c)) || *c == ' ')
            name += *c == ' ' ? '_' : *c;
    return name;
}

// A main window with scripted answers and dialogs, over a folder of real files.
struct DocumentFixture : ::testing::Test
{
    QTemporaryDir dir;
    ScriptedMessageBox messages;
    ScriptedFileDialogs dialogs;
    Form1 form{Form1Seams{&messages, &dialogs}};
    RichTextBox &editor = *form.RichTextBox1;
    DocumentState &state = form.state();
    DocumentSession &session = form.session();
    QString &FileName = form.CommonDialog1().FileName;

    QString path(const QString &name) const { return dir.filePath(name); }

    // Types at the end of the document, as a person would.
    void type(const QString &text)
    {
        editor.moveCursor(QTextCursor::End);
        QTest::keyClicks(&editor, text);
    }

    void select(int start, int length)
    {
        editor.SetSelStart(start);
        editor.SetSelLength(length);
    }

    QString writeFile(const QString &name, const QByteArray &bytes) const
    {
        QFile file(path(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path(name);
    }

    // The text of a saved document, read back through a second editor.
    static QString documentText(const QString &file)
    {
        RichTextBox other;
        other.LoadFile(file);
        return other.Text();
    }

    static QByteArray bytesOf(const QString &file)
    {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
    }

    // A first Save through the dialog, leaving the document saved at `name`.
    QString saveFirstTime(const QString &name)
    {
        dialogs.confirm(path(name));
        Save_Click(session);
        return path(name);
    }
};
