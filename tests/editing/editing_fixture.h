#pragma once
#include "app/rich_text_box.h"
#include <QImage>
#include <QTextCharFormat>
#include <vector>
#include <gtest/gtest.h>

// A fresh editor for each test, with helpers to select and to look inside the document.
struct EditorTest : ::testing::Test
{
    RichTextBox editor;

    void select(int start, int length)
    {
        editor.SetSelStart(start);
        editor.SetSelLength(length);
    }
    // The format of the character at `position`.
    QTextCharFormat formatAt(int position) const;
    double sizeAt(int position) const;
};

// Every picture of the document, in order, as stored.
std::vector<QImage> picturesIn(const RichTextBox &editor);
// Pixel sizes the pictures are shown at, in order.
std::vector<QSize> shownSizesIn(const RichTextBox &editor);
bool samePixels(const QImage &a, const QImage &b);
// The picture of symbol box fN.
QImage symbolPictureOf(int number);
