#pragma once
// Line measurement: widths, heights and descents of every line, stored on the line's break
// item, and the text size of the whole data.

namespace kestrel {

class TVnHTMLData;

// Measures every line and sets the data's TextSize.
void MeasureHTMLLines(TVnHTMLData& data);
// Measures the line starting at `first`; returns the index of the next line's first item.
int MeasureHTMLLine(TVnHTMLData& data, int first);

}  // namespace kestrel
