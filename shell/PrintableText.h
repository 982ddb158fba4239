// Outside bytes made safe to show in a one-line message on a terminal.
#pragma once

#include <string>
#include <string_view>

// The bytes as they can be shown in a message: printable ASCII and well-formed UTF-8 text stay as
// they are; control bytes (newline, escape, C1 controls), malformed UTF-8 and the backslash itself
// are written as \xHH (the backslash as \\), so a file name or an argument can neither break the
// message into lines nor send the terminal an escape sequence.
std::string PrintableText(std::string_view bytes);
