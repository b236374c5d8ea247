#pragma once

struct DocumentSession;

// Prints the selection, or the whole document, on the printer picked in the print dialog.
// Cancel is silent; a printer failure shows one message naming it. The document state is left alone.
void Print_Click(DocumentSession &session);
