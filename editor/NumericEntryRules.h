#pragma once

#include <juce_core/juce_core.h>

// What the numeric-entry dialog of a read-out box decides, apart from the dialog itself:
// its texts, which typed text counts as a number, and where the number lands on the parameter.
namespace brisca::entry
{
struct Row
{
    const char* title;
    const char* message;
    bool integer; // the field is preloaded with the read-out truncated to an integer
    double min, max;
};

// Rows 0..10 in the left-to-right order of the read-out boxes (INPUT .. WET).
const Row& row (int column);

// The read-out value as the text field first shows it: truncated for the integer rows, else
// a plain decimal with up to six significant digits and no trailing zeros ("-12.3", "20").
juce::String preloadText (int column, double shownValue);

// Typed text is refused when it holds any letter that has case (Latin, Greek, Cyrillic, ...);
// that also refuses exponents such as 1e3.
bool isAcceptable (const juce::String& text);

// The leading decimal number of accepted text in the row's unit (0 when there is none), with a
// positive THRESHOLD turned negative, bounded to the row's range.
double typedValue (int column, const juce::String& text);

// A bounded value in the row's unit as the normalised parameter value, before the parameter's
// own snapping to its grid.
double normalised (int column, double value);
} // namespace brisca::entry
