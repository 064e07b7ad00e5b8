#pragma once
// A readable dump of a prepared item list, one item per line, for tests and diagnostics:
//   <index> <kind> "<text>" [style] font=<face>/<height> fg=<colour> bg=<colour> [link=<ref>]
//   w=<width> h=<height> [ind=<indent>] [flags] and, on break items, align/desc/list fields.

#include <string>

namespace kestrel {

class TVnHTMLData;

std::string DumpHTMLItems(const TVnHTMLData& data);
// Just kinds and texts ("para | 'a' | 'b'"), for compact structural checks.
std::string DumpHTMLOutline(const TVnHTMLData& data);

}  // namespace kestrel
