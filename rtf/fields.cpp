// Fields: {\field{\*\fldinst ...}{\fldrslt ...}}. The instruction is not
// shown; the result, the text the field last showed, is read as body text.
#include "rtf/reader.h"

namespace rtf {

void Reader::fieldDestinationWord(Command command)
{
    switch (command) {
    case Command::FieldInstruction: enterSkip(); break;
    case Command::FieldResult: group().destination = Destination::Text; break;
    default: break;
    }
}

} // namespace rtf
