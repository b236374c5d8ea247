#pragma once
#include "editor/clipboard.h"
#include "editor/picture_box.h"
#include "editor/rich_text_box.h"
#include "editing/editing_commands.h"
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QTextDocument>
#include <tuple>
#include <vector>
#include <gtest/gtest.h>

inline void PrintTo(const QString &text, std::ostream *os) { *os << '"' << text.toStdString() << '"'; }

using Command = void (*)(RichTextBox &);

// Names each row of a parameterised suite after its `name`.
inline constexpr auto byName = [](const auto &info) { return std::string(info.param.name); };

// A fresh editor for each test, with helpers to select and to look inside the document.
struct EditorTest : ::testing::Test
{
    RichTextBox editor;
    QClipboard &system = *QGuiApplication::clipboard();

    void select(int start, int length)
    {
        editor.SetSelStart(start);
        editor.SetSelLength(length);
    }
    // The format of the character at `position`.
    QTextCharFormat formatAt(int position) const;
    // `text`, with one size a character, paragraph breaks left out; 0 keeps the editor's own.
    void setSizes(const QString &text, const std::vector<double> &points);
    std::vector<double> sizes() const;
};

template <class Row>
struct EditorRowTest : EditorTest, ::testing::WithParamInterface<Row>
{
};

bool samePixels(const QImage &a, const QImage &b);
// The document holds exactly these pictures, each shown at its own pixel size.
void expectPictures(const RichTextBox &editor, const std::vector<QImage> &expected);
// The picture of symbol box fN.
QImage symbolPictureOf(int number);
