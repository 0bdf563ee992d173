// dialog_rtf.h: the plain text of a rich-text document (the game
// information text): paragraphs, tabs and characters are kept, formatting,
// font and colour tables, pictures and other hidden groups are dropped.
#pragma once

#include <string>
#include <string_view>

// UTF-8 text with '\n' between paragraphs. Text that is not rich text is
// returned as it stands.
std::string Rtf_PlainText(std::string_view rtf);
