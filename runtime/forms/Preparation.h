#pragma once

#include <vector>

namespace forms {

class Form;

// Once the front form's window has painted, prepares each of the forms in turn, one per pass
// of the event loop, so that the user's first visit to a screen does not wait for it.
void PrepareAfterFirstPaint(std::vector<const Form *> forms);
// How many forms have been prepared so far in this run.
int FormsPrepared();

} // namespace forms
