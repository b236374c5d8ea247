#pragma once
#include <QString>

class QTextDocument;

// HTML names its pictures by URL, so each picture the document holds is written beside the page,
// in a folder named after it ("letter.html" -> "letter_files/"), and the document's pictures are
// renamed to point there. False, with the reason, when a picture cannot be written.
bool writeHtmlPictures(QTextDocument &document, const QString &htmlPath, QString *why);
