#pragma once
#include "document/file_stamp.h"
#include <QString>

// The state of the one open document. The document's path is the shared dialog's FileName.
struct DocumentState
{
    int Modified = 0;    // 1: changed since the last load or save
    int HasFileName = 0; // 1: a save through the save dialog happened in this run
    QString sClipText;   // clipboard text kept during a symbol insertion
    FileStamp onDisk;    // the file as this run last read or wrote it
};
