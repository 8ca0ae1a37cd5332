// The dialogs' texts in whatever face the system has: a text that the face
// makes wider than its box (the layouts were made for the Japanese dialog
// face, which few systems outside Japan have) is drawn condensed until it
// fits, and the sunken boxes keep their text off their edges.
// SPDX-License-Identifier: MIT
#pragma once

#include <vector>

namespace ruvo {

// Fits every static and edit control of the dialog; the fonts made for that
// are the caller's, to be released when the dialog is gone.
void FitDialogTexts(void* dialog, std::vector<void*>& fonts);
void ReleaseFittedFonts(std::vector<void*>& fonts);

} // namespace ruvo
